// A first start answered Yes opens the walkthrough; led through its pages
// to "I'm done.. let me chat!!" with "Connect Instantly." it connects to the
// server chosen on its connection page and logs in, against a real ngircd.

#include "config/frm_sw.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/RecordFile.h"
#include "core/mod_startup.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>

class TestWalkthroughNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstStartConnects();
};

void TestWalkthroughNgircd::firstStartConnects() {
    NgircdServer server;
    QVERIFY2(server.start(), qPrintable(server.error()));
    const TempProgramFolder folder;
    const QChar sep(21);
    // The second entry, the one the server box starts on, points nowhere.
    const QStringList entries{
        QStringList{server.host(), QString::number(server.port()), "Test server", "Test"}.join(sep),
        QStringList{"irc.invalid", "6667", "Nowhere", "None"}.join(sep)};
    folder.write(QStringLiteral("servers.ini"),
                 RecordFile::format({{entries.at(0)}, {entries.at(1)}}));
    ScriptedAnswerer answers;
    answers.queueMessageBoxAnswer(platform::vbYes);
    Program p(folder.path());
    Main(p);
    QCOMPARE(answers.requests().size(), 2);
    QCOMPARE(answers.requests().at(0).title, QStringLiteral("Use Walkthrough?"));
    QCOMPARE(answers.requests().at(1).kind, platform::DialogRequest::ModalWindow);
    QCOMPARE(answers.requests().at(1).title, QStringLiteral("Setup Walkthrough"));

    frm_sw& w = p.setupWizard();
    w.Text2->setText(QStringLiteral("walker"));
    w.Text5->setText(QStringLiteral("walker_"));
    w.Command1->click();
    w.Text8->setText(QStringLiteral("walk"));
    w.Text6->setText(QStringLiteral("walk@example.org"));
    w.Text9->setText(QStringLiteral("Walk Through"));
    w.Command4->click();
    w.Option2->setChecked(true);
    QCOMPARE(w.Combo1->currentIndex(), 1);
    w.Combo1->setCurrentIndex(0);
    w.Command6->click();
    w.Command9->click();
    w.Command11->click();
    QCOMPARE(w.page(), 5);
    w.Option4->click();
    w.Check4->setChecked(true);

    platform::Yarv& irc = *p.mainFrame().Yarv1;
    QSignalSpy welcomed(&irc, &platform::Yarv::Welcome);
    w.Command7->click();
    QVERIFY(welcomed.wait(5000));
    QVERIFY(irc.IsConnected());
    QCOMPARE(irc.CurrentNick(), QStringLiteral("walker"));
    QCOMPARE(w.page(), 1);
    irc.CloseConnection();
}

PARLONE_TEST_MAIN(TestWalkthroughNgircd)
#include "tst_walkthrough_ngircd.moc"
