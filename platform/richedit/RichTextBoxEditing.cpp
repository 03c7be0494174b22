#include "platform/richedit/RichTextBox.h"

#include "platform/richedit/Rtf.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextDocumentFragment>

// The box's editing: its editing and line messages, the clipboard in RTF,
// selection by character sets, searching, and the paragraph edits of the
// console's block commands.

namespace platform {

namespace {

const QString rtfMime = QStringLiteral("text/rtf");

// Whether a character of the document is in a set of the CR LF text: a
// paragraph break is a CR and an LF.
bool inSet(QChar c, const QString& characterSet) {
    if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
        return characterSet.contains(QLatin1Char('\r')) || characterSet.contains(QLatin1Char('\n'));
    return characterSet.contains(c);
}

} // namespace

// ---- messages ----------------------------------------------------------

LRESULT RichTextBox::editingWindowProc(UINT msg, WPARAM wParam, LPARAM) {
    switch (msg) {
    case EM_LINEFROMCHAR:
        return lineFromChar(wParam);
    case EM_LINEINDEX:
        return lineIndex(wParam);
    case EM_LINELENGTH:
        return lineLength(wParam);
    case EM_CANUNDO:
        return document()->isUndoAvailable() ? 1 : 0;
    case EM_UNDO: {
        const bool undoable = document()->isUndoAvailable();
        undo();
        return undoable ? 1 : 0;
    }
    case WM_CUT:
        cut();
        return 0;
    case WM_COPY:
        copy();
        return 0;
    case WM_PASTE:
    case EM_PASTESPECIAL:
        paste();
        return 0;
    case WM_CLEAR:
        deleteSelection();
        return 0;
    case EM_CANPASTE:
        return canPaste() ? 1 : 0;
    default:
        return 0;
    }
}

void RichTextBox::deleteSelection() {
    closeBatch();
    if (isReadOnly())
        return;
    QTextCursor c = textCursor();
    c.removeSelectedText();
    setTextCursor(c);
}

// ---- the clipboard -----------------------------------------------------

QMimeData* RichTextBox::createMimeDataFromSelection() const {
    QMimeData* mime = QPlainTextEdit::createMimeDataFromSelection();
    const QTextCursor c = textCursor();
    if (mime && c.hasSelection())
        mime->setData(rtfMime,
                      WriteRtf(*document(), c.selectionStart(), c.selectionEnd()).toLatin1());
    return mime;
}

bool RichTextBox::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasFormat(rtfMime) || QPlainTextEdit::canInsertFromMimeData(source);
}

void RichTextBox::insertFromMimeData(const QMimeData* source) {
    const QString rtf = QString::fromLatin1(source->data(rtfMime));
    if (isReadOnly() || !LooksLikeRtf(rtf)) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    setSelRTF(rtf);
    ensureCursorVisible();
}

// ---- selection by character sets ---------------------------------------

void RichTextBox::Span(const QString& characterSet, bool forward, bool negate) {
    closeBatch();
    const QTextDocument* doc = document();
    const QTextCursor caret = textCursor();
    int start = caret.selectionStart();
    int end = caret.selectionEnd();
    if (forward) {
        while (end < doc->characterCount() - 1 &&
               inSet(doc->characterAt(end), characterSet) != negate)
            ++end;
    } else {
        while (start > 0 && inSet(doc->characterAt(start - 1), characterSet) != negate)
            --start;
    }
    QTextCursor c(document());
    c.setPosition(start);
    c.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(c);
}

void RichTextBox::UpTo(const QString& characterSet, bool forward, bool negate) {
    closeBatch();
    const QTextDocument* doc = document();
    const QTextCursor caret = textCursor();
    int at = forward ? caret.selectionEnd() : caret.selectionStart();
    if (forward) {
        while (at < doc->characterCount() - 1 &&
               inSet(doc->characterAt(at), characterSet) == negate)
            ++at;
    } else {
        while (at > 0 && inSet(doc->characterAt(at - 1), characterSet) == negate)
            --at;
    }
    QTextCursor c(document());
    c.setPosition(at);
    setTextCursor(c);
}

qint32 RichTextBox::Find(const QString& text, std::optional<qint32> start,
                         std::optional<qint32> end, int options) {
    closeBatch();
    if (text.isEmpty())
        return -1;
    const qint32 from = qBound(0, start.value_or(SelStart()), TextLength());
    const qint32 to = qBound(0, end.value_or(TextLength()), TextLength());
    QTextDocument::FindFlags flags;
    if (options & rtfWholeWord)
        flags |= QTextDocument::FindWholeWords;
    if (options & rtfMatchCase)
        flags |= QTextDocument::FindCaseSensitively;
    const QTextCursor found = document()->find(text, toDocument(from), flags);
    if (found.isNull() || fromDocument(found.selectionEnd()) > to)
        return -1;
    if (!(options & rtfNoHighlight)) {
        QTextCursor c(document());
        c.setPosition(found.selectionStart());
        c.setPosition(found.selectionEnd(), QTextCursor::KeepAnchor);
        setTextCursor(c);
    }
    return fromDocument(found.selectionStart());
}

// ---- paragraphs --------------------------------------------------------

qint32 RichTextBox::paragraphOf(qint32 position) const {
    return document()->findBlock(toDocument(position)).blockNumber();
}

qint32 RichTextBox::paragraphCount() const {
    return document()->blockCount();
}

qint32 RichTextBox::paragraphStart(qint32 paragraph) const {
    const QTextBlock block = document()->findBlockByNumber(paragraph);
    return block.isValid() ? fromDocument(block.position()) : -1;
}

qint32 RichTextBox::paragraphEnd(qint32 paragraph) const {
    const QTextBlock block = document()->findBlockByNumber(paragraph);
    return block.isValid() ? fromDocument(block.position() + block.length() - 1) : -1;
}

QStringList RichTextBox::paragraphTexts() const {
    QStringList texts;
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next())
        texts << block.text();
    return texts;
}

void RichTextBox::reorderParagraphs(const QList<qint32>& order) {
    closeBatch();
    QList<QTextDocumentFragment> paragraphs;
    QTextCursor c(document());
    for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
        c.setPosition(block.position());
        c.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        paragraphs << c.selection();
    }
    c.beginEditBlock();
    for (qint32 i = static_cast<qint32>(paragraphs.size()) - 1; i >= 0; --i) {
        // Each paragraph's text is replaced in place, so the breaks and
        // the paragraphs' own formats stay where they were.
        const QTextBlock block = document()->findBlockByNumber(i);
        c.setPosition(block.position());
        c.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
        c.removeSelectedText();
        c.insertFragment(paragraphs.at(order.value(i, i)));
    }
    c.endEditBlock();
}

void RichTextBox::indentParagraphs(qint32 first, qint32 last, const QString& unit) {
    closeBatch();
    QTextCursor c(document());
    c.beginEditBlock();
    for (QTextBlock block = document()->findBlockByNumber(first);
         block.isValid() && block.blockNumber() <= last; block = block.next()) {
        c.setPosition(block.position());
        // The unit takes the format of the text it goes before.
        QTextCursor next(block);
        next.movePosition(QTextCursor::NextCharacter);
        c.insertText(unit, block.length() > 1 ? next.charFormat() : c.charFormat());
    }
    c.endEditBlock();
}

void RichTextBox::outdentParagraphs(qint32 first, qint32 last, const QString& unit) {
    closeBatch();
    if (unit.isEmpty())
        return;
    QTextCursor c(document());
    c.beginEditBlock();
    for (QTextBlock block = document()->findBlockByNumber(first);
         block.isValid() && block.blockNumber() <= last; block = block.next()) {
        if (!block.text().startsWith(unit))
            continue;
        c.setPosition(block.position());
        c.setPosition(block.position() + static_cast<int>(unit.size()), QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    c.endEditBlock();
}

} // namespace platform
