#include "config/frm_alias.h"

#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/SafeFileName.h"
#include "core/TextUtils.h"
#include "core/WindowGeometry.h"
#include "core/WindowLookup.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/popup/AGPopUp.h"
#include "platform/window/FileListBox.h"
#include "windows/FramePlacement.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QVBoxLayout>

using platform::MsgBox;

namespace {

const QString kGeometryFile = QStringLiteral("alias.win");
const QString kPanel = QStringLiteral("Alias");

// Names without an extension: the pattern "*." of the folder's list.
const QString kAliasPattern = QStringLiteral("*.");

// A path exists there, a link that points nowhere included.
bool entryExists(const QString& path) {
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

} // namespace

frm_alias::frm_alias(Program& program)
    : Form(program, Kind::MdiChild, kPanel), m_placement(new FramePlacement(*this)) {
    setCaption(QStringLiteral("Alias Script Manager"));

    File1 = new platform::FileListBox(this);
    File1->hide();
    File1->setPattern(kAliasPattern);

    Frame1 = new QGroupBox(QStringLiteral("Loaded Alias':"));
    Combo1 = new QListWidget;
    Command1 = new QPushButton(QStringLiteral("Add"));
    Command3 = new QPushButton(QStringLiteral("Delete"));
    auto* listLayout = new QGridLayout(Frame1);
    listLayout->addWidget(Combo1, 0, 0, 1, 2);
    listLayout->addWidget(Command1, 1, 0);
    listLayout->addWidget(Command3, 1, 1);

    Frame2 = new QGroupBox(QStringLiteral("No Alias is loaded"));
    Text1 = new QPlainTextEdit;
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Command2 = new QPushButton(QStringLiteral("Rename"));
    Command4 = new QPushButton(QStringLiteral("Update"));
    auto* editorLayout = new QVBoxLayout(Frame2);
    editorLayout->addWidget(Text1, 1);
    auto* editorButtons = new QHBoxLayout;
    editorButtons->addStretch(1);
    editorButtons->addWidget(Command2);
    editorButtons->addWidget(Command4);
    editorLayout->addLayout(editorButtons);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(Frame1, 1);
    layout->addWidget(Frame2, 3);

    connect(Command1, &QPushButton::clicked, this, &frm_alias::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frm_alias::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_alias::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frm_alias::Command4_Click);
    // A click on a row, or a selection made by the code, loads the alias.
    connect(Combo1, &QListWidget::currentRowChanged, this, [this] {
        if (!m_quiet)
            Combo1_Click();
    });

    // The folder may be there already.
    QDir().mkpath(aliasFolder());
    File1->setPath(aliasFolder());
    for (int i = 0; i < File1->ListCount(); ++i)
        Combo1->addItem(File1->List(i));

    win_pop = new platform::AGPopUp(this);
    win_pop->AddMenuItem(QStringLiteral("Mi&nimise"), QStringLiteral("winmin"));
    win_pop->AddMenuItem(QStringLiteral("Ma&ximise"), QStringLiteral("winmax"));
    win_pop->AddMenuItem(QStringLiteral("&Close"), QStringLiteral("winclose"));
    connect(win_pop, &platform::AGPopUp::MenuItemClick, this, &frm_alias::win_pop_MenuItemClick);
}

QString frm_alias::aliasFolder() const {
    return FindPathNoCase(program().folder(), QStringLiteral("CMD"));
}

QString frm_alias::aliasPath(const QString& name) const {
    return FindPathNoCase(aliasFolder(), name);
}

void frm_alias::attachToFrame() {
    Form::attachToFrame();
    m_placement->watch([this] { Form_Activate(); }, [this] { Form_Resize(); });
    ReadWindowGeometry(program(), kGeometryFile,
                       [this](const QString& key, const QString& value) { FSet(key, value); });
}

void frm_alias::Form_Activate() {
    SelectPanel(program(), Tag());
}

void frm_alias::Form_Resize() {
    // The frames keep their controls in place themselves.
    m_placement->resize([] {});
}

void frm_alias::FSet(const QString& key, const QString& value) {
    ApplyGeometryRecord(*this, key, value, GeometryVariant::Plain);
}

void frm_alias::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(UnloadMode);
    Program& p = program();
    // A window that never went into the frame has no place to keep.
    if (subWindow() != nullptr)
        WriteWindowGeometry(p, kGeometryFile, *this, m_placement->lastNormalGeometry());
    if (!p.ExitConfirmed && !p.closing)
        Cancel = 1;
    Hide();
    RemovePanel(p, kPanel);
}

void frm_alias::contextMenuEvent(QContextMenuEvent* event) {
    win_pop->ShowMenu();
    event->accept();
}

void frm_alias::win_pop_MenuItemClick(const QString& itemName) {
    if (itemName == u"winmin") {
        setWindowState(vbMinimized);
    } else if (itemName == u"winmax") {
        setWindowState(vbMaximized);
    } else if (itemName == u"winclose") {
        Hide();
        RemovePanel(program(), kPanel);
    }
}

int frm_alias::rowOf(const QString& name) const {
    for (int i = 0; i < Combo1->count(); ++i) {
        if (Combo1->item(i)->text().compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString frm_alias::selectedName() const {
    const QListWidgetItem* item = Combo1->currentItem();
    return item != nullptr && Combo1->currentRow() >= 0 ? item->text() : QString();
}

frm_alias::NameCheck frm_alias::checkName(const QString& name) const {
    if (SplitWords(program().words, name) > 0)
        return NameCheck::Refused;
    if (name.isEmpty())
        return NameCheck::Empty;
    // A name is one plain file name of the folder, without an extension (the
    // list would not show it), and never one of the folder's other files,
    // such as the start-up script.
    if (SafeFileNameComponent(name) != name || name.contains(u'.'))
        return NameCheck::Refused;
    if (rowOf(name) < 0 && entryExists(aliasPath(name)))
        return NameCheck::Refused;
    return NameCheck::Usable;
}

void frm_alias::selectRow(int row) {
    Combo1->setCurrentRow(row);
}

void frm_alias::showError(const QString& text) {
    MsgBox(text, platform::vbOKOnly, QStringLiteral("Error!"));
}

void frm_alias::Combo1_Click() {
    const QString name = selectedName();
    if (name.isEmpty())
        return;
    Frame2->setTitle(QStringLiteral("Editing: ") + name);
    Text1->clear();
    m_unreadable = false;
    const QString path = aliasPath(name);
    QByteArray bytes;
    QString error;
    if (!ReadFileBytes(path, &bytes, &error)) {
        // A file gone meanwhile is an empty alias; one that is there but
        // cannot be read is not replaced by "Update".
        if (entryExists(path)) {
            m_unreadable = true;
            showError(name + QStringLiteral(" could not be read: ") + error);
        }
        return;
    }
    QString text;
    const QStringList lines = DecodeLines(bytes);
    for (const QString& line : lines)
        text += line + u'\n';
    Text1->setPlainText(text);
}

void frm_alias::Command1_Click() {
    const QString answer = platform::InputBox(QStringLiteral("Enter a new name for this alias "),
                                              QStringLiteral("Create Alias"));
    const QString name = answer.trimmed();
    switch (checkName(name)) {
    case NameCheck::Empty:
        return;
    case NameCheck::Refused:
        MsgBox(QStringLiteral("Please use one word for alias'"), platform::vbOKOnly,
               QStringLiteral("Error!"));
        return;
    case NameCheck::Usable:
        break;
    }
    // An alias of that name is there already: it is shown, not emptied.
    if (const int row = rowOf(name); row >= 0) {
        selectRow(row);
        Text1->setFocus();
        return;
    }
    QString error;
    if (!program().fileWriter(aliasPath(name), QByteArray(), &error)) {
        showError(name + QStringLiteral(" could not be created: ") + error);
        return;
    }
    Combo1->addItem(name);
    selectRow(Combo1->count() - 1);
    Frame2->setTitle(QStringLiteral("Editing: ") + name);
    Text1->clear();
    MsgBox(QStringLiteral("When you've finished editing your new alias script, click 'Update' to "
                          "update records"),
           platform::vbOKOnly, QStringLiteral("Notice"));
    Text1->setFocus();
}

void frm_alias::Command2_Click() {
    const QString oldName = selectedName();
    if (oldName.isEmpty())
        return;
    const QString answer = platform::InputBox(
        QStringLiteral("Enter a new name for this alias (Changes won't be saved since last "
                       "update)"),
        QStringLiteral("Rename Alias"), oldName);
    const QString name = answer.trimmed();
    switch (checkName(name)) {
    case NameCheck::Empty:
        return;
    case NameCheck::Refused:
        MsgBox(QStringLiteral("Please use only one word"), platform::vbOKOnly,
               QStringLiteral("Error!"));
        return;
    case NameCheck::Usable:
        break;
    }
    const QString oldPath = aliasPath(oldName);
    const QString newPath = aliasPath(name);
    // The file is renamed first: when it cannot be, the list stays as the
    // folder is. A name that differs only in letter case is the same file.
    if (name != oldName) {
        if (newPath != oldPath && entryExists(newPath)) {
            showError(QStringLiteral("An alias named ") + name +
                      QStringLiteral(" exists already."));
            return;
        }
        QFile file(oldPath);
        if (!file.rename(QDir(aliasFolder()).filePath(name))) {
            showError(oldName + QStringLiteral(" could not be renamed: ") + file.errorString());
            return;
        }
    }
    {
        const QScopedValueRollback quiet(m_quiet, true);
        delete Combo1->takeItem(Combo1->currentRow());
        Combo1->addItem(name);
        selectRow(-1);
    }
    // Shown again from the file, so edits not written with "Update" are gone.
    selectRow(Combo1->count() - 1);
    Frame2->setTitle(QStringLiteral("Editing: ") + name);
}

void frm_alias::Command3_Click() {
    const int row = Combo1->currentRow();
    const QString name = selectedName();
    if (row < 0 || name.isEmpty())
        return;
    const int above = std::max(row - 1, 0);
    const QString path = aliasPath(name);
    // An alias whose file is gone already just leaves the list.
    if (entryExists(path)) {
        QFile file(path);
        if (!file.remove()) {
            showError(name + QStringLiteral(" could not be deleted: ") + file.errorString());
            return;
        }
    }
    {
        const QScopedValueRollback quiet(m_quiet, true);
        delete Combo1->takeItem(row);
        selectRow(-1);
    }
    if (Combo1->count() >= 2)
        selectRow(above);
}

void frm_alias::Command4_Click() {
    const QString name = selectedName();
    if (name.isEmpty() || m_unreadable)
        return;
    // Every line ends with CR LF, the last one too, and only once: an alias
    // loaded and written back unchanged keeps its bytes.
    QString text = Text1->toPlainText();
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    text.replace(u'\n', QStringLiteral("\r\n"));
    QString error;
    if (!program().fileWriter(aliasPath(name), text.toUtf8(), &error))
        showError(name + QStringLiteral(" could not be written: ") + error);
}
