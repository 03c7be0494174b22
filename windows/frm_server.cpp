#include "windows/frm_server.h"

#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "console/toolkit/mod_tbscroll.h"
#include "core/Program.h"
#include "core/WindowGeometry.h"
#include "core/WindowLookup.h"
#include "core/mod_kernel.h"
#include "platform/popup/AGPopUp.h"
#include "windows/DetachMenuProc.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>

namespace {

const QString kGeometryFile = QStringLiteral("server.win");

// The text a key types, when it types any: keys that type nothing, or only a
// control character, and keys held with Ctrl, Alt or Meta (arrows, Shift,
// Ctrl+C) keep their console function.
QString typedText(const QKeyEvent* event) {
    if (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return {};
    const QString text = event->text();
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return {};
    }
    return text;
}

} // namespace

frm_server::frm_server(Program& program)
    : ConversationForm(program, {QStringLiteral("server"), QStringLiteral("WIN_SERVER_")},
                       QStringLiteral("Server")) {
    setCaption(QStringLiteral("Server"));
    console->rtfText->installEventFilter(this);
    // The query windows' procedure, without their "&Detach" item.
    InstallDetachMenuProc(hwnd());
}

void frm_server::attachToFrame() {
    ConversationForm::attachToFrame();
    const frm_main& frame = program().mainFrame();
    Move(100, 100, frame.Width() / 2, frame.Height() / 2);
    ReadWindowGeometry(program(), kGeometryFile,
                       [this](const QString& key, const QString& value) { FSet(key, value); });
}

void frm_server::FSet(const QString& key, const QString& value) {
    ApplyGeometryRecord(*this, key, value, GeometryVariant::Restore);
}

void frm_server::Form_QueryUnload(int& Cancel, int UnloadMode) {
    Q_UNUSED(UnloadMode);
    // A place that cannot be saved is not worth losing the window for.
    WriteWindowGeometry(program(), kGeometryFile, *this);
    const Program& p = program();
    Cancel = p.ExitConfirmed || p.closing ? 0 : 1;
}

void frm_server::commandlineEnter() {
    // Every Enter counts, an empty line too; only "/" lines do anything.
    const QString text = commandline->text();
    QString line = text.trimmed();
    const QPointer<frm_server> self(this);
    ParseLine(program(), line, Tag());
    if (!self)
        return;
    insertHistory(text);
    commandline->clear();
}

bool frm_server::eventFilter(QObject* watched, QEvent* event) {
    if (watched == console->rtfText && event->type() == QEvent::KeyPress) {
        const QString text = typedText(static_cast<QKeyEvent*>(event));
        if (!text.isEmpty()) {
            // Typing into the console types into the command line.
            commandline->setFocus();
            commandline->setText(commandline->text() + text);
            return true;
        }
    }
    return ConversationForm::eventFilter(watched, event);
}

void frm_server::Form_Activate() {
    Program& p = program();
    SelectPanel(p, QStringLiteral("Server"));
    bool setupShown = false;
    for (const Form* form : p.forms()) {
        if (qobject_cast<const frm_setup*>(form) != nullptr)
            setupShown = form->Visible();
    }
    if (p.mainFrame().WindowState() != vbMinimized && !setupShown)
        commandline->setFocus();
    TBScroll(console, false, true);
}

void frm_server::consoleMouseDown(int button) {
    if (button == 2)
        pop_console->ShowMenu();
    else if (button == 1)
        copyAndReturn();
}

void frm_server::consoleMouseUp(int button) {
    if (button == 1)
        copyAndReturn();
}

// The selection goes to the clipboard and collapses where it began, so the
// console stays where the user was reading.
void frm_server::copyAndReturn() {
    copySelection();
    console->setSelStart(console->SelStart());
    commandline->setFocus();
}

int frm_server::handOverPanel(int ownPanel) const {
    // Its panel is the first: the next one takes over.
    return ownPanel + 1;
}
