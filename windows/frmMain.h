#pragma once
// The toast: a small window with two lines over a picture that slides up
// at the bottom right of the work area with a sound, optionally
// translucent, and slides away after five seconds or on a click. A click
// on its first line only shows the frame. It never takes the keyboard
// focus from what the user is typing in elsewhere.

#include "core/Form.h"
#include "platform/window/Desktop.h"

#include <memory>

class CWindowStyle;
class QLabel;
class QTimer;

class frmMain : public Form {
    Q_OBJECT
public:
    static constexpr int ShowMs = 5000;
    static constexpr int SlideMs = 500;

    explicit frmMain(Program& program);
    ~frmMain() override;

    // The work area in twips, from the work area in pixels.
    static platform::RECT WorkAreaTwips(const platform::RECT& pixels, int twipsPerPixelX,
                                        int twipsPerPixelY);
    // The toast's size for a work area (twips): an eighth of its width by a
    // seventh of its height.
    static QSize ToastSize(const platform::RECT& work);
    // Where a toast of `size` goes: on the work area's bottom edge, 200 twips
    // in from its right edge.
    static QPoint ToastTopLeft(const platform::RECT& work, const QSize& size);

    // Runs once, when the first alert makes the toast: translucency, the
    // look, the place, the sound and the slide into view.
    void Form_Load();
    // Replaces the two lines (plain text); nothing else.
    void go(const QString& intxt, const QString& intxt2);
    // Slides the toast away; it unloads when it is out of view.
    void Form_Unload();
    // True from the start of the slide away: the next alert makes a new toast.
    bool leaving() const { return m_leaving; }

    // The message, and the kind of alert.
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Image1 = nullptr;
    QTimer* tmrUnload = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Places the toast in twips, at a fixed size: it has no frame to be
    // sized by.
    void place(int left, int top, int width, int height);

    int m_twipsPerPixelX = 15;
    int m_twipsPerPixelY = 15;
    std::unique_ptr<CWindowStyle> m_style;
    bool m_leaving = false;
};
