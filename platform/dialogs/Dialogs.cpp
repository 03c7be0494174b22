#include "platform/dialogs/Dialogs.h"

#include "platform/richedit/OleColor.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
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

// The buttons of a style, in the order it names them.
QList<QMessageBox::StandardButton> buttonsOf(int style) {
    switch (style & 0x0F) {
    case vbOKCancel:
        return {QMessageBox::Ok, QMessageBox::Cancel};
    case vbAbortRetryIgnore:
        return {QMessageBox::Abort, QMessageBox::Retry, QMessageBox::Ignore};
    case vbYesNoCancel:
        return {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel};
    case vbYesNo:
        return {QMessageBox::Yes, QMessageBox::No};
    case vbRetryCancel:
        return {QMessageBox::Retry, QMessageBox::Cancel};
    default:
        return {QMessageBox::Ok};
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

// Qt's name filter for a pattern list: "*.*" matches every file, as the
// pattern means on the systems it comes from.
QString nameFilterOf(const QString& filter) {
    QStringList patterns;
    for (const QString& part : filter.split(u';', Qt::SkipEmptyParts)) {
        const QString pattern = part.trimmed();
        if (!pattern.isEmpty())
            patterns.append(pattern == u"*.*" ? QStringLiteral("*") : pattern);
    }
    if (patterns.isEmpty())
        patterns.append(QStringLiteral("*"));
    return patterns.join(u' ');
}

} // namespace

DialogAnswerer::~DialogAnswerer() = default;

std::optional<QString> DialogAnswerer::openFile(const DialogRequest&) {
    return std::nullopt;
}

std::optional<QString> DialogAnswerer::chooser(const DialogRequest&) {
    return std::nullopt;
}

std::optional<qint32> DialogAnswerer::colorDialog(const DialogRequest&) {
    return std::nullopt;
}

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
    const QList<QMessageBox::StandardButton> order = buttonsOf(buttons);
    QMessageBox box(iconOf(buttons), request.title, prompt, {}, QApplication::activeWindow());
    for (const QMessageBox::StandardButton button : order)
        box.addButton(button);
    // The second or third button is the default when the style says so.
    const qsizetype preferred = (buttons & 0xF00) / vbDefaultButton2;
    box.setDefaultButton(order.value(preferred, order.constFirst()));
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

QString GetOpenFileName(const QString& filter, const QString& title, bool* cancelled) {
    DialogRequest request;
    request.kind = DialogRequest::OpenFile;
    request.title = title.isEmpty() ? DefaultDialogTitle() : title;
    request.filter = filter;
    std::optional<QString> answer;
    if (DialogAnswerer* a = state().answerer) {
        answer = a->openFile(request);
    } else {
        const QString path = QFileDialog::getOpenFileName(
            QApplication::activeWindow(), request.title, QString(), nameFilterOf(filter));
        if (!path.isEmpty())
            answer = path;
    }
    if (answer && answer->isEmpty())
        answer.reset();
    if (cancelled)
        *cancelled = !answer.has_value();
    return answer.value_or(QString());
}

std::optional<qint32> ChooseColorDialog(qint32 initial, const QString& title) {
    DialogRequest request;
    request.kind = DialogRequest::ColorDialog;
    request.title = title.isEmpty() ? DefaultDialogTitle() : title;
    request.color = initial;
    if (DialogAnswerer* a = state().answerer)
        return a->colorDialog(request);
    const QColor colour =
        QColorDialog::getColor(ColorFromRgb(initial), QApplication::activeWindow(), request.title);
    if (!colour.isValid())
        return std::nullopt;
    return RgbFromColor(colour);
}

bool AnswerChooser(DialogRequest::Kind kind, std::optional<QString>* pick) {
    DialogAnswerer* a = state().answerer;
    if (!a)
        return false;
    DialogRequest request;
    request.kind = kind;
    request.title = DefaultDialogTitle();
    const std::optional<QString> answer = a->chooser(request);
    if (pick)
        *pick = answer;
    return true;
}

bool AnswerModalWindow(const QString& caption) {
    DialogAnswerer* a = state().answerer;
    if (!a)
        return false;
    DialogRequest request;
    request.kind = DialogRequest::ModalWindow;
    request.title = caption;
    a->chooser(request);
    return true;
}

} // namespace platform
