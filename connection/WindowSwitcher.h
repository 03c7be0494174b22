#pragma once
// The switchbar's handlers: a click on a panel brings its window forward,
// Shift with the left button closes it, the right button opens a menu of
// window commands in the frame's popup menu; a double click moves the bar
// between the bottom and the top of the frame. A pick from the popup menu
// (switchbar or tray) runs its item name as a typed line.

#include <QObject>

class Program;
class frm_main;

class WindowSwitcher : public QObject {
    Q_OBJECT
public:
    WindowSwitcher(Program& program, frm_main& frame);

    // Keeps the button (1 left, 2 right) and the shift state (1 Shift, 2
    // Ctrl, 4 Alt) of the last press on the bar.
    void StatusBar1_MouseDown(int Button, int Shift, float X, float Y);
    void StatusBar1_PanelClick(int index);
    void StatusBar1_DblClick();
    void AGPopUp1_MenuItemClick(const QString& ItemName);

    int lastButton() const { return m_button; }
    int lastShift() const { return m_shift; }

private:
    // The window of panel `index`, found as WindowOfPanel finds it.
    void closeWindow(int index);
    void bringForward(int index);
    void showWindowMenu(const QString& text);

    Program& m_p;
    frm_main& m_frame;
    int m_button = 0;
    int m_shift = 0;
};
