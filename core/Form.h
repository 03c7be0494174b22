#pragma once
// The base of every window of the program: a widget with a window handle, a
// tag, a caption, a window state and twips geometry. A form is either a child
// inside the main frame's MDI area or a top-level window. Forms register with
// the program's list of open windows in load order and leave it when they are
// unloaded (destroyed).

#include "platform/window/Window.h"

#include <QMdiSubWindow>
#include <QPointer>
#include <QWidget>

class Program;

class Form : public QWidget {
    Q_OBJECT
public:
    enum class Kind { MdiChild, TopLevel, Dialog };
    // Window states: normal, minimised, maximised.
    enum State { vbNormal = 0, vbMinimized = 1, vbMaximized = 2 };
    // Why a form is asked to close: the user's close box or menu, the
    // program's own code, the session ending, the task manager, the frame
    // closing its children.
    enum QueryUnloadMode {
        vbFormControlMenu = 0,
        vbFormCode = 1,
        vbAppWindows = 2,
        vbAppTaskManager = 3,
        vbFormMDIForm = 4
    };

    Form(Program& program, Kind kind, const QString& tag = QString());
    ~Form() override;

    Program& program() const { return m_program; }
    Kind kind() const { return m_kind; }
    platform::HWND hwnd() const { return m_hwnd; }

    QString Tag() const { return m_tag; }
    void setTag(const QString& tag) { m_tag = tag; }
    QString Caption() const;
    void setCaption(const QString& caption);

    // Unloads the form: it leaves the open windows and the screen at once and
    // is destroyed when control returns to the event loop, so a handler of
    // the form itself can unload it.
    void Unload();

    // The close handler every close request reaches first: the close box
    // (UnloadMode 0), and callers that close a window by name with (0, 0).
    // It closes the window with its side effects; setting Cancel keeps the
    // window open. The default unloads the form.
    virtual void Form_QueryUnload(int& Cancel, int UnloadMode);
    // Asks the form to close as the close box does: the handler runs, and
    // unless it cancelled, a form it left open is unloaded.
    void requestClose(int unloadMode = vbFormControlMenu);

    // Shows the form (an MDI child goes into the main frame first) and
    // activates it.
    virtual void Show();
    void Hide();
    bool Visible() const;
    // Brings the form to the front.
    void ZOrder();
    int WindowState() const;
    void setWindowState(int state);
    // Position and size in twips; -1 keeps a value.
    void Move(int left, int top = -1, int width = -1, int height = -1);
    int Left() const;
    int Top() const;
    int Width() const;
    int Height() const;

    // The widget that is the window on screen: the MDI sub-window for a child,
    // the form itself otherwise.
    QWidget* windowWidget() const;
    QMdiSubWindow* subWindow() const { return qobject_cast<QMdiSubWindow*>(m_subWindow.data()); }

protected:
    // A close request from the window system goes through requestClose; Qt
    // itself never hides or destroys a form.
    void closeEvent(QCloseEvent* event) override;

    // The MDI area the child goes into; asked on the first Show.
    virtual void attachToFrame();
    // Where a child first appears in the frame, until its own geometry is
    // applied: (100, 100) twips with 85 % of the frame's width and 75 % of
    // its height, in the MDI area's coordinates.
    QRect firstPlaceInFrame() const;

private:
    Program& m_program;
    Kind m_kind;
    QString m_tag;
    platform::HWND m_hwnd = 0;
    // Held as a plain widget pointer: the sub-window may be part-destroyed
    // when it takes the form down with it.
    QPointer<QWidget> m_subWindow;
};
