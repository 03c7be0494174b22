#pragma once
// Message box and input box behind one seam. By default they are Qt dialogs;
// a test installs an answerer that records every prompt and returns queued
// answers, so code that asks the user can run unattended.

#include "platform_export.h"

#include <QString>

#include <optional>

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
    enum Kind { MessageBox, InputBox };
    Kind kind = MessageBox;
    QString prompt;
    QString title;
    QString defaultText;    // input box only
    int buttons = vbOKOnly; // message box only: buttons plus icon
};

class PLATFORM_EXPORT DialogAnswerer {
public:
    virtual ~DialogAnswerer();
    virtual int messageBox(const DialogRequest& request) = 0;
    // The typed text, or nothing when the user cancelled.
    virtual std::optional<QString> inputBox(const DialogRequest& request) = 0;
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

} // namespace platform
