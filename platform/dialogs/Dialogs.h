#pragma once
// Message box, input box, the open-file prompt and the program's own modal
// choosers behind one seam. By default they are Qt dialogs (the choosers are
// the caller's windows); a test installs an answerer that records every
// prompt and returns queued answers, so code that asks the user can run
// unattended.
//
// Two kinds of box: MsgBox and InputBox wait for the answer (a nested event
// loop, for what the user asked for), ShowMsgBox and ShowInputBox return at
// once and hand the answer to a callback later, from the event loop (for
// what a server or peer line raises: nothing may wait on the user there).
// The prompt of every box is shown as plain text, never as markup, because
// it may hold text from a server, a peer or a file.

#include "platform_export.h"

#include <QString>

#include <functional>
#include <optional>

class QObject;

namespace platform {

// Buttons and icons of a message box, and its answers.
enum MsgBoxStyle : int {
    vbOKOnly = 0,
    vbOKCancel = 1,
    vbAbortRetryIgnore = 2,
    vbYesNoCancel = 3,
    vbYesNo = 4,
    vbRetryCancel = 5,
    vbCritical = 16,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64,
    // Which button is the default: the first unless one of these is given.
    vbDefaultButton1 = 0,
    vbDefaultButton2 = 256,
    vbDefaultButton3 = 512,
};
enum MsgBoxResult : int {
    vbOK = 1,
    vbCancel = 2,
    vbAbort = 3,
    vbRetry = 4,
    vbIgnore = 5,
    vbYes = 6,
    vbNo = 7,
};

struct DialogRequest {
    enum Kind {
        MessageBox,
        InputBox,
        OpenFile,
        ColorChooser,
        FontChooser,
        ModalWindow,
        ColorDialog,
    };
    Kind kind = MessageBox;
    QString prompt;
    QString title;
    QString defaultText;    // input box only
    int buttons = vbOKOnly; // message box only: buttons plus icon
    QString filter;         // open-file prompt only, as given ("*.*": every file)
    qint32 color = 0;       // colour dialog only: the colour it opens with, an RGB number
};

// The answer of a box that does not wait: a MsgBoxResult, or the typed text
// (nothing when cancelled).
using MsgBoxAnswered = std::function<void(int result)>;
using InputBoxAnswered = std::function<void(const std::optional<QString>& text)>;

class PLATFORM_EXPORT DialogAnswerer {
public:
    virtual ~DialogAnswerer();
    virtual int messageBox(const DialogRequest& request) = 0;
    // The typed text, or nothing when the user cancelled.
    virtual std::optional<QString> inputBox(const DialogRequest& request) = 0;
    // The boxes that do not wait. `answer` may be called at once or kept and
    // called later (an answerer holding the box open); ShowMsgBox and
    // ShowInputBox pass it on to their caller from the event loop either way.
    // By default they answer as messageBox and inputBox do.
    virtual void messageBoxLater(const DialogRequest& request, MsgBoxAnswered answer);
    virtual void inputBoxLater(const DialogRequest& request, InputBoxAnswered answer);
    // The chosen file's path, or nothing when the user cancelled. Answerers
    // that do not expect the prompt cancel it.
    virtual std::optional<QString> openFile(const DialogRequest& request);
    // What the user picked in a modal chooser (a palette index as digits, a
    // font name), or nothing when the chooser was closed without a pick.
    // Answerers that do not expect a chooser close it without a pick.
    virtual std::optional<QString> chooser(const DialogRequest& request);
    // The colour taken in the colour dialog, an RGB number, or nothing when
    // the user cancelled. Answerers that do not expect the dialog cancel it.
    virtual std::optional<qint32> colorDialog(const DialogRequest& request);
};

// Installs the answerer every dialog goes to; nullptr puts the Qt dialogs
// back. The answerer is not owned.
PLATFORM_EXPORT void SetDialogAnswerer(DialogAnswerer* answerer);
PLATFORM_EXPORT DialogAnswerer* CurrentDialogAnswerer();

// The title used when a caller gives none.
PLATFORM_EXPORT void SetDefaultDialogTitle(const QString& title);
PLATFORM_EXPORT QString DefaultDialogTitle();

// Shows a message box; an empty title is the default title. Returns one of MsgBoxResult.
PLATFORM_EXPORT int MsgBox(const QString& prompt, int buttons = vbOKOnly,
                           const QString& title = QString());
// Shows an input box; "" when cancelled, and *cancelled tells the two apart.
PLATFORM_EXPORT QString InputBox(const QString& prompt, const QString& title = QString(),
                                 const QString& defaultText = QString(), bool* cancelled = nullptr);

// A message box that does not wait: it is shown and the call returns at
// once. `answered` (may be empty) runs later from the event loop, never
// inside this call, with one of MsgBoxResult; it is dropped when `context` is
// given and destroyed first. Whatever `answered` depends on may have changed
// meanwhile (a window closed, the connection gone): it checks again.
PLATFORM_EXPORT void ShowMsgBox(const QString& prompt, int buttons = vbOKOnly,
                                const QString& title = QString(), MsgBoxAnswered answered = {},
                                const QObject* context = nullptr);
// An input box that does not wait, as ShowMsgBox: `answered` gets the typed
// text, or nothing when the user cancelled.
PLATFORM_EXPORT void ShowInputBox(const QString& prompt, const QString& title,
                                  const QString& defaultText, InputBoxAnswered answered,
                                  const QObject* context = nullptr);

// Asks for an existing file to open. `filter` is a pattern list such as
// "*.*" or "*.txt;*.log" ("*.*" stands for every file, names without a dot
// too). Returns the chosen path, "" when cancelled.
PLATFORM_EXPORT QString GetOpenFileName(const QString& filter = QStringLiteral("*.*"),
                                        const QString& title = QString(),
                                        bool* cancelled = nullptr);

// Asks for any colour in the system's colour dialog, opened on `initial` (an
// RGB number). Returns the colour taken, nothing when cancelled.
PLATFORM_EXPORT std::optional<qint32> ChooseColorDialog(qint32 initial,
                                                        const QString& title = QString());

// The colour and font choosers are the program's own modal windows. While an
// answerer is installed it stands in for them: the result is true and *pick
// holds its answer (nothing: closed without a pick). Without one the result
// is false and the caller shows its chooser window.
PLATFORM_EXPORT bool AnswerChooser(DialogRequest::Kind kind, std::optional<QString>* pick);

// The program's other modal windows (the setup walkthrough, the about box):
// while an answerer is installed it is told of the window (a ModalWindow
// request titled with its caption, passed to its chooser) and the window is
// not shown; the result is true. Without one the result is false and the
// caller shows the window.
PLATFORM_EXPORT bool AnswerModalWindow(const QString& caption);

} // namespace platform
