#pragma once
// The frame's own items of its system menu: "Always on top" (100) keeps the
// frame above other windows, "Minimise to tray" (111) makes the next minimise
// go into the tray. Each pick toggles the item's check mark, the setting
// (MAINFORM_ONTOP "TRUE"/"FALSE", USE_TRAY "1"/"0", stored as they are) and
// the setup dialog's box, whose own handling applies the setting once more.

#include <QObject>

class Program;

class FrameSystemMenu : public QObject {
    Q_OBJECT
public:
    static constexpr int IDM_ONTOP = 100;
    static constexpr int IDM_TRAY = 111;

    FrameSystemMenu(Program& program, QObject* parent = nullptr);

    // An item of the frame's system menu was chosen; other identifiers do
    // nothing.
    void Sysdeck1_UserSysClick(int identifier);

private:
    Program& m_program;
};
