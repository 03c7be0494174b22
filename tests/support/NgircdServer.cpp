#include "tests/support/NgircdServer.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace {

constexpr int Attempts = 5;
constexpr int ListenTimeoutMs = 10000;

QFileDevice::Permissions readableByAll() {
    return QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup |
           QFileDevice::ReadOther;
}

bool writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(content) != content.size())
        return false;
    f.close();
    return f.setPermissions(readableByAll());
}

// A port nobody listens on right now (it may be taken before ngircd binds it,
// hence the retries).
quint16 freePort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0))
        return 0;
    return probe.serverPort();
}

} // namespace

NgircdServer::~NgircdServer() {
    stop();
}

bool NgircdServer::start() {
    return start(Options());
}

bool NgircdServer::start(const Options& options) {
    stop();
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("no temporary folder");
        return false;
    }
    // Started as root, ngircd drops to user nobody, who must read its files.
    QFile::setPermissions(m_dir.path(), readableByAll() | QFileDevice::ExeOwner |
                                            QFileDevice::ExeGroup | QFileDevice::ExeOther);
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        const quint16 port = freePort();
        if (port != 0 && startOnPort(options, port))
            return true;
        stop();
    }
    return false;
}

bool NgircdServer::startOnPort(const Options& options, quint16 port) {
    const QString motdPath = m_dir.filePath(QStringLiteral("ngircd.motd"));
    QFile::remove(motdPath);
    if (!options.motd.isEmpty() && !writeFile(motdPath, options.motd.join(u'\n').toUtf8() + '\n')) {
        m_error = QStringLiteral("cannot write ") + motdPath;
        return false;
    }
    QString conf = QStringLiteral("[Global]\n"
                                  "Name = %1\n"
                                  "Info = %2\n"
                                  "Listen = 127.0.0.1\n"
                                  "Ports = %3\n"
                                  "MotdFile = %4\n"
                                  "AdminInfo1 = Parlone tests\n"
                                  "AdminInfo2 = Loopback only\n"
                                  "AdminEMail = tests@parlone.test\n"
                                  "[Limits]\n"
                                  "MaxConnectionsIP = 0\n"
                                  "MaxJoins = 0\n"
                                  "MaxPenaltyTime = 0\n")
                       .arg(name(), info())
                       .arg(port)
                       .arg(motdPath);
    if (options.pingTimeout > 0)
        conf += QStringLiteral("PingTimeout = %1\n").arg(options.pingTimeout);
    if (options.pongTimeout > 0)
        conf += QStringLiteral("PongTimeout = %1\n").arg(options.pongTimeout);
    if (options.maxNickLength > 0)
        conf += QStringLiteral("MaxNickLength = %1\n").arg(options.maxNickLength);
    const QString lookups = options.identLookups ? QStringLiteral("yes") : QStringLiteral("no");
    conf += QStringLiteral("[Options]\n"
                           "DNS = %1\n"
                           "Ident = %1\n"
                           "PAM = no\n")
                .arg(lookups);
    const QString confPath = m_dir.filePath(QStringLiteral("ngircd.conf"));
    if (!writeFile(confPath, conf.toUtf8())) {
        m_error = QStringLiteral("cannot write ") + confPath;
        return false;
    }

    m_output.clear();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QString::fromLatin1(Binary),
                    {QStringLiteral("-n"), QStringLiteral("-f"), confPath});
    if (!m_process.waitForStarted(5000)) {
        m_error = QStringLiteral("cannot start %1: %2")
                      .arg(QString::fromLatin1(Binary), m_process.errorString());
        return false;
    }
    // It listens within milliseconds; a port taken meanwhile makes it exit or
    // never listen, and the caller tries another.
    const QDeadlineTimer deadline(ListenTimeoutMs);
    while (!deadline.hasExpired()) {
        if (m_process.state() != QProcess::Running) {
            m_error = QStringLiteral("ngircd ended on port %1: %2").arg(port).arg(output());
            return false;
        }
        QTcpSocket probe;
        probe.connectToHost(QHostAddress::LocalHost, port);
        if (probe.waitForConnected(200)) {
            probe.abort();
            m_port = port;
            return true;
        }
        m_process.waitForReadyRead(20);
    }
    m_error = QStringLiteral("ngircd did not listen on port %1: %2").arg(port).arg(output());
    return false;
}

void NgircdServer::stop() {
    m_port = 0;
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

QString NgircdServer::output() {
    m_output += m_process.readAll();
    return QString::fromUtf8(m_output);
}
