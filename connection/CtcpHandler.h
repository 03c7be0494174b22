#pragma once
// The frame's handlers of CTCP traffic from other users: requests (actions,
// DCC offers, PING, VERSION and the rest) and replies. Requests from a
// blocked nick are dropped unseen. PING and VERSION are answered within the
// reply limit; the echo in the server window shows every request all the
// same. DCC offers are checked, then put to the user.

#include "connection/CtcpReplyLimit.h"

#include <QObject>
#include <QString>

class DccOfferPrompts;
class Program;

namespace platform {
class Yarv;
}

class CtcpHandler : public QObject {
    Q_OBJECT
public:
    // Handles the events of `irc` from now on; accepted offers go to
    // `offers`.
    CtcpHandler(Program& program, platform::Yarv& irc, DccOfferPrompts& offers,
                QObject* parent = nullptr);

    void Yarv1_CtcpRequest(const QString& fromMask, const QString& target, const QString& command,
                           const QString& params);
    // With SHOW_CTCPREPLY reading as the number 1: the reply in the server
    // window.
    void Yarv1_CtcpReply(const QString& from, const QString& target, const QString& command,
                         const QString& params);

private:
    void action(const QString& fromMask, const QString& nick, const QString& target,
                const QString& params);
    bool mayReply();

    Program& m_program;
    platform::Yarv& m_irc;
    DccOfferPrompts& m_offers;
    CtcpReplyLimit m_limit;
};
