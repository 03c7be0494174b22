#include "windows/frm_chan.h"

#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Program.h"
#include "core/TextUtils.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "core/mod_set.h"
#include "platform/popup/AGPopUp.h"
#include "platform/window/Twips.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>

#include <algorithm>

using namespace platform;

namespace {

// The nick list's width as designed, in twips.
constexpr int kNickListWidth = 1935;
// The popup editor's kind word of the nick list's menu.
const QString kNickListPopups = QStringLiteral("nicklist");

QListWidget* makeNickBox(QWidget* parent) {
    auto* box = new QListWidget(parent);
    box->setUniformItemSizes(true);
    box->resize(TwipsToPixelsX(kNickListWidth), box->height());
    return box;
}

} // namespace

frm_chan::frm_chan(Program& program)
    : ConversationForm(program, {QStringLiteral("channel"), QStringLiteral("WIN_CHAN_")}),
      list_nicks(makeNickBox(this)), pop_nicks(new AGPopUp(this)), m_nicks(*list_nicks, program) {
    connect(list_nicks, &QListWidget::itemDoubleClicked, this, &frm_chan::list_nicks_DblClick);
    // The right button opens the menu without moving the selection, so its
    // items act on the nick already selected.
    list_nicks->viewport()->installEventFilter(this);
    connect(pop_nicks, &AGPopUp::MenuItemClick, this,
            [this](const QString& itemName) { runPopupItem(kNickListPopups, itemName); });
    UpdatePopups();
    ApplyChannelLooks(program, *this);
}

void frm_chan::disp(const QString& txt, bool timestamp, const QString& col) {
    dispLine(txt, timestamp, col);
}

void frm_chan::UpdatePopups() {
    ConversationForm::UpdatePopups();
    fillPopup(*pop_nicks, kNickListPopups);
}

bool frm_chan::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_nicks->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        pop_nicks->ShowMenu();
        return true;
    }
    return ConversationForm::eventFilter(watched, event);
}

void frm_chan::layOut() {
    const int w = Width();
    const int h = Height();
    if (w > 1000 && h > 1000) {
        const int listWidth = PixelsToTwipsX(list_nicks->width());
        const int line = PixelsToTwipsY(commandline->height());
        const int consoleWidth = std::max(w - listWidth - 100, 0);
        const int consoleHeight = std::max(h - 400 - line, 0);
        console->setGeometry(0, 0, TwipsToPixelsX(consoleWidth), TwipsToPixelsY(consoleHeight));
        commandline->setGeometry(0, TwipsToPixelsY(consoleHeight), TwipsToPixelsX(w),
                                 commandline->height());
        list_nicks->setGeometry(TwipsToPixelsX(consoleWidth), 0, list_nicks->width(),
                                TwipsToPixelsY(consoleHeight));
    }
    caretToEnd();
}

void frm_chan::UpdateNicksTotal() {
    // While the list box lags behind a burst, so does the caption: both are
    // written once, when control returns to the event loop.
    if (m_nicks.boxLags()) {
        if (!m_captionPending) {
            m_captionPending = true;
            QMetaObject::invokeMethod(
                this,
                [this] {
                    m_captionPending = false;
                    UpdateNicksTotal();
                },
                Qt::QueuedConnection);
        }
        return;
    }
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
    ExecCommand(program(),
                QStringLiteral("QUERY ") + program().serverSyntax().nickOf(item->text()));
}

void frm_chan::Form_QueryUnload(int& Cancel, int UnloadMode) {
    if (UnloadMode != vbFormControlMenu) {
        ConversationForm::Form_QueryUnload(Cancel, UnloadMode);
        return;
    }
    Program& p = program();
    p.mainFrame().Yarv1->SendCommand(QStringLiteral("PART ") + Tag());
    Hide();
    RemovePanel(p, Tag());
    Cancel = 1;
    Unload();
}
