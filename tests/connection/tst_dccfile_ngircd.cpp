// A file sent from one client to another through a real ngircd: offered
// with "/dcc send" or the send window, accepted as suggested, received whole.

#include "connection/DccFileTransfer.h"
#include "core/mod_kernel.h"
#include "platform/window/FileListBox.h"
#include "tests/connection/AcceptSuggestions.h"
#include "tests/connection/ClientFixture.h"
#include "tests/support/NgircdServer.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TestMain.h"
#include "windows/frm_dccget.h"
#include "windows/frm_dccsend.h"

#include <QCryptographicHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>

namespace {

QByteArray sha256(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result();
}

} // namespace

class TestDccFileNgircd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void sentAndReceived_data();
    void sentAndReceived();
    void sendWindow_data();
    void sendWindow();

private:
    // The receive dialog of the file at `path`.
    static const frm_dccget* dialogOf(ClientFixture& c, const QString& path) {
        for (const Form* form : c.p->forms()) {
            if (const auto* dialog = qobject_cast<const frm_dccget*>(form);
                dialog && dialog->Caption() == path)
                return dialog;
        }
        return nullptr;
    }

    NgircdServer m_server;
    int m_serial = 0;
    std::unique_ptr<QTemporaryDir> m_downloads;
    std::unique_ptr<AcceptSuggestions> m_answers;
    std::unique_ptr<ClientFixture> m_a;
    std::unique_ptr<ClientFixture> m_b;
};

void TestDccFileNgircd::initTestCase() {
    QVERIFY2(m_server.start(), qPrintable(m_server.error()));
}

void TestDccFileNgircd::init() {
    ++m_serial;
    m_downloads = std::make_unique<QTemporaryDir>();
    m_answers = std::make_unique<AcceptSuggestions>();
    m_a = std::make_unique<ClientFixture>(m_server.host(), m_server.port(),
                                          QStringLiteral("ana%1").arg(m_serial));
    m_b = std::make_unique<ClientFixture>(m_server.host(), m_server.port(),
                                          QStringLiteral("ben%1").arg(m_serial));
    m_b->set("DEF_GET_DIR", m_downloads->path() + u'/');
    for (ClientFixture* c : {m_a.get(), m_b.get()}) {
        c->p->mainFrame().Show();
        QSignalSpy welcome(&c->irc(), &platform::Yarv::Welcome);
        QVERIFY(c->connect());
        QVERIFY(welcome.wait(5000));
    }
}

void TestDccFileNgircd::cleanup() {
    m_a.reset();
    m_b.reset();
    m_answers.reset();
    m_downloads.reset();
}

void TestDccFileNgircd::sentAndReceived_data() {
    QTest::addColumn<qsizetype>("size");
    QTest::newRow("1 MiB of random data") << qsizetype(1024 * 1024);
    QTest::newRow("empty file") << qsizetype(0);
}

void TestDccFileNgircd::sentAndReceived() {
    QFETCH(qsizetype, size);
    QByteArray data(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        data[i] = static_cast<char>(QRandomGenerator::global()->generate());
    const QString path = m_a->folder.write(QStringLiteral("a file.bin"), data);
    QSignalSpy received(m_b->p->mainFrame().dccFileTransfer, &DccFileTransfer::receiveEnded);
    QSignalSpy sent(m_a->p->mainFrame().dccFileTransfer, &DccFileTransfer::sendEnded);
    QCOMPARE(ExecCommand(*m_a->p, QStringLiteral("dcc send ") + m_b->setting("PROFILE_NICKNAME") +
                                      u' ' + path),
             CommandResult::Done);
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 10000);
    QVERIFY(received.first().at(1).toBool());
    const QString where = received.first().at(0).toString();
    QCOMPARE(where, m_downloads->filePath(QStringLiteral("a_file.bin")));
    QCOMPARE(sha256(where), sha256(path));
    const frm_dccget* dialog = dialogOf(*m_b, where);
    QVERIFY(dialog);
    QCOMPARE(dialog->Label1->text(), QStringLiteral("Complete"));
    QTRY_COMPARE_WITH_TIMEOUT(sent.size(), 1, 5000);
    QVERIFY(sent.first().at(1).toBool());
}

void TestDccFileNgircd::sendWindow_data() {
    QTest::addColumn<bool>("toPeer");
    QTest::newRow("to the other client") << true;
    QTest::newRow("to a channel: no offer") << false;
}

void TestDccFileNgircd::sendWindow() {
    QFETCH(bool, toPeer);
    const QString path = m_a->folder.write(QStringLiteral("note.txt"), "hello");
    const QString nick = toPeer ? m_b->setting("PROFILE_NICKNAME") : QStringLiteral("#x");
    QSignalSpy received(m_b->p->mainFrame().dccFileTransfer, &DccFileTransfer::receiveEnded);
    frm_dccsend& window = m_a->p->dccSendWindow();
    window.Show();
    window.setFolder(m_a->folder.path());
    const auto items = window.File1->findItems(QStringLiteral("note.txt"), Qt::MatchExactly);
    QCOMPARE(items.size(), 1);
    window.File1->setCurrentItem(items.first());
    window.txt_target->setText(nick);
    m_a->markServerLines();
    window.btn_send->click();
    const QString sending = QStringLiteral("Sending ") + path + QStringLiteral(" to: ") + nick;
    if (toPeer) {
        QCOMPARE(m_a->newServerLines(), QStringList{sending});
        QVERIFY(!window.Visible());
        QTRY_COMPARE_WITH_TIMEOUT(received.size(), 1, 10000);
        QVERIFY(received.first().at(1).toBool());
    } else {
        QCOMPARE(m_a->newServerLines().size(), 1);
        QVERIFY(m_a->newServerLines().first().startsWith(QStringLiteral("Error: ")));
        QVERIFY(window.Visible());
    }
}

PARLONE_TEST_MAIN(TestDccFileNgircd)
#include "tst_dccfile_ngircd.moc"
