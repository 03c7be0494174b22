#include "windows/frm_notify.h"

#include "connection/frm_main.h"
#include "core/Program.h"
#include "core/WindowGeometry.h"
#include "core/WindowLookup.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/irc/Yarv.h"
#include "platform/window/Twips.h"
#include "windows/FramePlacement.h"

#include <QLabel>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>

#include <algorithm>

using namespace platform;

namespace {

const QString kGeometryFile = QStringLiteral("notify.win");

// The window's design, in twips: its client area, the tab control on it,
// the two buttons over the tab control's top right, and the tab control's
// lists and labels, whose tops count from the tab control's top edge.
constexpr int kClientWidth = 6540;
constexpr int kClientHeight = 2925;
constexpr int kTabLeft = 120;
constexpr int kTabTop = 120;
constexpr int kTabWidth = 6285;
constexpr int kTabHeight = 2655;
// The strip of tabs above the pages.
constexpr int kTabStrip = 360;
constexpr int kListTop = 360;
constexpr int kStatusListTop = 720;
constexpr int kLabelTop = 480;
// What one ISON line may carry: a server reads 510 bytes of a line and 15
// parameters of a command, and silently drops what lies beyond.
constexpr int kMaxIsonBytes = 510;
constexpr int kMaxIsonNicks = 15;
// The longest entry a line can hold: "ISON " and the entry alone.
constexpr int kMaxIsonEntryBytes = kMaxIsonBytes - 5;

QRect twips(int left, int top, int width, int height) {
    return {TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(std::max(width, 0)),
            TwipsToPixelsY(std::max(height, 0))};
}

// A control inside the tab control, placed by the tab control's
// coordinates on the page below the tabs.
void placeInTab(QWidget& control, int left, int top, int width, int height) {
    control.setGeometry(twips(left, top - kTabStrip, width, height));
}

// One word, as a nick is: no blank, comma or control character.
bool isOneWord(const QString& text) {
    return std::none_of(text.cbegin(), text.cend(), [](QChar c) {
        return c == u' ' || c == u',' || c.category() == QChar::Other_Control;
    });
}

bool sameNick(const QString& a, const QString& b) {
    return a.trimmed().compare(b.trimmed(), Qt::CaseInsensitive) == 0;
}

} // namespace

frm_notify::frm_notify(Program& program)
    : Form(program, Kind::MdiChild, QStringLiteral("Notify")),
      m_placement(new FramePlacement(*this)) {
    setCaption(QStringLiteral("Notify List"));
    SSTab1 = new QTabWidget(this);
    SSTab1->setGeometry(twips(kTabLeft, kTabTop, kTabWidth, kTabHeight));

    auto* status = new QWidget;
    l_online = new QListWidget(status);
    l_offline = new QListWidget(status);
    Label1 = new QLabel(QStringLiteral("Online:"), status);
    Label2 = new QLabel(QStringLiteral("Offline:"), status);
    placeInTab(*l_online, 120, kStatusListTop, 2895, 1710);
    placeInTab(*l_offline, 3240, kStatusListTop, 2895, 1710);
    placeInTab(*Label1, 120, kLabelTop, 2895, 240);
    placeInTab(*Label2, 3240, kLabelTop, 2895, 240);
    SSTab1->addTab(status, QStringLiteral("Online/Offline"));

    auto* manager = new QWidget;
    List1 = new QListWidget(manager);
    placeInTab(*List1, 120, kListTop, 6015, 2130);
    SSTab1->addTab(manager, QStringLiteral("List Manager"));

    for (QListWidget* list : {List1, l_online, l_offline})
        list->setSortingEnabled(true);

    Command1 = new QPushButton(QStringLiteral("< Add"), this);
    Command1->setToolTip(QStringLiteral("Add a buddy to your notify list.."));
    Command1->setGeometry(twips(3840, 0, 1335, 255));
    Command3 = new QPushButton(QStringLiteral("Delete >"), this);
    Command3->setToolTip(QStringLiteral("Remove a selected buddy from the list.."));
    Command3->setGeometry(twips(5160, 0, 1335, 255));
    connect(Command1, &QPushButton::clicked, this, &frm_notify::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_notify::Command3_Click);

    resize(sizeHint());

    Timer1 = new QTimer(this);
    Timer1->setInterval(PollIntervalMs);
    connect(Timer1, &QTimer::timeout, this, &frm_notify::Timer1_Timer);
    Timer1->start();
}

QSize frm_notify::sizeHint() const {
    return {TwipsToPixelsX(kClientWidth), TwipsToPixelsY(kClientHeight)};
}

void frm_notify::attachToFrame() {
    Form::attachToFrame();
    m_placement->watch([this] { Form_Activate(); }, [this] { Form_Resize(); });
    // The design's size until notify.win says more.
    subWindow()->resize(subWindow()->sizeHint());
    ReadWindowGeometry(program(), kGeometryFile,
                       [this](const QString& key, const QString& value) { FSet(key, value); });
}

void frm_notify::FSet(const QString& key, const QString& value) {
    ApplyGeometryRecord(*this, key, value, GeometryVariant::Restore);
}

void frm_notify::Form_Activate() {
    SelectPanel(program(), Tag());
    m_placement->rescueSmall();
}

void frm_notify::Form_Resize() {
    m_placement->resize([this] {
        if (Height() <= 1500)
            return;
        const int tabHeight = Height() - kTabTop - 500;
        SSTab1->resize(SSTab1->width(), TwipsToPixelsY(std::max(tabHeight, 0)));
        const auto follow = [tabHeight](QListWidget* list, int top) {
            list->resize(list->width(), TwipsToPixelsY(std::max(tabHeight - top - 50, 0)));
        };
        follow(List1, kListTop);
        follow(l_online, kStatusListTop);
        follow(l_offline, kStatusListTop);
    });
}

void frm_notify::Form_QueryUnload(int& Cancel, int UnloadMode) {
    // A window never shown this run has no place of its own to keep; the
    // one saved before stays. A place that cannot be saved is not worth
    // keeping the window open for.
    if (subWindow() != nullptr)
        WriteWindowGeometry(program(), kGeometryFile, *this, m_placement->lastNormalGeometry());
    if (UnloadMode > 0)
        return;
    Cancel = 1;
    Hide();
    RemovePanel(program(), Tag());
}

void frm_notify::Command1_Click() {
    const QString answer =
        InputBox(QStringLiteral("Enter a nickname"), QStringLiteral("Notify..")).trimmed();
    if (answer.isEmpty() || !isOneWord(answer))
        return;
    for (int i = 0; i < List1->count(); ++i) {
        if (sameNick(List1->item(i)->text(), answer))
            return;
    }
    List1->addItem(answer);
}

void frm_notify::Command3_Click() {
    const QList<QListWidgetItem*> selected = List1->selectedItems();
    if (selected.isEmpty())
        return;
    QListWidgetItem* buddy = selected.constFirst();
    const QString nick = buddy->text();
    for (QListWidget* list : {l_online, l_offline}) {
        for (int i = list->count() - 1; i >= 0; --i) {
            if (sameNick(list->item(i)->text(), nick))
                delete list->takeItem(i);
        }
    }
    delete List1->takeItem(List1->row(buddy));
}

QStringList frm_notify::IsonLines(const QStringList& nicks) {
    QStringList lines;
    QString line;
    qsizetype bytes = 0;
    int count = 0;
    for (const QString& entry : nicks) {
        // Stored entries come unchecked: one that is no single word, that
        // would open a trailing parameter or that cannot fit one line is
        // not asked for.
        const QString nick = entry.trimmed();
        const qsizetype size = nick.toUtf8().size();
        if (nick.isEmpty() || !isOneWord(nick) || nick.startsWith(u':') ||
            size > kMaxIsonEntryBytes)
            continue;
        if (!line.isEmpty() && (bytes + 1 + size > kMaxIsonBytes || count == kMaxIsonNicks)) {
            lines.append(line.trimmed());
            line.clear();
        }
        if (line.isEmpty()) {
            line = QStringLiteral("ISON");
            bytes = line.size();
            count = 0;
        }
        line += u' ' + nick;
        bytes += 1 + size;
        ++count;
    }
    if (!line.isEmpty())
        lines.append(line.trimmed());
    return lines;
}

void frm_notify::Timer1_Timer() {
    Program& p = program();
    if (!p.hasMainFrame())
        return;
    Yarv* irc = p.mainFrame().Yarv1;
    if (!irc->IsConnected() || List1->count() == 0 || !p.ServerConnected)
        return;
    if (roundOpen()) {
        // Flood control may hold a long list back; its replies are awaited,
        // but not for ever.
        if (m_roundStarted.msecsTo(p.clock.now()) < RoundTimeoutMs)
            return;
        resetRound();
    }
    QStringList nicks;
    for (int i = 0; i < List1->count(); ++i)
        nicks.append(List1->item(i)->text());
    const QStringList lines = IsonLines(nicks);
    // Only the lines the send queue took are answered.
    int refused = 0;
    const QMetaObject::Connection counting =
        connect(irc, &Yarv::lineRefused, this, [&refused] { ++refused; });
    for (const QString& line : lines)
        irc->SendCommand(line);
    disconnect(counting);
    m_awaited = static_cast<int>(lines.size()) - refused;
    m_roundNicks.clear();
    m_roundStarted = p.clock.now();
}

std::optional<QString> frm_notify::takeReply(const QString& onlineNicks) {
    if (!roundOpen())
        return onlineNicks;
    m_roundNicks.append(onlineNicks);
    if (--m_awaited > 0)
        return std::nullopt;
    const QString all = m_roundNicks.join(u' ');
    m_roundNicks.clear();
    return all;
}

void frm_notify::resetRound() {
    m_awaited = 0;
    m_roundNicks.clear();
}
