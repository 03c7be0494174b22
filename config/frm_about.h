#pragma once
// The about box: the program's name, version and description, shown
// modally over the main frame.

#include "core/Form.h"

class QLabel;
class QPushButton;
struct ProgramVersion;

class frm_about : public Form {
    Q_OBJECT
public:
    explicit frm_about(Program& program);

    // "Parlone v" and the version, the minor number and the revision written
    // side by side ("Parlone v0.34" for 0, 3, 4), then CR LF and the
    // program's description.
    static QString VersionText(const ProgramVersion& version);

    // "OK": unloads the box.
    void Command1_Click();

    QLabel* Label1 = nullptr;
    QPushButton* Command1 = nullptr;
};
