#pragma once
// The note tile: a small borderless window at the bottom right of the
// screen that shows one alert line in the user's colours for four seconds,
// then rolls up and unloads itself. A click on it brings the frame back
// from the tray. It never takes the keyboard focus from what the user is
// typing in elsewhere.

#include "core/Form.h"

class QLabel;
class QTimer;

class frm_note : public Form {
    Q_OBJECT
public:
    // The tile's size in twips, and the roll-up: this many twips a tick.
    static constexpr int TileWidth = 1875;
    static constexpr int TileHeight = 1170;
    static constexpr int RollUpStep = 10;
    static constexpr int DisplayMs = 4000;
    static constexpr int RollUpMs = 15;

    explicit frm_note(Program& program);

    // Runs once, when the first alert makes the tile: shown, on top, in
    // the screen's corner, while the frame is in the tray in buddy mode and
    // connected; otherwise it stays hidden and still goes after its times.
    void Form_Load();
    // Shows `message` (plain text); `fcol` and `bcol` are palette indexes of
    // the text and background colours, a negative one keeps that colour.
    // The display time starts again; a roll-up under way stops where it is.
    void go(const QString& message, int fcol, int bcol);

    QLabel* Label1 = nullptr;
    // The display time, and the roll-up's tick.
    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;

    void Timer1_Timer();
    void Timer2_Timer();
    void Label1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Places the tile in twips; its height is kept in twips, as the roll-up
    // takes less than a pixel a tick.
    void place(int left, int top, int width, int height);

    int m_height = TileHeight;
};
