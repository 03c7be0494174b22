#pragma once
// Records every event a Yarv raises, in order, as "Event(arg|arg|...)" with a
// list argument written as [a,b]. Tests compare whole sequences with it.

#include "platform/irc/Yarv.h"

#include <QObject>
#include <QStringList>

class YarvEventLog : public QObject {
public:
    explicit YarvEventLog(platform::Yarv* yarv) {
        using platform::Yarv;
        track(yarv, &Yarv::Disconnected, "Disconnected");
        track(yarv, &Yarv::SocketError, "SocketError");
        track(yarv, &Yarv::NickChanged, "NickChanged");
        track(yarv, &Yarv::IsonReply, "IsonReply");
        track(yarv, &Yarv::MotdReceived, "MotdReceived");
        track(yarv, &Yarv::CtcpReply, "CtcpReply");
        track(yarv, &Yarv::CtcpRequest, "CtcpRequest");
        track(yarv, &Yarv::SocketConnected, "SocketConnected");
        track(yarv, &Yarv::ServerReply, "ServerReply");
        track(yarv, &Yarv::ServerPing, "ServerPing");
        track(yarv, &Yarv::ServerNotice, "ServerNotice");
        track(yarv, &Yarv::ServerError, "ServerError");
        track(yarv, &Yarv::UserJoined, "UserJoined");
        track(yarv, &Yarv::UserParted, "UserParted");
        track(yarv, &Yarv::UserKicked, "UserKicked");
        track(yarv, &Yarv::ModeChanged, "ModeChanged");
        track(yarv, &Yarv::NoticeReceived, "NoticeReceived");
        track(yarv, &Yarv::ChannelMessage, "ChannelMessage");
        track(yarv, &Yarv::PrivateMessage, "PrivateMessage");
        track(yarv, &Yarv::UserQuit, "UserQuit");
        track(yarv, &Yarv::TopicChanged, "TopicChanged");
        track(yarv, &Yarv::Welcome, "Welcome");
        track(yarv, &Yarv::NamesReply, "NamesReply");
        track(yarv, &Yarv::ChannelModeReply, "ChannelModeReply");
        track(yarv, &Yarv::UserModeReply, "UserModeReply");
        track(yarv, &Yarv::TopicReply, "TopicReply");
        track(yarv, &Yarv::TopicSetByReply, "TopicSetByReply");
        track(yarv, &Yarv::WhoReply, "WhoReply");
    }

    QStringList entries;

    // The entries of one event, in order.
    QStringList of(const QString& event) const {
        QStringList out;
        const QString prefix = event + u'(';
        for (const QString& e : entries) {
            if (e.startsWith(prefix))
                out.append(e);
        }
        return out;
    }
    int count(const QString& event) const { return int(of(event).size()); }
    // The first entry of the event that contains text, or "".
    QString find(const QString& event, const QString& text) const {
        for (const QString& e : of(event)) {
            if (e.contains(text))
                return e;
        }
        return {};
    }
    bool contains(const QString& entry) const { return entries.contains(entry); }
    void clear() { entries.clear(); }

private:
    static QString text(const QString& s) { return s; }
    static QString text(const QStringList& l) { return u'[' + l.join(u',') + u']'; }
    static QString text(qint64 n) { return QString::number(n); }
    static QString text(bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); }
    static QString text(qint16 n) { return QString::number(n); }
    static QString text(qint32 n) { return QString::number(n); }

    template <typename... Args>
    void track(platform::Yarv* yarv, void (platform::Yarv::*signal)(Args...), const char* name) {
        QObject::connect(yarv, signal, this, [this, name](Args... args) {
            QStringList parts{text(args)...};
            entries.append(QString::fromLatin1(name) + u'(' + parts.join(u'|') + u')');
        });
    }
};
