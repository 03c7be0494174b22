// The frame's text operations: a raw protocol line into its parts, the nick
// of a mask, and a line written through the frame to the server window.

#include "connection/FrameText.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

class TestFrameText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void analyse_data();
    void analyse();
    void getNick_data();
    void getNick();
    void dispWritesToTheServerWindow_data();
    void dispWritesToTheServerWindow();
};

void TestFrameText::analyse_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("parts");

    QTest::newRow("channel message")
        << ":bob!b@host PRIVMSG #chan :two words"
        << QStringList{":", "bob!b@host", "PRIVMSG", "#chan", "two words"};
    QTest::newRow("ping") << "PING :server" << QStringList{"PING", "server"};
    QTest::newRow("two plain words") << "two words" << QStringList{"two", "words"};
    QTest::newRow("IPv6 host in the prefix")
        << ":bob!b@2001:db8::1 PRIVMSG me :hi there"
        << QStringList{":", "bob!b@2001:db8::1", "PRIVMSG", "me", "hi there"};
    QTest::newRow("colon inside a middle word")
        << "MODE #c +b a:b c" << QStringList{"MODE", "#c", "+b", "a:b", "c"};
    QTest::newRow("trailing keeps its colons")
        << "PRIVMSG #c :a :b" << QStringList{"PRIVMSG", "#c", "a :b"};
    QTest::newRow("empty trailing") << "PRIVMSG #c :" << QStringList{"PRIVMSG", "#c", ""};
    QTest::newRow("two blanks give an empty part") << "a  b" << QStringList{"a", "", "b"};
    QTest::newRow("one blank at the end gives none") << "a b " << QStringList{"a", "b"};
    QTest::newRow("prefix only") << ":irc.example" << QStringList{":", "irc.example"};
    QTest::newRow("empty line") << "" << QStringList{""};
}

void TestFrameText::analyse() {
    QFETCH(QString, line);
    QFETCH(QStringList, parts);
    QCOMPARE(FrameText::Analyse(line), parts);
}

void TestFrameText::getNick_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("nick");

    QTest::newRow("user mask") << "bob!b@host"
                               << "bob";
    QTest::newRow("server name") << "irc.example.org"
                                 << "irc.example.org";
    QTest::newRow("first bang") << "a!b!c@d"
                                << "a";
    QTest::newRow("empty") << ""
                           << "";
}

void TestFrameText::getNick() {
    QFETCH(QString, mask);
    QFETCH(QString, nick);
    QCOMPARE(FrameText::GetNick(mask), nick);
}

void TestFrameText::dispWritesToTheServerWindow_data() {
    QTest::addColumn<QString>("timestamp");
    QTest::addColumn<QString>("line");

    QTest::newRow("timestamp on") << "TRUE"
                                  << "[9:05] hello";
    QTest::newRow("timestamp off") << "FALSE"
                                   << "hello";
}

void TestFrameText::dispWritesToTheServerWindow() {
    QFETCH(QString, timestamp);
    QFETCH(QString, line);
    TempProgramFolder folder;
    Program p(folder.path());
    p.palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    p.clock.setFixed(QDateTime(QDate(2024, 3, 9), QTime(9, 5, 3)));
    p.settings.setValue(QStringLiteral("WIN_SERVER_TIMESTAMP"), timestamp);
    p.serverWindow().Show();
    // Through the interface other windows write theirs with.
    ConversationWindow& frame = p.mainFrame();
    frame.disp(QStringLiteral("hello"), timestamp != u"TRUE", QStringLiteral("255"));
    QCOMPARE(p.serverWindow().console->Text().section(QStringLiteral("\r\n"), -1), line);
}

PARLONE_TEST_MAIN(TestFrameText)
#include "tst_frametext.moc"
