#pragma once
// A child window that records each call of its close handler and stays
// open, for the callers that close a window through it (switchbar, menus).
// Header-only: it needs the client library, which the support library does
// not link.

#include "core/Form.h"
#include "tests/support/RecordingWindow.h"

#include <QList>

class RecordingForm : public Form {
public:
    RecordingForm(Program& program, const QString& tag) : Form(program, Kind::MdiChild, tag) {}
    void Form_QueryUnload(int& Cancel, int UnloadMode) override {
        Q_UNUSED(Cancel);
        closes << UnloadMode;
    }
    // The UnloadMode of every call, in order.
    QList<int> closes;
};

// The same, standing for a channel window (by its class); it shows nothing.
class RecordingChannelForm : public RecordingForm, public StubChannelOps {
public:
    using RecordingForm::RecordingForm;
    void disp(const QString&, bool, const QString&) override {}
};
