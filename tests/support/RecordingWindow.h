#pragma once
// A conversation window that records the lines it is given, each as its
// text, followed by " {colour}" when a colour came with it.

#include "core/ConversationWindow.h"
#include "core/Form.h"

#include <QStringList>

class RecordingWindow : public Form, public ConversationWindow {
public:
    RecordingWindow(Program& program, const QString& tag) : Form(program, Kind::MdiChild, tag) {}
    void disp(const QString& txt, bool timestamp, const QString& col) override {
        Q_UNUSED(timestamp);
        lines << (col.isEmpty() ? txt : txt + QStringLiteral(" {") + col + u'}');
    }
    QStringList lines;
};
