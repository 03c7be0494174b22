#pragma once
// One ident client of the control: its query line is gathered until its LF,
// answered once, and the connection closed. A line that grows too long, or a
// client whose line has not ended within the time limit counted from its
// connection (a byte now and then does not extend it), is closed without a
// reply.

#include <QByteArray>
#include <QObject>

#include <functional>

class QTcpSocket;
class QTimer;

class IdentConnection : public QObject {
public:
    // The reply to one line (without its LF).
    using Answer = std::function<QByteArray(const QByteArray& line)>;

    // Takes `socket` over; the connection deletes itself once closed.
    IdentConnection(QTcpSocket* socket, int queryTimeoutMs, Answer answer, QObject* parent);

private:
    void readQuery();
    // Closes at once, without a reply.
    void close();

    QTcpSocket* m_socket;
    QTimer* m_limit;
    Answer m_answer;
    QByteArray m_pending;
    bool m_answered = false;
};
