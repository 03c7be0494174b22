#pragma once
// The colour chooser: the 16 palette colours as swatches. It stores nothing;
// the swatch marked last is left in `Program::PickedColorIndex`. One
// instance at a time, built on first use and unloaded when it closes, so
// each use shows the palette of that moment.

#include "core/Form.h"

#include <array>

class QLabel;
class QPushButton;

class frm_twColor : public Form {
    Q_OBJECT
public:
    explicit frm_twColor(Program& program);

    // Marks swatch `index` as a click does, without counting as the user's
    // choice; an index outside 0 to 15 does nothing.
    void selcol(int index);
    // A click on swatch `index`: marks it.
    void cbox_Click(int index);
    // "&Choose": closes the chooser, as its close box does.
    void Command1_Click();

    // The swatches, the larger box showing the marked colour, the "Color
    // chosen: " label and the button.
    std::array<QLabel*, 16> cbox{};
    QLabel* Picture1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;

Q_SIGNALS:
    // The user chose: clicked a swatch.
    void chosen();

private:
    void mark(int index);
};
