// The acknowledgements of DCC file transfers and the sender's end rule.

#include "connection/DccFileAck.h"

#include <QtTest>

#include <optional>

using OptionalAck = std::optional<quint32>;
Q_DECLARE_METATYPE(OptionalAck)

class TestDccFileAck : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void arrivals();
    void ack_data();
    void ack();
    void reader_data();
    void reader();
    void finished_data();
    void finished();
};

void TestDccFileAck::arrivals() {
    // Each arrival acknowledges the running count, not the arrival's size.
    qint64 count = 0;
    QByteArrayList acks;
    for (const int arrival : {512, 512, 100}) {
        count += arrival;
        acks.append(DccFileAck(count));
    }
    QCOMPARE(acks, (QByteArrayList{QByteArray::fromHex("00000200"), QByteArray::fromHex("00000400"),
                                   QByteArray::fromHex("00000464")}));
}

void TestDccFileAck::ack_data() {
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QByteArray>("bytes");

    QTest::newRow("none") << qint64(0) << QByteArray::fromHex("00000000");
    QTest::newRow("1000") << qint64(1000) << QByteArray::fromHex("000003e8");
    QTest::newRow("every byte distinct") << qint64(0x01020304) << QByteArray::fromHex("01020304");
    QTest::newRow("below 2^31") << qint64(0x7fffffff) << QByteArray::fromHex("7fffffff");
    QTest::newRow("2^31") << qint64(0x80000000) << QByteArray::fromHex("80000000");
    QTest::newRow("below 2^32") << qint64(0xffffffff) << QByteArray::fromHex("ffffffff");
    QTest::newRow("2^32 wraps") << qint64(0x100000000) << QByteArray::fromHex("00000000");
    QTest::newRow("beyond 2^32") << qint64(0x100000464) << QByteArray::fromHex("00000464");
    QTest::newRow("5 GiB and more") << qint64(0x14a0b0c0d) << QByteArray::fromHex("4a0b0c0d");
}

void TestDccFileAck::ack() {
    QFETCH(qint64, count);
    QFETCH(QByteArray, bytes);
    QCOMPARE(DccFileAck(count), bytes);
}

void TestDccFileAck::reader_data() {
    QTest::addColumn<QByteArrayList>("arrivals");
    QTest::addColumn<OptionalAck>("last");

    QTest::newRow("nothing") << QByteArrayList{} << OptionalAck{};
    QTest::newRow("three bytes") << QByteArrayList{QByteArray::fromHex("000004")} << OptionalAck{};
    QTest::newRow("one word") << QByteArrayList{QByteArray::fromHex("00000464")}
                              << OptionalAck{0x464};
    QTest::newRow("two words, the last counts")
        << QByteArrayList{QByteArray::fromHex("0000020000000464")} << OptionalAck{0x464};
    QTest::newRow("a word cut over arrivals")
        << QByteArrayList{QByteArray::fromHex("00"), QByteArray::fromHex("0004"),
                          QByteArray::fromHex("64")}
        << OptionalAck{0x464};
    QTest::newRow("a whole word and the start of the next")
        << QByteArrayList{QByteArray::fromHex("00000200ff"), QByteArray::fromHex("ff")}
        << OptionalAck{0x200};
    QTest::newRow("the seam after a cut word")
        << QByteArrayList{QByteArray::fromHex("000002"), QByteArray::fromHex("00000004"),
                          QByteArray::fromHex("64")}
        << OptionalAck{0x464};
    QTest::newRow("high bit") << QByteArrayList{QByteArray::fromHex("fffffffe")}
                              << OptionalAck{0xfffffffe};
}

void TestDccFileAck::reader() {
    QFETCH(QByteArrayList, arrivals);
    QFETCH(OptionalAck, last);
    DccAckReader reader;
    for (const QByteArray& arrival : arrivals)
        reader.feed(arrival);
    QCOMPARE(reader.last(), last);
}

void TestDccFileAck::finished_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("written");
    QTest::addColumn<OptionalAck>("ack");
    QTest::addColumn<bool>("done");

    QTest::newRow("empty file") << qint64(0) << qint64(0) << OptionalAck{} << true;
    QTest::newRow("no ack yet") << qint64(1124) << qint64(1124) << OptionalAck{} << false;
    QTest::newRow("ack short") << qint64(1124) << qint64(1124) << OptionalAck{1024} << false;
    QTest::newRow("ack equal") << qint64(1124) << qint64(1124) << OptionalAck{1124} << true;
    QTest::newRow("not all written") << qint64(1124) << qint64(1000) << OptionalAck{1124} << false;
    QTest::newRow("4 GiB + 1, ack 1")
        << qint64(0x100000001) << qint64(0x100000001) << OptionalAck{1} << true;
    QTest::newRow("4 GiB + 1, ack of 2^32 - 1")
        << qint64(0x100000001) << qint64(0x100000001) << OptionalAck{0xffffffff} << false;
    QTest::newRow("4 GiB + 1 not all written, ack 1")
        << qint64(0x100000001) << qint64(1) << OptionalAck{1} << false;
    QTest::newRow("exactly 4 GiB, ack 0")
        << qint64(0x100000000) << qint64(0x100000000) << OptionalAck{0} << true;
    QTest::newRow("3 GiB") << qint64(0xc0000000) << qint64(0xc0000000) << OptionalAck{0xc0000000}
                           << true;
}

void TestDccFileAck::finished() {
    QFETCH(qint64, size);
    QFETCH(qint64, written);
    QFETCH(OptionalAck, ack);
    QFETCH(bool, done);
    QCOMPARE(DccSendFinished(size, written, ack), done);
}

QTEST_GUILESS_MAIN(TestDccFileAck)
#include "tst_dccfileack.moc"
