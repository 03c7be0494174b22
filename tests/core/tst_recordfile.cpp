// Record files: one quoted, comma-separated record a line; damaged lines cost
// only themselves; writes replace the file whole or not at all.

#include "core/ProgramFiles.h"
#include "core/RecordFile.h"
#include "tests/support/FifoWatchdog.h"
#include "tests/support/TempProgramFolder.h"

#include <QtTest>

class TestRecordFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void parseLine_data();
    void parseLine();
    void formatReadsBack_data();
    void formatReadsBack();
    void parseSkipsDamagedLinesOnly();
    void lineEnds_data();
    void lineEnds();
    void decodeLines_data();
    void decodeLines();
    void eachLineDecodedOnItsOwn();
    void readDecodesLatin1AndReportsMissing();
    void onlyRegularFilesAreRead_data();
    void onlyRegularFilesAreRead();
    void saveReplacesWholeFile();
    void saveIntoPlainFileFails();
};

void TestRecordFile::parseLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<QStringList>("fields");

    QTest::newRow("two quoted") << R"("KEY","value")" << true << QStringList{"KEY", "value"};
    QTest::newRow("comma inside quotes") << R"("KEY","a, b")" << true << QStringList{"KEY", "a, b"};
    QTest::newRow("doubled quote")
        << R"("KEY","say ""hi""")" << true << QStringList{"KEY", R"(say "hi")"};
    QTest::newRow("empty quoted") << R"("KEY","")" << true << QStringList{"KEY", ""};
    QTest::newRow("blanks around quotes")
        << R"(  "KEY" ,	"v"  )" << true << QStringList{"KEY", "v"};
    QTest::newRow("bare fields trimmed")
        << "  show_join ,  1 " << true << QStringList{"show_join", "1"};
    QTest::newRow("bare empty last") << R"("KEY",)" << true << QStringList{"KEY", ""};
    QTest::newRow("blanks inside quotes kept")
        << R"(" KEY "," v ")" << true << QStringList{" KEY ", " v "};
    QTest::newRow("unterminated quote") << R"("KEY","val)" << false << QStringList{};
    QTest::newRow("text after closing quote") << R"("KEY"x,"v")" << false << QStringList{};
    QTest::newRow("quote inside bare field") << R"(KEY,va"l)" << false << QStringList{};
    QTest::newRow("stray CR between fields")
        << "\"KEY\"\r,\r\"v\"\r" << true << QStringList{"KEY", "v"};
}

void TestRecordFile::parseLine() {
    QFETCH(QString, line);
    QFETCH(bool, ok);
    QFETCH(QStringList, fields);
    QStringList got;
    QCOMPARE(RecordFile::parseLine(line, &got), ok);
    if (ok)
        QCOMPARE(got, fields);
}

void TestRecordFile::formatReadsBack_data() {
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("plain") << QStringList{"BEEPS", "1"};
    QTest::newRow("quotes and commas")
        << QStringList{"USE_DEFAULT_QUIT", R"(He said "bye", then "left")"};
    QTest::newRow("only quotes") << QStringList{"K", R"("""")"};
    QTest::newRow("empty fields") << QStringList{"", "", ""};
    QTest::newRow("blanks kept") << QStringList{"  spaced  ", "\ttab"};
    QTest::newRow("non-latin") << QStringList{"K", QString::fromUtf8("caf\xc3\xa9 \xe2\x82\xac")};
}

void TestRecordFile::formatReadsBack() {
    QFETCH(QStringList, fields);
    const QByteArray bytes = RecordFile::format({fields, fields});
    QVERIFY(bytes.endsWith("\r\n"));
    const RecordFile::Content content = RecordFile::parse(bytes, int(fields.size()));
    QCOMPARE(content.malformedLines, 0);
    QCOMPARE(content.records, (QList<QStringList>{fields, fields}));
}

void TestRecordFile::parseSkipsDamagedLinesOnly() {
    const QByteArray text = "\"A\",\"1\"\r\n"
                            "\r\n"
                            "   \r\n"
                            "\"B\",\"2\",\"extra\"\r\n"
                            "\"C\"\n"
                            "\"D\",\"4\"\n"
                            "\"E\",\"truncat";
    const RecordFile::Content content = RecordFile::parse(text, 2);
    QCOMPARE(content.records, (QList<QStringList>{{"A", "1"}, {"D", "4"}}));
    QCOMPARE(content.malformedLines, 3);
}

// Files written on other systems end their lines with CR alone, or with
// CR CR LF after a text-mode copy; every record still reads.
void TestRecordFile::lineEnds_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QList<QStringList>>("records");
    QTest::addColumn<int>("malformed");

    const QList<QStringList> abc{{"A", "1"}, {"B", "2"}, {"C", "3"}};
    QTest::newRow("CR LF") << QByteArray("\"A\",\"1\"\r\n\"B\",\"2\"\r\n\"C\",\"3\"\r\n") << abc
                           << 0;
    QTest::newRow("CR only") << QByteArray("\"A\",\"1\"\r\"B\",\"2\"\r\"C\",\"3\"\r") << abc << 0;
    QTest::newRow("CR CR LF") << QByteArray("\"A\",\"1\"\r\r\n\"B\",\"2\"\r\r\n\"C\",\"3\"\r\r\n")
                              << abc << 0;
    QTest::newRow("mixed, no final end")
        << QByteArray("\"A\",\"1\"\n\"B\",\"2\"\r\"C\",\"3\"") << abc << 0;
    // A CR is a line end wherever it stands: the record's second half is a
    // line of its own.
    QTest::newRow("CR inside a record")
        << QByteArray("\"A\",\"1\"\r\n\"B\",\r\"2\"\r\n\"C\",\"3\"\r\n")
        << QList<QStringList>{{"A", "1"}, {"B", ""}, {"C", "3"}} << 1;
}

void TestRecordFile::lineEnds() {
    QFETCH(QByteArray, bytes);
    QFETCH(QList<QStringList>, records);
    QFETCH(int, malformed);
    const RecordFile::Content content = RecordFile::parse(bytes, 2);
    QCOMPARE(content.records, records);
    QCOMPARE(content.malformedLines, malformed);
}

void TestRecordFile::decodeLines_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << QByteArray() << QStringList{};
    QTest::newRow("no line end") << QByteArray("a") << QStringList{"a"};
    QTest::newRow("final end starts no line") << QByteArray("a\r\n") << QStringList{"a"};
    QTest::newRow("empty last line kept") << QByteArray("a\r\n\r\n") << QStringList{"a", ""};
    QTest::newRow("LF, CR, CR LF") << QByteArray("a\nb\rc\r\nd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("CR CR LF") << QByteArray("a\r\r\nb") << QStringList{"a", "", "b"};
    QTest::newRow("LF CR") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("byte order mark left out") << QByteArray("\xef\xbb\xbf"
                                                            "caf\xe9\nx")
                                              << QStringList{QStringLiteral("caf\u00e9"), "x"};
}

void TestRecordFile::decodeLines() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    QCOMPARE(DecodeLines(bytes), lines);
}

// One Latin-1 byte in an otherwise UTF-8 file changes only its own line;
// the UTF-8 lines around it keep their accents.
void TestRecordFile::eachLineDecodedOnItsOwn() {
    const QByteArray bytes = "\"A\",\"caf\xc3\xa9\"\r\n"
                             "\"B\",\"Ren\xe9\"\r\n"
                             "\"C\",\"\xe2\x82\xac \xc3\xbc\"\r\n";
    const RecordFile::Content content = RecordFile::parse(bytes, 2);
    QCOMPARE(content.malformedLines, 0);
    QCOMPARE(content.records, (QList<QStringList>{{"A", QStringLiteral("caf\u00e9")},
                                                  {"B", QStringLiteral("Ren\u00e9")},
                                                  {"C", QStringLiteral("\u20ac \u00fc")}}));
}

void TestRecordFile::readDecodesLatin1AndReportsMissing() {
    TempProgramFolder folder;
    folder.write(QStringLiteral("latin.ini"), "\"K\",\"caf\xe9\"\r\n");
    RecordFile::Content content;
    QCOMPARE(RecordFile::read(folder.file(QStringLiteral("latin.ini")), 2, &content),
             RecordFile::Status::Read);
    QCOMPARE(content.records.value(0).value(1), QStringLiteral("caf\u00e9"));
    QCOMPARE(RecordFile::read(folder.file(QStringLiteral("none.ini")), 2, &content),
             RecordFile::Status::Missing);
}

// A FIFO (or a folder) where a program file should be is unreadable at
// once: opening a FIFO would wait for a writer and hang the start.
void TestRecordFile::onlyRegularFilesAreRead_data() {
    QTest::addColumn<bool>("fifo");
    QTest::newRow("fifo") << true;
    QTest::newRow("folder") << false;
}

void TestRecordFile::onlyRegularFilesAreRead() {
    QFETCH(bool, fifo);
    TempProgramFolder folder;
    const QString path = folder.file(QStringLiteral("settings.ini"));
    QVERIFY(fifo ? FifoWatchdog::make(path) : QDir().mkdir(path));

    FifoWatchdog guard(path);
    RecordFile::Content content;
    const RecordFile::Status status = RecordFile::read(path, 2, &content);
    QString text;
    const bool textRead = ReadTextFile(path, &text);
    QVERIFY2(!guard.release(), "a reader waited on the FIFO");
    QCOMPARE(status, RecordFile::Status::Unreadable);
    QVERIFY(!textRead);
}

void TestRecordFile::saveReplacesWholeFile() {
    TempProgramFolder folder;
    const QString path = folder.write(QStringLiteral("a.ini"), QByteArray(5000, 'x'));
    QString error;
    QVERIFY(RecordFile::saveAtomically(path, "\"K\",\"v\"\r\n", &error));
    QCOMPARE(folder.read(QStringLiteral("a.ini")), QByteArray("\"K\",\"v\"\r\n"));
}

// A plain file where the folder should be makes the write fail, also for
// root; nothing is created and the reason is given.
void TestRecordFile::saveIntoPlainFileFails() {
    TempProgramFolder folder;
    const QString blocker = folder.write(QStringLiteral("notafolder"), "keep");
    QString error;
    QVERIFY(!RecordFile::saveAtomically(blocker + QStringLiteral("/a.ini"), "x", &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(folder.read(QStringLiteral("notafolder")), QByteArray("keep"));
}

QTEST_APPLESS_MAIN(TestRecordFile)
#include "tst_recordfile.moc"
