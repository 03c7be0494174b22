// The shared text and file routines: word and pair splitting, colour-code
// removal, nick and address routines, file name and size, durations.

#include "core/TextUtils.h"
#include "tests/support/FifoWatchdog.h"
#include "tests/support/TempProgramFolder.h"

#include <QFile>
#include <QtTest>

namespace {

QString c3(const char* rest) {
    return QChar(3) + QString::fromUtf8(rest);
}

} // namespace

class TestTextUtils : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitWords_data();
    void splitWords();
    void splitOverwritesEarlierWords();
    void splitPairs_data();
    void splitPairs();
    void stripColorCodes_data();
    void stripColorCodes();
    void readColorCode_data();
    void readColorCode();
    void formatDuration_data();
    void formatDuration();
    void stripNickPrefix_data();
    void stripNickPrefix();
    void getUserHost_data();
    void getUserHost();
    void isBlocked_data();
    void isBlocked();
    void getFileName_data();
    void getFileName();
    void getFileSize();
};

void TestTextUtils::splitWords_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("last");
    QTest::addColumn<QStringList>("words");

    QTest::newRow("two words") << "PRIVMSG #chan" << qsizetype(1)
                               << QStringList{"PRIVMSG", "#chan"};
    QTest::newRow("double blank") << "PRIVMSG  #chan" << qsizetype(2)
                                  << QStringList{"PRIVMSG", "", "#chan"};
    QTest::newRow("leading blank") << " a" << qsizetype(1) << QStringList{"", "a"};
    QTest::newRow("trailing blank") << "a " << qsizetype(1) << QStringList{"a", ""};
    QTest::newRow("empty") << "" << qsizetype(0) << QStringList{""};
    QTest::newRow("tab stays inside") << "a\tb c" << qsizetype(1) << QStringList{"a\tb", "c"};

    QStringList many(1501);
    many.last() = QStringLiteral("x");
    QTest::newRow("1500 blanks") << QString(1500, u' ') + u'x' << qsizetype(1500) << many;
}

void TestTextUtils::splitWords() {
    QFETCH(QString, text);
    QFETCH(qsizetype, last);
    QFETCH(QStringList, words);

    WordArray array;
    QCOMPARE(SplitWords(array, text), last);
    for (qsizetype i = 0; i < words.size(); ++i)
        QCOMPARE(array[i], words[i]);
    QCOMPARE(array[last + 1], QString());
    QCOMPARE(array[last + 1000], QString());
    QCOMPARE(array[-1], QString());
}

void TestTextUtils::splitOverwritesEarlierWords() {
    WordArray array;
    SplitWords(array, QStringLiteral("JOIN #a #b #c"));
    QCOMPARE(SplitWords(array, QStringLiteral("PART")), qsizetype(0));
    QCOMPARE(array[0], QStringLiteral("PART"));
    QCOMPARE(array[1], QString());
    QCOMPARE(array[3], QString());

    WordArray pairs;
    SplitPairs(pairs, QStringLiteral("+o+v+b"));
    QCOMPARE(SplitPairs(pairs, QStringLiteral("-o")), qsizetype(1));
    QCOMPARE(pairs[1], QStringLiteral("-o"));
    QCOMPARE(pairs[2], QString());
}

void TestTextUtils::splitPairs_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("one character") << "+" << QStringList{"+"};
    QTest::newRow("two pairs") << "+o+v" << QStringList{"+o", "+v"};
    QTest::newRow("three characters") << "+ov" << QStringList{"+o", "v"};
    QTest::newRow("five characters") << "+o-v+" << QStringList{"+o", "-v", "+"};
    QTest::newRow("seven characters") << "+o+v-bk" << QStringList{"+o", "+v", "-b", "k"};

    QStringList long301(151, QStringLiteral("ab"));
    long301.last() = QStringLiteral("a");
    QTest::newRow("301 characters") << QStringLiteral("ab").repeated(150) + u'a' << long301;
}

void TestTextUtils::splitPairs() {
    QFETCH(QString, text);
    QFETCH(QStringList, pieces);

    WordArray pairs;
    // The count covers every piece, so a loop over 1..count sees the last one.
    QCOMPARE(SplitPairs(pairs, text), pieces.size());
    QCOMPARE(pairs[0], QString());
    for (qsizetype i = 0; i < pieces.size(); ++i)
        QCOMPARE(pairs[i + 1], pieces[i]);
    QCOMPARE(pairs[pieces.size() + 1], QString());
}

void TestTextUtils::stripColorCodes_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stripped");

    // Colour codes, taken exactly as the console renders them.
    QTest::newRow("one digit") << c3("4word") << "word";
    QTest::newRow("two digits, comma, one digit") << c3("12,3x") << "x";
    QTest::newRow("two and two digits") << c3("04,12word") << "word";
    QTest::newRow("one and two digits") << c3("4,12x") << "x";
    QTest::newRow("third digit stays") << c3("123") << "3";
    QTest::newRow("third background digit stays") << c3("1,234") << "4";
    QTest::newRow("no digits after the second comma") << c3("1,2345") << "45";
    QTest::newRow("second comma stays") << c3("4,5,6") << ",6";
    QTest::newRow("comma without digits is taken") << c3("4,x") << "x";
    QTest::newRow("two digits, comma, no digits") << c3("12,x") << "x";
    QTest::newRow("clamped values still taken") << c3("16x") + c3("1,99y") << "xy";
    QTest::newRow("bare code keeps a letter") << c3("x") << "x";
    QTest::newRow("bare code keeps comma and digit") << c3(",5") << ",5";
    QTest::newRow("bare code then numbered") << c3("") + c3("10x") << "x";
    QTest::newRow("ends in the code") << QStringLiteral("end") + QChar(3) << "end";
    // A CR or LF right after the code goes with it; only the one.
    QTest::newRow("CR after the digits goes, the LF stays") << c3("12\r\nx") << "\nx";
    QTest::newRow("LF after a digit goes") << c3("4\nx") << "x";
    QTest::newRow("CR after the comma goes") << c3("4,\rx") << "x";
    QTest::newRow("LF after the background goes") << c3("04,12\n\nx") << "\nx";
    QTest::newRow("line break after a bare code stays") << c3("\r\nx") << "\r\nx";
    QTest::newRow("line break after a third digit stays") << c3("123\rx") << "3\rx";
    QTest::newRow("other digits are not colour digits") << c3("\u0664x") << "\u0664x";

    // Every other control character but CR and LF is dropped.
    QTest::newRow("bold and underline") << QChar(2) + QStringLiteral("word") + QChar(31) << "word";
    QTest::newRow("reverse, plain, bell, tab") << QStringLiteral("a\x16"
                                                                 "b\x0f"
                                                                 "c\x07"
                                                                 "d\te")
                                               << "abcde";
    QTest::newRow("blank, CR, LF and text stay") << "a b\r\nc \u00e9\x7f"
                                                 << "a b\r\nc \u00e9\x7f";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTextUtils::stripColorCodes() {
    QFETCH(QString, text);
    QFETCH(QString, stripped);
    QCOMPARE(StripColorCodes(text), stripped);
}

void TestTextUtils::readColorCode_data() {
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("fore");
    QTest::addColumn<int>("back");
    QTest::addColumn<qsizetype>("length");

    QTest::newRow("bare") << "x" << -1 << -1 << qsizetype(0);
    QTest::newRow("end of text") << "" << -1 << -1 << qsizetype(0);
    QTest::newRow("one digit") << "4x" << 4 << -1 << qsizetype(1);
    QTest::newRow("two digits") << "123" << 12 << -1 << qsizetype(2);
    QTest::newRow("comma only") << "5,x" << 5 << -1 << qsizetype(2);
    QTest::newRow("two and two") << "04,12x" << 4 << 12 << qsizetype(5);
    QTest::newRow("one and one") << "1,9" << 1 << 9 << qsizetype(3);
    QTest::newRow("unclamped") << "99,99" << 99 << 99 << qsizetype(5);
}

void TestTextUtils::readColorCode() {
    QFETCH(QString, after);
    QFETCH(int, fore);
    QFETCH(int, back);
    QFETCH(qsizetype, length);

    // The code is read in the middle of a text, after its Chr(3).
    const QString text = QStringLiteral("ab") + QChar(3) + after;
    const ColorCode code = ReadColorCode(text, 3);
    QCOMPARE(code.fore, fore);
    QCOMPARE(code.back, back);
    QCOMPARE(code.length, length);
}

void TestTextUtils::formatDuration_data() {
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("text");

    QTest::newRow("45") << "45"
                        << "0 mins and 45 secs";
    QTest::newRow("125") << "125"
                         << "2 mins and 5 secs";
    QTest::newRow("60") << "60"
                        << "1 mins and 0 secs";
    QTest::newRow("0") << "0"
                       << "0 mins and 0 secs";
    QTest::newRow("blanks around") << " 3601 "
                                   << "60 mins and 1 secs";
    QTest::newRow("largest 64-bit") << "9223372036854775807"
                                    << "153722867280912930 mins and 7 secs";
    // Each of these returns at once, with nothing counted.
    QTest::newRow("1e300") << "1e300"
                           << "0 mins and 0 secs";
    QTest::newRow("beyond 64 bits") << "99999999999999999999999"
                                    << "0 mins and 0 secs";
    QTest::newRow("negative") << "-5"
                              << "0 mins and 0 secs";
    QTest::newRow("non-numeric") << "abc"
                                 << "0 mins and 0 secs";
    QTest::newRow("fraction") << "12.5"
                              << "0 mins and 0 secs";
    QTest::newRow("empty") << ""
                           << "0 mins and 0 secs";
}

void TestTextUtils::formatDuration() {
    QFETCH(QString, number);
    QFETCH(QString, text);
    QCOMPARE(FormatDuration(number), text);
}

void TestTextUtils::stripNickPrefix_data() {
    QTest::addColumn<QString>("nick");
    QTest::addColumn<QString>("bare");

    QTest::newRow("op with blanks") << "  @nick  "
                                    << "nick";
    QTest::newRow("only the first prefix") << "@+nick"
                                           << "+nick";
    QTest::newRow("voice") << "+nick"
                           << "nick";
    QTest::newRow("selected") << "-nick"
                              << "nick";
    QTest::newRow("half-op sign stays") << "^nick"
                                        << "^nick";
    QTest::newRow("plain") << "nick"
                           << "nick";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTextUtils::stripNickPrefix() {
    QFETCH(QString, nick);
    QFETCH(QString, bare);
    QCOMPARE(StripNickPrefix(nick), bare);
    QCOMPARE(nick, bare);
}

void TestTextUtils::getUserHost_data() {
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("userHost");

    QTest::newRow("full mask") << "nick!user@host.example"
                               << "user@host.example";
    QTest::newRow("no bang") << "irc.server.example"
                             << "";
    QTest::newRow("bang last") << "nick!"
                               << "";
    QTest::newRow("first bang") << "a!b!c@d"
                                << "b!c@d";
    QTest::newRow("empty") << ""
                           << "";
}

void TestTextUtils::getUserHost() {
    QFETCH(QString, mask);
    QFETCH(QString, userHost);
    QCOMPARE(GetUserHost(mask), userHost);
}

void TestTextUtils::isBlocked_data() {
    QTest::addColumn<QStringList>("blocked");
    QTest::addColumn<QString>("nick");
    QTest::addColumn<bool>("result");

    QTest::newRow("everyone") << QStringList{"*"} << "AnyOne" << true;
    QTest::newRow("lower-case entry") << QStringList{"alice", "bob"} << "BoB" << true;
    QTest::newRow("upper-case entry") << QStringList{"BOB"} << "bob" << true;
    QTest::newRow("prefix is not a match") << QStringList{"bob"} << "bobby" << false;
    QTest::newRow("empty list") << QStringList{} << "bob" << false;
}

void TestTextUtils::isBlocked() {
    QFETCH(QStringList, blocked);
    QFETCH(QString, nick);
    QFETCH(bool, result);

    QCOMPARE(IsBlocked(blocked, nick, QStringLiteral("CTCP")), result);
    QCOMPARE(IsBlocked(blocked, nick, QStringLiteral("anything else")), result);
}

void TestTextUtils::getFileName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");

    QTest::newRow("backslashes") << "C:\\files\\song.mp3"
                                 << "song.mp3";
    QTest::newRow("slashes") << "/home/me/photo.jpg"
                             << "photo.jpg";
    QTest::newRow("slash last") << "dir\\sub/f.txt"
                                << "f.txt";
    QTest::newRow("backslash last") << "dir/sub\\f.txt"
                                    << "f.txt";
    QTest::newRow("no separator") << "plain.txt"
                                  << "plain.txt";
    QTest::newRow("ends in a separator") << "dir/"
                                         << "";
}

void TestTextUtils::getFileName() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(GetFileName(path), name);
}

void TestTextUtils::getFileSize() {
    TempProgramFolder folder;
    QCOMPARE(GetFileSize(folder.write(QStringLiteral("a.bin"), QByteArray(100000, 'x'))),
             qint64(100000));
    QCOMPARE(GetFileSize(folder.write(QStringLiteral("empty.bin"), QByteArray())), qint64(0));
    QCOMPARE(GetFileSize(folder.file(QStringLiteral("missing.bin"))), qint64(-1));
    QCOMPARE(GetFileSize(folder.path()), qint64(-1));
    // A pipe without a writer: opening it would wait for one.
    const QString fifo = folder.file(QStringLiteral("pipe"));
    QVERIFY(FifoWatchdog::make(fifo));
    FifoWatchdog guard(fifo);
    QCOMPARE(GetFileSize(fifo), qint64(-1));
    QVERIFY2(!guard.release(), "GetFileSize waited on the pipe");

    // Beyond 32 bits: a sparse file of 5 GiB takes no room on disk.
    const QString big = folder.file(QStringLiteral("big.bin"));
    QFile file(big);
    QVERIFY(file.open(QIODevice::WriteOnly));
    if (!file.resize(qint64(5) << 30))
        QSKIP("the temporary folder cannot hold a 5 GiB sparse file");
    file.close();
    QCOMPARE(GetFileSize(big), qint64(5) << 30);
}

QTEST_APPLESS_MAIN(TestTextUtils)
#include "tst_textutils.moc"
