#include "platform/richedit/EditBatch.h"

#include <QEvent>
#include <QTextDocument>
#include <QTimerEvent>
#include <QWidget>

namespace platform {

namespace {

// The least time between the closes of two batches.
constexpr qint64 SpacingMs = 40;

} // namespace

EditBatch::EditBatch(QTextDocument& document, QWidget& view, std::function<void()> due)
    : m_document(document), m_view(view), m_due(std::move(due)), m_writer(&document) {}

EditBatch::~EditBatch() {
    close();
}

QTextCursor& EditBatch::open() {
    if (m_open)
        return m_writer;
    m_open = true;
    m_undo = m_document.isUndoRedoEnabled();
    m_document.setUndoRedoEnabled(false);
    m_writer.beginEditBlock();
    const qint64 since = m_sinceClose.isValid() ? m_sinceClose.elapsed() : SpacingMs;
    m_timer.start(static_cast<int>(qMax<qint64>(0, SpacingMs - since)), this);
    // Before the window paints, the batch closes, so that what is painted
    // is the text as it stands, laid out, in the same frame.
    m_window = m_view.window();
    m_window->installEventFilter(this);
    return m_writer;
}

bool EditBatch::close() {
    if (!m_open)
        return false;
    m_open = false;
    m_timer.stop();
    m_fallback.stop();
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = nullptr;
    m_writer.endEditBlock();
    m_document.setUndoRedoEnabled(m_undo);
    m_sinceClose.start();
    return true;
}

void EditBatch::timerEvent(QTimerEvent* event) {
    if (event->timerId() == m_timer.timerId()) {
        m_timer.stop();
        if (m_view.isVisible() && m_window && m_window->isVisible()) {
            m_view.update();
            m_fallback.start(0, this);
        } else {
            m_due();
        }
    } else if (event->timerId() == m_fallback.timerId()) {
        m_fallback.stop();
        m_due();
    } else {
        QObject::timerEvent(event);
    }
}

bool EditBatch::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::UpdateRequest && watched == m_window)
        m_due();
    return false;
}

} // namespace platform
