// The about box: its version line, how it opens and how it goes.

#include "config/frm_about.h"
#include "connection/MainMenus.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/ProgramVersion.h"
#include "core/mod_kernel.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

class TestAbout : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void versionText_data();
    void versionText();
    void opensModallyAndOkUnloads_data();
    void opensModallyAndOkUnloads();
};

void TestAbout::versionText_data() {
    QTest::addColumn<int>("major");
    QTest::addColumn<int>("minor");
    QTest::addColumn<int>("revision");
    QTest::addColumn<QString>("line");
    QTest::newRow("0, 3, 4") << 0 << 3 << 4 << "Parlone v0.34";
    QTest::newRow("1, 2, 12") << 1 << 2 << 12 << "Parlone v1.212";
    QTest::newRow("2, 10, 0") << 2 << 10 << 0 << "Parlone v2.100";
}

void TestAbout::versionText() {
    QFETCH(int, major);
    QFETCH(int, minor);
    QFETCH(int, revision);
    QFETCH(QString, line);
    QCOMPARE(frm_about::VersionText({major, minor, revision}),
             line + QStringLiteral("\r\nAn Internet Relay Chat Client"));
}

void TestAbout::opensModallyAndOkUnloads_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("Help menu") << true;
    QTest::newRow("info") << false;
}

void TestAbout::opensModallyAndOkUnloads() {
    QFETCH(bool, fromMenu);
    const ScriptedAnswerer answers;
    const TempProgramFolder folder;
    Program p(folder.path());
    if (fromMenu) {
        QCOMPARE(p.mainFrame().menus->mnufrmabout->text(), QStringLiteral("A&bout"));
        p.mainFrame().menus->mnufrmabout->trigger();
    } else {
        ExecCommand(p, QStringLiteral("info"));
    }
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(answers.requests().at(0).kind, platform::DialogRequest::ModalWindow);
    QCOMPARE(answers.requests().at(0).title, QStringLiteral("About Parlone"));

    frm_about* box = &p.aboutBox();
    QCOMPARE(box->Label1->text(), frm_about::VersionText(CurrentVersion()));
    QCOMPARE(box->Command1->text(), QStringLiteral("OK"));
    box->Command1->click();
    QVERIFY(!p.forms().contains(box));
    QVERIFY(&p.aboutBox() != box);
}

PARLONE_TEST_MAIN(TestAbout)
#include "tst_about.moc"
