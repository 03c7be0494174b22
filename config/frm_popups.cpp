#include "config/frm_popups.h"

#include "core/CommandSupport.h"
#include "core/PopupWizard.h"
#include "core/PopupsFile.h"
#include "core/Program.h"
#include "core/WindowGeometry.h"
#include "core/WindowLookup.h"
#include "windows/FramePlacement.h"
#include "windows/frm_server.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString kGeometryFile = QStringLiteral("popups.win");
const QString kPanel = QStringLiteral("Popups");

} // namespace

QWidget* frm_popups::makePage(const QString& kind, int labels, QListWidget*& captions,
                              QListWidget*& commands, QPushButton*& add, QPushButton*& remove) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    captions = new QListWidget;
    commands = new QListWidget;
    lbl_gen[labels] = new QLabel(QStringLiteral("Menu Items"));
    lbl_gen[labels + 1] = new QLabel(QStringLiteral("Resulting command:"));
    grid->addWidget(lbl_gen[labels], 0, 0);
    grid->addWidget(lbl_gen[labels + 1], 0, 1);
    grid->addWidget(captions, 1, 0);
    grid->addWidget(commands, 1, 1);
    grid->setColumnStretch(1, 1);
    add = new QPushButton(QStringLiteral("Add"));
    remove = new QPushButton(QStringLiteral("Remove"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    grid->addLayout(buttons, 2, 0, 1, 2);
    connect(add, &QPushButton::clicked, this, [this, kind] { AddPopupWizard(program(), kind); });
    connect(remove, &QPushButton::clicked, this, [this, kind] { removeSelected(kind); });
    return page;
}

frm_popups::frm_popups(Program& program)
    : Form(program, Kind::MdiChild, kPanel), m_placement(new FramePlacement(*this)) {
    setCaption(QStringLiteral("PopUp Manager"));
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    layout->addWidget(SSTab1);
    SSTab1->addTab(makePage(QStringLiteral("server"), 0, pop_server_list, pop_server_command,
                            Command10, Command12),
                   QStringLiteral("&Server"));
    SSTab1->addTab(
        makePage(QStringLiteral("query"), 2, pop_query_list, pop_query_command, Command1, Command9),
        QStringLiteral("&Query"));
    SSTab2 = new QTabWidget;
    SSTab2->addTab(
        makePage(QStringLiteral("channel"), 4, pop_chan_list, pop_chan_command, Command3, Command5),
        QStringLiteral("Console"));
    SSTab2->addTab(makePage(QStringLiteral("nicklist"), 6, pop_nick_list, pop_nick_command,
                            Command6, Command8),
                   QStringLiteral("Nick List"));
    SSTab1->addTab(SSTab2, QStringLiteral("&Channel"));

    // A caption row picks the command row beside it.
    for (const QString& kind : kinds()) {
        QListWidget* captions = captionList(kind);
        QListWidget* commands = commandList(kind);
        connect(captions, &QListWidget::currentRowChanged, commands, [commands](int row) {
            if (row < commands->count())
                commands->setCurrentRow(row);
        });
    }
}

const QStringList& frm_popups::kinds() {
    static const QStringList words{QStringLiteral("server"), QStringLiteral("query"),
                                   QStringLiteral("channel"), QStringLiteral("nicklist")};
    return words;
}

QListWidget* frm_popups::captionList(const QString& kind) const {
    QListWidget* const lists[] = {pop_server_list, pop_query_list, pop_chan_list, pop_nick_list};
    const qsizetype i = kinds().indexOf(kind);
    return i < 0 ? nullptr : lists[i];
}

QListWidget* frm_popups::commandList(const QString& kind) const {
    QListWidget* const lists[] = {pop_server_command, pop_query_command, pop_chan_command,
                                  pop_nick_command};
    const qsizetype i = kinds().indexOf(kind);
    return i < 0 ? nullptr : lists[i];
}

void frm_popups::clearLists() {
    for (const QString& kind : kinds()) {
        captionList(kind)->clear();
        commandList(kind)->clear();
    }
}

void frm_popups::AddPopUp(QString& kind, const QString& caption, const QString& command) {
    kind = kind.trimmed().toLower();
    QListWidget* captions = captionList(kind);
    if (captions == nullptr)
        return;
    const QString wanted = caption.trimmed().toLower();
    for (int r = 0; r < captions->count(); ++r) {
        if (captions->item(r)->text().trimmed().toLower() == wanted)
            return;
    }
    captions->addItem(caption);
    commandList(kind)->addItem(command);
    refreshMenus(kind);
}

void frm_popups::refreshMenus(const QString& kind) {
    Program& p = program();
    if (kind == u"server") {
        if (p.hasServerWindow())
            p.serverWindow().UpdatePopups();
        return;
    }
    const QList<Form*> forms = p.forms();
    for (Form* form : forms) {
        auto* window = qobject_cast<ConversationForm*>(form);
        if (window == nullptr)
            continue;
        const QString tag = window->Tag();
        const bool ofKind = kind == u"channel" || kind == u"nicklist" ? IsChannelWindow(window)
                                                                      : tag.startsWith(u'?');
        if (ofKind)
            window->UpdatePopups();
    }
}

void frm_popups::AddPopUp(const QString& kind, const QString& caption, const QString& command) {
    QString word = kind;
    AddPopUp(word, caption, command);
}

void frm_popups::removeSelected(const QString& kind) {
    QListWidget* captions = captionList(kind);
    QListWidget* commands = commandList(kind);
    const int row = captions->currentRow();
    const bool removed = row >= 0 && row < captions->count();
    if (removed) {
        delete commands->takeItem(row);
        delete captions->takeItem(row);
        // Nothing stays selected, so a second click removes nothing more.
        captions->setCurrentRow(-1);
        commands->setCurrentRow(-1);
    }
    // The server page refreshes only for a row that went.
    if (removed || kind != u"server")
        refreshMenus(kind);
}

void frm_popups::attachToFrame() {
    Form::attachToFrame();
    m_placement->watch([this] { Form_Activate(); }, [this] { Form_Resize(); });
    ReadWindowGeometry(program(), kGeometryFile,
                       [this](const QString& key, const QString& value) { FSet(key, value); });
}

void frm_popups::Form_Activate() {
    SelectPanel(program(), Tag());
    m_placement->rescueSmall();
}

void frm_popups::Form_Resize() {
    // The pages keep their controls in place themselves.
    m_placement->resize([] {});
}

void frm_popups::FSet(const QString& key, const QString& value) {
    ApplyGeometryRecord(*this, key, value, GeometryVariant::Plain);
}

void frm_popups::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(UnloadMode);
    Program& p = program();
    // The exit has written popups.ini already, and no window may be loaded
    // any more; otherwise the lists are saved and read back, but only from a
    // file that was written (a failed save has said so in the server window).
    if (!p.closing && SavePopups(p))
        LoadPopups(p);
    // A window that never went into the frame has no place to keep; a place
    // that cannot be written is not worth a message.
    if (subWindow() != nullptr)
        WriteWindowGeometry(p, kGeometryFile, *this, m_placement->lastNormalGeometry());
    if (!p.ExitConfirmed && !p.closing)
        Cancel = 1;
    Hide();
    RemovePanel(p, kPanel);
}
