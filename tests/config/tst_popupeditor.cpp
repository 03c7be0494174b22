// The popup editor as a window: its "Add" and "Remove" buttons and the
// menus they rebuild, opening it, its close with the save and read-back of
// popups.ini and popups.win, and minimising it.

#include "config/frm_popups.h"
#include "connection/MainMenus.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/CommandWindow.h"
#include "core/PopupsFile.h"
#include "core/Program.h"
#include "core/RecordFile.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "platform/popup/AGPopUp.h"
#include "platform/window/SwitchBar.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QAction>
#include <QDir>
#include <QListWidget>
#include <QPushButton>

namespace {

using platform::SwitchBar;
using platform::SwitchBarPanel;

QStringList rowsOf(const QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

} // namespace

class TestPopupEditor : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void addAsksForAnItemOfItsPage_data();
    void addAsksForAnItemOfItsPage();
    void removeRebuildsTheMenusOfItsKind_data();
    void removeRebuildsTheMenusOfItsKind();
    void opensWithItsPanelAndPlace_data();
    void opensWithItsPanelAndPlace();
    void closeSavesAndKeepsTheRows();
    void failedSaveKeepsTheLists_data();
    void failedSaveKeepsTheLists();
    void closeWhileEndingSavesNothing();
    void minimisedGivesWay_data();
    void minimisedGivesWay();

private:
    frm_popups& editor() { return m_p->popupsWindow(); }
    QPushButton* addButton(const QString& kind);
    QPushButton* removeButton(const QString& kind);
    void open() { ExecCommand(*m_p, QStringLiteral("popup show")); }
    QStringList serverLines() {
        return m_p->serverWindow().console->Text().split(QStringLiteral("\r\n"),
                                                         Qt::SkipEmptyParts);
    }

    std::unique_ptr<ScriptedAnswerer> m_answers;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestPopupEditor::init() {
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->mainFrame().resize(1200, 900);
    m_p->serverWindow().Show();
}

void TestPopupEditor::cleanup() {
    m_p.reset();
    m_folder.reset();
    m_answers.reset();
}

QPushButton* TestPopupEditor::addButton(const QString& kind) {
    frm_popups& e = editor();
    const QHash<QString, QPushButton*> buttons{{"server", e.Command10},
                                               {"query", e.Command1},
                                               {"channel", e.Command3},
                                               {"nicklist", e.Command6}};
    return buttons.value(kind);
}

QPushButton* TestPopupEditor::removeButton(const QString& kind) {
    frm_popups& e = editor();
    const QHash<QString, QPushButton*> buttons{{"server", e.Command12},
                                               {"query", e.Command9},
                                               {"channel", e.Command5},
                                               {"nicklist", e.Command8}};
    return buttons.value(kind);
}

void TestPopupEditor::addAsksForAnItemOfItsPage_data() {
    QTest::addColumn<QString>("kind");
    for (const QString& kind : frm_popups::kinds())
        QTest::newRow(qPrintable(kind)) << kind;
}

void TestPopupEditor::addAsksForAnItemOfItsPage() {
    QFETCH(QString, kind);
    m_answers->queueInput(QStringLiteral("&Who"));
    m_answers->queueInput(QStringLiteral("/whois $1"));
    addButton(kind)->click();
    // No question about the kind: the page gives it.
    QCOMPARE(m_answers->requests().size(), 2);
    for (const QString& other : frm_popups::kinds()) {
        const bool added = other == kind;
        QCOMPARE(rowsOf(editor().captionList(other)), added ? QStringList{"&Who"} : QStringList{});
        QCOMPARE(rowsOf(editor().commandList(other)),
                 added ? QStringList{"/whois $1"} : QStringList{});
    }
}

void TestPopupEditor::removeRebuildsTheMenusOfItsKind_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("row");
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("commands");
    QTest::addColumn<QStringList>("menu");

    const QStringList both{"A", "B"};
    QTest::newRow("server, nothing selected")
        << "server" << -1 << both << QStringList{"/a", "/b"} << QStringList{};
    QTest::newRow("server, first row")
        << "server" << 0 << QStringList{"B"} << QStringList{"/b"} << QStringList{"B"};
    for (const char* kind : {"query", "channel", "nicklist"}) {
        QTest::addRow("%s, nothing selected", kind)
            << kind << -1 << both << QStringList{"/a", "/b"} << both;
        QTest::addRow("%s, second row", kind)
            << kind << 1 << QStringList{"A"} << QStringList{"/a"} << QStringList{"A"};
    }
}

// The rows are put straight into the lists, so the menus know nothing of
// them until they are rebuilt.
void TestPopupEditor::removeRebuildsTheMenusOfItsKind() {
    QFETCH(QString, kind);
    QFETCH(int, row);
    QFETCH(QStringList, captions);
    QFETCH(QStringList, commands);
    QFETCH(QStringList, menu);
    auto* chan = new frm_chan(*m_p);
    chan->setTag(QStringLiteral("#x"));
    auto* query = new frm_query(*m_p);
    query->setTag(QStringLiteral("?bob"));
    QListWidget* captionList = editor().captionList(kind);
    QListWidget* commandList = editor().commandList(kind);
    captionList->addItems({QStringLiteral("A"), QStringLiteral("B")});
    commandList->addItems({QStringLiteral("/a"), QStringLiteral("/b")});
    captionList->setCurrentRow(row);
    QCOMPARE(commandList->currentRow(), row);
    removeButton(kind)->click();

    QCOMPARE(rowsOf(captionList), captions);
    QCOMPARE(rowsOf(commandList), commands);
    const QHash<QString, platform::AGPopUp*> menus{{"server", m_p->serverWindow().pop_console},
                                                   {"query", query->pop_console},
                                                   {"channel", chan->pop_console},
                                                   {"nicklist", chan->pop_nicks}};
    for (auto it = menus.cbegin(); it != menus.cend(); ++it)
        QCOMPARE(it.value()->itemNames(), it.key() == kind ? menu : QStringList{});
    // A second click, with nothing selected now, removes nothing more.
    removeButton(kind)->click();
    QCOMPARE(rowsOf(captionList), captions);
}

void TestPopupEditor::opensWithItsPanelAndPlace_data() {
    QTest::addColumn<bool>("fromMenu");
    QTest::newRow("Tools menu") << true;
    QTest::newRow("popup show") << false;
}

void TestPopupEditor::opensWithItsPanelAndPlace() {
    QFETCH(bool, fromMenu);
    m_folder->write(QStringLiteral("popups.win"),
                    "\"WIN_STATE\",\" 0\"\r\n\"WIN_LEFT\",\" 1500\"\r\n\"WIN_TOP\",\" 750\"\r\n"
                    "\"WIN_HEIGHT\",\" 4500\"\r\n\"WIN_WIDTH\",\" 6000\"\r\n");
    // Loaded hidden first, as the start-up's reading of popups.ini does.
    editor();
    for (int i = 0; i < 2; ++i) {
        if (fromMenu)
            m_p->mainFrame().menus->mnuPopUps->trigger();
        else
            open();
    }
    QVERIFY(editor().Visible());
    QCOMPARE(ActiveChild(*m_p), &editor());
    QCOMPARE(editor().Left(), 1500);
    QCOMPARE(editor().Top(), 750);
    QCOMPARE(editor().Width(), 6000);
    QCOMPARE(editor().Height(), 4500);
    SwitchBar* bar = m_p->mainFrame().StatusBar1;
    const int panel = FindPanel(*m_p, QStringLiteral("Popups"));
    QVERIFY(panel > 0);
    QCOMPARE(bar->Count(), panel);
    QCOMPARE(bar->Panel(panel)->bevel(), int(SwitchBarPanel::sbrInset));
}

void TestPopupEditor::closeSavesAndKeepsTheRows() {
    m_folder->write(QStringLiteral("popups.ini"), "\"QUERY\",\"Whois\",\"/whois $1\"\r\n");
    LoadPopups(*m_p);
    editor().AddPopUp(QStringLiteral("server"), QStringLiteral(" List "), QString());
    open();
    frm_popups* const window = &editor();
    window->Move(1500, 750, 6000, 4500);
    window->windowWidget()->close();

    QVERIFY(!window->Visible());
    QCOMPARE(FindPanel(*m_p, QStringLiteral("Popups")), 0);
    QVERIFY(m_p->forms().contains(window));
    QCOMPARE(rowsOf(window->pop_server_list), QStringList{" List "});
    QCOMPARE(rowsOf(window->pop_server_command), QStringList{""});
    QCOMPARE(rowsOf(window->pop_query_list), QStringList{"Whois"});
    QCOMPARE(m_folder->read(QStringLiteral("popups.ini")),
             QByteArray("\"SERVER\",\" List \",\"\"\r\n\"QUERY\",\"Whois\",\"/whois $1\"\r\n"));
    QCOMPARE(m_folder->read(QStringLiteral("popups.win")),
             QByteArray("\"WIN_STATE\",\" 0\"\r\n\"WIN_LEFT\",\" 1500\"\r\n\"WIN_TOP\",\" "
                        "750\"\r\n\"WIN_HEIGHT\",\" 4500\"\r\n\"WIN_WIDTH\",\" 6000\"\r\n"));
    QCOMPARE(serverLines(), QStringList{});
}

void TestPopupEditor::failedSaveKeepsTheLists_data() {
    QTest::addColumn<bool>("folderInPlace");
    QTest::newRow("failing writer") << false;
    QTest::newRow("a folder in its place") << true;
}

void TestPopupEditor::failedSaveKeepsTheLists() {
    QFETCH(bool, folderInPlace);
    m_folder->write(QStringLiteral("popups.ini"), "\"QUERY\",\"Old\",\"/old\"\r\n");
    LoadPopups(*m_p);
    editor().AddPopUp(QStringLiteral("query"), QStringLiteral("New"), QStringLiteral("/new"));
    if (folderInPlace) {
        QVERIFY(QFile::remove(m_folder->file(QStringLiteral("popups.ini"))));
        QVERIFY(QDir(m_folder->path()).mkdir(QStringLiteral("popups.ini")));
    } else {
        m_p->fileWriter = [](const QString& path, const QByteArray& bytes, QString* error) {
            if (path.endsWith(u"popups.ini")) {
                *error = QStringLiteral("No space left on device");
                return false;
            }
            return RecordFile::saveAtomically(path, bytes, error);
        };
    }
    open();
    editor().windowWidget()->close();

    QCOMPARE(rowsOf(editor().pop_query_list), (QStringList{"Old", "New"}));
    QCOMPARE(rowsOf(editor().pop_query_command), (QStringList{"/old", "/new"}));
    const QStringList lines = serverLines();
    QCOMPARE(lines.size(), 1);
    QVERIFY(lines.at(0).startsWith(u"Error: popups.ini"));
    QVERIFY(!editor().Visible());
    QVERIFY(QFile::exists(m_folder->file(QStringLiteral("popups.win"))));
}

void TestPopupEditor::closeWhileEndingSavesNothing() {
    editor().AddPopUp(QStringLiteral("query"), QStringLiteral("New"), QStringLiteral("/new"));
    open();
    QStringList written;
    m_p->fileWriter = [&written](const QString& path, const QByteArray& bytes, QString* error) {
        written << path.section(u'/', -1);
        return RecordFile::saveAtomically(path, bytes, error);
    };
    m_p->closing = true;
    int cancel = 0;
    editor().Form_QueryUnload(cancel, Form::vbFormCode);
    QCOMPARE(cancel, 0);
    QCOMPARE(written, QStringList{"popups.win"});
    QVERIFY(!editor().Visible());
}

void TestPopupEditor::minimisedGivesWay_data() {
    QTest::addColumn<bool>("withPanel");
    QTest::newRow("with its panel") << true;
    QTest::newRow("without a panel") << false;
}

void TestPopupEditor::minimisedGivesWay() {
    QFETCH(bool, withPanel);
    QVERIFY(QTest::qWaitForWindowExposed(&m_p->mainFrame()));
    auto* chan = new frm_chan(*m_p);
    chan->setTag(QStringLiteral("#x"));
    chan->Show();
    m_p->mainFrame().AddPanel(QStringLiteral("#x"), 3);
    if (withPanel) {
        open();
    } else {
        editor().Show();
    }
    chan->Hide();
    editor().setWindowState(Form::vbMinimized);
    QTRY_VERIFY(!editor().Visible());
    SwitchBar* bar = m_p->mainFrame().StatusBar1;
    const int chanPanel = FindPanel(*m_p, QStringLiteral("#x"));
    QCOMPARE(chan->Visible(), withPanel);
    QCOMPARE(bar->Panel(chanPanel)->bevel() == SwitchBarPanel::sbrInset, withPanel);
}

PARLONE_TEST_MAIN(TestPopupEditor)
#include "tst_popupeditor.moc"
