#pragma once
// The rich text box: a text widget that is a window of the program (it has a
// handle, so message hooks can attach to it) and offers what a rich edit box
// offers its host: text and selection, character and paragraph formatting,
// line queries, scrolling, wrap modes, zoom, page-by-page printing and RTF.
//
// Positions: the box's text has CR LF between lines, and every position
// (SelStart, SelLength, line indexes, the text length) counts in that same
// text, so SelStart = Len(Text) is the end. Inserting CR LF, CR or LF makes
// one line break.
//
// Lines are lines as the box shows them: a paragraph that wraps counts as
// several lines. Line numbers here are 0-based. The box lays out only what
// it shows; a member that answers an absolute line number lays out every
// paragraph above it first (once: what is laid out stays so until the text
// or the view changes there). Writing never does.
//
// Writes by the program (SelText, runs, removeHead) gather into an edit
// batch that closes on the next turn of the event loop, at most every 40 ms
// and before every paint (see EditBatch): closing lays the text out, brings
// the caret into view and raises Change and SelChange once each. Meanwhile
// the text, its length, the selection and its formats read exactly; every
// member that needs the layout or the view, every user event and the
// box's destruction close the batch first.
//
// Paragraph formats (alignment, numbering, spacing, indents) are kept, read
// back, written to RTF and printed, but the screen shows every paragraph
// plain.
//
// Scroll-bar actions arrive as WM_VSCROLL / WM_HSCROLL through the box's
// window procedure before the box moves; the box's default procedure does the
// scrolling, in lines. EM_SCROLL asks the box to scroll by a line or a page,
// as the vertical bar's line and page actions do.
//
// Colours given to the box are OLE colours (RGB numbers or system colours);
// colours read back are RGB numbers.

#include "platform/richedit/ParagraphFormat.h"
#include "platform/richedit/RunWriter.h"
#include "platform/richedit/ScrollBarMessages.h"
#include "platform/window/Window.h"
#include "platform_export.h"

#include <QFont>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>

class QMimeData;
class QPainter;
class QPaintDevice;
class QScrollBar;

namespace platform {

class EditBatch;
class PrintLayout;
class VisualLines;
struct LinePlace;

constexpr UINT WM_GETTEXTLENGTH = 0x000E;
// wParam SB_LINEUP, SB_LINEDOWN, SB_PAGEUP or SB_PAGEDOWN; the answer has TRUE
// in its high word and the lines the view moved in its low word, or is 0 for
// any other code.
constexpr UINT EM_SCROLL = 0x00B5;
constexpr qint64 ES_READONLY = 0x0800;
// Line queries: the line of a position (wParam -1: of the selection's start),
// where a line starts (wParam -1: the caret's line; -1 for no such line), the
// length of the line that holds a position (without its break).
constexpr UINT EM_LINEINDEX = 0x00BB;
constexpr UINT EM_LINELENGTH = 0x00C1;
constexpr UINT EM_LINEFROMCHAR = 0x00C9;
// Editing: undo and whether there is anything to undo; the clipboard; WM_CLEAR
// deletes the selection. EM_PASTESPECIAL with format 0 pastes in the
// clipboard's own format; EM_CANPASTE with format 0 tells whether the
// clipboard holds anything the box can paste.
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT EM_CANPASTE = 0x0432;
constexpr UINT EM_PASTESPECIAL = 0x0440;

// Options of Find.
enum FindConstants : int { rtfWholeWord = 2, rtfMatchCase = 4, rtfNoHighlight = 8 };

enum RichTextFileType : int { rtfRTF = 0, rtfText = 1 };
enum RichTextAlignment : int { rtfLeft = 0, rtfRight = 1, rtfCenter = 2 };
enum BorderStyleConstants : int { rtfNoBorder = 0, rtfFixedSingle = 1 };

// A rectangle in twips, edges as numbers (right and bottom exclusive).
struct TwipsRect {
    qint32 left = 0;
    qint32 top = 0;
    qint32 right = 0;
    qint32 bottom = 0;
};

// What formatRange renders: the characters from cpMin (to cpMax, -1 for the
// end) into `rc`, a part of the page `rcPage`, on `painter`'s device.
struct FormatRange {
    QPainter* painter = nullptr;
    TwipsRect rc;
    TwipsRect rcPage;
    qint32 cpMin = 0;
    qint32 cpMax = -1;
};

class PLATFORM_EXPORT RichTextBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit RichTextBox(QWidget* parent = nullptr);
    ~RichTextBox() override;

    HWND hWnd() const { return m_hwnd; }

    // Text and selection.
    QString Text() const;
    void setText(const QString& text);
    qint32 TextLength() const;
    qint32 SelStart() const;
    // Collapses the selection at `start` and brings the caret into view. In
    // an edit batch, putting the caret where it already is (nothing
    // selected) leaves the scrolling to the batch's close.
    void setSelStart(qint32 start);
    qint32 SelLength() const;
    void setSelLength(qint32 length);
    QString SelText() const;
    // Replaces the selection; the new text takes the caret's formatting and
    // the caret ends behind it.
    void setSelText(const QString& text);
    QString TextRTF() const;
    void setTextRTF(const QString& rtf);
    QString SelRTF() const;
    void setSelRTF(const QString& rtf);

    // Character formatting of the selection; with nothing selected, of the
    // caret (what typed text would get). Reads answer for the first selected
    // character.
    bool SelBold() const;
    void setSelBold(bool on);
    bool SelItalic() const;
    void setSelItalic(bool on);
    bool SelUnderline() const;
    void setSelUnderline(bool on);
    bool SelStrikeThru() const;
    void setSelStrikeThru(bool on);
    // The text colour; text without a colour of its own reads as the box's
    // text colour.
    qint32 SelColor() const;
    void setSelColor(qint32 colour);
    // -1 is the automatic back colour (the box's own background).
    qint32 SelFontBackColor() const;
    void setSelFontBackColor(qint32 colour);
    // Sub- and superscript exclude each other: setting one clears the other,
    // clearing either clears both.
    bool SelSubScript() const;
    void setSelSubScript(bool on);
    bool SelSuperScript() const;
    void setSelSuperScript(bool on);
    QString SelFontName() const;
    void setSelFontName(const QString& name);
    // Sizes as given, whatever the zoom.
    int SelFontSize() const;
    void setSelFontSize(int points);

    // Paragraph formatting of the paragraphs the selection touches.
    qint32 SelAlignment() const;
    void setSelAlignment(qint32 alignment);
    bool SelBullet() const;
    void setSelBullet(bool on);
    int SelNumbering() const;
    void setSelNumbering(int kind);
    int SelSpacing() const;
    void setSelSpacing(int rule);
    // The indent of bulleted paragraphs, in twips.
    float BulletIndent() const { return m_bulletIndent; }
    void setBulletIndent(float twips);

    // Box properties.
    QFont Font() const { return m_font; }
    // The whole text takes the font's face and size.
    void setFont(const QFont& font);
    qint32 BackColor() const { return m_backColor; }
    void setBackColor(qint32 colour);
    int BorderStyle() const { return m_borderStyle; }
    void setBorderStyle(int style);
    // Locked and ReadOnly are one state: the user cannot change the text;
    // the program still can. ReadOnly reads the ES_READONLY style bit.
    bool Locked() const { return ReadOnly(); }
    void setLocked(bool on) { setReadOnly(on); }
    bool ReadOnly() const;
    void setReadOnly(bool on);
    bool HideSelection() const { return m_hideSelection; }
    void setHideSelection(bool on);
    bool AutoVerbMenu() const { return m_autoVerbMenu; }
    void setAutoVerbMenu(bool on);
    QString FileName() const { return m_fileName; }
    void setFileName(const QString& name) { m_fileName = name; }

    // Lines.
    qint32 firstVisibleLine() const;
    // The line of a position; -1 asks for the line of the selection's start.
    qint32 lineFromChar(qint32 position) const;
    // The position where a line starts; -1 asks for the caret's line. -1
    // when there is no such line.
    qint32 lineIndex(qint32 line) const;
    // The length of the line that holds a position, without its line break.
    qint32 lineLength(qint32 position) const;
    qint32 lineCount() const;
    // The lines from the first visible one to the end, counted up to
    // `atMost`: only the paragraphs below the top of the view are laid out.
    qint32 linesFromTop(qint32 atMost) const;
    // Scrolls so that the first visible line moves by `lines` (as far as the
    // text allows), laying out only the paragraphs it crosses; answers the
    // lines it moved.
    qint32 lineScroll(qint32 lines);

    // Wrapping: no device and width 1 is no wrapping, no device and width 0
    // wraps at the window's edge; any other width (with or without a
    // device) wraps at that width in twips where the view is wider, at the
    // window's edge where it is not.
    void setTargetDevice(QPaintDevice* device, qint32 lineWidthTwips);
    // The width given to setTargetDevice (initially 0).
    qint32 lineWidthTwips() const { return m_lineWidthTwips; }
    // numerator / denominator between 1/64 and 64, or both 0 for none; every
    // size shown is scaled. False when refused.
    bool setZoom(int numerator, int denominator);

    // Renders one page's worth of text into the range's rectangle on the
    // painter's device (measuring only when `render` is false) and answers
    // the position of the first character that did not fit. The whole text
    // is laid out for the device, with every paragraph format, and kept so
    // until releaseFormatRange().
    qint32 formatRange(const FormatRange& range, bool render);
    void releaseFormatRange();

    // Files of the types rtfRTF and rtfText. Raise platform::ComError.
    void LoadFile(const QString& fileName, int fileType);
    void SaveFile(const QString& fileName, int fileType) const;

    // Removes the first `count` characters; what remains keeps its
    // formatting. Like every write of the program, the removal cannot be
    // undone, so the removed text is not kept.
    void removeHead(qint32 count);

    // The program's writes not yet laid out.
    bool editBatchOpen() const;
    void closeEditBatch() const;

    // Undo and the clipboard work on the text as it stands.
    void undo();
    void redo();
    void copy();
    void cut();
    void paste();

    // Selection by character sets. Span widens the selection over the
    // characters in `characterSet` (not in it, when `negate`): its end
    // forward, or its start backward. UpTo puts the caret just before the
    // first character in the set (not in it, when `negate`) from the
    // selection's end forward, or just behind it from the selection's start
    // backward; at the text's end or start when there is none. A paragraph
    // break counts as CR and as LF.
    void Span(const QString& characterSet, bool forward = true, bool negate = false);
    void UpTo(const QString& characterSet, bool forward = true, bool negate = false);
    // The first place of `text` from `start` (the selection's start when
    // omitted) that ends by `end` (the text's end when omitted), or -1.
    // Options are FindConstants; without rtfMatchCase the case does not
    // matter. The place found is selected unless rtfNoHighlight.
    qint32 Find(const QString& text, std::optional<qint32> start = std::nullopt,
                std::optional<qint32> end = std::nullopt, int options = 0);

    // Paragraphs (lines between breaks, however they wrap), 0-based.
    qint32 paragraphOf(qint32 position) const;
    qint32 paragraphCount() const;
    // Where a paragraph's text starts and ends (before its break).
    qint32 paragraphStart(qint32 paragraph) const;
    qint32 paragraphEnd(qint32 paragraph) const;
    QStringList paragraphTexts() const;
    // Puts the paragraphs' texts in a new order (order[i] is the paragraph
    // whose text comes i-th), each with its character formatting, in one
    // undoable edit; the breaks and paragraph formats stay in place.
    void reorderParagraphs(const QList<qint32>& order);
    // Inserts `unit` at the start of each paragraph from `first` to `last`,
    // in the format of the text it goes before, in one undoable edit.
    void indentParagraphs(qint32 first, qint32 last, const QString& unit);
    // Removes `unit` from the start of each of those paragraphs that starts
    // with the whole of it, in one undoable edit.
    void outdentParagraphs(qint32 first, qint32 last, const QString& unit);

    // Position conversions between the CR LF text and the document.
    int toDocument(qint32 position) const;
    qint32 fromDocument(int documentPosition) const;

Q_SIGNALS:
    void Change();
    void Click();
    void DblClick();
    // The arguments are references: a handler that changes the key code or
    // character changes what the box receives (0 takes the key away).
    void KeyDown(int& KeyCode, int& Shift);
    void KeyPress(int& KeyAscii);
    void KeyUp(int& KeyCode, int& Shift);
    void MouseDown(int& Button, int& Shift, float& X, float& Y);
    void MouseMove(int& Button, int& Shift, float& X, float& Y);
    void MouseUp(int& Button, int& Shift, float& X, float& Y);
    void SelChange();
    // The view moved (scrolled by any means, or laid out anew), so the first
    // visible line may have changed.
    void viewMoved();

protected:
    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // The clipboard carries the selection's formatting as RTF, and pasting
    // takes the richest format the clipboard holds.
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    friend class RunWriter;

    LRESULT defaultWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // The editing and line messages of the default window procedure.
    LRESULT editingWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void deleteSelection();
    void scroll(QScrollBar* bar, bool vertical, int code, int trackPosition);
    void selectionMoved();
    void textChanged();
    void closeBatch();

    // The formatting a caret at a document position takes.
    QTextCharFormat formatBefore(int position) const;
    void showCaret();
    // The writing cursor of the open batch (opened here), on the caret's
    // selection.
    QTextCursor& writer();
    void writeRun(const QString& text, const QTextCharFormat& format);
    // The document's characterCount().
    int documentCharacters() const;

    // The top of the view: its block and the line within it.
    LinePlace top() const;
    qint32 pageLines() const;
    void forgetLines();
    void updateWrapMargin();

    QTextCharFormat selectionFormat() const;
    void mergeFormat(const QTextCharFormat& format);
    void clearFormatProperty(int property);
    void applyFont();
    void applyPalette();
    void setDocumentText(const QString& text);
    QString plainText(int from, int to) const;
    void emitMouse(QMouseEvent* event, int which);

    HWND m_hwnd = 0;
    QFont m_font;
    std::unique_ptr<QPaintDevice> m_zoomDevice;
    qint32 m_backColor;
    int m_borderStyle = rtfNoBorder;
    bool m_hideSelection = true;
    bool m_autoVerbMenu = false;
    float m_bulletIndent = 0;
    QString m_fileName;
    qint32 m_lineWidthTwips = 0;
    int m_wrapMargin = 0;

    std::unique_ptr<EditBatch> m_batch;
    std::unique_ptr<VisualLines> m_lines;
    std::unique_ptr<PrintLayout> m_print;
    // While a batch closes, its Change and SelChange wait for the scrolling.
    bool m_closing = false;
    bool m_changedWhileClosing = false;

    RunFormats m_runFormats;
    // Where the last run written ends, and its format: the format before a
    // caret there. -1 once anything else has changed the text or its formats
    // (outside a batch every change says so as it happens).
    int m_lastRunEnd = -1;
    // The document's character count while a batch is open, -1 until read:
    // the hosts ask for the length around every line they write, and the
    // document counts its characters anew each time.
    mutable int m_batchCharacters = -1;
    QTextCharFormat m_lastRunFormat;

    std::unique_ptr<ScrollBarMessages> m_scrollBars;
    int m_lastAnchor = 0;
    int m_lastPosition = 0;
};

} // namespace platform
