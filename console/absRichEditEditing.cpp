#include "console/absRichEdit.h"

#include <QScopeGuard>

#include <algorithm>
#include <numeric>

// The console's editing members: clipboard and undo, selection commands,
// case changes and the block commands (sort, indent, outdent).

using namespace platform;

namespace {

// The message Transparent sends; the box answers it without any effect.
constexpr UINT WM_SETCURSOR = 0x0020;

const QString WordDelimiters = QStringLiteral(" ,;:.?!\r\n");
const QString SentenceDelimiters = QStringLiteral(".?!");

bool isAsciiUpper(QChar c) {
    return c >= QLatin1Char('A') && c <= QLatin1Char('Z');
}

bool isAsciiLower(QChar c) {
    return c >= QLatin1Char('a') && c <= QLatin1Char('z');
}

} // namespace

// ---- editing commands and queries --------------------------------------

void absRichEdit::Undo() {
    SendMessageA(rtfText->hWnd(), EM_UNDO, 0, 0);
}

void absRichEdit::Cut() {
    SendMessageA(rtfText->hWnd(), WM_CUT, 0, 0);
}

void absRichEdit::Copy() {
    SendMessageA(rtfText->hWnd(), WM_COPY, 0, 0);
}

void absRichEdit::Paste() {
    SendMessageA(rtfText->hWnd(), WM_PASTE, 0, 0);
}

void absRichEdit::PasteSpecial() {
    // Format 0: the clipboard's own.
    SendMessageA(rtfText->hWnd(), EM_PASTESPECIAL, 0, 0);
}

void absRichEdit::Delete() {
    SendMessageA(rtfText->hWnd(), WM_CLEAR, 0, 0);
}

bool absRichEdit::CanUndo() const {
    return SendMessageA(rtfText->hWnd(), EM_CANUNDO, 0, 0) != 0;
}

bool absRichEdit::CanCut() const {
    return SelLength() >= 1;
}

bool absRichEdit::CanCopy() const {
    return SelLength() >= 1;
}

bool absRichEdit::CanPaste() const {
    return SendMessageA(rtfText->hWnd(), EM_CANPASTE, 0, 0) != 0;
}

// ---- selection commands ------------------------------------------------

void absRichEdit::SelectAll() {
    setSelStart(0);
    setSelLength(rtfText->TextLength());
}

QString absRichEdit::SelectCurrentLine() {
    const HWND box = rtfText->hWnd();
    const qint32 start = SelStart();
    const qint32 line = SendMessageA(box, EM_LINEFROMCHAR, start, 0);
    const qint32 index = SendMessageA(box, EM_LINEINDEX, line, 0);
    const qint32 length = SendMessageA(box, EM_LINELENGTH, start, 0);
    setSelStart(index);
    setSelLength(length);
    return SelText();
}

void absRichEdit::SelectLine() {
    SelectCurrentLine();
}

// Widens the selection to the whole paragraphs it touches; answers the last
// of them.
qint32 absRichEdit::SelectWholeLines() {
    const qint32 start = SelStart();
    const qint32 length = SelLength();
    const qint32 first = rtfText->paragraphStart(rtfText->paragraphOf(start));
    const qint32 last = rtfText->paragraphOf(start + length);
    const qint32 end = rtfText->paragraphEnd(last);
    setSelStart(first);
    setSelLength(end - first);
    return last;
}

void absRichEdit::selectBetweenDelimiters(const QString& delimiters) {
    rtfText->Span(delimiters, false, true);
    const qint32 start = SelStart();
    rtfText->Span(delimiters, true, true);
    const qint32 end = SelStart() + SelLength();
    setSelStart(start);
    setSelLength(end - start);
}

void absRichEdit::SelectWord() {
    selectBetweenDelimiters(WordDelimiters);
}

void absRichEdit::SelectSentence() {
    selectBetweenDelimiters(SentenceDelimiters);
}

void absRichEdit::Span(const QString& bstrCharacterSet, bool vForward, bool vNegate) {
    rtfText->Span(bstrCharacterSet, vForward, vNegate);
}

void absRichEdit::UpTo(const QString& bstrCharacterSet, bool vForward, bool vNegate) {
    rtfText->UpTo(bstrCharacterSet, vForward, vNegate);
}

qint32 absRichEdit::Find(const QString& bstrString, std::optional<qint32> vStart,
                         std::optional<qint32> vEnd, int vOptions) {
    return rtfText->Find(bstrString, vStart, vEnd, vOptions);
}

// ---- case changes ------------------------------------------------------

void absRichEdit::changeSelectedText(const std::function<QString(const QString&)>& change) {
    setSelText(change(SelText()));
}

void absRichEdit::UpperCase() {
    changeSelectedText([](const QString& text) { return text.toUpper(); });
}

void absRichEdit::LowerCase() {
    changeSelectedText([](const QString& text) { return text.toLower(); });
}

void absRichEdit::Capitalize() {
    changeSelectedText([](const QString& text) {
        QString out = text.toLower();
        for (qsizetype i = 0; i < out.size(); ++i) {
            if (i == 0 || out.at(i - 1).isSpace())
                out[i] = out.at(i).toUpper();
        }
        return out;
    });
}

void absRichEdit::InvertCase() {
    changeSelectedText([](const QString& text) {
        QString out = text;
        for (QChar& c : out) {
            if (isAsciiUpper(c))
                c = c.toLower();
            else if (isAsciiLower(c))
                c = c.toUpper();
        }
        return out;
    });
}

// ---- block commands ----------------------------------------------------

void absRichEdit::Sort(bool sSort, int vCase) {
    const QStringList texts = rtfText->paragraphTexts();
    const Qt::CaseSensitivity cs = vCase == 1 ? Qt::CaseInsensitive : Qt::CaseSensitive;
    QList<qint32> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qint32 a, qint32 b) {
        const int c = QString::compare(texts.at(a), texts.at(b), cs);
        return sSort ? c > 0 : c < 0;
    });
    LockRedraw();
    rtfText->reorderParagraphs(order);
    UnlockRedraw();
}

void absRichEdit::indentBlock(IndentDirection direction) {
    if (m_IndentBusy)
        return;
    LockRedraw();
    m_IndentBusy = true;
    const auto done = qScopeGuard([this] {
        UnlockRedraw();
        m_IndentBusy = false;
    });
    const qint32 last = SelectWholeLines();
    const qint32 start = SelStart();
    const qint32 first = rtfText->paragraphOf(start);
    if (direction == IndentDirection::In)
        rtfText->indentParagraphs(first, last, m_IndentString);
    else
        rtfText->outdentParagraphs(first, last, m_IndentString);
    // The changed block selected again.
    const qint32 end = rtfText->paragraphEnd(last);
    setSelStart(start);
    setSelLength(end - start);
}

void absRichEdit::Indent() {
    indentBlock(IndentDirection::In);
}

void absRichEdit::Outdent() {
    indentBlock(IndentDirection::Out);
}

// ---- the box -----------------------------------------------------------

void absRichEdit::SetFocus() {
    rtfText->setFocus();
}

void absRichEdit::Refresh() {
    rtfText->viewport()->repaint();
}

void absRichEdit::Transparent() {
    SendMessageA(rtfText->hWnd(), WM_SETCURSOR, 0, 0);
}
