// Finding windows by tag and switchbar panels by text.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"

using platform::SwitchBarPanel;

class TestLookup : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findForm_data();
    void findForm();
    void findPanel_data();
    void findPanel();
    void selectPanel();
    void unloadedFormsLeaveAtOnceAndGoWithTheProgram();

private:
    TempProgramFolder m_folder;
};

void TestLookup::findForm_data() {
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("expected"); // index among the three channels made below, -1 none

    QTest::newRow("exact") << "#Parlone" << 1;
    QTest::newRow("other case") << "#PARLONE" << 1;
    QTest::newRow("first of two equal tags") << "#twin" << 0;
    QTest::newRow("query tag") << "?Nick" << 2;
    QTest::newRow("no match") << "#none" << -1;
    QTest::newRow("blanks count") << " #parlone" << -1;
    QTest::newRow("empty finds nothing") << "" << -1;
}

void TestLookup::findForm() {
    QFETCH(QString, tag);
    QFETCH(int, expected);
    Program p(m_folder.path());
    p.mainFrame(); // an untagged window loaded first
    frm_chan a(p), b(p), c(p), d(p);
    a.setTag(QStringLiteral("#twin"));
    b.setTag(QStringLiteral("#Parlone"));
    c.setTag(QStringLiteral("?nick"));
    d.setTag(QStringLiteral("#twin"));
    const QList<Form*> made{&a, &b, &c};
    const int found = FindForm(p, tag);
    if (expected < 0)
        QCOMPARE(found, -1);
    else
        QCOMPARE(p.forms().value(found), made.at(expected));
}

void TestLookup::findPanel_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");

    QTest::newRow("trimmed, any case") << "  alias " << 3;
    QTest::newRow("panel text trimmed too") << "#chan" << 2;
    QTest::newRow("first of two") << "server" << 1;
    QTest::newRow("none") << "Notify" << 0;
}

void TestLookup::findPanel() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    Program p(m_folder.path());
    platform::SwitchBar* bar = p.mainFrame().StatusBar1;
    bar->Add(-1, QStringLiteral(" #chan "));
    bar->Add(-1, QStringLiteral("Alias"));
    bar->Add(-1, QStringLiteral("Server"));
    QCOMPARE(FindPanel(p, text), expected);
}

void TestLookup::selectPanel() {
    Program p(m_folder.path());
    platform::SwitchBar* bar = p.mainFrame().StatusBar1;
    bar->Add(-1, QStringLiteral("Alias"));
    bar->Add(-1, QStringLiteral("Alias"));
    auto bevels = [bar] {
        QList<int> b;
        for (int i = 1; i <= bar->Count(); ++i)
            b << bar->Panel(i)->bevel();
        return b;
    };
    SelectPanel(p, QStringLiteral("Alias"));
    QCOMPARE(bevels(), (QList<int>{SwitchBarPanel::sbrRaised, SwitchBarPanel::sbrInset,
                                   SwitchBarPanel::sbrInset}));
    // Case and blanks count here.
    SelectPanel(p, QStringLiteral("alias"));
    QCOMPARE(bevels(), (QList<int>{SwitchBarPanel::sbrRaised, SwitchBarPanel::sbrRaised,
                                   SwitchBarPanel::sbrRaised}));
    SelectPanel(p, QStringLiteral("Server"));
    QCOMPARE(bevels().constFirst(), int(SwitchBarPanel::sbrInset));

    bar->Remove(1);
    bar->Remove(1);
    bar->Remove(1);
    QCOMPARE(FindPanel(p, QStringLiteral("Server")), 0);
    SelectPanel(p, QStringLiteral("Server")); // no panels: nothing happens
}

void TestLookup::unloadedFormsLeaveAtOnceAndGoWithTheProgram() {
    auto p = std::make_unique<Program>(m_folder.path());
    auto* chan = new frm_chan(*p);
    chan->setTag(QStringLiteral("#gone"));
    QPointer<frm_chan> watch(chan);
    chan->Unload();
    QCOMPARE(FindForm(*p, QStringLiteral("#gone")), -1);
    QVERIFY(!watch.isNull()); // still there until the event loop runs
    p.reset();                // the program goes first and takes it along
    QVERIFY(watch.isNull());
}

PARLONE_TEST_MAIN(TestLookup)
#include "tst_lookup.moc"
