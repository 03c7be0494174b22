// The ident reply to one query line, alone: valid queries echo their port
// pair as it arrived, anything else gets the error form, and nothing from the
// line or the two fields can end the reply's line early.

#include "ident/IdentReply.h"

#include <QtTest>

class TestIdentReply : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reply_data();
    void reply();
};

void TestIdentReply::reply_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QString>("system");
    QTest::addColumn<QString>("user");
    QTest::addColumn<QByteArray>("expected");

    const QString unix = QStringLiteral("UNIX");
    const QString alice = QStringLiteral("alice");
    auto add = [&](const char* name, const QByteArray& line, const QByteArray& expected) {
        QTest::newRow(name) << line << unix << alice << expected;
    };

    add("CR LF", "6193, 23\r\n", "6193, 23 : USERID : UNIX : alice\n");
    add("LF only", "6193, 23\n", "6193, 23 : USERID : UNIX : alice\n");
    add("no line end", "6193, 23", "6193, 23 : USERID : UNIX : alice\n");
    add("blanks around the ports, echoed as they came", "6193 , 23\r\n",
        "6193 , 23 : USERID : UNIX : alice\n");
    add("tabs and no blanks", "\t6193,23 \r\n", "\t6193,23  : USERID : UNIX : alice\n");
    add("lowest and highest ports", "1,65535\n", "1,65535 : USERID : UNIX : alice\n");
    add("leading zeros", "00113, 0023\n", "00113, 0023 : USERID : UNIX : alice\n");

    add("a CR inside the line", "6193,\r 23\r\n", "6193, 23 : ERROR : INVALID-PORT\n");
    add("a NUL inside the line", QByteArrayLiteral("6193\0, 23\n"),
        "6193, 23 : ERROR : INVALID-PORT\n");
    add("port 0", "0, 23\r\n", "0, 23 : ERROR : INVALID-PORT\n");
    add("port 65536", "6193, 65536\r\n", "6193, 65536 : ERROR : INVALID-PORT\n");
    add("a port too long for any number", "99999999999999999999999, 23\n",
        "99999999999999999999999, 23 : ERROR : INVALID-PORT\n");
    add("letters", "abc, 23\r\n", "abc, 23 : ERROR : INVALID-PORT\n");
    add("a sign", "+6193, 23\r\n", "+6193, 23 : ERROR : INVALID-PORT\n");
    add("one port", "6193\r\n", "6193 : ERROR : INVALID-PORT\n");
    add("three ports", "6193, 23, 5\r\n", "6193, 23, 5 : ERROR : INVALID-PORT\n");
    add("a blank port", "6193, \r\n", "6193,  : ERROR : INVALID-PORT\n");
    add("an empty line", "\r\n", " : ERROR : INVALID-PORT\n");

    const QByteArray longest = QByteArray(995, ' ') + "1, 23";
    add("a query of the longest length", longest, longest + " : USERID : UNIX : alice\n");
    const QByteArray overlong = QByteArray(996, ' ') + "1, 23\r\n";
    add("an overlong query is an error, echoed up to the cap", overlong,
        QByteArray(996, ' ') + "1, 2 : ERROR : INVALID-PORT\n");
    add("an overlong line of letters", QByteArray(5000, 'x'),
        QByteArray(1000, 'x') + " : ERROR : INVALID-PORT\n");

    QTest::newRow("CR, LF and NUL inside the user and the system")
        << QByteArray("6193, 23\r\n") << QStringLiteral("UN\nIX") << QStringLiteral("al\r\nice\0x")
        << QByteArray("6193, 23 : USERID : UNIX : alicex\n");
    QTest::newRow("an empty user") << QByteArray("6193, 23\r\n") << unix << QString()
                                   << QByteArray("6193, 23 : USERID : UNIX : \n");
    QTest::newRow("a user beyond ASCII goes as UTF-8")
        << QByteArray("6193, 23\n") << unix << QStringLiteral("jos\u00e9")
        << QByteArray("6193, 23 : USERID : UNIX : jos\xc3\xa9\n");
}

void TestIdentReply::reply() {
    QFETCH(QByteArray, line);
    QFETCH(QString, system);
    QFETCH(QString, user);
    QFETCH(QByteArray, expected);
    QCOMPARE(IdentReply::reply(line, system, user), expected);
}

QTEST_APPLESS_MAIN(TestIdentReply)
#include "tst_identreply.moc"
