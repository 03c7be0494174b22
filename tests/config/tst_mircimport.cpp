// The import of servers from another client's servers.ini into the server
// list: which lines become entries, and the fields cut out of them.

#include "config/ServerList.h"
#include "config/mod_aquire_mirc.h"
#include "tests/support/FifoWatchdog.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

using Entries = QList<QStringList>; // URL, PORT, FRIENDLY, STYLE

namespace {

Entries entriesOf(const ServerList& list) {
    Entries entries;
    for (int i = 0; i < list.ServerCount(); ++i) {
        QStringList fields;
        for (const char* field : {"URL", "PORT", "FRIENDLY", "STYLE"})
            fields << list.GetServerField(i, QString::fromLatin1(field));
        entries << fields;
    }
    return entries;
}

} // namespace

class TestMircImport : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void lines_data();
    void lines();
    void importingTwiceAddsNothing();
    void unreadableFile_data();
    void unreadableFile();
    void stopsWhenTheListIsFull();
};

void TestMircImport::lines_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<Entries>("entries");

    QTest::newRow("usual line under its section header")
        << QByteArray("[servers]\r\nn0=Random serverSERVER:irc.example.net:6660-6669GROUP:"
                      "ExampleNet\r\n")
        << Entries{{"irc.example.net", "6660-6669", "Random server", "ExampleNet"}};
    QTest::newRow("G and - in the group keep the port whole")
        << QByteArray("n1=GameNet: Random serverSERVER:irc.gamenet.org:6660-6669GROUP:GameNet")
        << Entries{{"irc.gamenet.org", "6660-6669", "GameNet: Random server", "GameNet"}};
    QTest::newRow("no GROUP keeps the port")
        << QByteArray("n2=Lone serverSERVER:irc.lone.net:6667")
        << Entries{{"irc.lone.net", "6667", "Lone server", ""}};
    QTest::newRow("SERVER: without a later colon")
        << QByteArray("n3=No portSERVER:irc.noport.net\r\nn4=NextSERVER:irc.next.net:7000")
        << Entries{{"irc.noport.net", "", "No port", ""}, {"irc.next.net", "7000", "Next", ""}};
    QTest::newRow("capital N is no server line")
        << QByteArray("N0=UpperSERVER:irc.upper.net:6667GROUP:Up") << Entries{};
    QTest::newRow("other keys and sections are passed over")
        << QByteArray("[options]\r\nnick=someone\r\nn=\r\n[servers]\r\n") << Entries{};
    QTest::newRow("a line without SERVER: is passed over")
        << QByteArray("n5=Just a descriptionGROUP:Somewhere:6667") << Entries{};
    QTest::newRow("no host is no server")
        << QByteArray("n6=No hostSERVER::6667GROUP:X") << Entries{};
    QTest::newRow("= in the description") << QByteArray("n7=A=B chatSERVER:irc.ab.net:6667GROUP:AB")
                                          << Entries{{"irc.ab.net", "6667", "A=B chat", "AB"}};
    QTest::newRow("blanks around the line; those after = stay")
        << QByteArray("   n8= Spaced chat SERVER:irc.sp.net:6667GROUP:Sp  ")
        << Entries{{"irc.sp.net", "6667", " Spaced chat", "Sp"}};
    QTest::newRow("the last SERVER: gives the host")
        << QByteArray("n9=TwiceSERVER:first.net:1SERVER:second.net:2GROUP:X")
        << Entries{{"second.net", "2", "Twice", "X"}};
    QTest::newRow("CR LF, CR and LF line ends")
        << QByteArray("n0=ASERVER:a.net:1GROUP:A\r\nn1=BSERVER:b.net:2GROUP:B\rn2=CSERVER:c."
                      "net:3GROUP:C\n")
        << Entries{{"a.net", "1", "A", "A"}, {"b.net", "2", "B", "B"}, {"c.net", "3", "C", "C"}};
    QTest::newRow("a line that is not UTF-8 reads as Latin-1")
        << QByteArray("n0=Caf\xe9SERVER:a.net:1GROUP:X\r\nn1=Caf\xc3\xa9SERVER:b.net:1GROUP:X")
        << Entries{{"a.net", "1", "Caf\u00e9", "X"}, {"b.net", "1", "Caf\u00e9", "X"}};
    QTest::newRow("the entry separator is dropped from a field")
        << QByteArray("n0=Odd\x15nameSERVER:a.net:1GROUP:X")
        << Entries{{"a.net", "1", "Oddname", "X"}};
    QTest::newRow("a line longer than any server line is passed over")
        << "n0=ASERVER:a.net:1GROUP:A\r\nn1=" + QByteArray(70000, 'x') +
               "SERVER:long.net:1GROUP:L\r\nn2=BSERVER:b.net:2GROUP:B"
        << Entries{{"a.net", "1", "A", "A"}, {"b.net", "2", "B", "B"}};
    QTest::newRow("lines ended by CR alone, after a byte order mark")
        << QByteArray("\xEF\xBB\xBFn0=ASERVER:a.net:1GROUP:A\rn1=BSERVER:b.net:2GROUP:B\r")
        << Entries{{"a.net", "1", "A", "A"}, {"b.net", "2", "B", "B"}};
    QTest::newRow("the same server twice is one entry")
        << QByteArray("n0=ASERVER:a.net:1GROUP:A\nn1=ASERVER:a.net:1GROUP:A")
        << Entries{{"a.net", "1", "A", "A"}};
}

void TestMircImport::lines() {
    QFETCH(QByteArray, file);
    QFETCH(Entries, entries);
    TempProgramFolder folder;
    ServerList list;
    const MircImport result = ImportMircServers(list, folder.write(QStringLiteral("x.ini"), file));
    QCOMPARE(result.status, MircImport::Status::Done);
    QCOMPARE(entriesOf(list), entries);
    QCOMPARE(result.added, entries.size());
}

void TestMircImport::importingTwiceAddsNothing() {
    TempProgramFolder folder;
    const QString path = folder.write(
        QStringLiteral("servers.ini"),
        "[servers]\r\nn0=ASERVER:a.net:6667GROUP:A\r\nn1=BSERVER:b.net:6660-6669GROUP:B\r\n");
    ServerList list;
    list.readFile(QStringLiteral("\"own.net\x15"
                                 "6667\x15Own\x15O\""));
    QCOMPARE(ImportMircServers(list, path).added, 2);
    const Entries once = entriesOf(list);
    QCOMPARE(once.size(), 3);
    const MircImport again = ImportMircServers(list, path);
    QCOMPARE(again.status, MircImport::Status::Done);
    QCOMPARE(again.added, 0);
    QCOMPARE(entriesOf(list), once);
}

void TestMircImport::unreadableFile_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << "missing.ini";
    QTest::newRow("a folder") << "folder.ini";
    QTest::newRow("a pipe nobody writes to") << "pipe.ini";
}

void TestMircImport::unreadableFile() {
    QFETCH(QString, name);
    TempProgramFolder folder;
    folder.write(QStringLiteral("folder.ini/inside"), "n0=ASERVER:a.net:1GROUP:A");
    QVERIFY(FifoWatchdog::make(folder.file(QStringLiteral("pipe.ini"))));
    FifoWatchdog watchdog(folder.file(QStringLiteral("pipe.ini")));
    ServerList list;
    list.readFile(QStringLiteral("\"kept\x15"
                                 "1\x15K\x15K\""));
    const MircImport result = ImportMircServers(list, folder.file(name));
    QVERIFY2(!watchdog.release(), "the import waited on the pipe");
    QCOMPARE(result.status, MircImport::Status::FileNotFound);
    QCOMPARE(result.added, 0);
    QCOMPARE(entriesOf(list), (Entries{{"kept", "1", "K", "K"}}));
}

void TestMircImport::stopsWhenTheListIsFull() {
    TempProgramFolder folder;
    QStringList lines;
    for (int i = 0; i < ServerList::Capacity - 1; ++i)
        lines << QStringLiteral("\"h%1\x15"
                                "1\x15N\x15S\"")
                     .arg(i);
    ServerList list;
    list.readLines(lines);
    QCOMPARE(list.ServerCount(), ServerList::Capacity - 1);
    const QString path = folder.write(
        QStringLiteral("x.ini"),
        "n0=ASERVER:a.net:1GROUP:A\nn1=BSERVER:b.net:1GROUP:B\nn2=CSERVER:c.net:1GROUP:C\n");
    const MircImport result = ImportMircServers(list, path);
    QCOMPARE(result.status, MircImport::Status::ListFull);
    QCOMPARE(result.added, 1);
    QCOMPARE(list.ServerCount(), ServerList::Capacity);
    QCOMPARE(list.GetServerField(ServerList::Capacity - 1, QStringLiteral("URL")),
             QStringLiteral("a.net"));
}

PARLONE_TEST_MAIN(TestMircImport)
#include "tst_mircimport.moc"
