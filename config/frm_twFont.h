#pragma once
// The font chooser: the screen fonts with an example text. It stores
// nothing; the face confirmed with "&Select" is left in `Program::PickedFont`.
// One instance at a time, built on first use and unloaded when it closes, so
// each use reads the font list again.

#include "core/Form.h"

class QComboBox;
class QLabel;
class QPushButton;

class frm_twFont : public Form {
    Q_OBJECT
public:
    explicit frm_twFont(Program& program);

    // Selects the last entry whose text equals `name` without regard to
    // letter case (no trimming); with none the selection stays.
    void ChooseFont(const QString& name);
    // "&Select": the selected entry becomes the pick, and the chooser closes.
    void Command1_Click();

    QComboBox* Combo1 = nullptr;
    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;

Q_SIGNALS:
    // The user confirmed a face with "&Select".
    void selected();

private:
    void Combo1_Click();
};
