// The block-list window and the block test over its list.

#include "core/Program.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_blocks.h"

#include <QListWidget>
#include <QPointer>

class TestBlockList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyOnFirstUse();
    void blocksListedNicks_data();
    void blocksListedNicks();
    void unloadedWithProgram();
};

void TestBlockList::emptyOnFirstUse() {
    TempProgramFolder folder;
    Program p(folder.path());
    frm_blocks& blocks = p.blocksWindow();
    QCOMPARE(&p.blocksWindow(), &blocks);
    QVERIFY(p.forms().contains(&blocks));
    QVERIFY(!blocks.Visible());
    QCOMPARE(blocks.lst_blocked->count(), 0);
    QCOMPARE(blocks.lst_blocktype->count(), 0);
    QVERIFY(!IsBlocked(p, QStringLiteral("anyone"), QStringLiteral("CTCP")));
}

void TestBlockList::blocksListedNicks_data() {
    QTest::addColumn<QStringList>("blocked");
    QTest::addColumn<QString>("nick");
    QTest::addColumn<bool>("result");

    QTest::newRow("everyone") << QStringList{"*"} << "MiXed" << true;
    QTest::newRow("listed in lower case") << QStringList{"mixed"} << "MiXed" << true;
    QTest::newRow("not listed") << QStringList{"other"} << "MiXed" << false;
}

void TestBlockList::blocksListedNicks() {
    QFETCH(QStringList, blocked);
    QFETCH(QString, nick);
    QFETCH(bool, result);

    TempProgramFolder folder;
    Program p(folder.path());
    frm_blocks& blocks = p.blocksWindow();
    for (const QString& entry : blocked) {
        blocks.lst_blocked->addItem(entry);
        blocks.lst_blocktype->addItem(QStringLiteral("ALL"));
    }
    const QString before = nick;
    QCOMPARE(IsBlocked(p, nick, QStringLiteral("CTCP")), result);
    // The caller's nick keeps its letter case.
    QCOMPARE(nick, before);
}

void TestBlockList::unloadedWithProgram() {
    TempProgramFolder folder;
    QPointer<frm_blocks> blocks;
    {
        Program p(folder.path());
        blocks = &p.blocksWindow();
    }
    QVERIFY(blocks.isNull());
}

PARLONE_TEST_MAIN(TestBlockList)
#include "tst_blocklist.moc"
