// The server list: servers.ini lines, fields, count, and the setup dialog's combo box.

#include "config/ServerList.h"
#include "config/frm_setup.h"
#include "config/mod_servers.h"
#include "core/Program.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QComboBox>

class TestServerList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fields_data();
    void fields();
    void readFile_data();
    void readFile();
    void loadServersFillsCombo();
    void missingFileGivesEmptyList();
    void eachLineIsDecodedOnItsOwn();
};

void TestServerList::fields_data() {
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("expected"); // URL, PORT, FRIENDLY, STYLE

    const QChar s(21);
    QTest::newRow("four fields") << QStringList{"irc.x", "6667", "X Net", "XNet"}.join(s)
                                 << QStringList{"irc.x", "6667", "X Net", "XNet"};
    QTest::newRow("port range") << QStringList{"irc.x", "6660-6669", "X", "Y"}.join(s)
                                << QStringList{"irc.x", "6660-6669", "X", "Y"};
    QTest::newRow("no separators") << QStringLiteral("irc.x") << QStringList{"", "", "", ""};
    QTest::newRow("two separators")
        << QStringLiteral("a%1b%1c").arg(s) << QStringList{"a", "b", "", "c"};
    QTest::newRow("empty fields") << QStringLiteral("%1%1%1").arg(s) << QStringList{"", "", "", ""};
    QTest::newRow("style after last separator")
        << QStringLiteral("a%1b%1c%1d%1e").arg(s) << QStringList{"a", "b", "c", "e"};
}

void TestServerList::fields() {
    QFETCH(QString, entry);
    QFETCH(QStringList, expected);
    ServerList list;
    list.readFile(u'"' + entry + u'"');
    QCOMPARE(list.GetServerField(0, QStringLiteral("url")), expected.at(0));
    QCOMPARE(list.GetServerField(0, QStringLiteral("Port")), expected.at(1));
    QCOMPARE(list.GetServerField(0, QStringLiteral("FRIENDLY")), expected.at(2));
    QCOMPARE(list.GetServerField(0, QStringLiteral("STYLE")), expected.at(3));
    QCOMPARE(list.GetServerField(0, QStringLiteral("NAME")), QString());
    QCOMPARE(list.GetServerField(5, QStringLiteral("URL")), QString());
}

void TestServerList::readFile_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");

    QTest::newRow("CR LF lines") << QStringLiteral("\"a\"\r\n\"b\"\r\n\"\"\r\n")
                                 << QStringList{"a", "b"};
    QTest::newRow("LF lines, no end marker")
        << QStringLiteral("\"a\"\n\"b\"") << QStringList{"a", "b"};
    QTest::newRow("empty lines skipped")
        << QStringLiteral("\n\"a\"\n\n\"b\"\n") << QStringList{"a", "b"};
    QTest::newRow("lines after the end marker are hidden")
        << QStringLiteral("\"a\"\n\"\"\n\"b\"\n") << QStringList{"a"};
    QTest::newRow("any first and last character go")
        << QStringLiteral("xabcx\n'q'") << QStringList{"abc", "q"};
    QTest::newRow("doubled quote reads as one")
        << QStringLiteral("\"say \"\"hi\"\"\"") << QStringList{"say \"hi\""};
    QTest::newRow("one-character line is no entry")
        << QStringLiteral("\"a\"\nx\n\"b\"") << QStringList{"a", "b"};
    QTest::newRow("blank entry ends the list")
        << QStringLiteral("\"a\"\n\"   \"\n\"b\"") << QStringList{"a"};
}

void TestServerList::readFile() {
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    ServerList list;
    list.readFile(QStringLiteral("\"old\"\n\"older\""));
    list.readFile(text);
    QCOMPARE(list.ServerCount(), entries.size());
    for (int i = 0; i < entries.size(); ++i)
        QCOMPARE(list.entry(i), entries.at(i));
}

void TestServerList::loadServersFillsCombo() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("SERVERS.INI"), "\"irc.a\x15"
                                                "1\x15"
                                                "A\x15S\"\r\n\"irc.b\x15"
                                                "2\x15"
                                                "B\x15S\"\r\n\"\"\r\n");
    Program p(folder.path());
    LoadServers(p);
    QComboBox* box = p.setupDialog().List1;
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->itemText(1), QStringLiteral("B"));
    QCOMPARE(box->currentIndex(), -1);
    // Filling is not a pick: nothing was copied into the settings.
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_URL")), QString());

    FillServerCombo(p, QStringLiteral("2"));
    QCOMPARE(box->itemText(0), QStringLiteral("irc.a"));
    FillServerCombo(p, QStringLiteral("3"));
    QCOMPARE(box->count(), 0);
}

void TestServerList::missingFileGivesEmptyList() {
    TempProgramFolder folder;
    Program p(folder.path());
    p.servers.readFile(QStringLiteral("\"stale\""));
    LoadServers(p);
    QCOMPARE(p.servers.ServerCount(), 0);
    QCOMPARE(p.setupDialog().List1->count(), 0);
}

void TestServerList::eachLineIsDecodedOnItsOwn() {
    TempProgramFolder folder;
    // A UTF-8 entry, then one written in Latin-1, with CR-only line ends.
    folder.write(QStringLiteral("servers.ini"), "\"irc.a\x15"
                                                "1\x15"
                                                "Caf\xc3\xa9\x15S\"\r\"irc.b\x15"
                                                "2\x15"
                                                "Caf\xe9\x15S\"\r\"\"\r");
    Program p(folder.path());
    LoadServers(p);
    QCOMPARE(p.servers.ServerCount(), 2);
    QCOMPARE(p.servers.GetServerField(0, QStringLiteral("FRIENDLY")), QStringLiteral("Caf\u00e9"));
    QCOMPARE(p.servers.GetServerField(1, QStringLiteral("FRIENDLY")), QStringLiteral("Caf\u00e9"));
}

PARLONE_TEST_MAIN(TestServerList)
#include "tst_serverlist.moc"
