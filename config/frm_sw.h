#pragma once
// The setup walkthrough: a first-run guide through the few settings needed
// to connect, shown modally over the main frame. Six pages, reached only by
// their buttons: nickname, profile, server, interface, Buddy mode, and the
// finish, which connects or opens the setup dialog. Every value goes through
// the settings accessor as its page is left.

#include "core/Form.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

class frm_sw : public Form {
    Q_OBJECT
public:
    explicit frm_sw(Program& program);

    // Refills the server box from the setup dialog's server list, so that
    // its index names the entry it shows. Done at every opening; the first
    // one selects the second entry (the first when there is only one), later
    // ones keep the entry chosen before while the list still has it.
    void fillServers();

    // The page on view, 0 to 5.
    int page() const;

    // Page 0: "Next >" stores the nickname and the alternate that are not
    // empty; "Cancel" unloads the walkthrough, storing nothing.
    void Command1_Click();
    void Command2_Click();
    // "Tick here to disable walkthrough", ticked or cleared: the walkthrough
    // is not offered again, the settings are saved, and the frame and the
    // setup dialog take its place.
    void Check1_Click();
    // Page 1: "< Back", and "Next >" storing the profile boxes that are not
    // empty.
    void Command3_Click();
    void Command4_Click();
    // Page 2: "< Back", and "Next >" taking the server: a random entry or the
    // one in the box. Without a choice the page stays.
    void Command5_Click();
    void Command6_Click();
    // Page 3: "< Back", and "Next >" storing always on top, the tray and the
    // exit question.
    void Command10_Click();
    void Command9_Click();
    // Page 4: "< Back", and "Next >" storing the four Buddy mode options.
    void Command12_Click();
    void Command11_Click();
    // Page 5: "< Back", and "Next >" finishing: "I'm done.. let me chat!!"
    // hides the walkthrough and connects when "Connect Instantly." is ticked;
    // the advanced options hide it and show the setup dialog. Either way the
    // next opening starts on the profile page.
    void Command8_Click();
    void Command7_Click();
    void Option3_Click();
    void Option4_Click();

    // The pages; the tab strip is not shown.
    QTabWidget* SSTab1 = nullptr;

    QLineEdit* Text2 = nullptr;
    QLineEdit* Text5 = nullptr;
    QCheckBox* Check1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;

    QLineEdit* Text8 = nullptr;
    QLineEdit* Text6 = nullptr;
    QLineEdit* Text9 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;

    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    QComboBox* Combo1 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;

    QCheckBox* Check5 = nullptr;
    QCheckBox* Check6 = nullptr;
    QCheckBox* Check7 = nullptr;
    QPushButton* Command10 = nullptr;
    QPushButton* Command9 = nullptr;

    QCheckBox* Check10 = nullptr;
    QCheckBox* Check9 = nullptr;
    QCheckBox* Check11 = nullptr;
    QCheckBox* Check8 = nullptr;
    QPushButton* Command12 = nullptr;
    QPushButton* Command11 = nullptr;

    QRadioButton* Option3 = nullptr;
    QRadioButton* Option4 = nullptr;
    QCheckBox* Check4 = nullptr;
    QPushButton* Command8 = nullptr;
    QPushButton* Command7 = nullptr;

private:
    QPushButton* addButton(const QString& caption, void (frm_sw::*handler)());
    void setPage(int page);
    void nextPage() { setPage(page() + 1); }
    void previousPage() { setPage(page() - 1); }
    // Stores a key through the settings accessor.
    void store(const QString& key, const QString& value);
    // The setup dialog's server list takes entry `index` and copies it into
    // the server settings.
    void pickServer(int index);
};
