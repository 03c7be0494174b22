#pragma once
// An IRC control connected to a scripted loopback peer, and exactly what an
// action puts on the wire: the lines that arrive before a marker line that is
// sent after the action.

#include "tests/support/IrcScriptedPeer.h"

#include <QByteArrayList>

#include <functional>

namespace platform {
class Yarv;
}

class PeerWire {
public:
    // Connects `irc` to a new peer, flood control off. Check connected().
    explicit PeerWire(platform::Yarv& irc);

    bool connected() const { return m_connected; }
    IrcScriptedPeer& peer() { return m_peer; }
    // The lines that arrived after the connection was made, without what
    // went out as it connected (a frame logs in) and without the first marker.
    QByteArrayList lines() const { return m_peer.lines().mid(m_settled); }

    // The lines the action sent; "(the marker never arrived)" is appended
    // when the connection did not carry the marker.
    QByteArrayList sentBy(const std::function<void()>& action);

private:
    platform::Yarv& m_irc;
    IrcScriptedPeer m_peer;
    bool m_connected = false;
    int m_markers = 0;
    qsizetype m_settled = 0;
};
