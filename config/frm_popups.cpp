#include "config/frm_popups.h"

#include "core/CommandSupport.h"
#include "core/Program.h"
#include "windows/frm_server.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

// One page: "Menu Items" over the caption list, "Resulting command:" over the
// command list beside it.
QWidget* makePage(QListWidget*& captions, QListWidget*& commands) {
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    captions = new QListWidget;
    commands = new QListWidget;
    grid->addWidget(new QLabel(QStringLiteral("Menu Items")), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("Resulting command:")), 0, 1);
    grid->addWidget(captions, 1, 0);
    grid->addWidget(commands, 1, 1);
    grid->setColumnStretch(1, 1);
    return page;
}

} // namespace

frm_popups::frm_popups(Program& program) : Form(program, Kind::MdiChild, QStringLiteral("Popups")) {
    setCaption(QStringLiteral("PopUp Manager"));
    auto* layout = new QVBoxLayout(this);
    SSTab1 = new QTabWidget(this);
    layout->addWidget(SSTab1);
    SSTab1->addTab(makePage(pop_server_list, pop_server_command), QStringLiteral("&Server"));
    SSTab1->addTab(makePage(pop_query_list, pop_query_command), QStringLiteral("&Query"));
    SSTab2 = new QTabWidget;
    SSTab2->addTab(makePage(pop_chan_list, pop_chan_command), QStringLiteral("Console"));
    SSTab2->addTab(makePage(pop_nick_list, pop_nick_command), QStringLiteral("Nick List"));
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

void frm_popups::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(UnloadMode);
    Cancel = 1;
    Hide();
}
