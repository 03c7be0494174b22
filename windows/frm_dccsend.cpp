#include "windows/frm_dccsend.h"

#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"
#include "core/mod_kernel.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/window/FileListBox.h"

#include <QDir>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

// A folder and a name with one "/" between them, also at the root.
QString joinPath(const QString& folder, const QString& name) {
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

} // namespace

frm_dccsend::frm_dccsend(Program& program) : Form(program, Kind::MdiChild) {
    setCaption(QStringLiteral("DCC File Send"));
    auto* layout = new QVBoxLayout(this);

    Frame1 = new QGroupBox(QStringLiteral("Send:"), this);
    auto* pick = new QGridLayout(Frame1);
    dirModel = new QFileSystemModel(this);
    dirModel->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    dirModel->setRootPath(QStringLiteral("/"));
    Dir1 = new QTreeView(Frame1);
    Dir1->setModel(dirModel);
    Dir1->setHeaderHidden(true);
    for (int column = 1; column < dirModel->columnCount(); ++column)
        Dir1->hideColumn(column);
    File1 = new platform::FileListBox(Frame1);
    // Every file, names without a dot too.
    File1->setPattern(QStringLiteral("*"));
    pick->addWidget(Dir1, 0, 0);
    pick->addWidget(File1, 0, 1);
    lbl_file = new QLabel(Frame1);
    lbl_file->setTextFormat(Qt::PlainText);
    lbl_filesize = new QLabel(QStringLiteral("0 bytes"), Frame1);
    lbl_filesize->setTextFormat(Qt::PlainText);
    pick->addWidget(lbl_file, 1, 0, 1, 2);
    pick->addWidget(lbl_filesize, 2, 0, 1, 2);
    layout->addWidget(Frame1, 1);

    Frame2 = new QGroupBox(QStringLiteral("to:"), this);
    auto* to = new QGridLayout(Frame2);
    txt_target = new QLineEdit(Frame2);
    btn_send = new QPushButton(QStringLiteral("&Send"), Frame2);
    btn_Cancel = new QPushButton(QStringLiteral("&Cancel"), Frame2);
    to->addWidget(txt_target, 0, 0);
    to->addWidget(btn_send, 0, 1);
    to->addWidget(btn_Cancel, 0, 2);
    layout->addWidget(Frame2);

    connect(Dir1->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { Dir1_Change(dirModel->filePath(current)); });
    connect(File1, &QListWidget::currentItemChanged, this, &frm_dccsend::File1_Click);
    connect(txt_target, &QLineEdit::textChanged, this, &frm_dccsend::updateSend);
    connect(btn_send, &QPushButton::clicked, this, &frm_dccsend::btn_send_Click);
    // The cancel button has no action: the window closes from its title bar.

    setFolder(QDir::homePath());
    updateSend();
}

void frm_dccsend::setFolder(const QString& path) {
    const QModelIndex index = dirModel->index(path);
    if (!index.isValid())
        return;
    Dir1->setCurrentIndex(index);
    Dir1->scrollTo(index);
}

QString frm_dccsend::folder() const {
    return File1->Path();
}

void frm_dccsend::Dir1_Change(const QString& path) {
    if (path.isEmpty() || path == File1->Path())
        return;
    if (!QDir(path).isReadable()) {
        platform::MsgBox(QStringLiteral("Error cant open ") + path, platform::vbOKOnly);
        return;
    }
    File1->setPath(path);
    File1_Click();
}

QString frm_dccsend::chosenPath() const {
    const QListWidgetItem* item = File1->currentItem();
    return item ? joinPath(File1->Path(), item->text()) : QString();
}

void frm_dccsend::File1_Click() {
    const QString path = chosenPath();
    lbl_file->setText(path);
    setTag(path);
    if (!path.isEmpty()) {
        const qint64 size = GetFileSize(path);
        lbl_filesize->setText(size < 0 ? QStringLiteral("n/a")
                                       : QString::number(size) + QStringLiteral(" Bytes."));
    }
    updateSend();
}

void frm_dccsend::updateSend() {
    // One nick: a "," would offer the file to several, the first to connect
    // taking it.
    static const QRegularExpression oneWord(QStringLiteral("^[^\\s,]+$"));
    const QString path = chosenPath();
    btn_send->setEnabled(oneWord.match(txt_target->text().trimmed()).hasMatch() &&
                         !path.isEmpty() && GetFileSize(path) >= 0);
}

void frm_dccsend::btn_send_Click() {
    updateSend();
    if (!btn_send->isEnabled())
        return;
    Program& p = program();
    const QString nick = txt_target->text().trimmed();
    const QString path = chosenPath();
    if (ExecCommand(p, QStringLiteral("DCC SEND ") + nick + u' ' + path) != CommandResult::Done)
        return;
    ServerEcho(p, QStringLiteral("Sending ") + path + QStringLiteral(" to: ") + nick, QString(), 0);
    Hide();
    if (p.hasMainFrame())
        p.mainFrame().ZOrder();
}
