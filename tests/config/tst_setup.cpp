// The setup dialog's option controls: what each stores when the user uses
// it, what the program sets on them and never writes back, the start-up
// script editor's lock, and closing.

#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/SettingsFile.h"
#include "core/mod_set.h"
#include "core/mod_startup.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextEdit>

class TestSetup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void clickStores_data();
    void clickStores();
    void programValuesAreNotWrittenBack_data();
    void programValuesAreNotWrittenBack();
    void profileStoresTrimmedAtOnce_data();
    void profileStoresTrimmedAtOnce();
    void quitMessageAsTyped();
    void dccFolderGainsItsSlashWhenDone();
    void dccPortKeepsTheCaret();
    void lockedScriptEditorStaysLocked();
    void clearingScriptBoxKeepsEditorOpen();
    void closeHidesAndReopensTheSame();
    void closesWhileTheProgramEnds();
    void optionsSurviveARestart();
    void captions();
    void largeConsoleFontFitsTheScreen_data();
    void largeConsoleFontFitsTheScreen();

private:
    Program& p() { return *m_p; }
    frm_setup& setup() { return m_p->setupDialog(); }
    QString value(const QString& key) { return m_p->settings.value(key); }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestSetup::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->serverWindow();
}

void TestSetup::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestSetup::clickStores_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("ticked");
    QTest::addColumn<QString>("clear");

    const struct {
        const char* control;
        const char* key;
        const char* ticked;
        const char* clear;
    } boxes[] = {
        {"Check1", "MAINFORM_ONTOP", "TRUE", "FALSE"},
        {"chk_use_tray", "USE_TRAY", "1", "0"},
        {"chk_use_confirm_exit", "USE_CONFIRM_EXIT", "1", "0"},
        {"chk_prompt_swiz", "PROMPT_SWIZ", "1", "0"},
        {"chk_show_setup_startup", "SHOW_SETUP", "1", "0"},
        {"chk_useministart", "USE_MINISTART", "1", "0"},
        {"chk_use_instantconnect", "USE_INSTANTCONNECT", "1", "0"},
        {"chk_use_reconnect", "USE_RECONNECT", "1", "0"},
        {"chk_use_autorejoin", "USE_AUTOREJOIN", "1", "0"},
        {"chk_use_buddy", "USE_BUDDY", "1", "0"},
        {"chk_use_startupini", "USE_STARTUPINI", "1", "0"},
        {"chk_USE_MSNTILE", "USE_MSNTILE", "1", "0"},
        {"chk_USE_MSNSOUND", "USE_MSNSOUND", "1", "0"},
        {"chk_USE_MSN_TRANS", "USE_MSN_TRANS", "1", "0"},
        {"chk_WIN_SERVER_LOGGING", "WIN_SERVER_LOGGING", "TRUE", "FALSE"},
        {"chk_WIN_SERVER_TIMESTAMP", "WIN_SERVER_TIMESTAMP", "TRUE", "FALSE"},
        {"chk_win_Chan_logging", "WIN_CHAN_LOGGING", "TRUE", "FALSE"},
        {"chk_win_Chan_timestamp", "WIN_CHAN_TIMESTAMP", "TRUE", "FALSE"},
        {"chk_query_logging", "WIN_QUERY_LOGGING", "TRUE", "FALSE"},
        {"chk_query_timestamp", "WIN_QUERY_TIMESTAMP", "TRUE", "FALSE"},
    };
    for (const auto& box : boxes)
        QTest::newRow(box.control) << box.control << box.key << box.ticked << box.clear;

    // The event filters, by index.
    const char* const filters[] = {
        "SHOW_CTCP",       "SHOW_CTCPREPLY",    "SHOW_ERROR",   "SHOW_IRCMESSAGES",
        "SHOW_JOIN",       "SHOW_PART",         "SHOW_KICK",    "SHOW_NICK",
        "SHOW_NOTICE",     "SHOW_NOTICEACTIVE", "SHOW_QUERY",   "SHOW_QUIT",
        "SHOW_QUITACTIVE", "SHOW_CHANNELMODE",  "SHOW_NAMES",   "SHOW_MOTD",
        "SHOW_SERVERPING", "SHOW_SERVERERROR",  "SHOW_WELCOME", "SHOW_SERVERNOTICE",
    };
    for (int i = 0; i < 20; ++i) {
        const QString control = QStringLiteral("chk_md(%1)").arg(i);
        QTest::newRow(qPrintable(control)) << control << filters[i] << "1"
                                           << "0";
    }
}

// A click by the user to ticked and to clear stores the box's own value.
void TestSetup::clickStores() {
    QFETCH(QString, control);
    QFETCH(QString, key);
    QFETCH(QString, ticked);
    QFETCH(QString, clear);
    QCheckBox* box = setup().checkBox(control);
    QVERIFY(box);
    QVERIFY(!box->isChecked());
    box->click();
    QCOMPARE(box->checkState(), Qt::Checked);
    QCOMPARE(value(key), ticked);
    box->click();
    QCOMPARE(box->checkState(), Qt::Unchecked);
    QCOMPARE(value(key), clear);
}

void TestSetup::programValuesAreNotWrittenBack_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("key");
    for (const auto& [control, key] :
         {std::pair{"chk_md(4)", "SHOW_JOIN"}, std::pair{"chk_md(19)", "SHOW_SERVERNOTICE"},
          std::pair{"chk_show_setup_startup", "SHOW_SETUP"},
          std::pair{"chk_USE_MSNTILE", "USE_MSNTILE"},
          std::pair{"chk_USE_MSNSOUND", "USE_MSNSOUND"},
          std::pair{"chk_USE_MSN_TRANS", "USE_MSN_TRANS"}})
        QTest::newRow(control) << control << key;
}

// "2" greys a box and "5" ticks it; neither is replaced by what the box
// shows. A greyed box turns ticked at the user's next click, never greyed.
void TestSetup::programValuesAreNotWrittenBack() {
    QFETCH(QString, control);
    QFETCH(QString, key);
    QCheckBox* box = setup().checkBox(control);
    Setting(p(), key, QStringLiteral("5"));
    QCOMPARE(box->checkState(), Qt::Checked);
    QCOMPARE(value(key), QStringLiteral("5"));
    Setting(p(), key, QStringLiteral("2"));
    QCOMPARE(box->checkState(), Qt::PartiallyChecked);
    QCOMPARE(value(key), QStringLiteral("2"));

    box->click();
    QCOMPARE(box->checkState(), Qt::Checked);
    QCOMPARE(value(key), QStringLiteral("1"));
    box->click();
    QCOMPARE(box->checkState(), Qt::Unchecked);
    QCOMPARE(value(key), QStringLiteral("0"));
    box->click();
    QCOMPARE(box->checkState(), Qt::Checked);
    QCOMPARE(value(key), QStringLiteral("1"));
}

void TestSetup::profileStoresTrimmedAtOnce_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("key");
    QTest::newRow("nickname") << 0 << "PROFILE_NICKNAME";
    QTest::newRow("alternate") << 1 << "PROFILE_ALTERNATE";
    QTest::newRow("username") << 2 << "PROFILE_USERNAME";
    QTest::newRow("email") << 3 << "PROFILE_EMAIL";
    QTest::newRow("real name") << 4 << "PROFILE_REALNAME";
}

// Every key typed is stored at once, trimmed, and what was typed is there
// when the dialog goes.
void TestSetup::profileStoresTrimmedAtOnce() {
    QFETCH(int, index);
    QFETCH(QString, key);
    QLineEdit* box = setup().profile[index];
    QTest::keyClicks(box, QStringLiteral("  ab"));
    QCOMPARE(value(key), QStringLiteral("ab"));
    QTest::keyClicks(box, QStringLiteral("c "));
    QCOMPARE(value(key), QStringLiteral("abc"));
    setup().Show();
    setup().Hide();
    QCOMPARE(value(key), QStringLiteral("abc"));
    QCOMPARE(box->text(), QStringLiteral("  abc "));
}

void TestSetup::quitMessageAsTyped() {
    QLineEdit* box = setup().default_quit;
    QTest::keyClicks(box, QStringLiteral(" bye "));
    QCOMPARE(value(QStringLiteral("USE_DEFAULT_QUIT")), QStringLiteral(" bye "));
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(value(QStringLiteral("USE_DEFAULT_QUIT")), QString());
}

// The folder box is never rewritten while the user types; the trailing "/"
// comes once, when the edit is done. An emptied box keeps the old folder.
void TestSetup::dccFolderGainsItsSlashWhenDone() {
    const QString key = QStringLiteral("DEF_GET_DIR");
    QLineEdit* box = setup().txt_dcc_get;
    Setting(p(), key, QStringLiteral("/old"));
    QCOMPARE(box->text(), QStringLiteral("/old/"));

    box->selectAll();
    QString typed;
    for (const QChar c : QStringLiteral("/tmp/dl")) {
        QTest::keyClick(box, c.toLatin1());
        typed += c;
        QCOMPARE(box->text(), typed);
        QCOMPARE(box->cursorPosition(), typed.size());
    }
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(value(key), QStringLiteral("/tmp/dl/"));
    QCOMPARE(box->text(), QStringLiteral("/tmp/dl/"));

    // A slash typed by the user is not doubled.
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("/srv/"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(value(key), QStringLiteral("/srv/"));

    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(value(key), QStringLiteral("/srv/"));
    QCOMPARE(box->text(), QStringLiteral("/srv/"));

    // An edit under way when the dialog goes is kept.
    setup().Show();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("/home/me"));
    setup().Hide();
    QCOMPARE(value(key), QStringLiteral("/home/me/"));
}

void TestSetup::dccPortKeepsTheCaret() {
    const QString key = QStringLiteral("SET_DCC_PORT");
    QLineEdit* box = setup().txt_dcc_port;
    Setting(p(), key, QStringLiteral("4000"));
    box->setCursorPosition(2);
    QTest::keyClick(box, '5');
    QCOMPARE(box->text(), QStringLiteral("40500"));
    QCOMPARE(box->cursorPosition(), 3);
    QCOMPARE(value(key), QStringLiteral("40500"));

    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QCOMPARE(value(key), QStringLiteral("40500"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->text(), QStringLiteral("40500"));
}

// A start-up script that exists but cannot be read keeps its editor locked,
// and "Enable these commands" does not open it.
void TestSetup::lockedScriptEditorStaysLocked() {
    m_folder->write(QStringLiteral("cmd/startup.ini/inside"), "not a script");
    InitSetupForm(p());
    QTextEdit* editor = setup().start_command;
    QVERIFY(editor->isReadOnly());
    setup().chk_use_startupini->click();
    QCOMPARE(value(QStringLiteral("USE_STARTUPINI")), QStringLiteral("1"));
    QVERIFY(editor->isReadOnly());
    QVERIFY(editor->isEnabled());
    editor->setPlainText(QStringLiteral("/join #x"));
    QVERIFY(QFileInfo(m_folder->file(QStringLiteral("cmd/startup.ini"))).isDir());
}

void TestSetup::clearingScriptBoxKeepsEditorOpen() {
    InitSetupForm(p());
    QCheckBox* box = setup().chk_use_startupini;
    QTextEdit* editor = setup().start_command;
    box->click();
    box->click();
    QCOMPARE(value(QStringLiteral("USE_STARTUPINI")), QStringLiteral("0"));
    QVERIFY(!editor->isReadOnly());
    QVERIFY(editor->isEnabled());
    QTest::keyClicks(editor, QStringLiteral("/join #x"));
    QCOMPARE(m_folder->read(QStringLiteral("cmd/startup.ini")), QByteArray("/join #x"));
}

void TestSetup::closeHidesAndReopensTheSame() {
    frm_setup& dialog = setup();
    dialog.Show();
    dialog.SSTab1->setCurrentIndex(1);
    dialog.chk_md[3]->click();
    QTest::keyClicks(dialog.profile[0], QStringLiteral("nick"));
    dialog.close();
    QVERIFY(!dialog.isVisible());
    QVERIFY(p().mainFrame().isVisible());
    QVERIFY(p().forms().contains(&dialog));

    dialog.Show();
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.SSTab1->currentIndex(), 1);
    QVERIFY(dialog.chk_md[3]->isChecked());
    QCOMPARE(dialog.profile[0]->text(), QStringLiteral("nick"));
    QCOMPARE(value(QStringLiteral("PROFILE_NICKNAME")), QStringLiteral("nick"));
}

void TestSetup::closesWhileTheProgramEnds() {
    QPointer<frm_setup> dialog(&setup());
    dialog->Show();
    p().closing = true;
    dialog->close();
    QVERIFY(!p().forms().contains(dialog.data()));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(dialog.isNull());
}

// What the user set in the dialog is saved with the settings and shown again
// by the next run's dialog. (USE_AUTOREJOIN lasts only for the run, and the
// walkthrough box shows nothing stored.)
void TestSetup::optionsSurviveARestart() {
    const char* const boxes[] = {
        "Check1",
        "chk_use_tray",
        "chk_use_confirm_exit",
        "chk_show_setup_startup",
        "chk_useministart",
        "chk_use_instantconnect",
        "chk_use_reconnect",
        "chk_use_buddy",
        "chk_use_startupini",
        "chk_USE_MSNTILE",
        "chk_USE_MSNSOUND",
        "chk_USE_MSN_TRANS",
        "chk_WIN_SERVER_LOGGING",
        "chk_WIN_SERVER_TIMESTAMP",
        "chk_win_Chan_logging",
        "chk_win_Chan_timestamp",
        "chk_query_logging",
        "chk_query_timestamp",
        "chk_md(0)",
        "chk_md(7)",
        "chk_md(19)",
    };
    for (const char* name : boxes)
        setup().checkBox(QString::fromLatin1(name))->click();
    for (int i = 0; i < 5; ++i)
        QTest::keyClicks(setup().profile[i], QStringLiteral(" value%1 ").arg(i));
    QTest::keyClicks(setup().default_quit, QStringLiteral("see you"));
    QTest::keyClicks(setup().txt_dcc_get, QStringLiteral("/tmp/dl"));
    QTest::keyClick(setup().txt_dcc_get, Qt::Key_Return);
    setup().txt_dcc_port->selectAll();
    QTest::keyClicks(setup().txt_dcc_port, QStringLiteral("5000"));
    SaveSettings(p());

    Program next(m_folder->path());
    next.serverWindow();
    LoadSettings(next);
    frm_setup& dialog = next.setupDialog();
    for (const char* name : boxes)
        QVERIFY2(dialog.checkBox(QString::fromLatin1(name))->isChecked(), name);
    QVERIFY(!dialog.chk_md[1]->isChecked());
    for (int i = 0; i < 5; ++i)
        QCOMPARE(dialog.profile[i]->text(), QStringLiteral("value%1").arg(i));
    QCOMPARE(dialog.default_quit->text(), QStringLiteral("see you"));
    QCOMPARE(dialog.txt_dcc_get->text(), QStringLiteral("/tmp/dl/"));
    QCOMPARE(dialog.txt_dcc_port->text(), QStringLiteral("5000"));
}

// The frames and buttons a user finds, with their captions as written.
void TestSetup::captions() {
    QStringList groups;
    for (const QGroupBox* group : setup().findChildren<QGroupBox*>())
        groups << group->title();
    for (const char* title :
         {"Server manager:", "Personal Info:", "Server List:", "Server information:",
          "GUI Options:", "Show in active window:", "Show in server window:",
          "Default /QUIT message:", "Buddy Mode Options:", "DCC",
          "Default Values:", "Appearance Profiles:",
          "When Connected to the server run these commands:", "When Parlone Starts", "Misc:"})
        QVERIFY2(groups.contains(QString::fromLatin1(title)), title);
    QStringList buttons;
    for (const QPushButton* button : setup().findChildren<QPushButton*>())
        buttons << button->text();
    for (const char* text : {"Top ", "Random", "Bottom", "Add", "Delete",
                             "Connect to the selected server!", "Load", "Save", "Aquire", "&Apply"})
        QVERIFY2(buttons.contains(QString::fromLatin1(text)), text);
    QCOMPARE(setup().chk_prompt_swiz->text(), QStringLiteral("Prompt for wizard on /setup"));
}

void TestSetup::largeConsoleFontFitsTheScreen_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<int>("page");
    QTest::newRow("server") << "WIN_SERVER_CONSOLE_FONTSIZE"
                            << "lbl_WIN_SERVER_MOTDCOLOR" << 0;
    QTest::newRow("channel") << "WIN_CHAN_CONSOLE_FONTSIZE"
                             << "lbl_WIN_CHAN_ACTIONCOLOR" << 1;
    QTest::newRow("query") << "WIN_QUERY_CONSOLE_FONTSIZE"
                           << "lbl_win_query_actioncolor" << 2;
}

// However large the samples' font, the dialog stays within the screen, its
// lower part (the appearance profiles) on it, and the samples keep the font.
void TestSetup::largeConsoleFontFitsTheScreen() {
    QFETCH(QString, key);
    QFETCH(QString, sample);
    QFETCH(int, page);
    Setting(p(), key, QStringLiteral("30"));
    frm_setup& dialog = setup();
    dialog.SSTab1->setCurrentIndex(2);
    dialog.SStab2->setCurrentIndex(page);
    dialog.Show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QRect screen = dialog.screen()->availableGeometry();
    QVERIFY2(screen.contains(dialog.frameGeometry()),
             qPrintable(QStringLiteral("%1x%2 on %3x%4")
                            .arg(dialog.frameGeometry().width())
                            .arg(dialog.frameGeometry().height())
                            .arg(screen.width())
                            .arg(screen.height())));
    const QWidget* profiles = dialog.btn_load_app;
    QVERIFY(profiles->isVisible());
    QVERIFY(screen.contains(QRect(profiles->mapToGlobal(QPoint(0, 0)), profiles->size())));
    QCOMPARE(dialog.appearanceControl(sample)->font().pointSize(), 30);
}

PARLONE_TEST_MAIN(TestSetup)
#include "tst_setup.moc"
