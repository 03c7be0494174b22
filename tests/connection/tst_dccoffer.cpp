// The address word both ways, and DCC offers as other clients send them:
// what is read, and what refuses an offer before anyone is asked.

#include "connection/DccAddress.h"
#include "connection/DccOffer.h"

#include <QtTest>

class TestDccOffer : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void addressWord_data();
    void addressWord();
    void offers_data();
    void offers();
    void nicks_data();
    void nicks();
};

void TestDccOffer::addressWord_data() {
    QTest::addColumn<QString>("dotted");
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("back");
    QTest::newRow("10.0.0.1") << "10.0.0.1"
                              << "167772161"
                              << "10.0.0.1";
    QTest::newRow("192.168.0.1") << "192.168.0.1"
                                 << "3232235521"
                                 << "192.168.0.1";
    QTest::newRow("loopback") << "127.0.0.1"
                              << "2130706433"
                              << "127.0.0.1";
    QTest::newRow("top octet high bit") << "255.255.255.255"
                                        << "4294967295"
                                        << "255.255.255.255";
    QTest::newRow("octet too big") << "1.2.3.256"
                                   << ""
                                   << "0.0.0.0";
    QTest::newRow("three octets") << "1.2.3"
                                  << ""
                                  << "0.0.0.0";
    QTest::newRow("IPv6") << "::1"
                          << ""
                          << "0.0.0.0";
}

void TestDccOffer::addressWord() {
    QFETCH(QString, dotted);
    QFETCH(QString, word);
    QFETCH(QString, back);
    QCOMPARE(EncodeIPAddr(dotted), word);
    QCOMPARE(LongIP2Dotted(word), back);
}

void TestDccOffer::offers_data() {
    QTest::addColumn<QString>("params");
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("safeName");
    QTest::addColumn<uint>("address");
    QTest::addColumn<int>("port");
    QTest::addColumn<qint64>("size");
    const int chat = int(DccOfferKind::Chat);
    const int send = int(DccOfferKind::Send);
    const int none = int(DccOfferKind::None);
    const uint lo = 2130706433u;
    QTest::newRow("chat") << "CHAT chat 2130706433 5000" << chat << false << "" << lo << 5000
                          << qint64(0);
    QTest::newRow("chat, any case")
        << "chat CHAT 2130706433 1" << chat << false << "" << lo << 1 << qint64(0);
    QTest::newRow("chat accept is no offer")
        << "CHAT accept 2130706433 5000" << none << false << "" << 0u << 0 << qint64(0);
    QTest::newRow("other kind") << "RESUME f 5000 0" << none << false << "" << 0u << 0 << qint64(0);
    QTest::newRow("send") << "SEND notes.txt 2130706433 5000 42" << send << false << "notes.txt"
                          << lo << 5000 << qint64(42);
    QTest::newRow("send, size 0") << "SEND e 2130706433 5000 0" << send << false << "e" << lo
                                  << 5000 << qint64(0);
    QTest::newRow("send, beyond 2 GiB") << "SEND big 2130706433 5000 5000000000" << send << false
                                        << "big" << lo << 5000 << qint64(5000000000);
    QTest::newRow("quoted name") << "SEND \"a b.txt\" 2130706433 5000 7" << send << false
                                 << "a b.txt" << lo << 5000 << qint64(7);
    QTest::newRow("unbalanced quote")
        << "SEND \"ab 2130706433 5000 7" << send << false << "\"ab" << lo << 5000 << qint64(7);
    QTest::newRow("up the tree") << "SEND ../x 2130706433 5000 7" << send << false << "x" << lo
                                 << 5000 << qint64(7);
    QTest::newRow("absolute") << "SEND /etc/passwd 2130706433 5000 7" << send << false << "passwd"
                              << lo << 5000 << qint64(7);
    QTest::newRow("backslashes") << "SEND ..\\..\\x 2130706433 5000 7" << send << false << "x" << lo
                                 << 5000 << qint64(7);
    QTest::newRow("control character") << "SEND a\x02"
                                          "b 2130706433 5000 7"
                                       << send << false << "a_b" << lo << 5000 << qint64(7);
    QTest::newRow("dot dot") << "SEND .. 2130706433 5000 7" << send << false << "_." << lo << 5000
                             << qint64(7);
    QTest::newRow("dot") << "SEND . 2130706433 5000 7" << send << false << "_" << lo << 5000
                         << qint64(7);
    // Refused.
    QTest::newRow("empty quoted name")
        << "SEND \"\" 2130706433 5000 7" << send << true << "" << 0u << 0 << qint64(0);
    QTest::newRow("name ending in a slash")
        << "SEND dir/ 2130706433 5000 7" << send << true << "" << 0u << 0 << qint64(0);
    QTest::newRow("address 0") << "SEND f 0 5000 7" << send << true << "f" << 0u << 0 << qint64(0);
    QTest::newRow("address beyond 32 bits")
        << "SEND f 4294967296 5000 7" << send << true << "f" << 0u << 0 << qint64(0);
    QTest::newRow("address abc") << "SEND f abc 5000 7" << send << true << "f" << 0u << 0
                                 << qint64(0);
    QTest::newRow("port 0") << "SEND f 2130706433 0 7" << send << true << "f" << 0u << 0
                            << qint64(0);
    QTest::newRow("port 70000") << "SEND f 2130706433 70000 7" << send << true << "f" << 0u << 0
                                << qint64(0);
    QTest::newRow("size -5") << "SEND f 2130706433 5000 -5" << send << true << "f" << 0u << 0
                             << qint64(0);
    QTest::newRow("size abc") << "SEND f 2130706433 5000 abc" << send << true << "f" << 0u << 0
                              << qint64(0);
    QTest::newRow("size missing") << "SEND f 2130706433 5000" << send << true << "f" << 0u << 0
                                  << qint64(0);
    QTest::newRow("chat address 0")
        << "CHAT chat 0 5000" << chat << true << "" << 0u << 0 << qint64(0);
    QTest::newRow("chat port 70000")
        << "CHAT chat 2130706433 70000" << chat << true << "" << 0u << 0 << qint64(0);
    QTest::newRow("chat without words") << "CHAT" << chat << true << "" << 0u << 0 << qint64(0);
}

void TestDccOffer::offers() {
    QFETCH(QString, params);
    QFETCH(int, kind);
    QFETCH(bool, refused);
    QFETCH(QString, safeName);
    QFETCH(uint, address);
    QFETCH(int, port);
    QFETCH(qint64, size);
    const DccOffer offer = ReadDccOffer(params);
    QCOMPARE(int(offer.kind), kind);
    QCOMPARE(!offer.refusal.isEmpty(), refused);
    QCOMPARE(offer.safeName, safeName);
    if (refused)
        return;
    QCOMPARE(offer.address, address);
    QCOMPARE(int(offer.port), port);
    QCOMPARE(offer.size, size);
}

void TestDccOffer::nicks_data() {
    QTest::addColumn<QString>("nick");
    QTest::addColumn<bool>("refused");
    QTest::newRow("bob") << "bob" << false;
    QTest::newRow("Servers") << "Servers" << false;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("?bob") << "?bob" << true;
    QTest::newRow("#x") << "#x" << true;
    QTest::newRow("&x, a channel type") << "&x" << true;
    QTest::newRow("two nicks") << "bob,eve" << true;
    QTest::newRow("comma at the end") << "bob," << true;
    QTest::newRow("server") << "server" << true;
    QTest::newRow("NOTIFY") << "NOTIFY" << true;
    QTest::newRow("Alias") << "Alias" << true;
    QTest::newRow("popups") << "popups" << true;
}

void TestDccOffer::nicks() {
    QFETCH(QString, nick);
    QFETCH(bool, refused);
    QCOMPARE(!DccNickRefusal(nick, u"#&").isEmpty(), refused);
}

QTEST_GUILESS_MAIN(TestDccOffer)
#include "tst_dccoffer.moc"
