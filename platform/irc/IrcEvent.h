#pragma once
// What one server line means to the control: the event to raise and its
// arguments, in the order the event takes them.

#include <QMetaType>
#include <QObject>
#include <QStringList>

namespace platform {

struct IrcEvent {
    Q_GADGET
public:
    enum class Kind {
        Welcome,          // server, text
        MotdReceived,     // server, text (the MOTD lines joined by CR LF)
        NamesReply,       // channel, names
        IsonReply,        // own nick, online nicks (single blanks between them)
        ServerReply,      // prefix, command, target, subject; params holds the rest
        WhoReply,         // channel, user, host, nick, server, real name
        ServerNotice,     // text
        ServerError,      // text
        ServerPing,       // server
        CtcpRequest,      // from mask, target, command, params
        CtcpReply,        // from (nick), target, command, params
        NickChanged,      // old mask, new nick
        UserJoined,       // mask, channel
        UserParted,       // mask, channel
        UserKicked,       // by mask, channel, kicked nick, reason
        UserQuit,         // mask, reason
        ModeChanged,      // by mask, target, modes
        NoticeReceived,   // from mask, target, text
        ChannelMessage,   // from mask, channel, text
        PrivateMessage,   // from mask, text
        TopicChanged,     // by mask, channel, topic
        ChannelModeReply, // channel, modes
        UserModeReply,    // modes
        TopicReply,       // channel, topic
        TopicSetByReply,  // channel, set by, set at
    };
    Q_ENUM(Kind)

    // How many strings args holds for each kind.
    static constexpr int argumentCount(Kind kind) {
        switch (kind) {
        case Kind::ServerNotice:
        case Kind::ServerError:
        case Kind::ServerPing:
        case Kind::UserModeReply:
            return 1;
        case Kind::ModeChanged:
        case Kind::NoticeReceived:
        case Kind::ChannelMessage:
        case Kind::TopicChanged:
        case Kind::TopicSetByReply:
            return 3;
        case Kind::ServerReply:
        case Kind::CtcpRequest:
        case Kind::CtcpReply:
        case Kind::UserKicked:
            return 4;
        case Kind::WhoReply:
            return 6;
        default:
            return 2;
        }
    }

    // The arguments, as bits by index, that must not be empty: the channel,
    // nick or target an event acts on, and the mask of the user who acts where
    // the event is about that user. A line without them raises nothing.
    static constexpr unsigned requiredArguments(Kind kind) {
        switch (kind) {
        case Kind::NamesReply:
        case Kind::ChannelModeReply:
        case Kind::TopicReply:
        case Kind::TopicSetByReply:
        case Kind::UserQuit:
        case Kind::PrivateMessage:
            return 0b1;
        case Kind::ModeChanged:
        case Kind::TopicChanged:
            return 0b10;
        case Kind::NickChanged:
        case Kind::UserJoined:
        case Kind::UserParted:
        case Kind::NoticeReceived:
        case Kind::ChannelMessage:
            return 0b11;
        case Kind::CtcpRequest:
        case Kind::CtcpReply:
            return 0b111;
        case Kind::UserKicked:
            return 0b110;
        case Kind::WhoReply:
            return 0b1001;
        default:
            return 0;
        }
    }

    // Whether the event has the right number of arguments, none of its
    // required ones empty.
    bool isComplete() const {
        if (args.size() != argumentCount(kind))
            return false;
        const unsigned required = requiredArguments(kind);
        for (qsizetype i = 0; i < args.size(); ++i) {
            if ((required >> i & 1U) != 0 && args[i].isEmpty())
                return false;
        }
        return true;
    }

    Kind kind = Kind::ServerReply;
    QStringList args;
    // ServerReply only: the parameters between the target and the subject.
    QStringList params;
};

} // namespace platform
