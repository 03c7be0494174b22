#pragma once
// The setup dialog: every option of the client on four tabs. One instance,
// hidden rather than closed.

#include "core/Form.h"

class QComboBox;
class QLabel;
class QTabWidget;
class QTextEdit;
namespace platform {
class FileListBox;
}

class frm_setup : public Form {
    Q_OBJECT
public:
    explicit frm_setup(Program& program);

    // Copies the selected server entry into the server settings and labels.
    void List1_Click();

    QTabWidget* SSTab1 = nullptr;
    QComboBox* List1 = nullptr;
    QLabel* txt_si_name = nullptr;
    QLabel* txt_si_url = nullptr;
    QLabel* txt_si_port = nullptr;
    QLabel* txt_si_style = nullptr;
    QComboBox* cb_app = nullptr;
    platform::FileListBox* fl_app = nullptr;
    // The start-up script editor; while it is read-only (locked) its changes
    // are not saved.
    QTextEdit* start_command = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void start_command_Change();
};
