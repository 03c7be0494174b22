// The server list: servers.ini lines, fields, count, the setup dialog's combo
// box, and its server buttons.

#include "config/ServerList.h"
#include "config/frm_setup.h"
#include "config/mod_servers.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace {

const QChar kSep(21);

// servers.ini's bytes for these entries (fields joined by character 21),
// with the end marker.
QByteArray serversFile(const QStringList& entries) {
    QByteArray bytes;
    for (const QString& entry : entries)
        bytes += '"' + entry.toUtf8() + "\"\r\n";
    return bytes + "\"\"\r\n";
}

// An entry whose fields are all `name` but the port.
QString entryNamed(const QString& name) {
    return QStringList{name, QStringLiteral("6667"), name, name}.join(kSep);
}

// Puts `bytes` in servers.ini and loads the list from it.
void loadServersFile(Program& p, const TempProgramFolder& folder, const QByteArray& bytes) {
    folder.write(QStringLiteral("servers.ini"), bytes);
    LoadServers(p);
}

void queueAnswers(ScriptedAnswerer& answerer, std::initializer_list<const char*> answers) {
    for (const char* answer : answers)
        answerer.queueInput(QString::fromUtf8(answer));
}

QStringList entriesOf(const ServerList& list) {
    QStringList entries;
    for (int i = 0; i < list.ServerCount(); ++i)
        entries << list.entry(i);
    return entries;
}

QStringList itemsOf(const QComboBox& box) {
    QStringList items;
    for (int i = 0; i < box.count(); ++i)
        items << box.itemText(i);
    return items;
}

} // namespace

class TestServerList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void fields_data();
    void fields();
    void readFile_data();
    void readFile();
    void loadServersFillsCombo();
    void pickCopiesTheEntryAsItStands_data();
    void pickCopiesTheEntryAsItStands();
    void missingFileGivesEmptyList();
    void eachLineIsDecodedOnItsOwn();
    void readingStopsWhenFull();

    void addWritesServersIni();
    void addQuestions_data();
    void addQuestions();
    void addAfterAMarkerInTheMiddle();
    void addToAFullList();
    void addDuplicateAndCase();
    void deleteServer_data();
    void deleteServer();
    void randomReachesEveryEntry();
    void topAndBottom();
    void saveFails_data();
    void saveFails();
    void saveSaysSo();
    void aquire();
    void aquireMissingFile();
    void doubleClickConnectsAndStaysOpen();
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
    QTest::newRow("reading stops at the end marker")
        << QStringLiteral("\"a\"\r\n\"\"\r\n\"b\"\r\n\"c\"\r\n") << QStringList{"a"};
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

// Picking an entry copies its address, port and style into the settings as
// they stand: an empty field empties the setting, it does not keep the
// previous server's value.
void TestServerList::pickCopiesTheEntryAsItStands_data() {
    QTest::addColumn<QStringList>("fields"); // URL, port, name, style
    QTest::newRow("whole entry") << QStringList{"irc.b", "7000", "B", "BNet"};
    QTest::newRow("no port") << QStringList{"irc.b", "", "B", "BNet"};
    QTest::newRow("no style") << QStringList{"irc.b", "7000", "B", ""};
    QTest::newRow("blanks kept") << QStringList{"irc.b ", " 7000", "B", " BNet"};
}

void TestServerList::pickCopiesTheEntryAsItStands() {
    QFETCH(QStringList, fields);
    TempProgramFolder folder;
    Program p(folder.path());
    loadServersFile(
        p, folder,
        serversFile({QStringList{"irc.a", "6667", "A", "ANet"}.join(kSep), fields.join(kSep)}));
    QComboBox* box = p.setupDialog().List1;
    box->setCurrentIndex(0);
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_PORT")), QStringLiteral("6667"));
    box->setCurrentIndex(1);
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_URL")), fields.at(0));
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_PORT")), fields.at(1));
    QCOMPARE(p.settings.value(QStringLiteral("SERVER_STYLE")), fields.at(3));
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
    Program p(folder.path());
    loadServersFile(p, folder,
                    "\"irc.a\x15"
                    "1\x15"
                    "Caf\xc3\xa9\x15S\"\r\"irc.b\x15"
                    "2\x15"
                    "Caf\xe9\x15S\"\r\"\"\r");
    QCOMPARE(p.servers.ServerCount(), 2);
    QCOMPARE(p.servers.GetServerField(0, QStringLiteral("FRIENDLY")), QStringLiteral("Caf\u00e9"));
    QCOMPARE(p.servers.GetServerField(1, QStringLiteral("FRIENDLY")), QStringLiteral("Caf\u00e9"));
}

// 10,001 entry lines: the last slot stays the end marker.
void TestServerList::readingStopsWhenFull() {
    QStringList lines;
    for (int i = 0; i <= ServerList::Capacity; ++i)
        lines << QStringLiteral("\"e%1\"").arg(i);
    ServerList list;
    list.readLines(lines);
    QCOMPARE(list.ServerCount(), ServerList::Capacity);
    QCOMPARE(list.entry(ServerList::Capacity - 1), QStringLiteral("e9999"));
    QCOMPARE(list.entry(ServerList::Capacity), QString());
    QCOMPARE(list.AddServer("a", "1", "b", "c"), ServerList::AddResult::Full);
    QVERIFY(!list.ServerExists(QStringList{"a", "1", "b", "c"}.join(kSep)));
}

// The Add questions answered; what servers.ini holds afterwards. A quote in a
// field is written doubled and reads back as one.
void TestServerList::addWritesServersIni() {
    TempProgramFolder folder;
    Program p(folder.path());
    loadServersFile(p, folder, serversFile({entryNamed("old")}));
    ScriptedAnswerer answers;
    queueAnswers(answers, {"irc.\"q\".net", "6667", "The \"Q\" net", "QNet"});
    p.setupDialog().btn_server_add->click();

    QCOMPARE(folder.read(QStringLiteral("servers.ini")),
             QByteArray("\"old\x15"
                        "6667\x15old\x15old\"\r\n"
                        "\"irc.\"\"q\"\".net\x15"
                        "6667\x15The \"\"Q\"\" net\x15QNet\"\r\n"
                        "\"\"\r\n"));
    QCOMPARE(p.servers.GetServerField(1, QStringLiteral("URL")), QStringLiteral("irc.\"q\".net"));
    QComboBox* box = p.setupDialog().List1;
    QCOMPARE(itemsOf(*box), (QStringList{"old", "The \"Q\" net"}));
    QCOMPARE(box->currentIndex(), -1);
    QStringList prompts;
    for (const platform::DialogRequest& r : answers.requests())
        prompts << r.prompt;
    QCOMPARE(prompts, (QStringList{
                          "Please enter the servers url (eg. irc.example.net)",
                          "Please enter the preffered port to connect to (usually 6667)",
                          "Please enter the servers friendly name (eg. Ordale Chat)",
                          "Please enter a one word style for the network (Eg. Austnet)",
                      }));
}

void TestServerList::addQuestions_data() {
    QTest::addColumn<QStringList>("answers"); // "<cancel>" cancels the box
    QTest::addColumn<QString>("entry");       // "" when nothing is added
    QTest::addColumn<QString>("message");

    const QString refused = QStringLiteral("Please enter only numeric values");
    const auto entry = [](const char* url, const char* port, const char* name, const char* style) {
        return QStringList{url, port, name, style}.join(kSep);
    };
    QTest::newRow("all answered") << QStringList{"h", "6667", "N", "S"}
                                  << entry("h", "6667", "N", "S") << "";
    QTest::newRow("answers kept as typed")
        << QStringList{" h ", " 7000 ", " N ", "  "} << entry(" h ", " 7000 ", " N ", "  ") << "";
    QTest::newRow("lowest and highest port")
        << QStringList{"h", "1", "N", "S"} << entry("h", "1", "N", "S") << "";
    QTest::newRow("highest port") << QStringList{"h", "65535", "N", "S"}
                                  << entry("h", "65535", "N", "S") << "";
    QTest::newRow("blank URL ends") << QStringList{"  "} << ""
                                    << "";
    QTest::newRow("cancelled URL ends") << QStringList{"<cancel>"} << ""
                                        << "";
    for (const char* port : {"", "6667a", "06667", "+6667", "66 67", "-1", "0", "65536", "1e3",
                             "6660-6669", "99999999999"})
        QTest::addRow("port '%s' refused", port) << QStringList{"h", port} << "" << refused;
    QTest::newRow("blank friendly name ends") << QStringList{"h", "6667", " "} << ""
                                              << "";
    QTest::newRow("empty style ends") << QStringList{"h", "6667", "N", ""} << ""
                                      << "";
    QTest::newRow("cancelled style ends") << QStringList{"h", "6667", "N", "<cancel>"} << ""
                                          << "";
    QTest::newRow("separator, CR and LF leave the fields")
        << QStringList{"h\x15x", "6667", "N\r\nM", "S"} << entry("hx", "6667", "NM", "S") << "";
}

void TestServerList::addQuestions() {
    QFETCH(QStringList, answers);
    QFETCH(QString, entry);
    QFETCH(QString, message);
    TempProgramFolder folder;
    Program p(folder.path());
    ScriptedAnswerer answerer;
    for (const QString& answer : answers) {
        if (answer == u"<cancel>")
            answerer.queueInputCancel();
        else
            answerer.queueInput(answer);
    }
    p.setupDialog().btn_server_add->click();

    QStringList messages;
    for (const platform::DialogRequest& r : answerer.requests()) {
        if (r.kind == platform::DialogRequest::MessageBox)
            messages << r.prompt;
    }
    QCOMPARE(messages, message.isEmpty() ? QStringList{} : QStringList{message});
    QCOMPARE(entriesOf(p.servers), entry.isEmpty() ? QStringList{} : QStringList{entry});
    QCOMPARE(folder.read(QStringLiteral("servers.ini")),
             entry.isEmpty() ? QByteArray() : serversFile({entry}));
}

// Entries after an end marker in the middle of servers.ini never come back,
// not even once an entry fills the marker's place.
void TestServerList::addAfterAMarkerInTheMiddle() {
    TempProgramFolder folder;
    Program p(folder.path());
    loadServersFile(p, folder, serversFile({entryNamed("A")}) + serversFile({entryNamed("B")}));
    ScriptedAnswerer answers;
    queueAnswers(answers, {"C", "6667", "C", "C"});
    p.setupDialog().btn_server_add->click();
    QCOMPARE(entriesOf(p.servers), (QStringList{entryNamed("A"), entryNamed("C")}));
    QCOMPARE(folder.read(QStringLiteral("servers.ini")),
             serversFile({entryNamed("A"), entryNamed("C")}));
}

void TestServerList::addToAFullList() {
    TempProgramFolder folder;
    QStringList entries;
    for (int i = 0; i <= ServerList::Capacity; ++i)
        entries << entryNamed(QStringLiteral("s%1").arg(i));
    const QByteArray file = serversFile(entries);
    Program p(folder.path());
    loadServersFile(p, folder, file);
    QCOMPARE(p.setupDialog().List1->count(), ServerList::Capacity);
    ScriptedAnswerer answers;
    queueAnswers(answers, {"new", "6667", "new", "new"});
    p.setupDialog().btn_server_add->click();
    QCOMPARE(answers.requests().last().prompt,
             QStringLiteral("The server list is full: it holds at most 10000 servers."));
    QCOMPARE(p.servers.ServerCount(), ServerList::Capacity);
    QVERIFY(!p.servers.ServerExists(entryNamed("new")));
    QCOMPARE(folder.read(QStringLiteral("servers.ini")), file);
}

void TestServerList::addDuplicateAndCase() {
    TempProgramFolder folder;
    const QString entry = QStringList{"irc.x", "6667", "X", "XNet"}.join(kSep);
    Program p(folder.path());
    loadServersFile(p, folder, serversFile({entry}));
    ScriptedAnswerer answers;
    queueAnswers(answers, {"irc.x", "6667", "X", "XNet", "IRC.X", "6667", "X", "XNet"});
    p.setupDialog().btn_server_add->click();
    QCOMPARE(entriesOf(p.servers), QStringList{entry});
    p.setupDialog().btn_server_add->click();
    const QString upper = QStringList{"IRC.X", "6667", "X", "XNet"}.join(kSep);
    QCOMPARE(entriesOf(p.servers), (QStringList{entry, upper}));
    QCOMPARE(folder.read(QStringLiteral("servers.ini")), serversFile({entry, upper}));
}

void TestServerList::deleteServer_data() {
    QTest::addColumn<int>("selected");
    QTest::addColumn<QStringList>("left");
    QTest::addColumn<int>("selectedAfter");

    QTest::newRow("second of four") << 1 << QStringList{"A", "C", "D"} << 1;
    QTest::newRow("first") << 0 << QStringList{"B", "C", "D"} << 0;
    QTest::newRow("last") << 3 << QStringList{"A", "B", "C"} << -1;
    QTest::newRow("no selection") << -1 << QStringList{"A", "B", "C", "D"} << -1;
}

void TestServerList::deleteServer() {
    QFETCH(int, selected);
    QFETCH(QStringList, left);
    QFETCH(int, selectedAfter);
    TempProgramFolder folder;
    const QByteArray file =
        serversFile({entryNamed("A"), entryNamed("B"), entryNamed("C"), entryNamed("D")});
    Program p(folder.path());
    loadServersFile(p, folder, file);
    frm_setup& setup = p.setupDialog();
    setup.List1->setCurrentIndex(selected);
    setup.btn_server_delete->click();

    QStringList entries;
    for (const QString& name : left)
        entries << entryNamed(name);
    QCOMPARE(entriesOf(p.servers), entries);
    QCOMPARE(itemsOf(*setup.List1), left);
    QCOMPARE(setup.List1->currentIndex(), selectedAfter);
    QCOMPARE(folder.read(QStringLiteral("servers.ini")),
             selected < 0 ? file : serversFile(entries));
    if (selectedAfter >= 0) {
        // The entry now selected is the one the server settings name.
        QCOMPARE(p.settings.value(u"SERVER_URL"), left.at(selectedAfter));
        QCOMPARE(setup.txt_si_name->text(), left.at(selectedAfter));
    }
}

// "Random" may land on any entry, the last one too, and asks for nothing on
// an empty list.
void TestServerList::randomReachesEveryEntry() {
    TempProgramFolder folder;
    Program p(folder.path());
    frm_setup& setup = p.setupDialog();
    QList<int> bounds;
    int answer = 0;
    setup.randomIndex = [&](int count) {
        bounds << count;
        return answer;
    };
    setup.Command7->click();
    QCOMPARE(bounds, QList<int>{});
    QCOMPARE(setup.List1->currentIndex(), -1);

    loadServersFile(p, folder, serversFile({entryNamed("only")}));
    setup.Command7->click();
    QCOMPARE(bounds, QList<int>{1});
    QCOMPARE(setup.List1->currentIndex(), 0);

    const QStringList names{"A", "B", "C", "D", "E"};
    QStringList entries;
    for (const QString& name : names)
        entries << entryNamed(name);
    loadServersFile(p, folder, serversFile(entries));
    for (answer = 0; answer < int(names.size()); ++answer) {
        bounds.clear();
        setup.Command7->click();
        QCOMPARE(bounds, QList<int>{5});
        QCOMPARE(setup.List1->currentIndex(), answer);
        QCOMPARE(p.settings.value(u"SERVER_URL"), names.at(answer));
    }
}

void TestServerList::topAndBottom() {
    TempProgramFolder folder;
    Program p(folder.path());
    frm_setup& setup = p.setupDialog();
    setup.Command1->click();
    setup.Command8->click();
    QCOMPARE(setup.List1->currentIndex(), -1);
    QCOMPARE(p.settings.value(u"SERVER_URL"), QString());

    loadServersFile(p, folder, serversFile({entryNamed("A"), entryNamed("B"), entryNamed("C")}));
    setup.Command8->click();
    QCOMPARE(setup.List1->currentIndex(), 2);
    QCOMPARE(p.settings.value(u"SERVER_URL"), QStringLiteral("C"));
    setup.Command1->click();
    QCOMPARE(setup.List1->currentIndex(), 0);
    QCOMPARE(p.settings.value(u"SERVER_URL"), QStringLiteral("A"));
}

void TestServerList::saveFails_data() {
    QTest::addColumn<bool>("folderInPlace");
    QTest::newRow("a folder where servers.ini goes") << true;
    QTest::newRow("the writer fails") << false;
}

// A save that fails leaves the file as it was, says so, keeps what the user
// did in the list, and gives the dialog its own pointer back.
void TestServerList::saveFails() {
    QFETCH(bool, folderInPlace);
    TempProgramFolder folder;
    const QByteArray old = serversFile({entryNamed("A"), entryNamed("B")});
    QString kept;
    if (folderInPlace) {
        folder.write(QStringLiteral("servers.ini/keep"), old);
        kept = QStringLiteral("servers.ini/keep");
    } else {
        folder.write(QStringLiteral("servers.ini"), old);
        kept = QStringLiteral("servers.ini");
    }
    Program p(folder.path());
    p.servers.readFile(QString::fromUtf8(old));
    FillServerCombo(p, QStringLiteral("1"));
    if (!folderInPlace)
        p.fileWriter = [](const QString&, const QByteArray&, QString* error) {
            *error = QStringLiteral("disk full");
            return false;
        };
    frm_setup& setup = p.setupDialog();
    ScriptedAnswerer answers;
    setup.List1->setCurrentIndex(0);
    setup.btn_server_delete->click();

    QCOMPARE(answers.requests().size(), 1);
    const platform::DialogRequest& message = answers.requests().at(0);
    QVERIFY2(message.prompt.startsWith(QStringLiteral("The server list was not saved: ")),
             qPrintable(message.prompt));
    QCOMPARE(message.prompt.endsWith(QStringLiteral("\r\nThe previous servers.ini is kept.")),
             !folderInPlace);
    if (!folderInPlace)
        QVERIFY(message.prompt.contains(QStringLiteral("disk full")));
    QCOMPARE(message.buttons, platform::vbOKOnly | platform::vbCritical);
    QCOMPARE(folder.read(kept), old);
    QCOMPARE(entriesOf(p.servers), QStringList{entryNamed("B")});
    QCOMPARE(itemsOf(*setup.List1), QStringList{"B"});
    QVERIFY(setup.cursor().shape() != Qt::WaitCursor);

    // "Save" says nothing of success when there was none.
    answers.clear();
    setup.Command5->click();
    QCOMPARE(answers.requests().size(), 1);
    QVERIFY(answers.requests().at(0).prompt.startsWith(QStringLiteral("The server list was not")));
    QVERIFY(setup.cursor().shape() != Qt::WaitCursor);
}

void TestServerList::saveSaysSo() {
    TempProgramFolder folder;
    Program p(folder.path());
    p.servers.AddServer("h", "6660-6669", "N", "S");
    ScriptedAnswerer answers;
    p.setupDialog().Command5->click();
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(answers.requests().at(0).prompt, QStringLiteral("Server list saved"));
    QCOMPARE(answers.requests().at(0).title, QStringLiteral("Information"));
    QCOMPARE(folder.read(QStringLiteral("servers.ini")),
             serversFile({QStringList{"h", "6660-6669", "N", "S"}.join(kSep)}));
    QVERIFY(p.setupDialog().cursor().shape() != Qt::WaitCursor);
}

// Imported servers are shown at once and written at the next save.
void TestServerList::aquire() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("servers.ini"), serversFile({entryNamed("own")}));
    const QString other = folder.write(
        QStringLiteral("other/servers.ini"),
        "[servers]\r\nn0=Random serverSERVER:irc.example.net:6660-6669GROUP:ExampleNet\r\n");
    Program p(folder.path());
    LoadServers(p);
    ScriptedAnswerer answers;
    answers.queueInput(other);
    p.setupDialog().Command4->click();
    QCOMPARE(answers.requests().size(), 1);
    const platform::DialogRequest& question = answers.requests().at(0);
    QCOMPARE(question.prompt, QStringLiteral("Enter in a mIRC compatible server.ini location"));
    QCOMPARE(question.title, QStringLiteral("Aquire server urls.."));
    QCOMPARE(question.defaultText, QString());
    QCOMPARE(itemsOf(*p.setupDialog().List1), (QStringList{"own", "Random server"}));
    QCOMPARE(folder.read(QStringLiteral("servers.ini")), serversFile({entryNamed("own")}));
    QVERIFY(p.setupDialog().cursor().shape() != Qt::WaitCursor);

    // A blank answer imports nothing.
    answers.queueInput(QStringLiteral("  "));
    p.setupDialog().Command4->click();
    QCOMPARE(answers.requests().size(), 2);
    QCOMPARE(p.servers.ServerCount(), 2);
}

void TestServerList::aquireMissingFile() {
    TempProgramFolder folder;
    Program p(folder.path());
    loadServersFile(p, folder, serversFile({entryNamed("own")}));
    ScriptedAnswerer answers;
    answers.queueInput(folder.file(QStringLiteral("nowhere.ini")));
    p.setupDialog().Command4->click();
    QCOMPARE(answers.requests().size(), 2);
    const platform::DialogRequest& message = answers.requests().at(1);
    QCOMPARE(message.prompt, QStringLiteral("File not found!"));
    QCOMPARE(message.buttons, platform::vbOKOnly | platform::vbCritical);
    QCOMPARE(message.title, platform::DefaultDialogTitle());
    QCOMPARE(itemsOf(*p.setupDialog().List1), QStringList{"own"});
    QVERIFY(p.setupDialog().cursor().shape() != Qt::WaitCursor);
}

// The double click connects (here the profile is empty, so the server window
// lists what is missing) and leaves the dialog open on its first page.
void TestServerList::doubleClickConnectsAndStaysOpen() {
    TempProgramFolder folder;
    Program p(folder.path());
    p.serverWindow();
    frm_setup& setup = p.setupDialog();
    setup.Show();
    setup.SSTab1->setCurrentIndex(2);
    setup.List1_DblClick();
    QVERIFY(setup.isVisible());
    QCOMPARE(setup.SSTab1->currentIndex(), 0);
    QVERIFY(p.serverWindow().console->Text().contains(QStringLiteral("Connect Error(s): ")));
}

PARLONE_TEST_MAIN(TestServerList)
#include "tst_serverlist.moc"
