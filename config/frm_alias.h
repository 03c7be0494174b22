#pragma once
// The alias manager: one tool window, tagged "Alias" like its switchbar
// panel, in which the user edits the alias scripts of the cmd folder. An
// alias is a file of that folder whose name has no extension; the window
// lists them when it loads, and every change goes to the folder at once,
// except the script text, which "Update" writes. Closing hides it.

#include "core/Form.h"

class FramePlacement;
class QGroupBox;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
namespace platform {
class AGPopUp;
class FileListBox;
} // namespace platform

class frm_alias : public Form {
    Q_OBJECT
public:
    explicit frm_alias(Program& program);

    // Writes alias.win, hides the window and removes its panel; the window
    // stays loaded unless the program is ending.
    void Form_QueryUnload(int& Cancel, int UnloadMode) override;
    // Applies one record of alias.win.
    void FSet(const QString& key, const QString& value);
    // Becoming the active child presses its panel.
    void Form_Activate();
    // Minimised, the window gives way to the window of the panel before its
    // own; in the normal state it keeps clear of the frame's edges.
    void Form_Resize();

    // The alias folder: cmd in the program folder, in whatever letter case
    // it has there.
    QString aliasFolder() const;

    // "Add": asks for a name and creates an empty alias of that name, or
    // selects the alias that has it.
    void Command1_Click();
    // "Rename": asks for a new name for the selected alias and renames its
    // file, then shows it again as it is on disk.
    void Command2_Click();
    // "Delete": deletes the selected alias's file and its row, without asking.
    void Command3_Click();
    // "Update": writes the editor's text to the selected alias's file.
    void Command4_Click();
    // A row chosen: its script is read into the editor.
    void Combo1_Click();
    // The window menu's items: "winmin", "winmax", "winclose".
    void win_pop_MenuItemClick(const QString& itemName);

    // Lists the alias files; not shown.
    platform::FileListBox* File1 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QListWidget* Combo1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    // The window menu, opened by a right click in the window.
    platform::AGPopUp* win_pop = nullptr;

protected:
    void attachToFrame() override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Why a name typed for an alias cannot be used, if it cannot: more than
    // one word, or a name that is no plain file name of its own, holds a
    // dot, or names a file of the folder that is no listed alias. Empty:
    // nothing typed.
    enum class NameCheck { Empty, Usable, Refused };
    NameCheck checkName(const QString& name) const;
    // The row of the alias `name`, compared without regard to letter case as
    // the folder's names are; -1 when none.
    int rowOf(const QString& name) const;
    QString selectedName() const;
    // The path of the alias file `name`.
    QString aliasPath(const QString& name) const;
    void selectRow(int row);
    void showError(const QString& text);

    FramePlacement* m_placement;
    // The selected alias's file exists but could not be read: "Update" would
    // replace what the editor never showed.
    bool m_unreadable = false;
    bool m_quiet = false;
};
