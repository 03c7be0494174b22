#include "platform/dialogs/Dialogs.h"

#include "platform/richedit/OleColor.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QScreen>

#include <algorithm>

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

DialogRequest messageRequest(const QString& prompt, int buttons, const QString& title) {
    DialogRequest request;
    request.kind = DialogRequest::MessageBox;
    request.prompt = prompt;
    request.title = title.isEmpty() ? DefaultDialogTitle() : title;
    request.buttons = buttons;
    return request;
}

DialogRequest inputRequest(const QString& prompt, const QString& title,
                           const QString& defaultText) {
    DialogRequest request;
    request.kind = DialogRequest::InputBox;
    request.prompt = prompt;
    request.title = title.isEmpty() ? DefaultDialogTitle() : title;
    request.defaultText = defaultText;
    return request;
}

// A box opens above every window of the program. It belongs to the active
// window, but a window that stays on top (the main frame can) is stacked
// above any window that does not, whatever that one belongs to; while one is
// shown, the box stays on top as well.
void keepAboveTheProgram(QDialog& box) {
    const QWidgetList windows = QApplication::topLevelWidgets();
    const bool onTop = std::any_of(windows.cbegin(), windows.cend(), [&box](const QWidget* w) {
        return w != &box && w->isVisible() && w->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
    if (onTop)
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
}

// A Qt message box for a request, its prompt as plain text.
QMessageBox* makeMessageBox(const DialogRequest& request) {
    auto* box = new QMessageBox(iconOf(request.buttons), request.title, QString(), {},
                                QApplication::activeWindow());
    box->setTextFormat(Qt::PlainText);
    box->setText(request.prompt);
    const QList<QMessageBox::StandardButton> order = buttonsOf(request.buttons);
    for (const QMessageBox::StandardButton button : order)
        box->addButton(button);
    // The second or third button is the default when the style says so.
    const qsizetype preferred = (request.buttons & 0xF00) / vbDefaultButton2;
    box->setDefaultButton(order.value(preferred, order.constFirst()));
    // Modal before it is kept above: QMessageBox sets its window flags anew
    // when its modality is set.
    box->setWindowModality(Qt::ApplicationModal);
    keepAboveTheProgram(*box);
    return box;
}

// The answer of a closed message box: the button clicked, or for a box
// closed otherwise its escape button's answer (Cancel when it has none).
int answerOf(QMessageBox& box) {
    QAbstractButton* clicked = box.clickedButton();
    if (!clicked)
        clicked = box.escapeButton();
    return clicked ? resultOf(box.standardButton(clicked)) : vbCancel;
}

// An input box whose prompt shows as written: its label takes no "&" for an
// access key (QInputDialog makes the line edit the label's buddy whenever it
// shows, so the buddy is let go once shown), and a long prompt wraps inside
// the box, which stays within the screen.
class PromptBox : public QInputDialog {
public:
    using QInputDialog::QInputDialog;

protected:
    void showEvent(QShowEvent* event) override {
        QInputDialog::showEvent(event);
        for (QLabel* label : findChildren<QLabel*>()) {
            label->setBuddy(nullptr);
            // A label that had a buddy goes on showing its "&" as an access
            // key until its text is set anew.
            const QString text = label->text();
            label->clear();
            label->setText(text);
        }
    }
};

// A Qt input box for a request, its prompt as plain text.
QInputDialog* makeInputBox(const DialogRequest& request) {
    auto* box = new PromptBox(QApplication::activeWindow());
    keepAboveTheProgram(*box);
    box->setWindowTitle(request.title);
    box->setInputMode(QInputDialog::TextInput);
    box->setLabelText(request.prompt);
    box->setTextValue(request.defaultText);
    for (QLabel* label : box->findChildren<QLabel*>()) {
        label->setTextFormat(Qt::PlainText);
        label->setWordWrap(true);
    }
    if (const QScreen* screen = box->screen())
        box->setMaximumWidth(screen->availableGeometry().width());
    return box;
}

// The object an answer depends on, watched from when the box opens.
struct Context {
    explicit Context(const QObject* object)
        : watched(const_cast<QObject*>(object)), given(object != nullptr) {}
    bool alive() const { return !given || watched; }
    QPointer<QObject> watched;
    bool given;
};

// Runs `call` later from the event loop, unless its context is gone by then.
void later(const Context& context, std::function<void()> call) {
    if (!context.alive())
        return;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [context, call = std::move(call)] {
            if (context.alive())
                call();
        },
        Qt::QueuedConnection);
}

} // namespace

DialogAnswerer::~DialogAnswerer() = default;

void DialogAnswerer::messageBoxLater(const DialogRequest& request, MsgBoxAnswered answer) {
    answer(messageBox(request));
}

void DialogAnswerer::inputBoxLater(const DialogRequest& request, InputBoxAnswered answer) {
    answer(inputBox(request));
}

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
    const DialogRequest request = messageRequest(prompt, buttons, title);
    if (DialogAnswerer* a = state().answerer)
        return a->messageBox(request);
    QPointer<QMessageBox> box = makeMessageBox(request);
    box->exec();
    if (!box)
        return vbCancel; // taken down with its parent meanwhile
    const int answer = answerOf(*box);
    delete box;
    return answer;
}

QString InputBox(const QString& prompt, const QString& title, const QString& defaultText,
                 bool* cancelled) {
    const DialogRequest request = inputRequest(prompt, title, defaultText);
    std::optional<QString> answer;
    if (DialogAnswerer* a = state().answerer) {
        answer = a->inputBox(request);
    } else {
        QPointer<QInputDialog> box = makeInputBox(request);
        if (box->exec() == QDialog::Accepted && box)
            answer = box->textValue();
        delete box;
    }
    if (cancelled)
        *cancelled = !answer.has_value();
    return answer.value_or(QString());
}

void ShowMsgBox(const QString& prompt, int buttons, const QString& title, MsgBoxAnswered answered,
                const QObject* object) {
    const DialogRequest request = messageRequest(prompt, buttons, title);
    const Context context(object);
    if (DialogAnswerer* a = state().answerer) {
        a->messageBoxLater(request, [context, answered](int result) {
            if (answered)
                later(context, [answered, result] { answered(result); });
        });
        return;
    }
    QMessageBox* box = makeMessageBox(request);
    box->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(box, &QDialog::finished, box, [box, context, answered] {
        if (answered)
            later(context, [answered, result = answerOf(*box)] { answered(result); });
    });
    box->show();
}

void ShowInputBox(const QString& prompt, const QString& title, const QString& defaultText,
                  InputBoxAnswered answered, const QObject* object) {
    const DialogRequest request = inputRequest(prompt, title, defaultText);
    const Context context(object);
    if (DialogAnswerer* a = state().answerer) {
        a->inputBoxLater(request, [context, answered](const std::optional<QString>& text) {
            if (answered)
                later(context, [answered, text] { answered(text); });
        });
        return;
    }
    QInputDialog* box = makeInputBox(request);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::ApplicationModal);
    QObject::connect(box, &QDialog::finished, box, [box, context, answered](int result) {
        std::optional<QString> text;
        if (result == QDialog::Accepted)
            text = box->textValue();
        if (answered)
            later(context, [answered, text] { answered(text); });
    });
    box->show();
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
