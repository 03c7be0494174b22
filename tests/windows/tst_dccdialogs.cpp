// The DCC file dialogs: the receive dialog's progress and button, the send
// dialog's folder tree, file sizes and its Send button.

#include "connection/frm_main.h"
#include "core/Program.h"
#include "platform/window/FileListBox.h"
#include "platform/window/SwitchBar.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_dccget.h"
#include "windows/frm_dccsend.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include <unistd.h>

#include <memory>

class TestDccDialogs : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void progressText_data();
    void progressText();
    void buttonClosesItsTransferAndPanel();
    void exitLeavesDialog();
    void fileSizes();
    void rootJoinsWithOneSlash();
    void unreadableFolder();
    void sendEnabled_data();
    void sendEnabled();

private:
    frm_dccsend& sendWindow() { return p->dccSendWindow(); }
    // Chooses file `name` of the send window's listed folder.
    bool choose(const QString& name) {
        const auto found = sendWindow().File1->findItems(name, Qt::MatchExactly);
        if (found.isEmpty())
            return false;
        sendWindow().File1->setCurrentItem(found.first());
        return true;
    }

    std::unique_ptr<TempProgramFolder> folder;
    std::unique_ptr<TempProgramFolder> files;
    std::unique_ptr<Program> p;
};

void TestDccDialogs::init() {
    folder = std::make_unique<TempProgramFolder>();
    files = std::make_unique<TempProgramFolder>();
    p = std::make_unique<Program>(folder->path());
    p->mainFrame().show();
}

void TestDccDialogs::cleanup() {
    p.reset();
    files.reset();
    folder.reset();
}

void TestDccDialogs::progressText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("button");

    QTest::newRow("all there") << "5000 of 5000"
                               << "Download is complete."
                               << "Clo&se";
    QTest::newRow("one short") << "4999 of 5000"
                               << "4999 of 5000"
                               << "Cancel";
    QTest::newRow("compared as text") << "5000 of 05000"
                                      << "5000 of 05000"
                                      << "Cancel";
    QTest::newRow("end text") << "Incomplete transfer, please retry"
                              << "Incomplete transfer, please retry"
                              << "Cancel";
    QTest::newRow("complete") << "Complete"
                              << "Complete"
                              << "Cancel";
}

void TestDccDialogs::progressText() {
    QFETCH(QString, text);
    QFETCH(QString, shown);
    QFETCH(QString, button);
    auto* dialog = new frm_dccget(*p);
    dialog->Show();
    dialog->setProgressText(QStringLiteral("1 of 5000"));
    dialog->setProgressText(text);
    QCOMPARE(dialog->Label1->text(), shown);
    QCOMPARE(dialog->Command1->text(), button);
}

void TestDccDialogs::buttonClosesItsTransferAndPanel() {
    // Two dialogs whose panels read alike: each button closes its own.
    frm_main& frame = p->mainFrame();
    const QString text = QStringLiteral("/tmp/a from bob!b@host");
    QList<QPointer<frm_dccget>> dialogs;
    for (int i = 0; i < 2; ++i) {
        auto* dialog = new frm_dccget(*p);
        dialog->setOwnPanel(frame.StatusBar1->Panel(frame.AddPanel(text, 6)));
        dialog->Show();
        dialogs.append(dialog);
    }
    platform::SwitchBarPanel* other = dialogs.at(0)->ownPanel();
    const int panels = frame.StatusBar1->Count();
    QSignalSpy closed(dialogs.at(1).data(), &frm_dccget::closeRequested);
    QSignalSpy otherClosed(dialogs.at(0).data(), &frm_dccget::closeRequested);
    dialogs.at(1)->Command1->click();
    QCOMPARE(closed.count(), 1);
    QCOMPARE(otherClosed.count(), 0);
    QCOMPARE(frame.StatusBar1->Count(), panels - 1);
    QVERIFY(!p->forms().contains(dialogs.at(1).data()));
    QVERIFY(p->forms().contains(dialogs.at(0).data()));
    QCOMPARE(frame.StatusBar1->Panel(panels - 1), other);
}

void TestDccDialogs::exitLeavesDialog() {
    // The program's end closes windows itself: the dialog keeps its panel.
    frm_main& frame = p->mainFrame();
    auto* dialog = new frm_dccget(*p);
    dialog->setOwnPanel(frame.StatusBar1->Panel(frame.AddPanel(QStringLiteral("x"), 6)));
    dialog->Show();
    const int panels = frame.StatusBar1->Count();
    int cancel = 0;
    dialog->Form_QueryUnload(cancel, Form::vbFormCode);
    QCOMPARE(frame.StatusBar1->Count(), panels);
    QVERIFY(p->forms().contains(dialog));
}

void TestDccDialogs::fileSizes() {
    files->write(QStringLiteral("k.bin"), QByteArray(1024, 'x'));
    files->write(QStringLiteral("empty"), QByteArray());
    const QString gone = files->write(QStringLiteral("gone"), QByteArray("abc"));
    frm_dccsend& window = sendWindow();
    QCOMPARE(window.lbl_filesize->text(), QStringLiteral("0 bytes"));
    window.setFolder(files->path());
    QCOMPARE(window.folder(), files->path());

    const struct {
        const char* name;
        const char* size;
    } cases[] = {{"k.bin", "1024 Bytes."}, {"empty", "0 Bytes."}, {"gone", "n/a"}};
    QVERIFY(QFile::remove(gone));
    for (const auto& c : cases) {
        QVERIFY2(choose(QLatin1String(c.name)), c.name);
        const QString path = files->file(QLatin1String(c.name));
        QCOMPARE(window.lbl_file->text(), path);
        QCOMPARE(window.Tag(), path);
        QCOMPARE(window.lbl_filesize->text(), QLatin1String(c.size));
    }
}

void TestDccDialogs::rootJoinsWithOneSlash() {
    frm_dccsend& window = sendWindow();
    window.File1->setPath(QStringLiteral("/"));
    window.File1->addItem(QStringLiteral("name.txt"));
    QVERIFY(choose(QStringLiteral("name.txt")));
    QCOMPARE(window.lbl_file->text(), QStringLiteral("/name.txt"));
}

void TestDccDialogs::unreadableFolder() {
    if (::geteuid() == 0)
        QSKIP("root reads every folder");
    files->write(QStringLiteral("a.txt"), "a");
    const QString locked = files->file(QStringLiteral("locked"));
    QVERIFY(QDir().mkdir(locked));
    QVERIFY(QFile::setPermissions(locked, QFileDevice::Permissions()));
    ScriptedAnswerer answerer;
    frm_dccsend& window = sendWindow();
    window.setFolder(files->path());
    window.setFolder(locked);
    QFile::setPermissions(locked,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QCOMPARE(answerer.requests().size(), 1);
    QCOMPARE(answerer.requests().first().prompt, QStringLiteral("Error cant open ") + locked);
    QCOMPARE(window.folder(), files->path());
    QCOMPARE(window.File1->ListCount(), 1);
}

void TestDccDialogs::sendEnabled_data() {
    QTest::addColumn<QString>("nick");
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<bool>("fileRemoved");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("nick and file") << "bob" << true << false << true;
    QTest::newRow("blanks around the nick") << "  bob " << true << false << true;
    QTest::newRow("no nick") << "" << true << false << false;
    QTest::newRow("blanks only") << "   " << true << false << false;
    QTest::newRow("two words") << "bob alice" << true << false << false;
    QTest::newRow("two nicks") << "bob,eve" << true << false << false;
    QTest::newRow("no file") << "bob" << false << false << false;
    QTest::newRow("file gone since") << "bob" << true << true << false;
}

void TestDccDialogs::sendEnabled() {
    QFETCH(QString, nick);
    QFETCH(bool, withFile);
    QFETCH(bool, fileRemoved);
    QFETCH(bool, enabled);
    const QString path = files->write(QStringLiteral("f.txt"), "data");
    frm_dccsend& window = sendWindow();
    window.setFolder(files->path());
    if (withFile)
        QVERIFY(choose(QStringLiteral("f.txt")));
    if (fileRemoved)
        QVERIFY(QFile::remove(path));
    window.txt_target->setText(nick);
    QCOMPARE(window.btn_send->isEnabled(), enabled);
}

PARLONE_TEST_MAIN(TestDccDialogs)
#include "tst_dccdialogs.moc"
