#pragma once
// The console: the scroll-back area of every conversation window. It wraps a
// rich text box (`rtfText`) and adds a line-number gutter (`picLines`), scroll
// events, a saved property set and the formatting, view, printing and file
// members. A hidden scratch box (`rtfTemp`) is kept in step for the block
// editing commands.
//
// The console never changes its text on its own: hosts write to it (through
// AddColorText or SelText) and keep the caret at the end themselves.
//
// It listens to its own box's scroll messages through the program's message
// hooks (it is their sink), and detaches before it goes away.
//
// Positions count CR LF as two characters, as the box does; lines are 1-based
// for callers.

#include "platform/richedit/RichTextBox.h"
#include "subclass/Loomhook.h"

#include <QFont>
#include <QWidget>

#include <functional>
#include <optional>

class LineGutter;
class Program;
namespace platform {
class PropertyBag;
}

class absRichEdit : public QWidget, public loomhook::ISubclass {
    Q_OBJECT
    // The box's window, for helpers that send it messages by handle.
    Q_PROPERTY(qint32 hWnd READ hWnd)
public:
    // View modes: no wrapping, wrap at the window's edge, wrap as printed.
    enum ViewModeConstants : qint32 { rtfNoWrap = 0, rtfWrapWindow = 1, rtfWrapPrinter = 2 };

    explicit absRichEdit(Program& program, QWidget* parent = nullptr);
    ~absRichEdit() override;
    absRichEdit(const absRichEdit&) = delete;
    absRichEdit& operator=(const absRichEdit&) = delete;

    Program& program() const { return m_program; }

    // The constituent controls.
    platform::RichTextBox* rtfText = nullptr;
    platform::RichTextBox* rtfTemp = nullptr;
    LineGutter* picLines = nullptr;

    // The saved property set. A new console starts as InitProperties leaves
    // it; a loaded one reads its bag.
    void InitProperties();
    void ReadProperties(const platform::PropertyBag& PropBag);
    void WriteProperties(platform::PropertyBag& PropBag) const;

    // The sink of the box's scroll messages.
    loomhook::EMsgResponse MsgResponse() const override;
    loomhook::LRESULT WindowProc(loomhook::HWND hWnd, qint32 iMsg, loomhook::WPARAM wParam,
                                 loomhook::LPARAM lParam) override;

    // Gutter and lines.
    bool LineNumbering() const;
    void setLineNumbering(bool on);
    qint32 LineNumberingForeColor() const;
    void setLineNumberingForeColor(qint32 colour);
    qint32 LineNumberingBackColor() const;
    void setLineNumberingBackColor(qint32 colour);
    qint32 GetFirstVisibleLine() const;
    qint32 GetCurrentLine() const;
    void SetCurrentLine(qint32 lLine);
    qint32 GetTotalLines() const;
    qint32 FileSize() const;
    qint32 GetLineFromChar(qint32 position) const;
    platform::HWND hWnd() const;
    QString IndentString() const { return m_IndentString; }
    void setIndentString(const QString& text) { m_IndentString = text; }

    // Properties of the box. Writing a saved one marks it changed.
    bool AutoVerbMenu() const;
    void setAutoVerbMenu(bool on);
    qint32 BackColor() const;
    void setBackColor(qint32 colour);
    float BulletIndent() const;
    void setBulletIndent(float twips);
    bool Border() const;
    void setBorder(bool on);
    bool Enabled() const;
    void setEnabled(bool on);
    QString filename() const;
    void setFilename(const QString& name);
    QFont Font() const;
    void setFont(const QFont& font);
    bool HideSelection() const;
    void setHideSelection(bool on);
    bool Locked() const;
    void setLocked(bool on);
    QString Text() const;
    void setText(const QString& text);
    QString TextRTF() const;
    void setTextRTF(const QString& rtf);

    // The selection and its formatting.
    qint32 SelAlignment() const;
    void setSelAlignment(qint32 alignment);
    bool SelBold() const;
    void setSelBold(bool on);
    bool SelBullet() const;
    void setSelBullet(bool on);
    qint32 SelColor() const;
    void setSelColor(qint32 colour);
    QString SelFontName() const;
    void setSelFontName(const QString& name);
    int SelFontSize() const;
    void setSelFontSize(int points);
    bool SelItalic() const;
    void setSelItalic(bool on);
    qint32 SelLength() const;
    void setSelLength(qint32 length);
    QString SelRTF() const;
    void setSelRTF(const QString& rtf);
    qint32 SelStart() const;
    void setSelStart(qint32 start);
    bool SelStrikeThru() const;
    void setSelStrikeThru(bool on);
    QString SelText() const;
    void setSelText(const QString& text);
    bool SelUnderline() const;
    void setSelUnderline(bool on);
    // -1 is the automatic back colour.
    qint32 SelFontBackColor() const;
    void setSelFontBackColor(qint32 colour);
    bool SelSubScript() const;
    void setSelSubScript(bool on);
    bool SelSuperScript() const;
    void setSelSuperScript(bool on);
    int SelSpacing() const;
    void setSelSpacing(int rule);
    int SelNumbering() const;
    void setSelNumbering(int kind);
    bool ReadOnly() const;
    void setReadOnly(bool on);

    // View, printing and files.
    qint32 ViewMode() const { return CurrentViewMode; }
    void setViewMode(qint32 eViewMode);
    // The numerator in the high word, the denominator in the low word; reads
    // back the last zoom that was applied (0: none).
    qint32 Zoom() const { return m_Zoom; }
    void setZoom(qint32 vZoom);
    // Prints the whole text on the default printer, margins in twips from the
    // paper's edges.
    void PrintRTF(qint32 LeftMarginWidth, qint32 TopMarginHeight, qint32 RightMarginWidth,
                  qint32 BottomMarginHeight);
    // A failure is shown in a message box; the result tells whether the file
    // was read or written.
    bool LoadFile(const QString& bstrFileName, int vFileType = platform::rtfRTF);
    bool SaveFile(const QString& bstrFileName, int vFileType = platform::rtfRTF);

    // Editing commands and their queries.
    void Undo();
    void Cut();
    void Copy();
    void Paste();
    // Pastes in the clipboard's own format.
    void PasteSpecial();
    void Delete();
    bool CanUndo() const;
    bool CanCut() const;
    bool CanCopy() const;
    bool CanPaste() const;

    // Selection commands. SelectLine selects the caret's line as shown;
    // SelectWord and SelectSentence widen the selection to the word or
    // sentence around it, without the delimiters.
    void SelectAll();
    void SelectLine();
    void SelectWord();
    void SelectSentence();
    void Span(const QString& bstrCharacterSet, bool vForward = true, bool vNegate = false);
    void UpTo(const QString& bstrCharacterSet, bool vForward = true, bool vNegate = false);
    qint32 Find(const QString& bstrString, std::optional<qint32> vStart = std::nullopt,
                std::optional<qint32> vEnd = std::nullopt, int vOptions = 0);

    // Case changes of the selection.
    void UpperCase();
    void LowerCase();
    // The first letter of every word upper case, the rest lower case.
    void Capitalize();
    // A-Z and a-z swap case; every other character stays.
    void InvertCase();

    // Block commands, on whole paragraphs however they wrap. Sort orders the
    // paragraphs ascending, or descending when sSort is True; vCase 0
    // compares character codes, 1 ignores case. Indent puts IndentString in
    // front of every paragraph the selection touches, Outdent takes it away
    // where a paragraph starts with all of it; both then select the block.
    // Each is one edit, undone at once, and leaves the selection shown
    // (HideSelection False).
    void Sort(bool sSort = false, int vCase = 0);
    void Indent();
    void Outdent();
    // Set while Indent or Outdent runs: a call meanwhile does nothing.
    bool IndentBusy() const { return m_IndentBusy; }

    void SetFocus();
    void Refresh();
    // Has no visible effect.
    void Transparent();

    // Removes the first `count` characters and keeps the formatting of the
    // rest (assigning Text would lose every colour).
    void removeHead(qint32 count);

Q_SIGNALS:
    void Change();
    void Click();
    void DblClick();
    // By reference: a handler that changes the key code or character changes
    // what the box receives.
    void KeyDown(int& KeyCode, int& Shift);
    void KeyPress(int& KeyAscii);
    void KeyUp(int& KeyCode, int& Shift);
    void MouseDown(int& Button, int& Shift, float& X, float& Y);
    void MouseMove(int& Button, int& Shift, float& X, float& Y);
    void MouseUp(int& Button, int& Shift, float& X, float& Y);
    void SelChange();
    void VScroll();
    void HScroll();
    // A saved property was written through the console.
    void PropertyChanged(const QString& PropertyName);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void DrawLineNumbers();
    void LockRedraw();
    void UnlockRedraw();
    qint32 TranslateColor(qint32 colour, qint32 palette = 0) const;
    QString SelectCurrentLine();
    qint32 SelectWholeLines();
    void selectBetweenDelimiters(const QString& delimiters);
    void changeSelectedText(const std::function<QString(const QString&)>& change);
    enum class IndentDirection { In, Out };
    void indentBlock(IndentDirection direction);
    void layoutControls();
    QFont ambientFont() const;

    Program& m_program;
    QString m_IndentString;
    qint32 CurrentViewMode = 0;
    qint32 LastGutterFirstLine = 0;
    qint32 m_Zoom = 0;
    bool m_IndentBusy = false;
};
