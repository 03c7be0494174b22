#pragma once
// The server window: the one window for server messages and the program's
// own output, a child of the main frame, kept for the whole run. Its lines
// are written by ServerEcho; it has no line display of its own. Typed lines
// run as commands, plain text goes nowhere. It keeps its place in
// server.win, and its close box only saves that place until the program
// ends.

#include "windows/ConversationForm.h"

class frm_server : public ConversationForm {
    Q_OBJECT
public:
    explicit frm_server(Program& program);

    // Applies one record of server.win; a window saved in another state than
    // normal keeps a normal place of its own.
    void FSet(const QString& key, const QString& value);
    // Writes server.win and stays open, unless the program is ending.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

protected:
    void commandlineEnter() override;
    void Form_Activate() override;
    void consoleMouseDown(int button) override;
    void consoleMouseUp(int button) override;
    int handOverPanel(int ownPanel) const override;
    void attachToFrame() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void copyAndReturn();
};
