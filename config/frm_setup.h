#pragma once
// The setup dialog: every option of the client on four tabs, each change
// written at once, and the server list. One instance, hidden rather than
// closed while the program runs. The settings accessor keeps its controls in
// step with the settings record.

#include "core/Form.h"

#include <QHash>

#include <array>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTextEdit;
namespace platform {
class FileListBox;
}

class frm_setup : public Form {
    Q_OBJECT
public:
    explicit frm_setup(Program& program);

    // Closing hides the dialog and brings the main frame to the front, unless
    // the program is ending: then the dialog closes.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    // Shows the dialog above the main frame; asked for while it is shown, it
    // is mapped again should the window manager have lost it.
    void Show() override;

    // Copies the selected server entry into the server settings and labels.
    void List1_Click();
    // The server buttons: "Top ", "Bottom", "Random", "Add", "Delete",
    // "Connect to the selected server!", and "Load", "Save", "Aquire" of the
    // server list. Top, Bottom and Random do nothing on an empty list, Delete
    // nothing without a selection.
    void Command1_Click();
    void Command8_Click();
    void Command7_Click();
    void btn_server_add_Click();
    void btn_server_delete_Click();
    void Command2_Click();
    void Command6_Click();
    void Command5_Click();
    void Command4_Click();
    // A double click on the server box connects to the selected server; the
    // dialog stays open on its first tab.
    void List1_DblClick();
    // Bring the appearance page of query, server and channel windows into
    // line with the stored settings of that kind.
    void UpdateSetupQuery();
    void UpdateSetupServer();
    void UpdateSetupChan();

    // The appearance page (frm_setup_appearance.cpp): "&Save this" asks for
    // a name and saves the current look under it, "&Load" applies the
    // profile selected in `cb_app`, and a swatch of the "Pallette:" frame
    // shows a colour picked in the colour dialog, storing nothing.
    void btnSaveAppearance_Click();
    void btn_load_app_Click();
    void pic_col_Click(int index);
    // A preview or picker control of the appearance page by its design name,
    // such as "lbl_WIN_CHAN_JOINCOLOR", "pic_win_chan_list_backcolor" or
    // "sld_win_chan_list_fontsize"; nullptr when there is none.
    QWidget* appearanceControl(const QString& name) const { return m_appearance.value(name); }

    // Shows a check box's value: 0 clear, 2 greyed, any other value ticked.
    static void SetCheckValue(QCheckBox& box, double value);

    // The check box or text box of a design name, such as "chk_md(4)",
    // "Check1" or "profile(0)"; nullptr when the dialog has none.
    QCheckBox* checkBox(const QString& name) const { return m_checkBoxes.value(name); }
    QLineEdit* textBox(const QString& name) const { return m_textBoxes.value(name); }

    // "Random" picks the entry whose index this gives for the number of
    // entries: a whole number from 0 to below it, each equally likely.
    std::function<int(int count)> randomIndex;

    QTabWidget* SSTab1 = nullptr;

    // Connection
    QComboBox* List1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command7 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* btn_server_add = nullptr;
    QPushButton* btn_server_delete = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command6 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command4 = nullptr;
    QLabel* txt_si_name = nullptr;
    QLabel* txt_si_url = nullptr;
    QLabel* txt_si_port = nullptr;
    QLabel* txt_si_style = nullptr;
    // Nickname, alternate, user name, e-mail and real name.
    std::array<QLineEdit*, 5> profile{};

    // General
    QCheckBox* chk_prompt_swiz = nullptr;
    QCheckBox* chk_use_confirm_exit = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* chk_use_tray = nullptr;
    // The event filters, one per SHOW_ key.
    std::array<QCheckBox*, 20> chk_md{};
    QLineEdit* default_quit = nullptr;
    QCheckBox* chk_use_buddy = nullptr;
    QCheckBox* chk_USE_MSNTILE = nullptr;
    QCheckBox* chk_USE_MSNSOUND = nullptr;
    QCheckBox* chk_USE_MSN_TRANS = nullptr;
    QLineEdit* txt_dcc_get = nullptr;
    QLineEdit* txt_dcc_port = nullptr;

    // Appearance
    QTabWidget* SStab2 = nullptr;
    QCheckBox* chk_WIN_SERVER_TIMESTAMP = nullptr;
    QCheckBox* chk_WIN_SERVER_LOGGING = nullptr;
    QCheckBox* chk_win_Chan_timestamp = nullptr;
    QCheckBox* chk_win_Chan_logging = nullptr;
    QCheckBox* chk_query_timestamp = nullptr;
    QCheckBox* chk_query_logging = nullptr;
    // The "Colors" page's colour sets; these controls do nothing yet.
    std::array<QRadioButton*, 4> opt_values{};
    QListWidget* list_qbcolor = nullptr;
    QComboBox* cb_app = nullptr;
    platform::FileListBox* fl_app = nullptr;
    QPushButton* btn_load_app = nullptr;
    QPushButton* btnSaveAppearance = nullptr;
    // The "Pallette:" swatches of the "Colors" page.
    std::array<QLabel*, 16> pic_col{};

    // Event Options
    QTabWidget* SSTab3 = nullptr;
    QCheckBox* chk_use_startupini = nullptr;
    // The start-up script editor; while it is read-only (locked) its changes
    // are not saved.
    QTextEdit* start_command = nullptr;
    QCheckBox* chk_show_setup_startup = nullptr;
    QCheckBox* chk_useministart = nullptr;
    QCheckBox* chk_use_instantconnect = nullptr;
    QCheckBox* chk_use_reconnect = nullptr;
    QCheckBox* chk_use_autorejoin = nullptr;

protected:
    void hideEvent(QHideEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QCheckBox* addCheckBox(const QString& name, const QString& caption);
    QLineEdit* addTextBox(const QString& name);
    QPushButton* addButton(const QString& caption, void (frm_setup::*handler)());
    QWidget* connectionPage();
    QWidget* generalPage();
    QWidget* appearancePage();
    // The appearance page's parts (frm_setup_appearance.cpp).
    QWidget* appearanceKindPage(int kind);
    QWidget* colorsPage();
    QWidget* profilesFrame();
    void refreshAppearance(int kind);
    void pickColour(const QString& key);
    void pickFont(const QString& key, QLabel& label);
    QWidget* eventsPage();
    void connectOptions();
    // A text box's edit is done: the box lost the focus, Return was pressed
    // or the dialog went away.
    void textBoxDone(QLineEdit& box);
    // Keeps the dialog above the main frame, also when the frame stays on top:
    // it belongs to the frame's native window of now.
    void keepAboveFrame();
    void chk_use_startupini_Click();
    void start_command_Change();

    bool m_startupWriteFailed = false;
    // The main frame the dialog is kept above.
    QPointer<QWidget> m_frame;

    QHash<QString, QCheckBox*> m_checkBoxes;
    QHash<QString, QLineEdit*> m_textBoxes;
    QHash<QString, QWidget*> m_appearance;
};
