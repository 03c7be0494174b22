#include "tests/support/PeerWire.h"

#include "platform/irc/Yarv.h"

#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QtTest>

PeerWire::PeerWire(platform::Yarv& irc) : m_irc(irc) {
    m_irc.setFloodControl(false);
    QSignalSpy opened(&m_irc, &platform::Yarv::SocketConnected);
    m_irc.OpenConnection(m_peer.host(), m_peer.port());
    m_connected = opened.wait(5000) && m_peer.waitForClient();
    // What went out as the socket connected (the frame's login) is not the
    // first action's.
    m_connected = m_connected && !sentBy([] {}).contains("(the marker never arrived)");
    m_settled = m_peer.lines().size();
}

QByteArrayList PeerWire::sentBy(const std::function<void()>& action) {
    const qsizetype before = m_peer.lines().size();
    action();
    const QByteArray marker = "MARK " + QByteArray::number(++m_markers);
    m_irc.SendCommand(QString::fromLatin1(marker));
    const QDeadlineTimer deadline(5000);
    while (!m_peer.lines().mid(before).contains(marker) && !deadline.hasExpired())
        QTest::qWait(5);
    QByteArrayList lines = m_peer.lines().mid(before);
    if (lines.isEmpty() || lines.constLast() != marker)
        return lines << "(the marker never arrived)";
    lines.removeLast();
    return lines;
}
