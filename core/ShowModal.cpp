#include "core/ShowModal.h"

#include "core/Form.h"
#include "platform/dialogs/Dialogs.h"

#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QWindow>

namespace {

// Ends the loop when the watched window hides (minimising is no hiding).
class HideWatcher : public QObject {
public:
    HideWatcher(QWidget* window, QEventLoop& loop) : m_loop(loop) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Hide && !static_cast<QWidget*>(watched)->isVisible())
            m_loop.quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop& m_loop;
};

} // namespace

void ShowModal(Form& window, Form& owner) {
    if (platform::AnswerModalWindow(window.Caption()))
        return;
    QWidget* widget = window.windowWidget();
    widget->setWindowModality(Qt::ApplicationModal);
    widget->winId();
    if (QWindow* own = owner.windowWidget()->windowHandle())
        widget->windowHandle()->setTransientParent(own);
    QPointer<QWidget> guard(widget);
    QEventLoop loop;
    const HideWatcher watcher(widget, loop);
    QObject::connect(widget, &QObject::destroyed, &loop, &QEventLoop::quit);
    window.Show();
    if (widget->isVisible())
        loop.exec();
    if (guard)
        widget->setWindowModality(Qt::NonModal);
}
