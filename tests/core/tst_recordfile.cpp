// Record files: one quoted, comma-separated record a line; damaged lines cost
// only themselves; writes replace the file whole or not at all.

#include "core/RecordFile.h"
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
    void eachLineDecodedOnItsOwn();
    void readDecodesLatin1AndReportsMissing();
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
