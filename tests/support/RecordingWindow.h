#pragma once
// Conversation windows that record the lines they are given, each as its
// text, followed by " {colour}" when a colour came with it: one that is no
// channel (a query's stand-in) and one that is a channel window by its class,
// with a plain list of nick-list entries.

#include "core/ConversationWindow.h"
#include "core/Form.h"

#include <QStringList>

// The lines a recording window was given.
class LineRecord {
public:
    virtual ~LineRecord() = default;
    QStringList lines;

protected:
    void record(const QString& txt, const QString& col) {
        lines << (col.isEmpty() ? txt : txt + QStringLiteral(" {") + col + u'}');
    }
};

// The nick-list operations of a channel window over a plain list of entries
// (a nick matches the entry that equals it), for windows that stand for a
// channel in tests of code that only needs one.
class StubChannelOps : public ChannelWindow {
public:
    void AddNames(const QString& names) override {
        m_names << names.split(u' ', Qt::SkipEmptyParts);
    }
    void RemoveName(const QString& name) override { m_names.removeAll(name); }
    void ClearNames() override { m_names.clear(); }
    bool IsONChan(const QString& name) const override { return m_names.contains(name); }
    QString UserChanStat(const QString&) const override { return {}; }
    void DoMode(const QString&, const QString&) override {}
    int ListCount() const override { return static_cast<int>(m_names.size()); }
    void UpdateNicksTotal() override {}
    void setTopic(const QString&) override {}

private:
    QStringList m_names;
};

class RecordingWindow : public Form, public ConversationWindow, public LineRecord {
public:
    RecordingWindow(Program& program, const QString& tag) : Form(program, Kind::MdiChild, tag) {}
    void disp(const QString& txt, bool timestamp, const QString& col) override {
        Q_UNUSED(timestamp);
        record(txt, col);
    }
};

class RecordingChannel : public Form, public StubChannelOps, public LineRecord {
public:
    RecordingChannel(Program& program, const QString& tag) : Form(program, Kind::MdiChild, tag) {}
    void disp(const QString& txt, bool timestamp, const QString& col) override {
        Q_UNUSED(timestamp);
        record(txt, col);
    }
};
