#include "platform/richedit/RichTextBox.h"

#include "platform/richedit/EditBatch.h"
#include "platform/richedit/VbKeys.h"
#include "platform/window/Twips.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>

// The box's events: what it raises as a control raises them, and the events
// before which the program's writes are laid out.

namespace platform {

// ---- events ------------------------------------------------------------

void RichTextBox::textChanged() {
    if (m_closing)
        m_changedWhileClosing = true;
    else
        Q_EMIT Change();
}

void RichTextBox::selectionMoved() {
    if (m_closing)
        return;
    const QTextCursor c = textCursor();
    if (c.anchor() == m_lastAnchor && c.position() == m_lastPosition)
        return;
    m_lastAnchor = c.anchor();
    m_lastPosition = c.position();
    Q_EMIT SelChange();
}

// A handler of the box's events may close the window that holds the box and
// so delete it: after every event raised, the box checks that it is still
// there before it goes on, and takes the event, so that nothing offers it to
// the widgets that went with the box.

void RichTextBox::keyPressEvent(QKeyEvent* event) {
    const QPointer<RichTextBox> self(this);
    const int pressedCode = VbKeyCodeFromQt(event->key());
    const int pressedShift = VbShiftFromQt(event->modifiers());
    int keyCode = pressedCode;
    int shift = pressedShift;
    Q_EMIT KeyDown(keyCode, shift);
    if (!self) {
        event->accept();
        return;
    }
    if (pressedCode != 0 && keyCode == 0) {
        event->accept();
        return;
    }
    int key = event->key();
    Qt::KeyboardModifiers modifiers = event->modifiers();
    QString text = event->text();
    if (keyCode != pressedCode || shift != pressedShift) {
        key = QtKeyFromVbKeyCode(keyCode);
        modifiers = QtModifiersFromVbShift(shift) | (event->modifiers() & Qt::KeypadModifier);
        text = TextForVbKeyCode(keyCode, shift);
    }
    if (!text.isEmpty()) {
        const int typed = text.at(0).unicode();
        int keyAscii = typed;
        Q_EMIT KeyPress(keyAscii);
        if (!self) {
            event->accept();
            return;
        }
        if (keyAscii == 0) {
            event->accept();
            return;
        }
        if (keyAscii != typed) {
            text = QString(QChar(static_cast<char16_t>(keyAscii & 0xFFFF)));
            key = QtKeyForCharacter(keyAscii);
        }
    }
    if (key == event->key() && modifiers == event->modifiers() && text == event->text()) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent changed(QEvent::KeyPress, key, modifiers, text, event->isAutoRepeat(),
                      static_cast<quint16>(event->count()));
    QPlainTextEdit::keyPressEvent(&changed);
    event->setAccepted(changed.isAccepted());
}

void RichTextBox::keyReleaseEvent(QKeyEvent* event) {
    int keyCode = VbKeyCodeFromQt(event->key());
    int shift = VbShiftFromQt(event->modifiers());
    const QPointer<RichTextBox> self(this);
    Q_EMIT KeyUp(keyCode, shift);
    if (!self) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyReleaseEvent(event);
}

void RichTextBox::emitMouse(QMouseEvent* event, int which) {
    int button = VbButtonsFromQt(which == 1 ? event->buttons() : Qt::MouseButtons(event->button()));
    int shift = VbShiftFromQt(event->modifiers());
    float x = static_cast<float>(event->position().x() * TwipsPerPixelX());
    float y = static_cast<float>(event->position().y() * TwipsPerPixelY());
    switch (which) {
    case 0:
        Q_EMIT MouseDown(button, shift, x, y);
        break;
    case 1:
        Q_EMIT MouseMove(button, shift, x, y);
        break;
    default:
        Q_EMIT MouseUp(button, shift, x, y);
        break;
    }
}

void RichTextBox::mousePressEvent(QMouseEvent* event) {
    const QPointer<RichTextBox> self(this);
    emitMouse(event, 0);
    if (!self) {
        event->accept();
        return;
    }
    QPlainTextEdit::mousePressEvent(event);
}

void RichTextBox::mouseMoveEvent(QMouseEvent* event) {
    const QPointer<RichTextBox> self(this);
    emitMouse(event, 1);
    if (!self) {
        event->accept();
        return;
    }
    QPlainTextEdit::mouseMoveEvent(event);
}

void RichTextBox::mouseReleaseEvent(QMouseEvent* event) {
    const QPointer<RichTextBox> self(this);
    QPlainTextEdit::mouseReleaseEvent(event);
    if (!self) {
        event->accept();
        return;
    }
    emitMouse(event, 2);
    if (!self) {
        event->accept();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        Q_EMIT Click();
        if (!self)
            event->accept();
    }
}

void RichTextBox::mouseDoubleClickEvent(QMouseEvent* event) {
    const QPointer<RichTextBox> self(this);
    QPlainTextEdit::mouseDoubleClickEvent(event);
    if (!self) {
        event->accept();
        return;
    }
    Q_EMIT DblClick();
    if (!self)
        event->accept();
}

void RichTextBox::resizeEvent(QResizeEvent* event) {
    QPlainTextEdit::resizeEvent(event);
    forgetLines();
    updateWrapMargin();
    Q_EMIT viewMoved();
}

void RichTextBox::changeEvent(QEvent* event) {
    QPlainTextEdit::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::ApplicationFontChange:
    case QEvent::StyleChange:
        forgetLines();
        break;
    default:
        break;
    }
}

namespace {

// The events after which nobody may see text that is not laid out yet: the
// user's input, the view's changes and painting.
bool needsSettledText(QEvent::Type type) {
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::InputMethod:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Resize:
    case QEvent::Paint:
        return true;
    default:
        return false;
    }
}

} // namespace

bool RichTextBox::event(QEvent* event) {
    if (m_batch && m_batch->isOpen() && needsSettledText(event->type())) {
        const QPointer<RichTextBox> self(this);
        closeBatch();
        if (!self)
            return true;
    }
    return QPlainTextEdit::event(event);
}

bool RichTextBox::viewportEvent(QEvent* event) {
    if (m_batch && m_batch->isOpen() && needsSettledText(event->type())) {
        const QPointer<RichTextBox> self(this);
        closeBatch();
        if (!self)
            return true;
    }
    return QPlainTextEdit::viewportEvent(event);
}

// ---- undo and the clipboard --------------------------------------------

void RichTextBox::undo() {
    closeBatch();
    QPlainTextEdit::undo();
}

void RichTextBox::redo() {
    closeBatch();
    QPlainTextEdit::redo();
}

void RichTextBox::copy() {
    closeBatch();
    QPlainTextEdit::copy();
}

void RichTextBox::cut() {
    closeBatch();
    QPlainTextEdit::cut();
}

void RichTextBox::paste() {
    closeBatch();
    QPlainTextEdit::paste();
}

} // namespace platform
