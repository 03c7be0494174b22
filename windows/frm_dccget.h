#pragma once
// The progress dialog of one received file. The transfer that made it
// writes its progress and its end texts; the dialog's button closes that
// transfer (a running one is cancelled, its partial file kept) and then the
// dialog. The dialog owns its switchbar panel.

#include "core/Form.h"
#include "core/PanelOwner.h"

#include <QPointer>

class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace platform {
class SwitchBarPanel;
}

class frm_dccget : public Form, public PanelOwner {
    Q_OBJECT
public:
    explicit frm_dccget(Program& program);
    ~frm_dccget() override;

    // "Saving file " & the path.
    QLabel* lbl_file = nullptr;
    QLabel* Label2 = nullptr;
    // The progress text, then the end texts; set through setProgressText.
    QLabel* Label1 = nullptr;
    QProgressBar* ProgressBar1 = nullptr;
    // Hidden: the size as the offer gave it.
    QLabel* TMP = nullptr;
    // "Cancel" until the file is complete, then "Clo&se".
    QPushButton* Command1 = nullptr;
    // Shown, and nothing acts on it: opening a received file by itself
    // would be unsafe.
    QCheckBox* Check1 = nullptr;

    // Sets the progress text (received & " of " & size, or an end text).
    // A text whose third word equals its first marks the file complete.
    void setProgressText(const QString& text);

    platform::SwitchBarPanel* ownPanel() const override { return m_panel; }
    void setOwnPanel(platform::SwitchBarPanel* panel) { m_panel = panel; }

    // Closed from the title bar or by the button (UnloadMode 0): the panel
    // goes and the dialog unloads. The program's end (other modes) leaves
    // both to the exit.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;

Q_SIGNALS:
    // The button was pressed: the transfer closes, then the dialog.
    void closeRequested();

private:
    void Label1_Change();
    void Command1_Click();

    QPointer<platform::SwitchBarPanel> m_panel;
};
