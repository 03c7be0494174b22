#pragma once
// The frame styles of one form, read and changed bit by bit, with caption
// dragging and a right-click system menu on the form. A style assignment
// with no form bound does nothing; a change counts when the word read back
// is the word written.

#include "platform/window/Window.h"

#include <QObject>
#include <QPointer>

class QWidget;

class CWindowStyle : public QObject {
public:
    CWindowStyle() = default;
    ~CWindowStyle() override;

    // A left-button press on the form moves it as a drag on its caption would.
    bool AutoDrag() const { return m_autoDrag; }
    void setAutoDrag(bool on) { m_autoDrag = on; }
    // A right-button release on the form shows its system menu at the cursor.
    bool AutoSysMenu() const { return m_autoSysMenu; }
    void setAutoSysMenu(bool on) { m_autoSysMenu = on; }
    // The form, with its mouse events; nullptr unbinds.
    QWidget* Client() const { return m_client; }
    void setClient(QWidget* form);

    bool ControlBox() const;
    void setControlBox(bool on);
    bool MaxButton() const;
    void setMaxButton(bool on);
    bool MinButton() const;
    void setMinButton(bool on);
    bool Sizable() const;
    void setSizable(bool on);
    // True when either caption bit is set; False clears both.
    bool Titlebar() const;
    void setTitlebar(bool on);
    bool ToolWindow() const;
    void setToolWindow(bool on);
    bool WhatsThisButton() const;
    void setWhatsThisButton(bool on);
    bool TopMost() const;
    void setTopMost(bool on);

    platform::HWND hWnd() const { return m_hwnd; }
    // Has a changed frame redrawn.
    void pRedraw();
    // Opens the system menu at a screen position.
    void ShowSysMenu(int x, int y);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static qint32 MakeLong(qint32 hi, qint32 lo);
    bool SetStyleBit(qint64 mask, bool on);
    bool SetExStyleBit(qint64 mask, bool on);
    bool setBit(int index, qint64 mask, bool on);
    qint64 word(int index) const;

    QPointer<QWidget> m_client;
    platform::HWND m_hwnd = 0;
    bool m_autoDrag = false;
    bool m_autoSysMenu = false;
};
