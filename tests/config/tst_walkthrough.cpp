// The setup walkthrough, its handlers driven directly (under a dialog
// answerer "setwiz" records the window instead of showing it): the pages,
// what each page stores, the server choice, both finishes, the disable box
// and Cancel.

#include "config/frm_setup.h"
#include "config/frm_sw.h"
#include "config/mod_servers.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/RecordFile.h"
#include "core/mod_kernel.h"
#include "tests/support/IrcScriptedPeer.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>

using platform::DialogRequest;

namespace {

QString url(int entry) {
    return QStringLiteral("irc%1.example.org").arg(entry);
}

// servers.ini with `count` entries: irc0.example.org on port 6660 named
// "Net 0", and so on.
QByteArray serversFile(int count) {
    QByteArray file;
    for (int i = 0; i < count; ++i) {
        const QStringList fields{url(i), QString::number(6660 + i), QStringLiteral("Net %1").arg(i),
                                 QStringLiteral("Style")};
        file += RecordFile::formatLine({fields.join(QChar(21))}).toUtf8() + "\r\n";
    }
    return file;
}

} // namespace

class TestWalkthrough : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void setwizRecordsTheWindow();
    void pageButtons_data();
    void pageButtons();
    void textsStoredWhenNotEmpty_data();
    void textsStoredWhenNotEmpty();
    void boxesStoredAsText_data();
    void boxesStoredAsText();
    void serverBoxStartsOnTheSecondEntry_data();
    void serverBoxStartsOnTheSecondEntry();
    void serverChoice_data();
    void serverChoice();
    void serverBoxFollowsTheListAtEveryOpening();
    void finishes_data();
    void finishes();
    void disableBoxTurnsTheWalkthroughOff();
    void cancelStartsAfresh();

private:
    void openWith(int servers);
    frm_sw& wizard() { return m_p->setupWizard(); }
    frm_setup& setup() { return m_p->setupDialog(); }
    QString value(const QString& key) { return m_p->settings.value(key); }
    void setwiz() { ExecCommand(*m_p, QStringLiteral("setwiz")); }
    QPushButton* button(const QString& name);

    std::unique_ptr<ScriptedAnswerer> m_answers;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
    int m_settingsWrites = 0;
};

void TestWalkthrough::init() {
    openWith(5);
}

void TestWalkthrough::openWith(int servers) {
    cleanup();
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_folder = std::make_unique<TempProgramFolder>();
    if (servers > 0)
        m_folder->write(QStringLiteral("servers.ini"), serversFile(servers));
    m_p = std::make_unique<Program>(m_folder->path());
    m_settingsWrites = 0;
    m_p->fileWriter = [this](const QString& path, const QByteArray& bytes, QString* error) {
        if (path.endsWith(u"/settings.ini"))
            ++m_settingsWrites;
        return RecordFile::saveAtomically(path, bytes, error);
    };
    m_p->serverWindow();
    LoadServers(*m_p);
    m_p->settings.setValue(QStringLiteral("SERVER_URL"), QStringLiteral("before.example"));
    setwiz();
}

void TestWalkthrough::cleanup() {
    m_p.reset();
    m_folder.reset();
    m_answers.reset();
}

QPushButton* TestWalkthrough::button(const QString& name) {
    frm_sw& w = wizard();
    const QHash<QString, QPushButton*> buttons{
        {"Command1", w.Command1}, {"Command3", w.Command3},   {"Command4", w.Command4},
        {"Command5", w.Command5}, {"Command6", w.Command6},   {"Command10", w.Command10},
        {"Command9", w.Command9}, {"Command12", w.Command12}, {"Command11", w.Command11},
        {"Command8", w.Command8}, {"Command7", w.Command7},
    };
    return buttons.value(name);
}

void TestWalkthrough::setwizRecordsTheWindow() {
    QCOMPARE(m_answers->requests().size(), 1);
    QCOMPARE(m_answers->requests().at(0).kind, DialogRequest::ModalWindow);
    QCOMPARE(m_answers->requests().at(0).title, QStringLiteral("Setup Walkthrough"));
    QCOMPARE(wizard().page(), 0);
    QVERIFY(wizard().SSTab1->tabBar()->isHidden());
    QCOMPARE(wizard().SSTab1->count(), 6);
}

void TestWalkthrough::pageButtons_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("after");

    QTest::newRow("welcome, next") << 0 << "Command1" << 1;
    QTest::newRow("profile, back") << 1 << "Command3" << 0;
    QTest::newRow("profile, next") << 1 << "Command4" << 2;
    QTest::newRow("connection, back") << 2 << "Command5" << 1;
    QTest::newRow("connection, next without a choice") << 2 << "Command6" << 2;
    QTest::newRow("interface, back") << 3 << "Command10" << 2;
    QTest::newRow("interface, next") << 3 << "Command9" << 4;
    QTest::newRow("buddy mode, back") << 4 << "Command12" << 3;
    QTest::newRow("buddy mode, next") << 4 << "Command11" << 5;
    QTest::newRow("done, back") << 5 << "Command8" << 4;
    QTest::newRow("done, next without a choice") << 5 << "Command7" << 1;
}

void TestWalkthrough::pageButtons() {
    QFETCH(int, page);
    QFETCH(QString, button);
    QFETCH(int, after);
    wizard().SSTab1->setCurrentIndex(page);
    this->button(button)->click();
    QCOMPARE(wizard().page(), after);
}

void TestWalkthrough::textsStoredWhenNotEmpty_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<QStringList>("stored");

    QTest::newRow("nickname and alternate")
        << 0 << QStringList{"walker", "walker_"}
        << QStringList{"PROFILE_NICKNAME=walker", "PROFILE_ALTERNATE=walker_"};
    QTest::newRow("empty nickname keeps the old one")
        << 0 << QStringList{"", "walker_"}
        << QStringList{"PROFILE_NICKNAME=old", "PROFILE_ALTERNATE=walker_"};
    QTest::newRow("profile") << 1 << QStringList{"wk", "wk@example.org", "Walk Er"}
                             << QStringList{"PROFILE_USERNAME=wk", "PROFILE_EMAIL=wk@example.org",
                                            "PROFILE_REALNAME=Walk Er"};
    QTest::newRow("profile, only the e-mail")
        << 1 << QStringList{"", "wk@example.org", ""}
        << QStringList{"PROFILE_USERNAME=old", "PROFILE_EMAIL=wk@example.org",
                       "PROFILE_REALNAME=old"};
}

void TestWalkthrough::textsStoredWhenNotEmpty() {
    QFETCH(int, page);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, stored);
    for (const char* key : {"PROFILE_NICKNAME", "PROFILE_ALTERNATE", "PROFILE_USERNAME",
                            "PROFILE_EMAIL", "PROFILE_REALNAME"})
        m_p->settings.setValue(QString::fromLatin1(key), QStringLiteral("old"));
    frm_sw& w = wizard();
    const QList<QLineEdit*> boxes = page == 0 ? QList<QLineEdit*>{w.Text2, w.Text5}
                                              : QList<QLineEdit*>{w.Text8, w.Text6, w.Text9};
    for (int i = 0; i < boxes.size(); ++i)
        boxes.at(i)->setText(texts.at(i));
    w.SSTab1->setCurrentIndex(page);
    (page == 0 ? w.Command1 : w.Command4)->click();
    const QStringList profileKeys{"PROFILE_NICKNAME", "PROFILE_ALTERNATE", "PROFILE_USERNAME",
                                  "PROFILE_EMAIL", "PROFILE_REALNAME"};
    for (const QString& pair : stored) {
        const QString key = pair.section(u'=', 0, 0);
        const QString text = pair.section(u'=', 1);
        QCOMPARE(value(key), text);
        // Stored through the accessor: the setup dialog shows it.
        if (text != u"old")
            QCOMPARE(setup().profile.at(profileKeys.indexOf(key))->text(), text);
    }
    QCOMPARE(w.page(), page + 1);
}

void TestWalkthrough::boxesStoredAsText_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QStringList>("ticked");
    QTest::addColumn<QStringList>("stored");

    QTest::newRow("interface, all clear")
        << 3 << QStringList{}
        << QStringList{"MAINFORM_ONTOP=FALSE", "USE_TRAY=0", "USE_CONFIRM_EXIT=0"};
    QTest::newRow("interface, on top")
        << 3 << QStringList{"Check5"}
        << QStringList{"MAINFORM_ONTOP=TRUE", "USE_TRAY=0", "USE_CONFIRM_EXIT=0"};
    QTest::newRow("interface, tray and question")
        << 3 << QStringList{"Check6", "Check7"}
        << QStringList{"MAINFORM_ONTOP=FALSE", "USE_TRAY=1", "USE_CONFIRM_EXIT=1"};
    // One box alone, so that a key read from its neighbour's box fails.
    QTest::newRow("interface, tray alone")
        << 3 << QStringList{"Check6"}
        << QStringList{"MAINFORM_ONTOP=FALSE", "USE_TRAY=1", "USE_CONFIRM_EXIT=0"};
    QTest::newRow("buddy mode only")
        << 4 << QStringList{"Check10"}
        << QStringList{"USE_BUDDY=1", "USE_MSNTILE=0", "USE_MSNSOUND=0", "USE_MSN_TRANS=0"};
    QTest::newRow("sound alone") << 4 << QStringList{"Check11"}
                                 << QStringList{"USE_BUDDY=0", "USE_MSNTILE=0", "USE_MSNSOUND=1",
                                                "USE_MSN_TRANS=0"};
    QTest::newRow("tiles, sound, transparent")
        << 4 << QStringList{"Check9", "Check11", "Check8"}
        << QStringList{"USE_BUDDY=0", "USE_MSNTILE=1", "USE_MSNSOUND=1", "USE_MSN_TRANS=1"};
}

void TestWalkthrough::boxesStoredAsText() {
    QFETCH(int, page);
    QFETCH(QStringList, ticked);
    QFETCH(QStringList, stored);
    frm_sw& w = wizard();
    const QHash<QString, QCheckBox*> boxes{
        {"Check5", w.Check5}, {"Check6", w.Check6},   {"Check7", w.Check7}, {"Check10", w.Check10},
        {"Check9", w.Check9}, {"Check11", w.Check11}, {"Check8", w.Check8}};
    for (const QString& name : ticked)
        boxes.value(name)->setChecked(true);
    w.SSTab1->setCurrentIndex(page);
    (page == 3 ? w.Command9 : w.Command11)->click();
    for (const QString& pair : stored)
        QCOMPARE(value(pair.section(u'=', 0, 0)), pair.section(u'=', 1));
    QCOMPARE(w.page(), page + 1);
    if (page == 3) {
        // The accessor's side effect: the frame on top or not.
        const bool onTop =
            m_p->mainFrame().windowWidget()->windowFlags() & Qt::WindowStaysOnTopHint;
        QCOMPARE(onTop, ticked.contains(QStringLiteral("Check5")));
    }
}

void TestWalkthrough::serverBoxStartsOnTheSecondEntry_data() {
    QTest::addColumn<int>("servers");
    QTest::addColumn<int>("index");
    QTest::newRow("five") << 5 << 1;
    QTest::newRow("one") << 1 << 0;
    QTest::newRow("none") << 0 << -1;
}

void TestWalkthrough::serverBoxStartsOnTheSecondEntry() {
    QFETCH(int, servers);
    QFETCH(int, index);
    openWith(servers);
    QCOMPARE(wizard().Combo1->count(), servers);
    QCOMPARE(wizard().Combo1->currentIndex(), index);
    if (servers > 0)
        QCOMPARE(wizard().Combo1->itemText(servers - 1), QStringLiteral("Net %1").arg(servers - 1));
}

void TestWalkthrough::serverChoice_data() {
    QTest::addColumn<int>("servers");
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("comboIndex");
    QTest::addColumn<int>("listIndex"); // the setup dialog's selection before
    QTest::addColumn<int>("drawn");     // what the generator answers
    QTest::addColumn<int>("entry");     // -1: SERVER_* left alone
    QTest::addColumn<QList<int>>("draws");
    QTest::addColumn<int>("page");

    QTest::newRow("random over five, the last one")
        << 5 << "random" << 1 << -1 << 4 << 4 << QList<int>{5} << 3;
    QTest::newRow("random over five, the first one")
        << 5 << "random" << 1 << -1 << 0 << 0 << QList<int>{5} << 3;
    QTest::newRow("random over one") << 1 << "random" << 0 << -1 << 0 << 0 << QList<int>{1} << 3;
    QTest::newRow("random over none") << 0 << "random" << -1 << -1 << 0 << -1 << QList<int>{} << 3;
    QTest::newRow("this server") << 5 << "this" << 3 << -1 << 0 << 3 << QList<int>{} << 3;
    QTest::newRow("this server, already the dialog's")
        << 5 << "this" << 2 << 2 << 0 << 2 << QList<int>{} << 3;
    QTest::newRow("this server, none listed")
        << 0 << "this" << -1 << -1 << 0 << -1 << QList<int>{} << 3;
    QTest::newRow("no choice") << 5 << "none" << 1 << -1 << 0 << -1 << QList<int>{} << 2;
}

void TestWalkthrough::serverChoice() {
    QFETCH(int, servers);
    QFETCH(QString, option);
    QFETCH(int, comboIndex);
    QFETCH(int, listIndex);
    QFETCH(int, drawn);
    QFETCH(int, entry);
    QFETCH(QList<int>, draws);
    QFETCH(int, page);
    openWith(servers);
    QList<int> asked;
    setup().randomIndex = [&](int count) {
        asked << count;
        return drawn;
    };
    if (listIndex >= 0)
        setup().List1->setCurrentIndex(listIndex);
    m_p->settings.setValue(QStringLiteral("SERVER_URL"), QStringLiteral("before.example"));
    m_p->settings.setValue(QStringLiteral("SERVER_PORT"), QStringLiteral("1"));
    frm_sw& w = wizard();
    w.Combo1->setCurrentIndex(comboIndex);
    if (option == u"random")
        w.Option1->setChecked(true);
    else if (option == u"this")
        w.Option2->setChecked(true);
    w.SSTab1->setCurrentIndex(2);
    w.Command6->click();

    QCOMPARE(asked, draws);
    QCOMPARE(value(QStringLiteral("SERVER_URL")),
             entry < 0 ? QStringLiteral("before.example") : url(entry));
    QCOMPARE(value(QStringLiteral("SERVER_PORT")),
             entry < 0 ? QStringLiteral("1") : QString::number(6660 + entry));
    if (entry >= 0) {
        QCOMPARE(setup().List1->currentIndex(), entry);
        QCOMPARE(setup().txt_si_name->text(), QStringLiteral("Net %1").arg(entry));
    }
    QCOMPARE(w.page(), page);
}

void TestWalkthrough::serverBoxFollowsTheListAtEveryOpening() {
    m_folder->write(QStringLiteral("servers.ini"), serversFile(2));
    LoadServers(*m_p);
    setwiz();
    frm_sw& w = wizard();
    QCOMPARE(w.Combo1->count(), 2);
    QCOMPARE(w.Combo1->currentIndex(), 1);
    w.Option2->setChecked(true);
    w.SSTab1->setCurrentIndex(2);
    w.Command6->click();
    QCOMPARE(value(QStringLiteral("SERVER_URL")), url(1));
    QCOMPARE(m_answers->requests().size(), 2);
}

void TestWalkthrough::finishes_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<bool>("connectTicked");
    QTest::addColumn<bool>("hidden");
    QTest::addColumn<bool>("connects");
    QTest::addColumn<bool>("setupShown");

    QTest::newRow("done, connect") << "done" << true << true << true << false;
    QTest::newRow("done, no connect") << "done" << false << true << false << false;
    QTest::newRow("advanced") << "advanced" << true << true << false << true;
    QTest::newRow("no choice") << "none" << true << false << false << false;
}

void TestWalkthrough::finishes() {
    QFETCH(QString, option);
    QFETCH(bool, connectTicked);
    QFETCH(bool, hidden);
    QFETCH(bool, connects);
    QFETCH(bool, setupShown);
    IrcScriptedPeer peer;
    QVERIFY(peer.isListening());
    Settings& s = m_p->settings;
    for (const char* key : {"PROFILE_NICKNAME", "PROFILE_ALTERNATE", "PROFILE_USERNAME",
                            "PROFILE_EMAIL", "PROFILE_REALNAME"})
        s.setValue(QString::fromLatin1(key), QStringLiteral("walker"));
    s.setValue(QStringLiteral("SERVER_URL"), peer.host());
    s.setValue(QStringLiteral("SERVER_PORT"), QString::number(peer.port()));

    frm_sw& w = wizard();
    w.Show();
    w.SSTab1->setCurrentIndex(5);
    if (option == u"done")
        w.Option4->click();
    else if (option == u"advanced")
        w.Option3->click();
    QCOMPARE(w.Check4->isEnabled(), option != u"advanced");
    w.Check4->setChecked(connectTicked);
    w.Command7->click();

    QCOMPARE(w.isHidden(), hidden);
    QCOMPARE(setup().isVisible(), setupShown);
    QCOMPARE(w.page(), 1);
    const platform::Yarv& irc = *m_p->mainFrame().Yarv1;
    QCOMPARE(irc.isConnecting() || irc.IsConnected(), connects);
    if (connects)
        QVERIFY(peer.waitForClient());
    // Still loaded: the next opening keeps what was typed.
    QVERIFY(m_p->forms().contains(&w));
}

void TestWalkthrough::disableBoxTurnsTheWalkthroughOff() {
    frm_sw& w = wizard();
    w.Show();
    w.Check1->click();
    QCOMPARE(value(QStringLiteral("PROMPT_SWIZ")), QStringLiteral("0"));
    QCOMPARE(m_settingsWrites, 1);
    QVERIFY(w.isHidden());
    QVERIFY(m_p->mainFrame().isVisible());
    QVERIFY(setup().isVisible());
    const QList<QStringList> saved =
        RecordFile::parse(m_folder->read(QStringLiteral("settings.ini")), 2).records;
    QVERIFY(saved.contains(QStringList{"PROMPT_SWIZ", "0"}));

    // Cleared again at a later opening: it still turns the walkthrough off.
    m_p->settings.setValue(QStringLiteral("PROMPT_SWIZ"), QStringLiteral("1"));
    setwiz();
    w.Show();
    QVERIFY(w.Check1->isChecked());
    w.Check1->click();
    QVERIFY(!w.Check1->isChecked());
    QCOMPARE(value(QStringLiteral("PROMPT_SWIZ")), QStringLiteral("0"));
    QCOMPARE(m_settingsWrites, 2);
    QVERIFY(w.isHidden());
}

void TestWalkthrough::cancelStartsAfresh() {
    frm_sw* first = &wizard();
    first->Text2->setText(QStringLiteral("typed"));
    first->Command1->click();
    QCOMPARE(value(QStringLiteral("PROFILE_NICKNAME")), QStringLiteral("typed"));
    first->SSTab1->setCurrentIndex(0);
    first->Text2->setText(QStringLiteral("not stored"));
    first->Command2->click();
    QVERIFY(!m_p->forms().contains(first));
    QCOMPARE(value(QStringLiteral("PROFILE_NICKNAME")), QStringLiteral("typed"));

    // Before the old one is even gone, the next opening gets a new one.
    setwiz();
    frm_sw& next = wizard();
    QVERIFY(&next != first);
    QCOMPARE(next.page(), 0);
    QCOMPARE(next.Text2->text(), QString());
    QCOMPARE(next.Combo1->currentIndex(), 1);
    QCOMPARE(m_answers->requests().size(), 2);
}

PARLONE_TEST_MAIN(TestWalkthrough)
#include "tst_walkthrough.moc"
