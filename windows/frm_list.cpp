#include "windows/frm_list.h"

#include "connection/frm_main.h"
#include "core/Fonts.h"
#include "core/Program.h"
#include "core/TextUtils.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "platform/window/ToolTip.h"
#include "platform/window/Twips.h"
#include "windows/FramePlacement.h"

#include <QListWidget>
#include <QLocale>

#include <algorithm>

using namespace platform;

namespace {

const QString kTag = QStringLiteral("/LIST");
// Marks the line that says the list was cut: it names no channel.
constexpr int kCutRole = Qt::UserRole;

} // namespace

frm_list::frm_list(Program& program)
    : Form(program, Kind::MdiChild, kTag), m_placement(new FramePlacement(*this)) {
    setCaption(kTag);
    List1 = new QListWidget(this);
    SetFontFace(*List1, QStringLiteral("Fixedsys"));
    List1->setUniformItemSizes(true);
    connect(List1, &QListWidget::itemClicked, this, &frm_list::List1_Click);
    connect(List1, &QListWidget::itemDoubleClicked, this, &frm_list::List1_DblClick);
}

void frm_list::attachToFrame() {
    Form::attachToFrame();
    m_placement->watch([this] { Form_Activate(); }, [this] { Form_Resize(); });
}

void frm_list::Form_Activate() {
    m_placement->rescueSmall();
    Program& p = program();
    if (const int panel = FindPanel(p, kTag); panel > 0) {
        frm_main& frame = p.mainFrame();
        frame.StatusBar1->Panel(panel)->setPicture(frame.il.Picture(11));
    }
}

void frm_list::Form_Resize() {
    m_placement->resize([this] {
        List1->setGeometry(0, 0, TwipsToPixelsX(std::max(Width() - 100, 0)),
                           TwipsToPixelsY(std::max(Height() - 350, 0)));
    });
}

void frm_list::addChannel(const QString& line) {
    const int count = List1->count();
    if (count < m_maxChannels) {
        List1->addItem(line);
    } else if (count == m_maxChannels) {
        // The count reads the same whatever the user's language.
        auto* cut = new QListWidgetItem(QStringLiteral("\u2026 list cut at ") +
                                        QLocale(QLocale::English).toString(m_maxChannels) +
                                        QStringLiteral(" channels"));
        cut->setData(kCutRole, true);
        List1->addItem(cut);
    }
}

void frm_list::List1_Click(QListWidgetItem* item) {
    // Long topics are cut by the window's edge; the tooltip has them whole.
    List1->setToolTip(PlainToolTip(item->text()));
}

void frm_list::List1_DblClick(QListWidgetItem* item) {
    if (item->data(kCutRole).toBool())
        return;
    Program& p = program();
    SplitWords(p.words, item->text());
    const QString channel = p.words[0];
    if (!channel.isEmpty())
        ExecCommand(p, QStringLiteral("JOIN ") + channel);
}

void frm_list::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(Cancel);
    Q_UNUSED(UnloadMode);
    RemovePanel(program(), kTag);
    Unload();
}
