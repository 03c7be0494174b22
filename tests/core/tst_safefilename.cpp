// Names from the network or the keyboard turned into files the program
// writes: they stay in their folder, never become hidden, "." or "..", never
// land on the program's own files and, when asked, never replace a file.

#include "core/SafeFileName.h"
#include "tests/support/TempProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtTest>

namespace {

qsizetype utf8Bytes(const QString& name) {
    return name.toUtf8().size();
}

} // namespace

class TestSafeFileName : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mapsIntoFolder_data();
    void mapsIntoFolder();
    void refusesOnlyEmptyNames_data();
    void refusesOnlyEmptyNames();
    void cutsLongNames_data();
    void cutsLongNames();
    void newNameForExistingFile_data();
    void newNameForExistingFile();
    void reuseKeepsExistingFile();
    void ownFilesOfOtherFolders_data();
    void ownFilesOfOtherFolders();
    void writtenFileStaysInFolder();
};

void TestSafeFileName::mapsIntoFolder_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");

    QTest::newRow("parent folder") << "../x"
                                   << "_._x";
    QTest::newRow("absolute path") << "/etc/passwd"
                                   << "_etc_passwd";
    QTest::newRow("backslash") << "a\\b"
                               << "a_b";
    QTest::newRow("hidden") << ".hidden"
                            << "_hidden";
    QTest::newRow("channel with slash") << "#a/b"
                                        << "#a_b";
    QTest::newRow("dot") << "."
                         << "_";
    QTest::newRow("dot dot") << ".."
                             << "_.";
    QTest::newRow("control characters") << QStringLiteral("a\x01"
                                                          "b\x7f"
                                                          "c\nd")
                                        << "a_b_c_d";
    QTest::newRow("C1 control") << "a\u0085b"
                                << "a_b";
    QTest::newRow("disguised extension") << "photo\u202egpj.exe"
                                         << "photo_gpj.exe";
    QTest::newRow("isolate") << "a\u2066b"
                             << "a_b";
    QTest::newRow("zero-width space") << "a\u200bb"
                                      << "a_b";
    QTest::newRow("invisible operators") << "a\u2060\u2064b"
                                         << "a__b";
    QTest::newRow("byte order mark") << "a\ufeffb"
                                     << "a_b";
    QTest::newRow("line and paragraph separators") << "a\u2028b\u2029c"
                                                   << "a_b_c";
    QTest::newRow("non-joiner kept") << "\u0645\u06cc\u200c\u062e\u0648\u0627\u0645.txt"
                                     << "\u0645\u06cc\u200c\u062e\u0648\u0627\u0645.txt";
    QTest::newRow("joiner kept") << "\U0001F469\u200d\U0001F4BB.png"
                                 << "\U0001F469\u200d\U0001F4BB.png";
    QTest::newRow("lone surrogate") << QStringLiteral("a") + QChar(0xD800) + u'b' << "a_b";
    QTest::newRow("surrogate pair kept") << "x\U0001F600.txt"
                                         << "x\U0001F600.txt";
    QTest::newRow("blanks around") << "  song.mp3  "
                                   << "song.mp3";
    QTest::newRow("dots inside kept") << "a.b.tar.gz"
                                      << "a.b.tar.gz";
    QTest::newRow("settings file") << "settings.ini"
                                   << "_settings.ini";
    QTest::newRow("settings file, other case") << "Settings.INI"
                                               << "_Settings.INI";
    QTest::newRow("popups file") << "popups.ini"
                                 << "_popups.ini";
    QTest::newRow("servers file") << "servers.ini"
                                  << "_servers.ini";
    QTest::newRow("main window state") << "main.win"
                                       << "_main_win";
    QTest::newRow("any window state") << "bob.win"
                                      << "_bob_win";
    QTest::newRow("profile") << "home.APP"
                             << "_home_APP";
    QTest::newRow("library") << "libplatform.so"
                             << "_libplatform_so";
    QTest::newRow("versioned library") << "libplatform.so.1"
                                       << "_libplatform_so_1";
    QTest::newRow("executable") << "parlone"
                                << "_parlone";
    QTest::newRow("logs folder") << "LOGS"
                                 << "_LOGS";
    QTest::newRow("cmd folder") << "cmd"
                                << "_cmd";
    QTest::newRow("near miss kept") << "settings.ini.txt"
                                    << "settings.ini.txt";
}

void TestSafeFileName::mapsIntoFolder() {
    QFETCH(QString, name);
    QFETCH(QString, file);

    TempProgramFolder folder;
    const QString path = SafeFileName(folder.path(), name, ProgramOwnFiles(), IfExists::NewName);
    QCOMPARE(path, folder.path() + u'/' + file);
    QCOMPARE(QFileInfo(path).absolutePath(), QFileInfo(folder.path()).absoluteFilePath());
}

void TestSafeFileName::refusesOnlyEmptyNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("reserved");
    QTest::addColumn<bool>("refused");

    QTest::newRow("empty") << "" << ProgramOwnFiles() << true;
    QTest::newRow("blanks") << "   " << ProgramOwnFiles() << true;
    QTest::newRow("one control character") << "\x01" << ProgramOwnFiles() << false;
    QTest::newRow("slash") << "/" << ProgramOwnFiles() << false;
    // A list that reserves every name leaves nothing to write.
    QTest::newRow("everything reserved") << "x" << QStringList{"*"} << true;
}

void TestSafeFileName::refusesOnlyEmptyNames() {
    QFETCH(QString, name);
    QFETCH(QStringList, reserved);
    QFETCH(bool, refused);

    TempProgramFolder folder;
    QCOMPARE(SafeFileName(folder.path(), name, reserved, IfExists::NewName).isEmpty(), refused);
}

void TestSafeFileName::cutsLongNames_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("extension");

    QTest::newRow("ASCII") << QString(300, u'a') + QStringLiteral(".txt") << ".txt";
    QTest::newRow("two-byte characters")
        << QString(200, QChar(0xE9)) + QStringLiteral(".jpg") << ".jpg";
    QTest::newRow("four-byte characters")
        << QStringLiteral("\U0001F600").repeated(100) + QStringLiteral(".png") << ".png";
    QTest::newRow("long extension") << QStringLiteral("a.") + QString(300, u'b') << "";
}

void TestSafeFileName::cutsLongNames() {
    QFETCH(QString, name);
    QFETCH(QString, extension);

    TempProgramFolder folder;
    // Existing files force the longest numbered name.
    const QString first = SafeFileName(folder.path(), name, ProgramOwnFiles(), IfExists::NewName);
    const QString fileName = QFileInfo(first).fileName();
    QVERIFY(utf8Bytes(fileName) <= 255);
    QVERIFY(fileName.endsWith(extension));
    QVERIFY(QString::fromUtf8(fileName.toUtf8()) == fileName); // no surrogate cut in half

    QFile file(first);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::NewOnly), qPrintable(file.errorString()));
    file.close();
    const QString second = SafeFileName(folder.path(), name, ProgramOwnFiles(), IfExists::NewName);
    QVERIFY(second != first);
    QVERIFY(utf8Bytes(QFileInfo(second).fileName()) <= 255);
    QFile other(second);
    QVERIFY2(other.open(QIODevice::WriteOnly | QIODevice::NewOnly),
             qPrintable(other.errorString()));
}

void TestSafeFileName::newNameForExistingFile_data() {
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("file");

    QTest::newRow("free") << QStringList{"other.jpg"} << "photo.jpg"
                          << "photo.jpg";
    QTest::newRow("taken") << QStringList{"photo.jpg"} << "photo.jpg"
                           << "photo_1.jpg";
    QTest::newRow("taken twice") << QStringList{"photo.jpg", "photo_1.jpg"} << "photo.jpg"
                                 << "photo_2.jpg";
    QTest::newRow("taken in other case") << QStringList{"PHOTO.JPG"} << "photo.jpg"
                                         << "photo_1.jpg";
    QTest::newRow("no extension") << QStringList{"README"} << "README"
                                  << "README_1";
    QTest::newRow("last dot") << QStringList{"a.tar.gz"} << "a.tar.gz"
                              << "a.tar_1.gz";
    QTest::newRow("mapped name taken") << QStringList{"_hidden"} << ".hidden"
                                       << "_hidden_1";
    QTest::newRow("reserved name taken") << QStringList{"_settings.ini"} << "settings.ini"
                                         << "_settings_1.ini";
}

void TestSafeFileName::newNameForExistingFile() {
    QFETCH(QStringList, existing);
    QFETCH(QString, name);
    QFETCH(QString, file);

    TempProgramFolder folder;
    for (const QString& entry : existing)
        folder.write(entry, "old");
    const QString path = SafeFileName(folder.path(), name, ProgramOwnFiles(), IfExists::NewName);
    QCOMPARE(path, folder.file(file));
    for (const QString& entry : existing)
        QCOMPARE(folder.read(entry), QByteArray("old"));
}

void TestSafeFileName::reuseKeepsExistingFile() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("chan.log"), "line\r\n");
    QCOMPARE(
        SafeFileName(folder.path(), QStringLiteral("chan.log"), LogFolderFiles(), IfExists::Reuse),
        folder.file(QStringLiteral("chan.log")));

    // A link that points nowhere is still a name in use for a received file.
    QVERIFY(QFile::link(folder.file(QStringLiteral("gone")), folder.file(QStringLiteral("x.txt"))));
    QCOMPARE(
        SafeFileName(folder.path(), QStringLiteral("x.txt"), ProgramOwnFiles(), IfExists::NewName),
        folder.file(QStringLiteral("x_1.txt")));
}

void TestSafeFileName::ownFilesOfOtherFolders_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("reserved");
    QTest::addColumn<QString>("file");

    // A channel "#server" logs to "server.log" beside the server window's log.
    QTest::newRow("server log") << "server.log" << LogFolderFiles() << "_server.log";
    QTest::newRow("server log, other case") << "SERVER.log" << LogFolderFiles() << "_SERVER.log";
    QTest::newRow("channel log") << "chan.log" << LogFolderFiles() << "chan.log";
    // A detached query keeps its own "<nick>.win", but never the frame's.
    QTest::newRow("nick window state") << "bob.win" << ProgramFixedFiles() << "bob.win";
    QTest::newRow("frame window state") << "main.win" << ProgramFixedFiles() << "_main.win";
    QTest::newRow("notify window state") << "Notify.win" << ProgramFixedFiles() << "_Notify.win";
    QTest::newRow("profile") << "home.app" << ProgramFixedFiles() << "home.app";
}

void TestSafeFileName::ownFilesOfOtherFolders() {
    QFETCH(QString, name);
    QFETCH(QStringList, reserved);
    QFETCH(QString, file);

    TempProgramFolder folder;
    QCOMPARE(SafeFileName(folder.path(), name, reserved, IfExists::Reuse), folder.file(file));
}

void TestSafeFileName::writtenFileStaysInFolder() {
    TempProgramFolder root;
    QDir().mkpath(root.file(QStringLiteral("get")));
    const QString get = root.file(QStringLiteral("get"));
    for (const QString& name : {QStringLiteral("../settings.ini"), QStringLiteral("..\\x"),
                                QStringLiteral(".."), QStringLiteral("/tmp/evil")}) {
        const QString path = SafeFileName(get, name, ProgramOwnFiles(), IfExists::NewName);
        QFile file(path);
        QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::NewOnly), qPrintable(path));
        file.write("received");
    }
    QCOMPARE(QDir(get).entryList(QDir::Files | QDir::Hidden).size(), 4);
    QCOMPARE(QDir(root.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("get")});
}

QTEST_APPLESS_MAIN(TestSafeFileName)
#include "tst_safefilename.moc"
