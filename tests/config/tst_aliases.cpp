// The alias manager over a real cmd folder: the list of aliases, Add,
// Rename, Delete and Update with their questions and refusals, the editor's
// text and the file's bytes, the close, and aliases made here running
// through the command interpreter.

#include "config/frm_alias.h"
#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "platform/popup/AGPopUp.h"
#include "platform/window/SwitchBar.h"
#include "tests/support/PeerWire.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QGroupBox>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

using platform::DialogRequest;

class TestAliases : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void listHoldsTheNamesWithoutExtension_data();
    void listHoldsTheNamesWithoutExtension();
    void addNames_data();
    void addNames();
    void renameNames_data();
    void renameNames();
    void renameReloadsFromDisk();
    void renameThatFailsChangesNothing();
    void editorShowsEveryLineAndUpdateWritesThem_data();
    void editorShowsEveryLineAndUpdateWritesThem();
    void unreadableAliasIsNotReplaced();
    void deleteSelectsTheRowAbove_data();
    void deleteSelectsTheRowAbove();
    void withoutSelectionNothingHappens();
    void closeHidesAndKeepsTheList();
    void windowMenu();
    void aliasesRunThroughTheInterpreter();

private:
    frm_alias& manager() { return m_p->aliasWindow(); }
    QStringList rows() {
        QStringList names;
        for (int i = 0; i < manager().Combo1->count(); ++i)
            names << manager().Combo1->item(i)->text();
        return names;
    }
    QString selected() {
        const QListWidgetItem* item = manager().Combo1->currentItem();
        return manager().Combo1->currentRow() >= 0 && item != nullptr ? item->text() : QString();
    }
    QStringList cmdFiles() const {
        return QDir(m_folder->file(QStringLiteral("cmd")))
            .entryList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    }
    // The prompts of the message boxes asked so far (input boxes left out).
    QStringList boxes() const {
        QStringList prompts;
        for (const DialogRequest& request : m_answers->requests()) {
            if (request.kind == DialogRequest::MessageBox)
                prompts << request.title + QStringLiteral(": ") + request.prompt;
        }
        return prompts;
    }
    void select(const QString& name) {
        manager().Combo1->setCurrentRow(rows().indexOf(name));
        QCOMPARE(selected(), name);
    }

    std::unique_ptr<ScriptedAnswerer> m_answers;
    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestAliases::init() {
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_folder = std::make_unique<TempProgramFolder>();
    m_folder->write(QStringLiteral("cmd/greet"), "PRIVMSG $$1 :hello\r\n");
    m_folder->write(QStringLiteral("cmd/startup.ini"), "join #home\r\n");
    m_folder->write(QStringLiteral("cmd/zeta"), "");
    m_p = std::make_unique<Program>(m_folder->path());
}

void TestAliases::cleanup() {
    m_p.reset();
    m_folder.reset();
    m_answers.reset();
}

void TestAliases::listHoldsTheNamesWithoutExtension_data() {
    QTest::addColumn<QString>("folder");
    QTest::newRow("cmd") << "cmd";
    QTest::newRow("CMD in capitals") << "CMD";
}

void TestAliases::listHoldsTheNamesWithoutExtension() {
    QFETCH(QString, folder);
    cleanup();
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_folder = std::make_unique<TempProgramFolder>();
    for (const char* name : {"greet", "startup.ini", "Away", ".hidden", "notes.txt"})
        m_folder->write(folder + u'/' + QString::fromLatin1(name), "x\r\n");
    QVERIFY(QDir(m_folder->file(folder)).mkdir(QStringLiteral("sub")));
    m_p = std::make_unique<Program>(m_folder->path());
    QCOMPARE(rows(), (QStringList{"Away", "greet"}));
    // The folder in whatever case it has is the one folder.
    QCOMPARE(QDir(m_folder->path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{folder});
}

void TestAliases::addNames_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("files");

    const QStringList before{"greet", "zeta"};
    const QStringList files{"greet", "startup.ini", "zeta"};
    const QStringList oneWord{"Error!: Please use one word for alias'"};
    const QStringList notice{"Notice: When you've finished editing your new alias script, click "
                             "'Update' to update records"};
    QTest::newRow("new name") << "hello" << QStringList{"greet", "zeta", "hello"} << "hello"
                              << notice << QStringList{"greet", "hello", "startup.ini", "zeta"};
    QTest::newRow("blanks around") << " foo " << QStringList{"greet", "zeta", "foo"} << "foo"
                                   << notice << QStringList{"foo", "greet", "startup.ini", "zeta"};
    QTest::newRow("two words") << "a b" << before << "" << oneWord << files;
    QTest::newRow("empty") << "" << before << "" << QStringList{} << files;
    QTest::newRow("only blanks") << "   " << before << "" << QStringList{} << files;
    QTest::newRow("path up") << "../x" << before << "" << oneWord << files;
    QTest::newRow("onto settings") << "../settings.ini" << before << "" << oneWord << files;
    QTest::newRow("backslash") << "a\\b" << before << "" << oneWord << files;
    QTest::newRow("dot dot") << ".." << before << "" << oneWord << files;
    QTest::newRow("hidden") << ".x" << before << "" << oneWord << files;
    QTest::newRow("with a dot") << "x.y" << before << "" << oneWord << files;
    QTest::newRow("the start-up script") << "Startup.INI" << before << "" << oneWord << files;
    QTest::newRow("existing alias") << "greet" << before << "greet" << QStringList{} << files;
    QTest::newRow("existing alias in capitals")
        << "ZETA" << before << "zeta" << QStringList{} << files;
}

void TestAliases::addNames() {
    QFETCH(QString, answer);
    QFETCH(QStringList, rows);
    QFETCH(QString, selected);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, files);
    m_answers->queueInput(answer);
    manager().Command1->click();

    const DialogRequest& ask = m_answers->requests().at(0);
    QCOMPARE(ask.kind, DialogRequest::InputBox);
    QCOMPARE(ask.prompt, QStringLiteral("Enter a new name for this alias "));
    QCOMPARE(ask.title, QStringLiteral("Create Alias"));
    QCOMPARE(ask.defaultText, QString());
    QCOMPARE(this->rows(), rows);
    QCOMPARE(this->selected(), selected);
    QCOMPARE(this->boxes(), boxes);
    QCOMPARE(cmdFiles(), files);
    // Nothing that was there is emptied.
    QCOMPARE(m_folder->read(QStringLiteral("cmd/greet")), QByteArray("PRIVMSG $$1 :hello\r\n"));
    QCOMPARE(m_folder->read(QStringLiteral("cmd/startup.ini")), QByteArray("join #home\r\n"));
    if (!selected.isEmpty())
        QCOMPARE(manager().Frame2->title(), QStringLiteral("Editing: ") + selected);
    if (selected == u"greet")
        QCOMPARE(manager().Text1->toPlainText(), QStringLiteral("PRIVMSG $$1 :hello\n"));
}

void TestAliases::renameNames_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<QStringList>("files");

    const QStringList before{"greet", "zeta"};
    const QStringList files{"greet", "startup.ini", "zeta"};
    const QStringList oneWord{"Error!: Please use only one word"};
    QTest::newRow("new name, trimmed") << " hello "
                                       << "hello" << QStringList{"zeta", "hello"} << QStringList{}
                                       << QStringList{"hello", "startup.ini", "zeta"};
    QTest::newRow("letter case only") << "Greet"
                                      << "Greet" << QStringList{"zeta", "Greet"} << QStringList{}
                                      << QStringList{"Greet", "startup.ini", "zeta"};
    QTest::newRow("same name") << "greet"
                               << "greet" << QStringList{"zeta", "greet"} << QStringList{} << files;
    QTest::newRow("empty") << "  "
                           << "greet" << before << QStringList{} << files;
    QTest::newRow("two words") << "a b"
                               << "greet" << before << oneWord << files;
    QTest::newRow("path up") << "../x"
                             << "greet" << before << oneWord << files;
    QTest::newRow("separator") << "a/b"
                               << "greet" << before << oneWord << files;
    QTest::newRow("onto the start-up script") << "startup.ini"
                                              << "greet" << before << oneWord << files;
    QTest::newRow("onto another alias")
        << "ZETA"
        << "greet" << before << QStringList{"Error!: An alias named ZETA exists already."} << files;
}

void TestAliases::renameNames() {
    QFETCH(QString, answer);
    QFETCH(QString, name);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, boxes);
    QFETCH(QStringList, files);
    select(QStringLiteral("greet"));
    m_answers->queueInput(answer);
    manager().Command2->click();

    const DialogRequest& ask = m_answers->requests().at(0);
    QCOMPARE(ask.prompt, QStringLiteral("Enter a new name for this alias (Changes won't be saved "
                                        "since last update)"));
    QCOMPARE(ask.title, QStringLiteral("Rename Alias"));
    QCOMPARE(ask.defaultText, QStringLiteral("greet"));
    QCOMPARE(this->rows(), rows);
    QCOMPARE(this->boxes(), boxes);
    QCOMPARE(cmdFiles(), files);
    // The script goes with its name, or stays where it was.
    QCOMPARE(m_folder->read(QStringLiteral("cmd/") + name), QByteArray("PRIVMSG $$1 :hello\r\n"));
    QCOMPARE(selected(), name);
    QCOMPARE(manager().Frame2->title(), QStringLiteral("Editing: ") + name);
}

void TestAliases::renameReloadsFromDisk() {
    select(QStringLiteral("greet"));
    manager().Text1->setPlainText(QStringLiteral("not written"));
    m_answers->queueInput(QStringLiteral("hello"));
    manager().Command2->click();
    QCOMPARE(manager().Text1->toPlainText(), QStringLiteral("PRIVMSG $$1 :hello\n"));
}

// The alias's file went after the list was read: nothing is renamed, and
// the list stays as the folder is.
void TestAliases::renameThatFailsChangesNothing() {
    select(QStringLiteral("greet"));
    QVERIFY(QFile::remove(m_folder->file(QStringLiteral("cmd/greet"))));
    m_answers->queueInput(QStringLiteral("hello"));
    manager().Command2->click();
    QCOMPARE(boxes().size(), 1);
    QVERIFY(boxes().at(0).startsWith(u"Error!: greet could not be renamed: "));
    QCOMPARE(rows(), (QStringList{"greet", "zeta"}));
    QCOMPARE(cmdFiles(), (QStringList{"startup.ini", "zeta"}));
}

void TestAliases::editorShowsEveryLineAndUpdateWritesThem_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("edited");
    QTest::addColumn<QByteArray>("written");

    QTest::newRow("two lines, unchanged") << QByteArray("one\r\ntwo\r\n") << "one\ntwo\n"
                                          << "" << QByteArray("one\r\ntwo\r\n");
    QTest::newRow("last line without its break") << QByteArray("one\r\ntwo") << "one\ntwo\n"
                                                 << "" << QByteArray("one\r\ntwo\r\n");
    QTest::newRow("plain line feeds") << QByteArray("one\ntwo\n") << "one\ntwo\n"
                                      << "" << QByteArray("one\r\ntwo\r\n");
    QTest::newRow("edited without a last break") << QByteArray("x\r\n") << "x\n"
                                                 << "a\n\nb" << QByteArray("a\r\n\r\nb\r\n");
    QTest::newRow("accents") << QByteArray("say caf\xc3\xa9\r\n") << "say caf\u00e9\n"
                             << "" << QByteArray("say caf\xc3\xa9\r\n");
    QTest::newRow("empty alias") << QByteArray() << ""
                                 << "" << QByteArray();
}

void TestAliases::editorShowsEveryLineAndUpdateWritesThem() {
    QFETCH(QByteArray, file);
    QFETCH(QString, shown);
    QFETCH(QString, edited);
    QFETCH(QByteArray, written);
    m_folder->write(QStringLiteral("cmd/zeta"), file);
    select(QStringLiteral("zeta"));
    QCOMPARE(manager().Frame2->title(), QStringLiteral("Editing: zeta"));
    QCOMPARE(manager().Text1->toPlainText(), shown);
    if (!edited.isEmpty())
        manager().Text1->setPlainText(edited);
    manager().Command4->click();
    QCOMPARE(m_folder->read(QStringLiteral("cmd/zeta")), written);
    QCOMPARE(boxes(), QStringList{});
}

// The alias's file became a folder after the list was read: it cannot be
// shown, and "Update" does not put the editor's empty text in its place.
void TestAliases::unreadableAliasIsNotReplaced() {
    QCOMPARE(rows(), (QStringList{"greet", "zeta"}));
    QVERIFY(QFile::remove(m_folder->file(QStringLiteral("cmd/zeta"))));
    QVERIFY(QDir(m_folder->file(QStringLiteral("cmd"))).mkdir(QStringLiteral("zeta")));
    bool written = false;
    m_p->fileWriter = [&written](const QString&, const QByteArray&, QString*) {
        written = true;
        return true;
    };
    select(QStringLiteral("zeta"));
    QCOMPARE(boxes().size(), 1);
    QVERIFY(boxes().at(0).startsWith(u"Error!: zeta could not be read: "));
    manager().Command4->click();
    QVERIFY(!written);
    // Another alias is written as usual.
    select(QStringLiteral("greet"));
    manager().Command4->click();
    QVERIFY(written);
}

void TestAliases::deleteSelectsTheRowAbove_data() {
    QTest::addColumn<QStringList>("aliases");
    QTest::addColumn<QString>("deleted");
    QTest::addColumn<QString>("selected");

    QTest::newRow("second of three") << QStringList{"a", "b", "c"} << "b"
                                     << "a";
    QTest::newRow("first of three") << QStringList{"a", "b", "c"} << "a"
                                    << "b";
    QTest::newRow("last of three") << QStringList{"a", "b", "c"} << "c"
                                   << "b";
    QTest::newRow("one of two") << QStringList{"a", "b"} << "b"
                                << "";
    QTest::newRow("the only one") << QStringList{"a"} << "a"
                                  << "";
}

void TestAliases::deleteSelectsTheRowAbove() {
    QFETCH(QStringList, aliases);
    QFETCH(QString, deleted);
    QFETCH(QString, selected);
    cleanup();
    m_answers = std::make_unique<ScriptedAnswerer>();
    m_folder = std::make_unique<TempProgramFolder>();
    for (const QString& name : std::as_const(aliases))
        m_folder->write(QStringLiteral("cmd/") + name, "say " + name.toUtf8() + "\r\n");
    m_p = std::make_unique<Program>(m_folder->path());
    select(deleted);
    manager().Command3->click();

    QStringList left = aliases;
    left.removeAll(deleted);
    QCOMPARE(rows(), left);
    QCOMPARE(cmdFiles(), left);
    QCOMPARE(this->selected(), selected);
    // Without a new selection the editor keeps the deleted alias.
    const QString shown = selected.isEmpty() ? deleted : selected;
    QCOMPARE(manager().Frame2->title(), QStringLiteral("Editing: ") + shown);
    QCOMPARE(manager().Text1->toPlainText(), QStringLiteral("say ") + shown + u'\n');
    QCOMPARE(boxes(), QStringList{});
}

void TestAliases::withoutSelectionNothingHappens() {
    m_folder->write(QStringLiteral("cmd/gone"), "");
    m_p = std::make_unique<Program>(m_folder->path());
    QCOMPARE(rows(), (QStringList{"gone", "greet", "zeta"}));
    // A file that went meanwhile: its row still goes.
    select(QStringLiteral("gone"));
    QVERIFY(QFile::remove(m_folder->file(QStringLiteral("cmd/gone"))));
    manager().Command3->click();
    QCOMPARE(rows(), (QStringList{"greet", "zeta"}));
    QCOMPARE(selected(), QStringLiteral("greet"));

    manager().Combo1->setCurrentRow(-1);
    manager().Text1->setPlainText(QStringLiteral("typed"));
    for (QPushButton* button : {manager().Command2, manager().Command3, manager().Command4})
        button->click();
    QCOMPARE(m_answers->requests().size(), 0);
    QCOMPARE(rows(), (QStringList{"greet", "zeta"}));
    QCOMPARE(cmdFiles(), (QStringList{"greet", "startup.ini", "zeta"}));
    QCOMPARE(m_folder->read(QStringLiteral("cmd/zeta")), QByteArray());
}

void TestAliases::closeHidesAndKeepsTheList() {
    frm_main& frame = m_p->mainFrame();
    frame.resize(1200, 900);
    frame.ShowToolWindow(manager(), QStringLiteral("Alias"), 8);
    QVERIFY(FindPanel(*m_p, QStringLiteral("Alias")) > 0);
    frm_alias* const window = &manager();
    window->Move(300, 450, 9000, 6000);
    window->windowWidget()->close();

    QVERIFY(!window->Visible());
    QCOMPARE(FindPanel(*m_p, QStringLiteral("Alias")), 0);
    QVERIFY(m_p->forms().contains(window));
    QCOMPARE(m_folder->read(QStringLiteral("alias.win")),
             QByteArray("\"WIN_STATE\",\" 0\"\r\n\"WIN_LEFT\",\" 300\"\r\n\"WIN_TOP\",\" "
                        "450\"\r\n\"WIN_HEIGHT\",\" 6000\"\r\n\"WIN_WIDTH\",\" 9000\"\r\n"));

    // A new alias and a reopening: the same window with the same list.
    m_answers->queueInput(QStringLiteral("later"));
    window->Command1->click();
    frame.ShowToolWindow(manager(), QStringLiteral("Alias"), 8);
    QCOMPARE(&manager(), window);
    QVERIFY(window->Visible());
    QCOMPARE(rows(), (QStringList{"greet", "zeta", "later"}));
    QVERIFY(FindPanel(*m_p, QStringLiteral("Alias")) > 0);

    // While the program ends the close lets the window go.
    m_p->closing = true;
    int cancel = 0;
    window->Form_QueryUnload(cancel, Form::vbFormCode);
    QCOMPARE(cancel, 0);
}

void TestAliases::windowMenu() {
    frm_main& frame = m_p->mainFrame();
    frame.resize(1200, 900);
    frame.show();
    frame.ShowToolWindow(manager(), QStringLiteral("Alias"), 8);
    QCOMPARE(manager().win_pop->itemNames(), (QStringList{"winmin", "winmax", "winclose"}));
    Q_EMIT manager().win_pop->MenuItemClick(QStringLiteral("winmax"));
    QCOMPARE(manager().WindowState(), int(Form::vbMaximized));
    QFile::remove(m_folder->file(QStringLiteral("alias.win")));
    Q_EMIT manager().win_pop->MenuItemClick(QStringLiteral("winclose"));
    QVERIFY(!manager().Visible());
    QCOMPARE(FindPanel(*m_p, QStringLiteral("Alias")), 0);
    QVERIFY(!QFile::exists(m_folder->file(QStringLiteral("alias.win"))));
}

void TestAliases::aliasesRunThroughTheInterpreter() {
    PeerWire wire(*m_p->mainFrame().Yarv1);
    QVERIFY(wire.connected());
    for (const QString& name : {QStringLiteral("hi"), QStringLiteral("Wave")}) {
        m_answers->queueInput(name);
        manager().Command1->click();
        manager().Text1->setPlainText(
            QStringLiteral("PRIVMSG $$1 :%1 one\nPRIVMSG $$1 :two").arg(name));
        manager().Command4->click();
    }
    const auto sentBy = [&](const QString& typed) {
        return wire.sentBy([&] {
            QString line = typed;
            ParseLine(*m_p, line);
        });
    };
    QCOMPARE(sentBy(QStringLiteral("/hi bob")),
             (QByteArrayList{"PRIVMSG bob :hi one", "PRIVMSG bob :two"}));
    // Script names match without regard to letter case.
    QCOMPARE(sentBy(QStringLiteral("/wave ann")),
             (QByteArrayList{"PRIVMSG ann :Wave one", "PRIVMSG ann :two"}));
}

PARLONE_TEST_MAIN(TestAliases)
#include "tst_aliases.moc"
