#include "windows/ConversationForm.h"

#include "config/frm_popups.h"
#include "connection/frm_main.h"
#include "console/AddColorText.h"
#include "console/absRichEdit.h"
#include "console/toolkit/mod_tbscroll.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "platform/popup/AGPopUp.h"
#include "platform/window/Twips.h"
#include "windows/FramePlacement.h"
#include "windows/WindowLog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QRegularExpression>

#include <algorithm>

using namespace platform;

namespace {

// What a server puts in front of a relayed message beside the nick and the
// target: ":" nick "!" user "@" host " PRIVMSG " target " :", with room for
// the longest user name and host name servers give.
constexpr int kUserBytes = 10;
constexpr int kHostBytes = 63;
constexpr int kMaxLineBytes = 510;
// Safe with any nick and channel a server allows.
constexpr int kMaxTextBytes = 400;
// Never cut finer than this, however long the target.
constexpr int kMinTextBytes = 64;

// The control-code keys: Ctrl with the letter appends the code.
QChar controlCode(const QKeyEvent* event) {
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    if (mods != Qt::ControlModifier)
        return {};
    switch (event->key()) {
    case Qt::Key_K:
        return QChar(3); // colour
    case Qt::Key_B:
        return QChar(2); // bold
    case Qt::Key_U:
        return QChar(31); // underline
    case Qt::Key_R:
        return QChar(22); // reverse
    default:
        return {};
    }
}

int twipsHigh(const QWidget* widget) {
    return PixelsToTwipsY(widget->height());
}

} // namespace

ConversationForm::ConversationForm(Program& program, const Family& family, const QString& tag,
                                   Kind kind)
    : Form(program, kind, tag), m_family(family), m_log(new WindowLog(program.folder(), this)),
      m_placement(new FramePlacement(*this)) {
    m_placement->setHandOverPanel([this](int ownPanel) { return handOverPanel(ownPanel); });
    console = new absRichEdit(program, this);
    console->setLocked(true);
    commandline = new QLineEdit(this);
    commandline->resize(commandline->width(), commandline->sizeHint().height());
    List1 = new QListWidget(this);
    List1->hide();
    pop_console = new AGPopUp(this);

    commandline->installEventFilter(this);
    connect(commandline, &QLineEdit::textChanged, this, &ConversationForm::splitLineBreaks);
    connect(console, &absRichEdit::MouseDown, this,
            [this](int& button, int&, float&, float&) { consoleMouseDown(button); });
    connect(console, &absRichEdit::MouseUp, this,
            [this](int& button, int&, float&, float&) { consoleMouseUp(button); });
    connect(pop_console, &AGPopUp::MenuItemClick, this,
            [this](const QString& itemName) { runPopupItem(m_family.popups, itemName); });
    // A window made after the popup items were read builds its menu now;
    // the editor rebuilds it whenever the items change.
    fillPopup(*pop_console, m_family.popups);
    // On the desktop the window's own activation, size and state changes
    // reach it directly.
    if (kind == Kind::TopLevel)
        installEventFilter(this);
}

ConversationForm::~ConversationForm() = default;

QString ConversationForm::setting(const QString& name) const {
    return program().settings.value(m_family.settings + name);
}

// The command line ----------------------------------------------------------

bool ConversationForm::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == commandline && (type == QEvent::ShortcutOverride || type == QEvent::KeyPress)) {
        auto* key = static_cast<QKeyEvent*>(event);
        // The line edit's own Ctrl bindings (Ctrl+K deletes to the end, ...)
        // must not take the control-code keys first.
        if (type == QEvent::ShortcutOverride && !controlCode(key).isNull()) {
            event->accept();
            return true;
        }
        if (type == QEvent::KeyPress)
            return commandlineKey(key);
    } else if (watched == this && kind() == Kind::TopLevel) {
        if (type == QEvent::WindowActivate)
            Form_Activate();
        else if (type == QEvent::Resize || type == QEvent::WindowStateChange)
            Form_Resize();
    }
    return Form::eventFilter(watched, event);
}

bool ConversationForm::commandlineKey(QKeyEvent* event) {
    if (const QChar code = controlCode(event); !code.isNull()) {
        const int caret = commandline->cursorPosition();
        commandline->setText(commandline->text() + code);
        commandline->setCursorPosition(caret + 1);
        return true;
    }
    const int row = List1->currentRow();
    const int count = List1->count();
    switch (event->key()) {
    case Qt::Key_Up:
        if (row == -1 && count >= 1)
            List1->setCurrentRow(0);
        else if (row >= 0 && row < count - 1)
            List1->setCurrentRow(row + 1);
        else
            return true;
        commandline->setText(List1->currentItem()->text());
        return true;
    case Qt::Key_Down:
        if (row < 0)
            return true;
        List1->setCurrentRow(row - 1);
        commandline->setText(row - 1 < 0 ? QString() : List1->currentItem()->text());
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        commandlineEnter();
        return true;
    default:
        return false;
    }
}

void ConversationForm::insertHistory(const QString& text) {
    List1->insertItem(0, text);
    List1->setCurrentRow(-1);
}

// Line breaks typed or pasted into the line: every line before a break is
// entered on its own; what follows the last break stays to be edited.
void ConversationForm::splitLineBreaks() {
    if (m_splitting)
        return;
    const QString text = commandline->text();
    if (!text.contains(u'\r') && !text.contains(u'\n'))
        return;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = text.split(lineBreak);
    const QString rest = lines.takeLast();
    const QPointer<ConversationForm> self(this);
    m_splitting = true;
    for (const QString& line : std::as_const(lines)) {
        commandline->setText(line);
        commandlineEnter();
        // A "/close" among the lines: the window has left the open windows,
        // though it is deleted only later; the rest is not run in it.
        if (!self || !program().forms().contains(self.data()))
            return;
    }
    commandline->setText(rest);
    m_splitting = false;
}

void ConversationForm::commandlineEnter() {
    const QString text = commandline->text();
    QString line = text.trimmed();
    if (line.isEmpty())
        return;
    insertHistory(text);
    commandline->clear();
    if (line.startsWith(u'/')) {
        ParseLine(program(), line, Tag());
        return;
    }
    Program& p = program();
    const QString nick = p.settings.value(QStringLiteral("PROFILE_NICKNAME"));
    const QString to = target();
    platform::Yarv* irc = p.hasMainFrame() ? p.mainFrame().Yarv1 : nullptr;
    if (irc == nullptr || !irc->IsConnected()) {
        dispLine(QStringLiteral("Error: not connected, line not sent"), false, QString());
        return;
    }
    // A piece is shown as said only once the send queue took it; the queue's
    // own warning tells of the rest.
    const QStringList pieces = splitText(line, privmsgTextBytes(nick, to));
    for (const QString& piece : pieces) {
        if (irc->SendCommand(QStringLiteral("PRIVMSG ") + to + QStringLiteral(" :") + piece))
            dispLine(u'<' + nick + QStringLiteral("> ") + piece, false,
                     setting(QStringLiteral("CONSOLE_FORECOLOR")));
    }
}

int ConversationForm::privmsgTextBytes(const QString& nick, const QString& target) {
    const int fixed = static_cast<int>((u':' + nick + u'!' + QString(kUserBytes, u'u') + u'@' +
                                        QString(kHostBytes, u'h') + QStringLiteral(" PRIVMSG ") +
                                        target + QStringLiteral(" :"))
                                           .toUtf8()
                                           .size());
    return std::clamp(kMaxLineBytes - fixed, kMinTextBytes, kMaxTextBytes);
}

QStringList ConversationForm::splitText(const QString& text, int maxBytes) {
    QStringList pieces;
    qsizetype start = 0;
    while (start < text.size()) {
        // The longest run of whole characters from `start` that fits.
        qsizetype end = start;
        int bytes = 0;
        while (end < text.size()) {
            const bool pair = text.at(end).isHighSurrogate() && end + 1 < text.size() &&
                              text.at(end + 1).isLowSurrogate();
            const int size = pair ? 4 : static_cast<int>(text.mid(end, 1).toUtf8().size());
            if (bytes + size > maxBytes && end > start)
                break;
            bytes += size;
            end += pair ? 2 : 1;
        }
        // A piece ends before a run of blanks, which opens the next one:
        // words stay whole, and no blank sits at the end of a message, where
        // servers drop it.
        qsizetype cut = end;
        if (end < text.size()) {
            qsizetype blank = text.lastIndexOf(u' ', end);
            while (blank > start && text.at(blank - 1) == u' ')
                --blank;
            if (blank > start)
                cut = blank;
        }
        pieces.append(text.mid(start, cut - start));
        start = cut;
    }
    return pieces;
}

// Showing lines --------------------------------------------------------------

void ConversationForm::dispLine(const QString& txt, bool timestamp, const QString& col) {
    const QString stamp = setting(QStringLiteral("TIMESTAMP"));
    const bool withTime = stamp == u"TRUE" || (stamp != u"FALSE" && timestamp);
    if (txt.trimmed().isEmpty())
        return;
    Program& p = program();
    QString text = txt;
    if (withTime) {
        // "[H:m] ": hour and minute without leading zeros.
        const QTime now = p.clock.time();
        text = u'[' + QString::number(now.hour()) + u':' + QString::number(now.minute()) +
               QStringLiteral("] ") + text;
    }
    if (setting(QStringLiteral("LOGGING")) == u"TRUE")
        m_log->append(logName(), text);
    const QString colour = col.isEmpty() ? setting(QStringLiteral("CONSOLE_FORECOLOR")) : col;
    // Without a background: the line stands on the console's own.
    const QString line = ColorCodePrefix(p.palette.ColorIndex(ColourNumber(colour))) + text;
    // The caret goes to the end first, so a line never replaces what the
    // user selected, and again after, so the console follows the newest line.
    caretToEnd();
    AddColorText(*console, QStringLiteral("\r\n") + line);
    caretToEnd();
}

QString ConversationForm::logName() const {
    return Tag().mid(1) + QStringLiteral(".log");
}

void ConversationForm::caretToEnd() {
    console->setSelStart(console->FileSize());
}

void ConversationForm::copySelection() {
    QString selected = console->SelText();
    if (selected.isEmpty())
        return;
    selected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QGuiApplication::clipboard()->setText(selected);
}

// The console's mouse and menu ----------------------------------------------

void ConversationForm::consoleMouseDown(int button) {
    if (button == 2)
        pop_console->ShowMenu();
}

void ConversationForm::consoleMouseUp(int button) {
    if (button != 1)
        return;
    // One gesture copies and returns to typing.
    copySelection();
    caretToEnd();
    commandline->setFocus();
}

void ConversationForm::UpdatePopups() {
    fillPopup(*pop_console, m_family.popups);
}

void ConversationForm::fillPopup(AGPopUp& menu, const QString& kind) {
    menu.ClearMenu();
    if (!program().hasPopupsWindow())
        return;
    const QListWidget* captions = program().popupsWindow().captionList(kind);
    if (captions == nullptr)
        return;
    for (int i = 0; i < captions->count(); ++i) {
        const QString caption = captions->item(i)->text();
        menu.AddMenuItem(caption, caption);
    }
}

void ConversationForm::runPopupItem(const QString& kind, const QString& itemName) {
    if (!program().hasPopupsWindow())
        return;
    // The lists as they are now: a command may change them.
    frm_popups& editor = program().popupsWindow();
    QStringList captions;
    QStringList commands;
    for (int i = 0; i < editor.captionList(kind)->count(); ++i)
        captions << editor.captionList(kind)->item(i)->text();
    for (int i = 0; i < editor.commandList(kind)->count(); ++i)
        commands << editor.commandList(kind)->item(i)->text();
    // Every item of that caption runs, in list order.
    const QPointer<ConversationForm> self(this);
    for (qsizetype i = 0; i < captions.size() && i < commands.size(); ++i) {
        if (captions.at(i) != itemName)
            continue;
        QString line = commands.at(i);
        ParseLine(program(), line, Tag());
        // An item that closed the window ends the run.
        if (!self || !program().forms().contains(self.data()))
            return;
    }
}

// Activation and layout -------------------------------------------------------

void ConversationForm::attachToFrame() {
    Form::attachToFrame();
    m_placement->watch([this] { Form_Activate(); }, [this] { Form_Resize(); });
}

void ConversationForm::Form_Activate() {
    SelectPanel(program(), Tag());
    m_placement->rescueSmall();
    caretToEnd();
    TBScroll(console, false, true);
    commandline->setFocus();
}

void ConversationForm::Form_Resize() {
    // On the desktop the window system places the window: no hand-over and
    // no frame rescue, and a minimised window keeps its controls.
    if (kind() == Kind::TopLevel) {
        if (WindowState() != vbMinimized)
            layOut();
        return;
    }
    m_placement->resize([this] { layOut(); });
}

int ConversationForm::handOverPanel(int ownPanel) const {
    return FramePlacement::panelBefore(ownPanel);
}

int ConversationForm::ownSwitchbarPanel() const {
    return FindPanel(program(), Tag());
}

void ConversationForm::layOut() {
    if (Height() <= 1000)
        return;
    standardLayout();
    caretToEnd();
}

void ConversationForm::standardLayout(int top) {
    const int w = Width();
    const int h = twipsHigh(commandline);
    const int consoleWidth = std::max(w - 100, 0);
    const int consoleHeight = std::max(Height() - 400 - h, 0);
    console->setGeometry(TwipsToPixelsX(1), TwipsToPixelsY(top), TwipsToPixelsX(consoleWidth),
                         TwipsToPixelsY(consoleHeight));
    commandline->setGeometry(TwipsToPixelsX(1), TwipsToPixelsY(top - 1 + consoleHeight),
                             TwipsToPixelsX(consoleWidth), commandline->height());
}
