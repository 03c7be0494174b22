// The frame's menu bar: captions, the connect toggle, the tool windows and
// their panels, the channel list, the DCC chat prompt, closing the active
// window, arranging, help and the about box.

#include "config/frm_alias.h"
#include "config/frm_popups.h"
#include "connection/MainMenus.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/CommandWindow.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "tests/support/PeerWire.h"
#include "tests/support/RecordingForm.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"
#include "windows/frm_list.h"
#include "windows/frm_notify.h"
#include "windows/frm_server.h"

#include <QClipboard>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStyle>
#include <QStyleOptionTitleBar>

using platform::DialogRequest;
using platform::SwitchBarPanel;

namespace {

QStringList captionsOf(const QList<QAction*>& actions) {
    QStringList captions;
    for (const QAction* action : actions)
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

} // namespace

class TestMenus : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void captions();
    void connectItemFlipsAtOnce();
    void toolWindows_data();
    void toolWindows();
    void channelListAsksOnce();
    void dccChatPrompt_data();
    void dccChatPrompt();
    void closeActiveWindow_data();
    void closeActiveWindow();
    void arrange_data();
    void arrange();
    void arrangedConversationWindowsStayUsable_data();
    void arrangedConversationWindowsStayUsable();
    void missingHelpIsOneErrorLine();
    void aboutBoxIsModal();

private:
    frm_main& frame() { return m_p->mainFrame(); }
    MainMenus& menus() { return *frame().menus; }
    QString serverText() { return m_p->serverWindow().console->Text(); }

    std::unique_ptr<ScriptedAnswerer> m_answers;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestMenus::init() {
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->serverWindow().Show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame()));
}

void TestMenus::cleanup() {
    m_p.reset();
    m_folder.reset();
    m_answers.reset();
}

void TestMenus::captions() {
    const QMenuBar* bar = frame().findChild<QMenuBar*>();
    QVERIFY(bar);
    QCOMPARE(captionsOf(bar->actions()), QStringList({"&File", "&Tools", "&Window", "&Help"}));
    QCOMPARE(captionsOf(menus().mnuFile->actions()),
             QStringList({"&Connect", "-", "&Setup", "Setup &Wizard", "-", "E&xit"}));
    QCOMPARE(captionsOf(menus().mnuTools->actions()),
             QStringList({"&Notify", "&Alias'", "Pop&Ups", "&List", "&DCC"}));
    QCOMPARE(captionsOf(menus().mnuDCC->actions()), QStringList({"&Chat", "&Send File"}));
    QCOMPARE(captionsOf(menus().mnuWindow->actions()), QStringList({"&Sort", "&Close"}));
    QCOMPARE(captionsOf(menus().mnuSortWindow->actions()),
             QStringList({"&Cascade", "Tile &Horizontal", "Tile &Vertically"}));
    QCOMPARE(captionsOf(menus().mnuhelp->actions()), QStringList({"&Contents", "A&bout"}));
}

void TestMenus::connectItemFlipsAtOnce() {
    IrcScriptedPeer peer;
    const QList<QPair<QString, QString>> profile{
        {"SERVER_URL", peer.host()}, {"SERVER_PORT", QString::number(peer.port())},
        {"PROFILE_NICKNAME", "me"},  {"PROFILE_ALTERNATE", "me_"},
        {"PROFILE_USERNAME", "me"},  {"PROFILE_EMAIL", "me@example.org"},
        {"PROFILE_REALNAME", "Me"},  {"USE_DEFAULT_QUIT", "gone"}};
    // A profile with gaps: nothing opens, the item stays as it was.
    menus().mnuConnectCmd->trigger();
    QCOMPARE(menus().mnuConnectCmd->text(), QStringLiteral("&Connect"));
    QVERIFY(!frame().Yarv1->isConnecting());

    for (const auto& [key, value] : profile)
        m_p->settings.setValue(key, value);
    menus().mnuConnectCmd->trigger();
    QCOMPARE(menus().mnuConnectCmd->text(), QStringLiteral("&Disconnect")); // before any answer
    QVERIFY(peer.waitForClient());

    menus().mnuConnectCmd->trigger();
    QCOMPARE(menus().mnuConnectCmd->text(), QStringLiteral("&Connect"));
    QVERIFY(!frame().Yarv1->IsConnected());
    QTRY_VERIFY(!peer.hasClient());
    // The login as the socket connected, then the quit.
    QCOMPARE(peer.lines(), (QByteArrayList{"NICK me", "USER me 0 * :Me", "QUIT :Exit: gone"}));

    // Any other caption does nothing.
    menus().mnuConnectCmd->setText(QStringLiteral("Busy"));
    menus().mnuConnectCmd->trigger();
    QCOMPARE(menus().mnuConnectCmd->text(), QStringLiteral("Busy"));
    QVERIFY(!frame().Yarv1->IsConnected());
}

void TestMenus::toolWindows_data() {
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<int>("picture");
    QTest::newRow("notify") << "mnuNotify"
                            << "Notify" << 7;
    QTest::newRow("alias") << "mnuAliasManager"
                           << "Alias" << 8;
    QTest::newRow("popups") << "mnuPopUps"
                            << "Popups" << 9;
}

void TestMenus::toolWindows() {
    QFETCH(QString, item);
    QFETCH(QString, panel);
    QFETCH(int, picture);
    QAction* action = item == u"mnuNotify"         ? menus().mnuNotify
                      : item == u"mnuAliasManager" ? menus().mnuAliasManager
                                                   : menus().mnuPopUps;
    action->trigger();
    const int index = FindPanel(*m_p, panel);
    QVERIFY(index > 0);
    const SwitchBarPanel* added = frame().StatusBar1->Panel(index);
    QCOMPARE(added->bevel(), int(SwitchBarPanel::sbrInset));
    QCOMPARE(added->autoSize(), int(SwitchBarPanel::sbrSpring));
    QCOMPARE(added->Picture().cacheKey(), frame().il.Picture(picture).cacheKey());
    Form* window = m_p->forms().at(FindForm(*m_p, panel));
    QVERIFY(window->Visible());
    QCOMPARE(ActiveChild(*m_p), window);

    // Again: still one panel, and it is not marked again.
    SelectPanel(*m_p, QStringLiteral("Server"));
    const int panels = frame().StatusBar1->Count();
    action->trigger();
    QCOMPARE(frame().StatusBar1->Count(), panels);
    QCOMPARE(added->bevel(), int(SwitchBarPanel::sbrRaised));
}

void TestMenus::channelListAsksOnce() {
    PeerWire wire(*frame().Yarv1);
    QVERIFY(wire.connected());
    QCOMPARE(wire.sentBy([&] { menus().mnuList->trigger(); }), QByteArrayList{"LIST"});
    QVERIFY(m_p->listWindow().Visible());
    const int index = FindPanel(*m_p, QStringLiteral("/LIST"));
    QVERIFY(index > 0);
    QCOMPARE(frame().StatusBar1->Panel(index)->bevel(), int(SwitchBarPanel::sbrInset));
    QCOMPARE(frame().StatusBar1->Panel(index)->Picture().cacheKey(),
             frame().il.Picture(11).cacheKey());
    const int panels = frame().StatusBar1->Count();

    QCOMPARE(wire.sentBy([&] { menus().mnuList->trigger(); }), QByteArrayList{});
    QCOMPARE(frame().StatusBar1->Count(), panels);
}

void TestMenus::dccChatPrompt_data() {
    QTest::addColumn<std::optional<QString>>("answer");
    QTest::addColumn<QByteArrayList>("sent");
    QTest::newRow("the proposed nick") << std::optional<QString>(QStringLiteral("bob"))
                                       << QByteArrayList{"PRIVMSG bob :\x01"
                                                         "DCC CHAT chat 2130706433 "};
    QTest::newRow("empty answer") << std::optional<QString>(QString()) << QByteArrayList{};
    QTest::newRow("cancelled") << std::optional<QString>() << QByteArrayList{};
}

void TestMenus::dccChatPrompt() {
    QFETCH(std::optional<QString>, answer);
    QFETCH(QByteArrayList, sent);
    PeerWire wire(*frame().Yarv1);
    QVERIFY(wire.connected());
    QGuiApplication::clipboard()->setText(QStringLiteral("bob"));
    if (answer)
        m_answers->queueInput(*answer);
    else
        m_answers->queueInputCancel();
    QByteArrayList offered = wire.sentBy([&] { menus().mnuDCCChat->trigger(); });
    // The offer's port is the system's choice.
    for (QByteArray& line : offered)
        line.truncate(line.lastIndexOf(' ') + 1);
    QCOMPARE(offered, sent);
    QCOMPARE(m_answers->requests().size(), 1);
    const DialogRequest& prompt = m_answers->requests().constFirst();
    QCOMPARE(prompt.kind, DialogRequest::InputBox);
    QCOMPARE(prompt.prompt, QStringLiteral("Enter the nickname you wish to DCC Chat with"));
    QCOMPARE(prompt.title, QStringLiteral("DCC Chat?"));
    QCOMPARE(prompt.defaultText, QStringLiteral("bob"));
}

void TestMenus::closeActiveWindow_data() {
    QTest::addColumn<QString>("active");
    QTest::addColumn<QList<int>>("closes");
    QTest::addColumn<bool>("stays");
    QTest::newRow("server window") << "Server" << QList<int>() << true;
    QTest::newRow("a window with its own close") << "#chan" << QList<int>{0} << true;
    QTest::newRow("the channel list closes plainly") << "/LIST" << QList<int>() << false;
}

void TestMenus::closeActiveWindow() {
    QFETCH(QString, active);
    QFETCH(QList<int>, closes);
    QFETCH(bool, stays);
    auto* channel = new RecordingForm(*m_p, QStringLiteral("#chan"));
    channel->Show();
    m_p->listWindow().Show();
    Form* window = m_p->forms().at(FindForm(*m_p, active));
    window->Show();
    QCOMPARE(ActiveChild(*m_p), window);

    menus().mnuWindowClose->trigger();
    QCOMPARE(channel->closes, closes);
    QCOMPARE(FindForm(*m_p, active) >= 0, stays);
    QVERIFY(m_p->hasServerWindow());
}

void TestMenus::arrange_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("one above the other") << 1;
    QTest::newRow("side by side") << 2;
}

void TestMenus::arrange() {
    QFETCH(int, mode);
    // Two plain children alone in the frame: the server window, whose own
    // placement rules move it again after a resize, is hidden.
    m_p->serverWindow().windowWidget()->hide();
    auto* first = new Form(*m_p, Form::Kind::MdiChild, QStringLiteral("#first"));
    first->Show();
    auto* other = new Form(*m_p, Form::Kind::MdiChild, QStringLiteral("#other"));
    other->Show();
    (mode == 1 ? menus().mnuWindowSortTileHoriz : menus().mnuWindowSortTileVert)->trigger();
    const QRect area = frame().mdiArea()->viewport()->rect();
    const QRect a = first->windowWidget()->geometry();
    const QRect b = other->windowWidget()->geometry();
    QVERIFY(!a.intersects(b));
    QCOMPARE(a.united(b), area);
    if (mode == 1)
        QCOMPARE(a.width(), area.width());
    else
        QCOMPARE(a.height(), area.height());
}

void TestMenus::arrangedConversationWindowsStayUsable_data() {
    QTest::addColumn<int>("mode");
    QTest::newRow("cascade") << 0;
    QTest::newRow("one above the other") << 1;
    QTest::newRow("side by side") << 2;
}

// The conversation windows' own placement rules leave the arrangement alone:
// every window keeps room for its console above its command line, and tiles
// do not overlap.
void TestMenus::arrangedConversationWindowsStayUsable() {
    QFETCH(int, mode);
    QList<ConversationForm*> windows{&m_p->serverWindow()};
    for (const char* tag : {"#one", "#two", "#three"}) {
        auto* chan = new frm_chan(*m_p);
        chan->setTag(QLatin1String(tag));
        chan->Show();
        windows << chan;
    }
    QAction* item = mode == 0   ? menus().mnuWindowSortCascade
                    : mode == 1 ? menus().mnuWindowSortTileHoriz
                                : menus().mnuWindowSortTileVert;
    item->trigger();
    QList<QRect> placed;
    for (const ConversationForm* window : windows)
        placed << window->windowWidget()->geometry();
    QCoreApplication::processEvents();

    const QRect area = frame().mdiArea()->viewport()->rect();
    for (int i = 0; i < windows.size(); ++i) {
        const auto* sub = qobject_cast<const QMdiSubWindow*>(windows.at(i)->windowWidget());
        QVERIFY(sub);
        const QRect now = sub->geometry();
        // Kept where the arrangement put it.
        QCOMPARE(now, placed.at(i));
        QVERIFY2(area.contains(now), qPrintable(windows.at(i)->Tag()));
        QStyleOptionTitleBar option;
        option.initFrom(sub);
        const int titleBar = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &option, sub);
        QVERIFY2(now.height() > titleBar + windows.at(i)->commandline->sizeHint().height(),
                 qPrintable(windows.at(i)->Tag()));
        for (int j = 0; j < i && mode != 0; ++j)
            QVERIFY(!now.intersects(placed.at(j)));
    }
}

void TestMenus::missingHelpIsOneErrorLine() {
    const QString before = serverText();
    menus().mnuHelpItem->trigger();
    const QStringList added =
        serverText().mid(before.size()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    QCOMPARE(added.size(), 1);
    QVERIFY2(added.constFirst().startsWith(QStringLiteral("Error: ")),
             qPrintable(added.constFirst()));
}

void TestMenus::aboutBoxIsModal() {
    menus().mnufrmabout->trigger();
    QCOMPARE(m_answers->requests().size(), 1);
    QCOMPARE(m_answers->requests().constFirst().kind, DialogRequest::ModalWindow);
    QCOMPARE(m_answers->requests().constFirst().title, QStringLiteral("About Parlone"));
}

PARLONE_TEST_MAIN(TestMenus)
#include "tst_menus.moc"
