// DCC file transfers over loopback: receives from a scripted sender that
// behaves as standard clients do, sends to a plain socket as receiver.

#include "connection/DccFileAck.h"
#include "connection/DccFileTransfer.h"
#include "core/ExitSequence.h"
#include "platform/winsock/WinsockArray.h"
#include "tests/connection/AcceptSuggestions.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"
#include "windows/frm_dccget.h"

#include <QDir>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace {

// The 4-byte acknowledgements in what a receiver sent.
QList<quint32> acksIn(const QByteArray& bytes) {
    DccAckReader reader;
    QList<quint32> acks;
    for (qsizetype i = 0; i + 4 <= bytes.size(); i += 4) {
        reader.feed(QByteArrayView(bytes).sliced(i, 4));
        acks.append(*reader.last());
    }
    return acks;
}

QByteArray pattern(qsizetype size, char seed = 0) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + seed) & 0xff);
    return bytes;
}

// A loopback port whose connects never complete: nothing accepts, and the
// backlog is full, so the system drops every new connect's first packet.
class FullListener {
public:
    bool fill() {
        m_server.setListenBacklogSize(0);
        if (!m_server.listen(QHostAddress::LocalHost, 0))
            return false;
        m_server.pauseAccepting();
        for (int i = 0; i < 16; ++i) {
            auto& filler = m_fillers.emplace_back(std::make_unique<QTcpSocket>());
            filler->connectToHost(m_server.serverAddress(), m_server.serverPort());
            if (!filler->waitForConnected(300))
                return true;
        }
        return false;
    }
    quint16 port() const { return m_server.serverPort(); }

private:
    QTcpServer m_server;
    std::vector<std::unique_ptr<QTcpSocket>> m_fillers;
};

} // namespace

class TestDccFile : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void receive_data();
    void receive();
    void acknowledgesEachArrival();
    void countCrossing2To32();
    void percentOfAnEighteenDigitSize();
    void progressShownTenTimesASecond_data();
    void progressShownTenTimesASecond();
    void silentSenderTimesOut();
    void connectThatNeverCompletesTimesOut();
    void writeFailureEndsUnacknowledged();
    void fileThatCannotBeCreated();
    void existingFileLeftAlone();
    void samePathRefused();
    void twoReceivesKeptApart();
    void buttonCancelsTheTransfer();
    void exitLeavesThePartialFile();
    void offeredNameLandsInTheFolder();

    void send_data();
    void send();
    void silentReceiverTimesOut();
    void sendQueueStaysBounded();
    void listenerNobodyReaches();

private:
    DccFileTransfer& transfer() { return *c->p->mainFrame().dccFileTransfer; }
    // A file offer from 127.0.0.1 and the peer's port.
    static DccOffer offer(quint16 port, qint64 size) {
        DccOffer o;
        o.kind = DccOfferKind::Send;
        o.fileName = o.safeName = QStringLiteral("f.bin");
        o.address = 0x7f000001;
        o.port = port;
        o.size = size;
        o.sizeWord = QString::number(size);
        return o;
    }
    // Starts a receive into `path` from `sender` and waits for its connection.
    frm_dccget* start(IrcScriptedPeer& sender, qint64 size, const QString& path,
                      const QString& mask = QStringLiteral("bob!b@host")) {
        transfer().ReceiveSetUp(offer(sender.port(), size), mask, path);
        frm_dccget* dialog = transfer().receiveDialog(path);
        if (!sender.waitForClient())
            return nullptr;
        // The receiver's connect event has run.
        QTest::qWait(20);
        return dialog;
    }
    // Sends one block and waits for its acknowledgement.
    static bool sendAndWaitForAck(IrcScriptedPeer& sender, const QByteArray& block) {
        const qsizetype before = sender.received().size();
        sender.send(block);
        return QTest::qWaitFor([&] { return sender.received().size() >= before + 4; }, 5000);
    }
    QString target(const QString& name = QStringLiteral("f.bin")) const {
        return downloads->filePath(name);
    }
    QByteArray contents(const QString& path) const {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    std::unique_ptr<QTemporaryDir> downloads;
    std::unique_ptr<ClientFixture> c;
};

void TestDccFile::init() {
    downloads = std::make_unique<QTemporaryDir>();
    c = std::make_unique<ClientFixture>(QStringLiteral("127.0.0.1"), 1, QStringLiteral("me"));
    c->set("DEF_GET_DIR", downloads->path() + u'/');
    c->p->mainFrame().Show();
}

void TestDccFile::cleanup() {
    c.reset();
    downloads.reset();
}

void TestDccFile::receive_data() {
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("sent");
    // The sender waits for the acknowledgement of its last byte before it
    // closes; otherwise it closes after its last byte.
    QTest::addColumn<bool>("waitsForAck");
    QTest::addColumn<QString>("result");

    QTest::newRow("exact, waits for the ack") << qint64(3000) << qint64(3000) << true << "Complete";
    QTest::newRow("exact, closes at once") << qint64(3000) << qint64(3000) << false << "Complete";
    QTest::newRow("one byte short")
        << qint64(3000) << qint64(2999) << false << "Incomplete transfer, please retry";
    QTest::newRow("closed before any data")
        << qint64(3000) << qint64(0) << false << "Incomplete transfer, please retry";
    QTest::newRow("bytes beyond the size") << qint64(3000) << qint64(3500) << false << "Complete";
    QTest::newRow("empty file") << qint64(0) << qint64(0) << false << "Complete";
}

void TestDccFile::receive() {
    QFETCH(qint64, size);
    QFETCH(qint64, sent);
    QFETCH(bool, waitsForAck);
    QFETCH(QString, result);
    IrcScriptedPeer sender;
    QSignalSpy ended(&transfer(), &DccFileTransfer::receiveEnded);
    frm_dccget* dialog = start(sender, size, target());
    QVERIFY(dialog);
    const QByteArray data = pattern(sent);
    sender.send(data);
    if (waitsForAck)
        QTRY_VERIFY_WITH_TIMEOUT(acksIn(sender.received()).contains(quint32(size)), 5000);
    else
        sender.closeClient();
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 5000);
    QCOMPARE(dialog->Label1->text(), result);
    QCOMPARE(contents(target()), data.left(size));
    QCOMPARE(ended.first().at(1).toBool(), result == u"Complete");
}

void TestDccFile::acknowledgesEachArrival() {
    IrcScriptedPeer sender;
    frm_dccget* dialog = start(sender, 1124, target());
    QVERIFY(dialog);
    QStringList progress;
    for (const int block : {512, 512, 100}) {
        QVERIFY(sendAndWaitForAck(sender, pattern(block)));
        progress.append(dialog->ProgressBar1->text());
    }
    QCOMPARE(sender.received(), QByteArray::fromHex("000002000000040000000464"));
    QTRY_COMPARE_WITH_TIMEOUT(dialog->Label1->text(), QStringLiteral("Complete"), 5000);
    QCOMPARE(dialog->ProgressBar1->value(), 100);
    QCOMPARE(dialog->Command1->text(), QStringLiteral("Clo&se"));
    QCOMPARE(dialog->ownPanel()->ToolTipText(), QStringLiteral("Get from bob 100% complete"));
}

void TestDccFile::countCrossing2To32() {
    // The count starts 60 bytes below 2^32 of a file 40 bytes beyond it.
    IrcScriptedPeer sender;
    const qint64 size = (qint64(1) << 32) + 40;
    transfer().setNextReceiveStart(size - 100);
    frm_dccget* dialog = start(sender, size, target());
    QVERIFY(dialog);
    QVERIFY(sendAndWaitForAck(sender, pattern(50)));
    QCOMPARE(dialog->ProgressBar1->value(), 99);
    QCOMPARE(dialog->ownPanel()->ToolTipText(), QStringLiteral("Get from bob 99% complete"));
    QVERIFY(sendAndWaitForAck(sender, pattern(50)));
    QCOMPARE(acksIn(sender.received()), (QList<quint32>{0xfffffff6u, 0x28u}));
    QTRY_COMPARE_WITH_TIMEOUT(dialog->Label1->text(), QStringLiteral("Complete"), 5000);
    QCOMPARE(dialog->ProgressBar1->value(), 100);
}

void TestDccFile::percentOfAnEighteenDigitSize() {
    // The largest size an offer gives: count × 100 does not fit 64 bits.
    IrcScriptedPeer sender;
    const qint64 size = 999'999'999'999'999'999;
    const qint64 count = size - 10'000'000'000'000'000; // 98.99…%
    transfer().setNextReceiveStart(count - 50);
    frm_dccget* dialog = start(sender, size, target());
    QVERIFY(dialog);
    QVERIFY(sendAndWaitForAck(sender, pattern(50)));
    QCOMPARE(dialog->Label1->text(),
             QString::number(count) + QStringLiteral(" of ") + QString::number(size));
    QCOMPARE(dialog->ProgressBar1->value(), 98);
    QCOMPARE(dialog->ownPanel()->ToolTipText(), QStringLiteral("Get from bob 98% complete"));
}

void TestDccFile::progressShownTenTimesASecond_data() {
    // The program's clock moves by this much before each arrival.
    QTest::addColumn<int>("stepMs");
    // The progress texts seen by the sender before the last arrival.
    QTest::addColumn<int>("shown");

    QTest::newRow("held clock") << 0 << 1;
    QTest::newRow("99 ms apart") << 99 << 500;
    QTest::newRow("100 ms apart") << 100 << 999;
    QTest::newRow("clock set back") << -1000 << 999;
}

void TestDccFile::progressShownTenTimesASecond() {
    QFETCH(int, stepMs);
    QFETCH(int, shown);
    constexpr int size = 1000;
    QDateTime now(QDate(2026, 1, 1), QTime(12, 0));
    c->p->clock.setFixed(now);
    IrcScriptedPeer sender;
    QSignalSpy ended(&transfer(), &DccFileTransfer::receiveEnded);
    frm_dccget* dialog = start(sender, size, target());
    QVERIFY(dialog);
    // One byte per arrival: the next goes once the last is acknowledged.
    QStringList texts;
    connect(&sender, &IrcScriptedPeer::bytesReceived, this, [&] {
        if (sender.received().size() / 4 >= size)
            return;
        if (texts.isEmpty() || texts.constLast() != dialog->Label1->text())
            texts.append(dialog->Label1->text());
        now = now.addMSecs(stepMs);
        c->p->clock.setFixed(now);
        sender.send("x");
    });
    sender.send("x");
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 20000);
    QCOMPARE(texts.size(), shown);
    QCOMPARE(texts.first(), QStringLiteral("1 of 1000"));
    QList<quint32> acks;
    for (quint32 count = 1; count <= size; ++count)
        acks.append(count);
    QTRY_COMPARE_WITH_TIMEOUT(acksIn(sender.received()), acks, 5000);
    // The last arrival was shown at once: the dialog saw the whole count.
    QCOMPARE(dialog->Command1->text(), QStringLiteral("Clo&se"));
    QCOMPARE(dialog->Label1->text(), QStringLiteral("Complete"));
    QCOMPARE(dialog->ProgressBar1->value(), 100);
    QCOMPARE(dialog->ownPanel()->ToolTipText(), QStringLiteral("Get from bob 100% complete"));
}

void TestDccFile::silentSenderTimesOut() {
    IrcScriptedPeer sender;
    transfer().setIdleTimeout(1000);
    QSignalSpy ended(&transfer(), &DccFileTransfer::receiveEnded);
    frm_dccget* dialog = start(sender, 1000, target());
    QVERIFY(dialog);
    // Each arrival starts the wait again: together they outlast it.
    for (int i = 0; i < 5; ++i) {
        QVERIFY(sendAndWaitForAck(sender, pattern(100)));
        QTest::qWait(300);
    }
    QCOMPARE(ended.size(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 5000);
    QCOMPARE(ended.first().at(1).toBool(), false);
    QCOMPARE(dialog->Label1->text(), QStringLiteral("Incomplete transfer, please retry"));
    QTRY_VERIFY_WITH_TIMEOUT(!sender.hasClient(), 5000);
    QCOMPARE(contents(target()), pattern(100).repeated(5));
}

void TestDccFile::connectThatNeverCompletesTimesOut() {
    FullListener sender;
    QVERIFY(sender.fill());
    transfer().setIdleTimeout(500);
    QSignalSpy ended(&transfer(), &DccFileTransfer::receiveEnded);
    transfer().ReceiveSetUp(offer(sender.port(), 100), QStringLiteral("bob!b@host"), target());
    const QPointer<frm_dccget> dialog = transfer().receiveDialog(target());
    QVERIFY(dialog);
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 5000);
    QCOMPARE(ended.first().at(1).toBool(), false);
    QCOMPARE(dialog->Label1->text(), QStringLiteral("Incomplete transfer, please retry"));
    // It never connected: no file was made.
    QVERIFY(!QFileInfo::exists(target()));
}

void TestDccFile::writeFailureEndsUnacknowledged() {
    IrcScriptedPeer sender;
    int writes = 0;
    transfer().writeBlock = [&writes](QFile& file, const QByteArray& bytes) {
        return ++writes == 1 && file.write(bytes) == bytes.size();
    };
    frm_dccget* dialog = start(sender, 3000, target());
    QVERIFY(dialog);
    QVERIFY(sendAndWaitForAck(sender, pattern(1000)));
    c->markServerLines();
    sender.send(pattern(1000));
    QTRY_COMPARE_WITH_TIMEOUT(dialog->Label1->text(),
                              QStringLiteral("Incomplete transfer, please retry"), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!sender.hasClient(), 5000);
    QCOMPARE(sender.received(), DccFileAck(1000));
    QCOMPARE(c->newServerLines().size(), 1);
    QVERIFY(c->newServerLines().first().startsWith(QStringLiteral("Error: ")));
}

void TestDccFile::fileThatCannotBeCreated() {
    // A plain file where the folder should be: fails for root too.
    QFile plain(target(QStringLiteral("plain")));
    QVERIFY(plain.open(QIODevice::WriteOnly));
    plain.close();
    const QString path = target(QStringLiteral("plain/f.bin"));
    IrcScriptedPeer sender;
    c->markServerLines();
    frm_dccget* dialog = start(sender, 100, path);
    QVERIFY(dialog);
    QTRY_COMPARE_WITH_TIMEOUT(dialog->Label1->text(),
                              QStringLiteral("Incomplete transfer, please retry"), 5000);
    sender.send(pattern(100));
    QTRY_VERIFY_WITH_TIMEOUT(!sender.hasClient(), 5000);
    QVERIFY(sender.received().isEmpty());
    QCOMPARE(c->newServerLines().size(), 1);
    QVERIFY(c->newServerLines().first().startsWith(QStringLiteral("Error: ")));
}

void TestDccFile::existingFileLeftAlone() {
    // A file of the accepted name appears before the connection is made.
    IrcScriptedPeer sender;
    transfer().ReceiveSetUp(offer(sender.port(), 10), QStringLiteral("bob!b@host"), target());
    frm_dccget* dialog = transfer().receiveDialog(target());
    QVERIFY(dialog);
    QFile existing(target());
    QVERIFY(existing.open(QIODevice::WriteOnly));
    existing.write("mine");
    existing.close();
    QVERIFY(sender.waitForClient());
    sender.send(pattern(10));
    const QString renamed = target(QStringLiteral("f_1.bin"));
    QTRY_COMPARE_WITH_TIMEOUT(contents(renamed), pattern(10), 5000);
    QCOMPARE(contents(target()), QByteArray("mine"));
    QCOMPARE(dialog->Caption(), renamed);
    QCOMPARE(dialog->lbl_file->text(), QStringLiteral("Saving file ") + renamed);
    QTRY_COMPARE_WITH_TIMEOUT(dialog->Label1->text(), QStringLiteral("Complete"), 5000);
}

void TestDccFile::samePathRefused() {
    IrcScriptedPeer first;
    IrcScriptedPeer second;
    QVERIFY(start(first, 100, target()));
    c->markServerLines();
    transfer().ReceiveSetUp(offer(second.port(), 100), QStringLiteral("eve!e@host"), target());
    QVERIFY(!second.waitForClient(300));
    QCOMPARE(c->newServerLines().size(), 1);
    QVERIFY(c->newServerLines().first().startsWith(QStringLiteral("Error: ")));
    QCOMPARE(c->panels().filter(QStringLiteral(" from ")).size(), 1);
}

void TestDccFile::twoReceivesKeptApart() {
    IrcScriptedPeer bob;
    IrcScriptedPeer carol;
    frm_dccget* fromBob = start(bob, 1000, target(QStringLiteral("b.bin")));
    frm_dccget* fromCarol =
        start(carol, 400, target(QStringLiteral("c.bin")), QStringLiteral("carol!c@host"));
    QVERIFY(fromBob && fromCarol);
    const QDateTime start(QDate(2026, 1, 1), QTime(12, 0));
    c->p->clock.setFixed(start);
    QVERIFY(sendAndWaitForAck(bob, pattern(500, 1)));
    QVERIFY(sendAndWaitForAck(carol, pattern(100, 2)));
    // Late enough for bob's progress to be shown again.
    c->p->clock.setFixed(start.addMSecs(DccFileTransfer::ProgressIntervalMs));
    QVERIFY(sendAndWaitForAck(bob, pattern(250, 3)));
    QCOMPARE(acksIn(bob.received()), (QList<quint32>{500, 750}));
    QCOMPARE(acksIn(carol.received()), (QList<quint32>{100}));
    QCOMPARE(fromBob->Label1->text(), QStringLiteral("750 of 1000"));
    QCOMPARE(fromCarol->Label1->text(), QStringLiteral("100 of 400"));
    QCOMPARE(fromBob->ownPanel()->ToolTipText(), QStringLiteral("Get from bob 75% complete"));
    QCOMPARE(fromCarol->ownPanel()->ToolTipText(), QStringLiteral("Get from carol 25% complete"));
    QCOMPARE(fromBob->Tag(), target(QStringLiteral("b.bin")) + QStringLiteral(" from bob!b@host"));
    carol.closeClient();
    QTRY_COMPARE_WITH_TIMEOUT(fromCarol->Label1->text(),
                              QStringLiteral("Incomplete transfer, please retry"), 5000);
    QCOMPARE(fromBob->Label1->text(), QStringLiteral("750 of 1000"));
    QVERIFY(bob.hasClient());
}

void TestDccFile::buttonCancelsTheTransfer() {
    IrcScriptedPeer sender;
    const QPointer<frm_dccget> dialog = start(sender, 1000, target());
    QVERIFY(dialog);
    QVERIFY(sendAndWaitForAck(sender, pattern(300)));
    const int panels = c->panels().size();
    dialog->Command1->click();
    QTRY_VERIFY_WITH_TIMEOUT(!sender.hasClient(), 5000);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog, 5000);
    QCOMPARE(c->panels().size(), panels - 1);
    QCOMPARE(contents(target()), pattern(300));
}

void TestDccFile::exitLeavesThePartialFile() {
    IrcScriptedPeer sender;
    QVERIFY(start(sender, 1000, target()));
    QVERIFY(sendAndWaitForAck(sender, pattern(300)));
    ScriptedAnswerer answers;
    int ends = 0;
    c->p->endProgram = [&ends] { ++ends; };
    c->p->exitSequence().run();
    QTRY_COMPARE_WITH_TIMEOUT(ends, 1, 5000);
    QVERIFY(answers.requests().isEmpty());
    c.reset();
    QCOMPARE(contents(target()), pattern(300));
}

void TestDccFile::offeredNameLandsInTheFolder() {
    // Through the offer as a server brings it, accepted as suggested.
    IrcScriptedPeer server;
    c = std::make_unique<ClientFixture>(server.host(), server.port(), QStringLiteral("me"));
    c->set("DEF_GET_DIR", downloads->path() + u'/');
    c->p->mainFrame().Show();
    QVERIFY(c->connect());
    QVERIFY(server.waitForClient());
    IrcScriptedPeer sender;
    AcceptSuggestions answers;
    QSignalSpy ended(&transfer(), &DccFileTransfer::receiveEnded);
    c->serverSays(server, {":bob!b@h PRIVMSG me :\x01"
                           "DCC SEND ../../evil 2130706433 " +
                           QByteArray::number(sender.port()) + " 5\x01"});
    QTRY_COMPARE_WITH_TIMEOUT(answers.requests().size(), 1, 5000);
    QVERIFY(sender.waitForClient());
    sender.send("12345");
    QTRY_COMPARE_WITH_TIMEOUT(ended.size(), 1, 5000);
    const QString path = ended.first().at(0).toString();
    QCOMPARE(QFileInfo(path).absolutePath(), QDir(downloads->path()).absolutePath());
    QCOMPARE(contents(path), QByteArray("12345"));
}

void TestDccFile::send_data() {
    QTest::addColumn<qint64>("size");
    // The acknowledgements the receiver gives once it has every byte, cut
    // into arrivals as given.
    QTest::addColumn<QByteArrayList>("acks");
    QTest::addColumn<bool>("closedBySender");

    const qint64 big = 300 * 1024 + 17;
    QTest::newRow("final ack") << big << QByteArrayList{DccFileAck(big)} << true;
    QTest::newRow("ack one short") << big << QByteArrayList{DccFileAck(big - 1)} << false;
    QTest::newRow("final ack cut in two")
        << big << QByteArrayList{DccFileAck(big).left(2), DccFileAck(big).mid(2)} << true;
    QTest::newRow("the last of two acks counts")
        << big << QByteArrayList{DccFileAck(big - 1) + DccFileAck(big)} << true;
    QTest::newRow("empty file") << qint64(0) << QByteArrayList{} << true;
}

void TestDccFile::send() {
    QFETCH(qint64, size);
    QFETCH(QByteArrayList, acks);
    QFETCH(bool, closedBySender);
    const QByteArray data = pattern(size, 5);
    const QString path = c->folder.write(QStringLiteral("out.bin"), data);
    ScriptedAnswerer answers;
    QSignalSpy ended(&transfer(), &DccFileTransfer::sendEnded);
    const int index = transfer().offerFile(path);
    QVERIFY(index > 0);
    QTcpSocket receiver;
    receiver.connectToHost(QStringLiteral("127.0.0.1"),
                           quint16((*c->p->mainFrame().dccsend)[index]->LocalPort()));
    QByteArray got;
    connect(&receiver, &QTcpSocket::readyRead, this, [&] { got += receiver.readAll(); });
    QTRY_COMPARE_WITH_TIMEOUT(got.size(), size, 5000);
    QCOMPARE(got, data);
    for (const QByteArray& ack : acks) {
        receiver.write(ack);
        QTest::qWait(20);
    }
    if (closedBySender) {
        QTRY_COMPARE_WITH_TIMEOUT(receiver.state(), QAbstractSocket::UnconnectedState, 5000);
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended.first().at(1).toBool(), true);
        QVERIFY(!c->p->mainFrame().dccsend->isLoaded(index));
    } else {
        QTest::qWait(200);
        QCOMPARE(receiver.state(), QAbstractSocket::ConnectedState);
        QCOMPARE(ended.size(), 0);
    }
    // The "ok" box came without holding the transfer up.
    QTRY_COMPARE_WITH_TIMEOUT(answers.requests().size(), 1, 5000);
    QCOMPARE(answers.requests().first().prompt, QStringLiteral("ok"));
}

void TestDccFile::silentReceiverTimesOut() {
    const QString path = c->folder.write(QStringLiteral("out.bin"), pattern(1000));
    ScriptedAnswerer answers;
    transfer().setIdleTimeout(200);
    QSignalSpy ended(&transfer(), &DccFileTransfer::sendEnded);
    const int index = transfer().offerFile(path);
    QTcpSocket receiver;
    receiver.connectToHost(QStringLiteral("127.0.0.1"),
                           quint16((*c->p->mainFrame().dccsend)[index]->LocalPort()));
    QTRY_COMPARE_WITH_TIMEOUT(receiver.state(), QAbstractSocket::UnconnectedState, 5000);
    QCOMPARE(ended.size(), 1);
    QCOMPARE(ended.first().at(1).toBool(), false);
    QVERIFY(!c->p->mainFrame().dccsend->isLoaded(index));
}

void TestDccFile::sendQueueStaysBounded() {
    // More than the system's buffers hold, to a receiver that reads nothing.
    const QString path = c->folder.write(QStringLiteral("out.bin"), pattern(16 * 1024 * 1024));
    ScriptedAnswerer answers;
    platform::WinsockArray& dccsend = *c->p->mainFrame().dccsend;
    const int index = transfer().offerFile(path);
    QVERIFY(index > 0);
    // The most that waited in the socket each time the transfer filled it.
    qint64 most = 0;
    const auto measure = [&] { most = qMax(most, dccsend[index]->bytesToWrite()); };
    connect(&dccsend, &platform::WinsockArray::ConnectionRequest, this, measure);
    connect(&dccsend, &platform::WinsockArray::SendProgress, this, measure);
    QTcpSocket receiver;
    receiver.setReadBufferSize(64 * 1024);
    receiver.connectToHost(QStringLiteral("127.0.0.1"), quint16(dccsend[index]->LocalPort()));
    QVERIFY(receiver.waitForConnected(5000));
    QTRY_VERIFY_WITH_TIMEOUT(most > 0, 5000);
    QTest::qWait(500);
    QVERIFY(most <= DccFileTransfer::SendAhead);
    QVERIFY(dccsend.isLoaded(index));
}

void TestDccFile::listenerNobodyReaches() {
    const QString path = c->folder.write(QStringLiteral("out.bin"), pattern(10));
    transfer().setListenTimeout(100);
    const int index = transfer().offerFile(path);
    QVERIFY(c->p->mainFrame().dccsend->isLoaded(index));
    QTRY_VERIFY_WITH_TIMEOUT(!c->p->mainFrame().dccsend->isLoaded(index), 5000);
}

PARLONE_TEST_MAIN(TestDccFile)
#include "tst_dccfile.moc"
