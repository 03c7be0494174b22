#include "core/WindowCommands.h"

#include "connection/frm_main.h"
#include "connection/mod_TrayIcon.h"
#include "console/absRichEdit.h"
#include "core/CommandContext.h"
#include "core/CommandSupport.h"
#include "core/Form.h"
#include "core/Program.h"
#include "core/ProgramFiles.h"
#include "core/Val.h"
#include "core/WindowLookup.h"
#include "core/mod_connect.h"
#include "platform/window/Twips.h"
#include "windows/ConversationForm.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QFile>
#include <QGuiApplication>
#include <QScreen>

#include <cmath>

namespace {

// The console of a window that shows conversation text; nullptr for others.
absRichEdit* consoleOf(Form* window) {
    auto* conversation = qobject_cast<ConversationForm*>(window);
    return conversation ? conversation->console : nullptr;
}

void clearConsole(Form* window) {
    if (absRichEdit* console = consoleOf(window))
        console->setText(QString());
}

// Writes the console's text and CR LF to `file` (emptied first); a path that
// cannot be written writes nothing and says nothing.
void saveConsole(Form* window, const QString& file) {
    absRichEdit* console = consoleOf(window);
    if (console == nullptr || file.isEmpty())
        return;
    // Errors ignored; only a regular file (or none yet) is written, so a pipe
    // at the path never holds the program.
    WriteRegularFile(file, (console->Text() + QStringLiteral("\r\n")).toUtf8());
}

int twips(double value) {
    return static_cast<int>(std::lround(value));
}

// The restored place of a window the switchbar's menu puts back: at (10, 10)
// with two thirds of the frame's width and four sevenths of its height.
void restoreInFrame(Program& p, Form& window) {
    const frm_main& frame = p.mainFrame();
    window.setWindowState(Form::vbNormal);
    window.Move(10, 10, twips(frame.Width() / 1.5), twips(frame.Height() / 1.75));
}

void serverWindowCommand(CommandContext& command, const QString& action) {
    Program& p = command.program;
    frm_server& server = p.serverWindow();
    if (action == u"max")
        server.setWindowState(Form::vbMaximized);
    else if (action == u"min")
        server.setWindowState(Form::vbMinimized);
    else if (action == u"rest")
        restoreInFrame(p, server);
    else if (action == u"save")
        saveConsole(&server, command.trimmedTail(3));
}

void namedWindowCommand(CommandContext& command, const QString& action) {
    Program& p = command.program;
    const QString tag = command.word(3);
    const int index = FindForm(p, tag);
    if (index < 0)
        return;
    Form* window = p.forms().at(index);
    if (action == u"close") {
        window->requestClose(Form::vbFormControlMenu);
    } else if (action == u"max") {
        window->setWindowState(Form::vbMaximized);
    } else if (action == u"min") {
        window->setWindowState(Form::vbMinimized);
    } else if (action == u"rest") {
        restoreInFrame(p, *window);
    } else if (action == u"detach") {
        if (auto* query = qobject_cast<frm_query*>(window); query && tag.startsWith(u'?'))
            query->Desktop();
    } else if (action == u"save") {
        if (IsChannelWindow(window) || tag.startsWith(u'?'))
            saveConsole(window, command.trimmedTail(4));
    }
}

} // namespace

void clearCommand(CommandContext& command) {
    Program& p = command.program;
    Form* window = command.window();
    if (!IsServerWindow(p, window) && !IsChannelWindow(window) && !IsQueryWindow(window))
        return;
    clearConsole(window);
    if (IsQueryWindow(window)) {
        const int twin = FindForm(p, u'?' + window->Tag());
        if (twin >= 0)
            clearConsole(p.forms().at(twin));
    }
}

void closeCommand(CommandContext& command) {
    Program& p = command.program;
    Form* window = command.window();
    if ((IsChannelWindow(window) || IsQueryWindow(window)) && FindForm(p, window->Tag()) >= 0)
        window->requestClose(Form::vbFormControlMenu);
}

void maxCommand(CommandContext& command) {
    Program& p = command.program;
    frm_main& frame = p.mainFrame();
    frame.setWindowState(Form::vbMaximized);
    TrayRemove(p);
    frame.Show();
    p.serverWindow().setWindowState(Form::vbMaximized);
    frame.windowWidget()->raise();
    frame.windowWidget()->activateWindow();
}

void minCommand(CommandContext& command) {
    MinimizeMain(command.program);
}

void restoreCommand(CommandContext& command) {
    frm_main& frame = command.program.mainFrame();
    frame.setWindowState(Form::vbNormal);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    frame.Move(1, 1, twips(platform::PixelsToTwipsX(screen.width()) / 2.0),
               twips(platform::PixelsToTwipsY(screen.height()) / 3.0));
}

void winarrangeCommand(CommandContext& command) {
    const double number = std::nearbyint(Val(command.word(1)));
    if (number >= 0 && number <= 3)
        command.program.mainFrame().Arrange(static_cast<int>(number));
}

void windowCommand(CommandContext& command) {
    const QString which = command.word(1).toLower();
    const QString action = command.word(2).toLower();
    if (which == u"server")
        serverWindowCommand(command, action);
    else if (which == u"normal")
        namedWindowCommand(command, action);
}
