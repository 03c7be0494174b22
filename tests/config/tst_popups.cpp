// The popup editor's item lists and popups.ini.

#include "config/frm_popups.h"
#include "console/absRichEdit.h"
#include "core/PopupsFile.h"
#include "core/Program.h"
#include "core/RecordFile.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_server.h"

#include <QDir>
#include <QListWidget>

namespace {

using Items = QList<QStringList>;

// Every item of the editor as (kind, caption, command), kinds in file order.
Items itemsOf(frm_popups& editor) {
    Items items;
    for (const QString& kind : frm_popups::kinds()) {
        const QListWidget* captions = editor.captionList(kind);
        const QListWidget* commands = editor.commandList(kind);
        [&] { QCOMPARE(commands->count(), captions->count()); }();
        for (int i = 0; i < captions->count(); ++i)
            items.append({kind, captions->item(i)->text(), commands->item(i)->text()});
    }
    return items;
}

} // namespace

class TestPopups : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void addPopUp_data();
    void addPopUp();
    void kindIsNormalisedInTheCaller();
    void roundTripWithQuotes();
    void fileGroupsKindsInOrder();
    void loadReplacesTheListsOnlyWhenRead();
    void damagedLinesAreCounted();
    void damagedFileIsKeptAsItWas();
    void unreadableFileIsNotReplaced();
    void failedWriteKeepsTheOldFile();
    void noEditorWritesNothing();

private:
    QStringList lines(Program& p) const {
        return p.serverWindow().console->Text().split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestPopups::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->serverWindow();
}

void TestPopups::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestPopups::addPopUp_data() {
    QTest::addColumn<Items>("added");
    QTest::addColumn<Items>("kept");

    QTest::newRow("kind word in capitals with blanks")
        << Items{{" QUERY ", "Whois", "/whois $1"}} << Items{{"query", "Whois", "/whois $1"}};
    QTest::newRow("duplicate caption ignoring case and blanks")
        << Items{{"query", "Whois", "/whois"}, {"query", "  wHOIS ", "/other"}}
        << Items{{"query", "Whois", "/whois"}};
    QTest::newRow("caption kept with its blanks")
        << Items{{"server", "  Spaced  ", ""}} << Items{{"server", "  Spaced  ", ""}};
    QTest::newRow("same caption under two kinds")
        << Items{{"channel", "Op", "/op"}, {"nicklist", "Op", "/op $1"}}
        << Items{{"channel", "Op", "/op"}, {"nicklist", "Op", "/op $1"}};
    QTest::newRow("unknown kind ignored")
        << Items{{"status", "X", "/x"}, {"nick list", "Y", "/y"}} << Items{};
}

void TestPopups::addPopUp() {
    QFETCH(Items, added);
    QFETCH(Items, kept);
    frm_popups& editor = m_p->popupsWindow();
    for (const QStringList& item : added)
        editor.AddPopUp(item.at(0), item.at(1), item.at(2));
    QCOMPARE(itemsOf(editor), kept);
}

void TestPopups::kindIsNormalisedInTheCaller() {
    QString kind = QStringLiteral("  NickList ");
    m_p->popupsWindow().AddPopUp(kind, QStringLiteral("Kick"), QStringLiteral("/kick $1"));
    QCOMPARE(kind, QStringLiteral("nicklist"));
}

void TestPopups::roundTripWithQuotes() {
    const Items items{
        {"server", "Say \"hi\", all", "/say \"hi\", all"},
        {"query", "Whois, \"quick\"", "/whois $1"},
        {"channel", "Empty command", ""},
        {"nicklist", "\"\"", "/msg $1 \"\""},
    };
    for (const QStringList& item : items)
        m_p->popupsWindow().AddPopUp(item.at(0), item.at(1), item.at(2));
    SavePopups(*m_p);

    Program next(m_folder->path());
    LoadPopups(next);
    QCOMPARE(itemsOf(next.popupsWindow()), items);
}

void TestPopups::fileGroupsKindsInOrder() {
    m_folder->write(QStringLiteral("popups.ini"), "\"NICKLIST\",\"Op\",\"/op $1\"\r\n"
                                                  "\"channel\",\"Part\",\"/part\"\r\n"
                                                  "\"SERVER\",\"List\",\"/list\"\r\n"
                                                  "\"CHANNEL\",\" part \",\"/dup\"\r\n"
                                                  "\"Query\",\"Close\",\"/close\"\r\n");
    LoadPopups(*m_p);
    SavePopups(*m_p);
    QCOMPARE(m_folder->read(QStringLiteral("popups.ini")),
             QByteArray("\"SERVER\",\"List\",\"/list\"\r\n"
                        "\"QUERY\",\"Close\",\"/close\"\r\n"
                        "\"CHANNEL\",\"Part\",\"/part\"\r\n"
                        "\"NICKLIST\",\"Op\",\"/op $1\"\r\n"));
}

void TestPopups::loadReplacesTheListsOnlyWhenRead() {
    frm_popups& editor = m_p->popupsWindow();
    editor.AddPopUp(QStringLiteral("server"), QStringLiteral("Mine"), QStringLiteral("/mine"));
    // No file: the lists stay.
    LoadPopups(*m_p);
    QCOMPARE(itemsOf(editor), (Items{{"server", "Mine", "/mine"}}));

    m_folder->write(QStringLiteral("popups.ini"), "\"QUERY\",\"Other\",\"/other\"\r\n");
    LoadPopups(*m_p);
    QCOMPARE(itemsOf(editor), (Items{{"query", "Other", "/other"}}));
}

void TestPopups::damagedLinesAreCounted() {
    m_folder->write(QStringLiteral("popups.ini"), "\"SERVER\",\"One\",\"/one\"\r\n"
                                                  "\"SERVER\",\"Two\"\r\n"
                                                  "\"SERVER\",\"Three\",\"/three\",\"x\"\r\n"
                                                  "\r\n"
                                                  "\"SERVER\",\"Four\",\"/four\"\r\n"
                                                  "\"SERVER\",\"Fi");
    LoadPopups(*m_p);
    QCOMPARE(itemsOf(m_p->popupsWindow()),
             (Items{{"server", "One", "/one"}, {"server", "Four", "/four"}}));
    QCOMPARE(lines(*m_p),
             QStringList{"Error: 3 malformed lines skipped in popups.ini (the original is kept "
                         "as popups.ini.bak)"});
}

void TestPopups::damagedFileIsKeptAsItWas() {
    const QByteArray damaged = "\"SERVER\",\"One\",\"/one\"\r\n\"SERVER\",\"Two\"\r\n";
    m_folder->write(QStringLiteral("popups.ini"), damaged);
    LoadPopups(*m_p);
    QCOMPARE(m_folder->read(QStringLiteral("popups.ini.bak")), damaged);
    SavePopups(*m_p);
    QCOMPARE(m_folder->read(QStringLiteral("popups.ini")),
             QByteArray("\"SERVER\",\"One\",\"/one\"\r\n"));
    QCOMPARE(m_folder->read(QStringLiteral("popups.ini.bak")), damaged);
}

// A folder where popups.ini should be: the items the editor holds are not
// written over it, and the writer is not even asked.
void TestPopups::unreadableFileIsNotReplaced() {
    QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("popups.ini")));
    LoadPopups(*m_p);
    m_p->popupsWindow().AddPopUp(QStringLiteral("query"), QStringLiteral("New"), QString());
    bool asked = false;
    m_p->fileWriter = [&asked](const QString&, const QByteArray&, QString*) {
        asked = true;
        return true;
    };
    SavePopups(*m_p);
    QVERIFY(!asked);
    QCOMPARE(lines(*m_p),
             (QStringList{"Error: popups.ini could not be read: it is a folder (it is not replaced "
                          "while it cannot be read)",
                          "Error: popups.ini was not written, to keep the file there: it could not "
                          "be read: it is a folder."}));
}

void TestPopups::failedWriteKeepsTheOldFile() {
    const QByteArray old = "\"SERVER\",\"Old\",\"/old\"\r\n";
    m_folder->write(QStringLiteral("popups.ini"), old);
    LoadPopups(*m_p);
    m_p->popupsWindow().AddPopUp(QStringLiteral("query"), QStringLiteral("New"), QString());
    m_p->fileWriter = [](const QString&, const QByteArray&, QString* error) {
        *error = QStringLiteral("Input/output error");
        return false;
    };
    SavePopups(*m_p);
    QCOMPARE(m_folder->read(QStringLiteral("popups.ini")), old);
    QCOMPARE(lines(*m_p), QStringList{"Error: popups.ini could not be written (Input/output "
                                      "error); the previous file is kept."});
}

void TestPopups::noEditorWritesNothing() {
    const QByteArray old = "\"SERVER\",\"Old\",\"/old\"\r\n";
    m_folder->write(QStringLiteral("popups.ini"), old);
    SavePopups(*m_p);
    QVERIFY(!m_p->hasPopupsWindow());
    QCOMPARE(m_folder->read(QStringLiteral("popups.ini")), old);
}

PARLONE_TEST_MAIN(TestPopups)
#include "tst_popups.moc"
