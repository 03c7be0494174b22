#include "ident/IdentConnection.h"

#include "ident/IdentReply.h"

#include <QTcpSocket>
#include <QTimer>

IdentConnection::IdentConnection(QTcpSocket* socket, int queryTimeoutMs, Answer answer,
                                 QObject* parent)
    : QObject(parent), m_socket(socket), m_limit(new QTimer(this)), m_answer(std::move(answer)) {
    m_socket->setParent(this);
    // The whole query has this long from the connection on, however it trickles in.
    m_limit->setSingleShot(true);
    m_limit->setInterval(queryTimeoutMs);
    connect(m_limit, &QTimer::timeout, this, &IdentConnection::close);
    connect(m_socket, &QTcpSocket::readyRead, this, &IdentConnection::readQuery);
    connect(m_socket, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    m_limit->start();
    if (m_socket->state() != QAbstractSocket::ConnectedState)
        close(); // gone before it was taken up
    else
        readQuery(); // what arrived with the connection
}

void IdentConnection::close() {
    m_socket->abort();
    deleteLater();
}

void IdentConnection::readQuery() {
    if (m_answered) {
        m_socket->readAll(); // one query per connection; the rest is dropped
        return;
    }
    m_pending += m_socket->readAll();
    const qsizetype lf = m_pending.indexOf('\n');
    QByteArray line = lf < 0 ? m_pending : m_pending.first(lf);
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.size() > IdentReply::MaxLineBytes) {
        close();
        return;
    }
    if (lf < 0)
        return;
    m_answered = true;
    m_pending.clear();
    m_socket->write(m_answer(line));
    m_socket->disconnectFromHost();
}
