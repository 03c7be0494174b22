// The channel window's nick list and caption: adding, matching, removing,
// the operator and voice changes as one table, the sorted box, the count and
// topic in the caption, the double click, and the close that parts once.

#include "config/frm_popups.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "platform/popup/AGPopUp.h"
#include "tests/support/PeerWire.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"

#include <QListWidget>
#include <QSignalSpy>

class TestNickList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void addNamesSkipsEmptyWords();
    void matchingIgnoresCaseAndEveryPrefix_data();
    void matchingIgnoresCaseAndEveryPrefix();
    void removeTakesEveryCopy();
    void doMode_data();
    void doMode();
    void largeBatchFillsTheBoxOnce();
    void captionKeepsTheTopic();
    void doubleClickOpensTheConversation();
    void nickListMenuActsOnTheSelectedNick();
    void closeBoxPartsOnceProgramUnloadSendsNothing();

private:
    frm_chan* channel(const QString& tag);
    // The entries as the box shows them once events have run.
    QStringList shown(const frm_chan& chan);

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestNickList::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
}

void TestNickList::cleanup() {
    m_p.reset();
    m_folder.reset();
}

frm_chan* TestNickList::channel(const QString& tag) {
    auto* chan = new frm_chan(*m_p);
    chan->setTag(tag);
    return chan;
}

QStringList TestNickList::shown(const frm_chan& chan) {
    QCoreApplication::processEvents();
    QStringList items;
    for (int i = 0; i < chan.list_nicks->count(); ++i)
        items.append(chan.list_nicks->item(i)->text());
    return items;
}

void TestNickList::addNamesSkipsEmptyWords() {
    frm_chan* chan = channel(QStringLiteral("#x"));
    chan->AddNames(QStringLiteral("@op +voice  plain"));
    // Sorted on the whole entry without regard to case: "+" before "@".
    const QStringList expected{"+voice", "@op", "plain"};
    QCOMPARE(shown(*chan), expected);
    QCOMPARE(chan->ListCount(), 3);
    chan->AddNames(QStringLiteral("Plain2 ann"));
    QCOMPARE(shown(*chan), (QStringList{"+voice", "@op", "ann", "plain", "Plain2"}));
}

void TestNickList::matchingIgnoresCaseAndEveryPrefix_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("status");
    QTest::newRow("operator") << "@Bob"
                              << "bob"
                              << "@";
    QTest::newRow("upper case asked") << "@Bob"
                                      << "BOB"
                                      << "@";
    QTest::newRow("voice") << "+bob"
                           << "Bob"
                           << "+";
    QTest::newRow("bare") << "bob"
                          << "bob"
                          << "";
    QTest::newRow("owner") << "~bob"
                           << "bob"
                           << "~";
    QTest::newRow("admin") << "&bob"
                           << "bob"
                           << "&";
    QTest::newRow("half-operator") << "%bob"
                                   << "bob"
                                   << "%";
    // "^" is a nick's own character, no status.
    QTest::newRow("caret") << "^bob"
                           << "^BOB"
                           << "";
    QTest::newRow("operator with a caret") << "@^bob"
                                           << "^bob"
                                           << "@";
    QTest::newRow("two prefixes") << "@+bob"
                                  << "bob"
                                  << "@+";
}

void TestNickList::matchingIgnoresCaseAndEveryPrefix() {
    QFETCH(QString, entry);
    QFETCH(QString, asked);
    QFETCH(QString, status);
    frm_chan* chan = channel(QStringLiteral("#x"));
    chan->AddNames(QStringLiteral("bo ann ") + entry + QStringLiteral(" bobby"));
    QVERIFY(chan->IsONChan(asked));
    QCOMPARE(chan->UserChanStat(asked), status);
    chan->RemoveName(asked);
    QVERIFY(!chan->IsONChan(asked));
    QCOMPARE(shown(*chan), (QStringList{"ann", "bo", "bobby"}));
    // A nick that is not listed changes nothing and has no status.
    chan->RemoveName(asked);
    QCOMPARE(chan->UserChanStat(asked), QString());
    QCOMPARE(chan->ListCount(), 3);
}

void TestNickList::removeTakesEveryCopy() {
    frm_chan* chan = channel(QStringLiteral("#x"));
    chan->AddNames(QStringLiteral("bob ann bob @BOB"));
    chan->RemoveName(QStringLiteral("bob"));
    QCOMPARE(shown(*chan), QStringList{"ann"});
}

void TestNickList::doMode_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("after");
    const struct {
        const char* entry;
        const char* action;
        const char* after;
    } rows[] = {
        {"ann", "+o", "@ann"},  {"+ann", "+o", "@ann"}, {"@ann", "+o", "@ann"},
        {"^ann", "+o", "^ann"}, {"%ann", "+o", "@ann"}, {"~ann", "+o", "~ann"},
        {"&ann", "+o", "&ann"}, {"@ann", "-o", "ann"},  {"^ann", "-o", "^ann"},
        {"ann", "-o", "ann"},   {"+ann", "-o", "+ann"}, {"~ann", "-o", "~ann"},
        {"%ann", "-o", "%ann"}, {"ann", "+v", "+ann"},  {"@ann", "+v", "+ann"},
        {"+ann", "+v", "+ann"}, {"^ann", "+v", "^ann"}, {"&ann", "+v", "&ann"},
        {"+ann", "-v", "ann"},  {"@ann", "-v", "@ann"}, {"ann", "-v", "ann"},
        {"~ann", "-v", "~ann"}, {"ann", "+O", "@ann"},  {"ann", "+b", "ann"},
        {"+ann", "-V", "ann"},  {"ann", "o", "ann"},    {"@ann", "+oo", "@ann"},
    };
    for (const auto& row : rows) {
        QTest::addRow("%s %s", row.entry, row.action)
            << QString::fromLatin1(row.entry) << QString::fromLatin1(row.action)
            << QString::fromLatin1(row.after);
    }
}

void TestNickList::doMode() {
    QFETCH(QString, entry);
    QFETCH(QString, action);
    QFETCH(QString, after);
    frm_chan* chan = channel(QStringLiteral("#x"));
    chan->AddNames(QStringLiteral("zed ") + entry);
    chan->DoMode(action, QStringLiteral("ann"));
    QCOMPARE(shown(*chan).filter(QStringLiteral("ann")), QStringList{after});
    QVERIFY(chan->IsONChan(QStringLiteral("zed")));
    // A nick that is not listed is not added.
    chan->DoMode(action, QStringLiteral("bob"));
    QCOMPARE(chan->ListCount(), 2);
}

void TestNickList::largeBatchFillsTheBoxOnce() {
    frm_chan* chan = channel(QStringLiteral("#x"));
    chan->AddNames(QStringLiteral("mid"));
    chan->list_nicks->setCurrentRow(0);
    QStringList names;
    for (int i = 0; i < 500; ++i)
        names.append(QStringLiteral("n%1").arg(i, 3, 10, QChar(u'0')));
    QSignalSpy inserted(chan->list_nicks->model(), &QAbstractItemModel::rowsInserted);
    chan->AddNames(names.join(u' '));
    chan->AddNames(QStringLiteral("@zz +aa"));
    // The entries are complete at once, the box from the next event on.
    QCOMPARE(chan->ListCount(), 503);
    QVERIFY(chan->IsONChan(QStringLiteral("zz")));
    const QStringList items = shown(*chan);
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(items.size(), 503);
    QCOMPARE(items.mid(0, 3), (QStringList{"+aa", "@zz", "mid"}));
    QCOMPARE(items.last(), QStringLiteral("n499"));
    // The selected entry stays selected.
    QCOMPARE(chan->list_nicks->currentItem()->text(), QStringLiteral("mid"));
}

void TestNickList::captionKeepsTheTopic() {
    frm_chan* chan = channel(QStringLiteral("#x"));
    chan->setTopic(QStringLiteral("topic [old] news"));
    chan->AddNames(QStringLiteral("a b c d e"));
    chan->UpdateNicksTotal();
    QCOMPARE(chan->Caption(), QStringLiteral("#x [5] topic [old] news"));
    chan->RemoveName(QStringLiteral("a"));
    chan->UpdateNicksTotal();
    QCOMPARE(chan->Caption(), QStringLiteral("#x [4] topic [old] news"));
}

void TestNickList::doubleClickOpensTheConversation() {
    PeerWire wire(*m_p->mainFrame().Yarv1);
    QVERIFY(wire.connected());

    frm_chan* chan = channel(QStringLiteral("#x"));
    chan->Show();
    chan->AddNames(QStringLiteral("+ann ^kim"));
    QCoreApplication::processEvents();
    const QByteArrayList sent = wire.sentBy([chan] {
        for (int row = 0; row < 2; ++row) {
            chan->list_nicks->setCurrentRow(row);
            Q_EMIT chan->list_nicks->itemDoubleClicked(chan->list_nicks->item(row));
        }
    });
    // Each opens a query window; nothing goes to the server.
    QCOMPARE(sent, QByteArrayList{});
    QVERIFY(FindForm(*m_p, QStringLiteral("?ann")) >= 0);
    QVERIFY(FindForm(*m_p, QStringLiteral("?^kim")) >= 0);
}

void TestNickList::nickListMenuActsOnTheSelectedNick() {
    frm_popups& editor = m_p->popupsWindow();
    editor.pop_nick_list->addItems({QStringLiteral("Who"), QStringLiteral("Greet")});
    editor.pop_nick_command->addItems(
        {QStringLiteral("//echo who is $NICK"), QStringLiteral("//echo hello $NICK")});
    editor.pop_chan_list->addItem(QStringLiteral("Clear"));
    editor.pop_chan_command->addItem(QStringLiteral("/clear"));
    frm_chan* chan = channel(QStringLiteral("#x"));
    chan->Show();
    QCOMPARE(chan->pop_nicks->itemNames(), (QStringList{"Who", "Greet"}));
    QCOMPARE(chan->pop_console->itemNames(), QStringList{"Clear"});
    chan->AddNames(QStringLiteral("~own +ann"));
    QCoreApplication::processEvents();
    chan->list_nicks->setCurrentRow(1); // "~own"
    // The right button opens the menu and leaves the selection where it was.
    QTest::mouseClick(chan->list_nicks->viewport(), Qt::RightButton, {},
                      chan->list_nicks->visualItemRect(chan->list_nicks->item(0)).center());
    QCOMPARE(chan->list_nicks->currentRow(), 1);
    chan->pop_nicks->menu()->close();
    Q_EMIT chan->pop_nicks->MenuItemClick(QStringLiteral("Greet"));
    QCOMPARE(chan->console->Text().split(QStringLiteral("\r\n")).constLast(),
             QStringLiteral("hello own"));
}

void TestNickList::closeBoxPartsOnceProgramUnloadSendsNothing() {
    PeerWire wire(*m_p->mainFrame().Yarv1);
    QVERIFY(wire.connected());
    platform::SwitchBar& bar = *m_p->mainFrame().StatusBar1;

    frm_chan* closed = channel(QStringLiteral("#x"));
    closed->Show();
    bar.Add(-1, QStringLiteral("#y"));
    bar.Add(-1, QStringLiteral("#X"));
    QPointer<frm_chan> unloaded = channel(QStringLiteral("#y"));
    unloaded->Show();
    frm_chan* atEnd = channel(QStringLiteral("#z"));
    atEnd->Show();

    const QByteArrayList sent = wire.sentBy([&] {
        closed->subWindow()->close(); // the close box
        QVERIFY(!m_p->forms().contains(closed));
        QCOMPARE(bar.Count(), 2); // "#X" went, "#y" stayed
        QCOMPARE(bar.Panel(2)->Text(), QStringLiteral("#y"));
        unloaded->Unload();
        int cancel = 0;
        atEnd->Form_QueryUnload(cancel, Form::vbFormMDIForm);
        QVERIFY(!m_p->forms().contains(atEnd));
    });
    QCOMPARE(sent, QByteArrayList{"PART #x"});
}

PARLONE_TEST_MAIN(TestNickList)
#include "tst_nicklist.moc"
