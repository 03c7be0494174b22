#pragma once
// How a child window of the frame keeps a usable place, shared by the
// conversation windows and the tool windows (channel list, notify list):
//
// - the frame rescue: a normal window that comes within 100 twips of the
//   frame's width or 660 of its height is put at (100, 100) with 85 % of the
//   frame's width and 75 % of its height;
// - on activation, a window that is not maximised and narrower or lower than
//   200 twips goes to (100, 100) with the server window's size less 200;
// - a minimised window hides and shows the window of a neighbouring
//   switchbar panel.
//
// Qt activates a child again on its way to minimised and shows it again at
// the end of minimising it; the helper leaves out that activation and hides
// the window once Qt is done.
//
// It also remembers where the window last stood in the normal state, which
// Qt keeps to itself for a minimised or maximised child, so that a window
// minimised at exit can be saved at a place it can come back to.

#include <QObject>
#include <QRect>

#include <functional>

class Form;

class FramePlacement : public QObject {
    Q_OBJECT
public:
    // Which switchbar panel's window is shown when the form is minimised,
    // given the form's own panel (0: it has none); 0 shows nothing.
    using HandOverPanel = std::function<int(int ownPanel)>;

    explicit FramePlacement(Form& form);

    // The panel just before the form's own; none when it has no panel.
    static int panelBefore(int ownPanel);
    void setHandOverPanel(HandOverPanel step) { m_handOverPanel = std::move(step); }

    // Once the form is in the frame: every change of its size, or of its
    // minimised or maximised state, calls `resized`; its becoming the active
    // child calls `activated`, except while it is minimised.
    void watch(std::function<void()> activated, std::function<void()> resized);

    // The activation rule for a window shrunk below 200 twips.
    void rescueSmall();
    // The window's geometry (its sub-window's, in pixels) when it was last
    // in the normal state: the current one while it is.
    QRect lastNormalGeometry() const;
    // The resize rules: minimised, the hand-over (queued until Qt has
    // finished minimising); normal, the frame rescue. Then, unless
    // minimised, `layOut` places the controls. Placing the window raises
    // its resize again; that inner call does nothing.
    void resize(const std::function<void()>& layOut);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void hideMinimised();
    void handOver();
    void noteNormalGeometry();
    // The main frame the form is a child of; nullptr before it is shown.
    const QWidget* frameWindow() const;

    Form& m_form;
    HandOverPanel m_handOverPanel = &FramePlacement::panelBefore;
    std::function<void()> m_resized;
    QRect m_normalGeometry;
    bool m_inResize = false;
    bool m_handOverQueued = false;
};
