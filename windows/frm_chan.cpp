#include "windows/frm_chan.h"

#include "connection/frm_main.h"
#include "console/AddColorText.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/TextUtils.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>

namespace {

QListWidget* makeNickBox(QWidget* parent) {
    auto* box = new QListWidget(parent);
    box->setUniformItemSizes(true);
    return box;
}

} // namespace

frm_chan::frm_chan(Program& program)
    : Form(program, Kind::MdiChild), list_nicks(makeNickBox(this)), m_nicks(*list_nicks) {
    // Console and nick list side by side, the command line across the bottom.
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    console = new absRichEdit(program, this);
    layout->addWidget(console, 0, 0);
    layout->addWidget(list_nicks, 0, 1);
    commandline = new QLineEdit(this);
    layout->addWidget(commandline, 1, 0, 1, 2);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(0, 1);
    connect(list_nicks, &QListWidget::itemDoubleClicked, this, &frm_chan::list_nicks_DblClick);
}

void frm_chan::Form_Resize() {
    layout()->activate();
}

void frm_chan::disp(const QString& txt, bool /*timestamp*/, const QString& col) {
    if (txt.trimmed().isEmpty())
        return;
    const Program& p = program();
    const QString colour =
        col.isEmpty() ? p.settings.value(QStringLiteral("WIN_CHAN_CONSOLE_FORECOLOR")) : col;
    console->setSelStart(console->FileSize());
    AddColorText(*console, QStringLiteral("\r\n") + QChar(3) +
                               QString::number(p.palette.ColorIndex(ColourNumber(colour))) + txt);
    console->setSelStart(console->FileSize());
}

void frm_chan::UpdateNicksTotal() {
    setCaption(Tag() + QStringLiteral(" [") + QString::number(ListCount()) + QStringLiteral("] ") +
               m_topic);
}

void frm_chan::setTopic(const QString& topic) {
    m_topic = topic;
    UpdateNicksTotal();
}

void frm_chan::list_nicks_DblClick() {
    const QListWidgetItem* item = list_nicks->currentItem();
    if (!item)
        return;
    ExecCommand(program(), QStringLiteral("QUERY ") + NickWithoutStatus(item->text()));
}

void frm_chan::Form_QueryUnload(int& Cancel, int UnloadMode) {
    if (UnloadMode != vbFormControlMenu) {
        Form::Form_QueryUnload(Cancel, UnloadMode);
        return;
    }
    Program& p = program();
    p.mainFrame().Yarv1->SendCommand(QStringLiteral("PART ") + Tag());
    Hide();
    RemovePanel(p, Tag());
    Cancel = 1;
    Unload();
}
