#include "platform/dialogs/Dialogs.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>

namespace platform {
namespace {

struct DialogState {
    DialogAnswerer* answerer = nullptr;
    QString defaultTitle = QStringLiteral("Parlone");
};

DialogState& state() {
    static DialogState s;
    return s;
}

QMessageBox::StandardButtons buttonsOf(int style) {
    switch (style & 0x0F) {
    case vbOKCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case vbAbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case vbYesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case vbYesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case vbRetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon iconOf(int style) {
    switch (style & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case vbQuestion:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int resultOf(int button) {
    switch (button) {
    case QMessageBox::Ok:
        return vbOK;
    case QMessageBox::Abort:
        return vbAbort;
    case QMessageBox::Retry:
        return vbRetry;
    case QMessageBox::Ignore:
        return vbIgnore;
    case QMessageBox::Yes:
        return vbYes;
    case QMessageBox::No:
        return vbNo;
    default:
        return vbCancel;
    }
}

} // namespace

DialogAnswerer::~DialogAnswerer() = default;

void SetDialogAnswerer(DialogAnswerer* answerer) {
    state().answerer = answerer;
}
DialogAnswerer* CurrentDialogAnswerer() {
    return state().answerer;
}
void SetDefaultDialogTitle(const QString& title) {
    state().defaultTitle = title;
}
QString DefaultDialogTitle() {
    return state().defaultTitle;
}

int MsgBox(const QString& prompt, int buttons, const QString& title) {
    DialogRequest request;
    request.kind = DialogRequest::MessageBox;
    request.prompt = prompt;
    request.title = title.isEmpty() ? DefaultDialogTitle() : title;
    request.buttons = buttons;
    if (DialogAnswerer* a = state().answerer)
        return a->messageBox(request);
    QMessageBox box(iconOf(buttons), request.title, prompt, buttonsOf(buttons),
                    QApplication::activeWindow());
    return resultOf(box.exec());
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText,
                 bool* cancelled) {
    DialogRequest request;
    request.kind = DialogRequest::InputBox;
    request.prompt = prompt;
    request.title = title.isEmpty() ? DefaultDialogTitle() : title;
    request.defaultText = defaultText;
    std::optional<QString> answer;
    if (DialogAnswerer* a = state().answerer) {
        answer = a->inputBox(request);
    } else {
        bool ok = false;
        const QString text = QInputDialog::getText(QApplication::activeWindow(), request.title,
                                                   prompt, QLineEdit::Normal, defaultText, &ok);
        if (ok)
            answer = text;
    }
    if (cancelled)
        *cancelled = !answer.has_value();
    return answer.value_or(QString());
}

} // namespace platform
