#pragma once
// The DCC send window: picks a file and a nick and offers the file. Folders
// are chosen in a tree (no drives here), the folder's files in a list.

#include "core/Form.h"

class QFileSystemModel;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace platform {
class FileListBox;
}

class frm_dccsend : public Form {
    Q_OBJECT
public:
    explicit frm_dccsend(Program& program);

    QGroupBox* Frame1 = nullptr;
    // The folders, and the files of the one chosen.
    QTreeView* Dir1 = nullptr;
    QFileSystemModel* dirModel = nullptr;
    platform::FileListBox* File1 = nullptr;
    // The full path of the file last chosen, and its size.
    QLabel* lbl_file = nullptr;
    QLabel* lbl_filesize = nullptr;
    QGroupBox* Frame2 = nullptr;
    // The nick to send to.
    QLineEdit* txt_target = nullptr;
    // Enabled only with one nick word (no ",") and a regular file chosen.
    QPushButton* btn_send = nullptr;
    QPushButton* btn_Cancel = nullptr;

    // Shows folder `path` in the tree and lists its files; a folder that
    // cannot be read says so in a box and changes nothing.
    void setFolder(const QString& path);
    // The folder whose files are listed.
    QString folder() const;

private:
    void Dir1_Change(const QString& path);
    void File1_Click();
    void btn_send_Click();
    void updateSend();
    // The chosen file's full path; "" when none is chosen.
    QString chosenPath() const;
};
