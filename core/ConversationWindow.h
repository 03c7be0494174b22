#pragma once
// What a conversation window (channel, query, DCC chat) offers to the rest of
// the program: showing one line. Code that holds a window asks for this
// interface; a window that lacks it has no line display of its own, and its
// lines go to the server window instead.

#include <QString>

class ConversationWindow {
public:
    virtual ~ConversationWindow() = default;
    // Shows one line with the optional timestamp and the colour (an RGB
    // number as decimal text; "" is the window's own text colour). A text
    // that is empty after trimming shows nothing.
    virtual void disp(const QString& txt, bool timestamp = false,
                      const QString& col = QString()) = 0;
};

// What a channel window offers beyond showing lines: its nick list, kept in
// step with the channel by the frame's event handlers, and its caption, which
// shows the channel, the number of nicks and the topic.
//
// Entries of the nick list are nicks with their status prefixes as the
// server gives them ("@op", "+voice", "~owner"). A nick matches an entry when
// it equals the entry without its leading status prefixes, in any case.
class ChannelWindow : public ConversationWindow {
public:
    // Adds each word of a blank-separated list as an entry, prefixes
    // included; no duplicate test.
    virtual void AddNames(const QString& names) = 0;
    // Removes every entry that matches the nick.
    virtual void RemoveName(const QString& name) = 0;
    // Empties the nick list, for a names list that starts afresh.
    virtual void ClearNames() = 0;
    virtual bool IsONChan(const QString& name) const = 0;
    // The status prefixes of the first entry that matches the nick; "" for a
    // bare entry and for a nick that is not listed.
    virtual QString UserChanStat(const QString& name) const = 0;
    // Applies one operator or voice change ("+o", "-o", "+v", "-v", in any
    // case) to the nick's entry; anything else changes nothing.
    virtual void DoMode(const QString& action, const QString& user) = 0;
    // The number of entries.
    virtual int ListCount() const = 0;
    // Sets the caption to the tag, the number of entries in brackets and
    // the topic.
    virtual void UpdateNicksTotal() = 0;
    // Keeps the topic the caption shows after the count, and shows it.
    virtual void setTopic(const QString& topic) = 0;
};
