#include "console/absRichEdit.h"

#include "console/LineGutter.h"
#include "core/Program.h"
#include "platform/com/ComError.h"
#include "platform/com/PropertyBag.h"
#include "platform/dialogs/Dialogs.h"
#include "platform/richedit/OleColor.h"
#include "platform/richedit/Printer.h"
#include "platform/window/Twips.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>

#include <exception>

using namespace platform;

namespace {

// The gutter's width in twips; it does not change at run time.
constexpr int GutterWidthTwips = 645;

// A number as the runtime prints it: a blank where the sign of a negative
// number would stand.
QString printedNumber(qint32 n) {
    return n < 0 ? QString::number(n) : QLatin1Char(' ') + QString::number(n);
}

qint32 clampedTwips(qint64 value) {
    return static_cast<qint32>(qBound<qint64>(qint64(INT32_MIN / 2), value, qint64(INT32_MAX / 2)));
}

} // namespace

absRichEdit::absRichEdit(Program& program, QWidget* parent) : QWidget(parent), m_program(program) {
    picLines = new LineGutter(this);
    picLines->hide();
    rtfText = new RichTextBox(this);
    rtfTemp = new RichTextBox(this);
    rtfTemp->hide();
    picLines->resize(TwipsToPixelsX(GutterWidthTwips), height());

    connect(rtfText, &RichTextBox::Change, this, &absRichEdit::Change);
    connect(rtfText, &RichTextBox::Click, this, &absRichEdit::Click);
    connect(rtfText, &RichTextBox::DblClick, this, &absRichEdit::DblClick);
    connect(rtfText, &RichTextBox::KeyDown, this,
            [this](int& keyCode, int& shift) { Q_EMIT KeyDown(keyCode, shift); });
    connect(rtfText, &RichTextBox::KeyPress, this,
            [this](int& keyAscii) { Q_EMIT KeyPress(keyAscii); });
    connect(rtfText, &RichTextBox::KeyUp, this,
            [this](int& keyCode, int& shift) { Q_EMIT KeyUp(keyCode, shift); });
    connect(rtfText, &RichTextBox::MouseDown, this,
            [this](int& b, int& s, float& x, float& y) { Q_EMIT MouseDown(b, s, x, y); });
    connect(rtfText, &RichTextBox::MouseMove, this,
            [this](int& b, int& s, float& x, float& y) { Q_EMIT MouseMove(b, s, x, y); });
    connect(rtfText, &RichTextBox::MouseUp, this,
            [this](int& b, int& s, float& x, float& y) { Q_EMIT MouseUp(b, s, x, y); });
    connect(rtfText, &RichTextBox::SelChange, this, [this] {
        DrawLineNumbers();
        Q_EMIT SelChange();
    });
    // However the view moved (wheel, keys, code), the numbers follow it.
    connect(rtfText, &RichTextBox::viewMoved, this, [this] { DrawLineNumbers(); });

    // Creation: hear the box's scroll messages.
    m_program.subclass.AttachMessage(this, rtfText->hWnd(), WM_HSCROLL);
    m_program.subclass.AttachMessage(this, rtfText->hWnd(), WM_VSCROLL);
    m_IndentString = QStringLiteral("    ");
    picLines->setForeColor(vbWindowText);
    picLines->setBackColor(vbWindowBackground);

    InitProperties();
    layoutControls();
}

absRichEdit::~absRichEdit() {
    // The hooks keep a plain pointer to this sink.
    m_program.subclass.DetachMessage(this, rtfText->hWnd(), WM_HSCROLL);
    m_program.subclass.DetachMessage(this, rtfText->hWnd(), WM_VSCROLL);
    rtfText->disconnect(this);
}

QFont absRichEdit::ambientFont() const {
    return QWidget::font();
}

// ---- saved properties --------------------------------------------------

void absRichEdit::InitProperties() {
    rtfText->setEnabled(true);
    rtfText->setFont(ambientFont());
    rtfText->setText(QString());
    rtfTemp->setFont(rtfText->Font());
}

void absRichEdit::ReadProperties(const PropertyBag& PropBag) {
    rtfText->setAutoVerbMenu(PropBag.ReadProperty(QStringLiteral("AutoVerbMenu"), false).toBool());
    rtfText->setBackColor(
        PropBag.ReadProperty(QStringLiteral("BackColor"), vbWindowBackground).toInt());
    rtfText->setBulletIndent(PropBag.ReadProperty(QStringLiteral("BulletIndent"), 0.0f).toFloat());
    rtfText->setBorderStyle(PropBag.ReadProperty(QStringLiteral("Border"), 0).toInt());
    rtfText->setEnabled(PropBag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    rtfText->setFileName(PropBag.ReadProperty(QStringLiteral("FileName"), QString()).toString());
    rtfText->setFont(PropBag.ReadProperty(QStringLiteral("Font"), ambientFont()).value<QFont>());
    rtfText->setHideSelection(PropBag.ReadProperty(QStringLiteral("HideSelection"), true).toBool());
    rtfText->setLocked(PropBag.ReadProperty(QStringLiteral("Locked"), false).toBool());
    rtfText->setText(PropBag.ReadProperty(QStringLiteral("Text"), QString()).toString());
    setViewMode(PropBag.ReadProperty(QStringLiteral("ViewMode"), 0).toInt());
}

void absRichEdit::WriteProperties(PropertyBag& PropBag) const {
    PropBag.WriteProperty(QStringLiteral("AutoVerbMenu"), rtfText->AutoVerbMenu(), false);
    PropBag.WriteProperty(QStringLiteral("BackColor"), rtfText->BackColor(), vbWindowBackground);
    PropBag.WriteProperty(QStringLiteral("BulletIndent"), rtfText->BulletIndent(), 0.0f);
    PropBag.WriteProperty(QStringLiteral("Border"), rtfText->BorderStyle(), 0);
    PropBag.WriteProperty(QStringLiteral("Enabled"), rtfText->isEnabled(), true);
    PropBag.WriteProperty(QStringLiteral("FileName"), rtfText->FileName(), QString());
    PropBag.WriteProperty(QStringLiteral("Font"), rtfText->Font(), ambientFont());
    PropBag.WriteProperty(QStringLiteral("HideSelection"), rtfText->HideSelection(), true);
    PropBag.WriteProperty(QStringLiteral("Locked"), rtfText->Locked(), false);
    PropBag.WriteProperty(QStringLiteral("Text"), rtfText->Text(), QString());
    PropBag.WriteProperty(QStringLiteral("ViewMode"), CurrentViewMode, 0);
}

// ---- scroll messages ---------------------------------------------------

loomhook::EMsgResponse absRichEdit::MsgResponse() const {
    return loomhook::emrPostProcess;
}

loomhook::LRESULT absRichEdit::WindowProc(loomhook::HWND, qint32 iMsg, loomhook::WPARAM,
                                          loomhook::LPARAM) {
    if (iMsg == static_cast<qint32>(WM_VSCROLL)) {
        DrawLineNumbers();
        Q_EMIT VScroll();
    } else if (iMsg == static_cast<qint32>(WM_HSCROLL)) {
        Q_EMIT HScroll();
    }
    return 0;
}

// ---- gutter and lines --------------------------------------------------

void absRichEdit::DrawLineNumbers() {
    if (picLines->isHidden())
        return;
    const qint32 first = GetFirstVisibleLine();
    if (first != 1 && first == LastGutterFirstLine)
        return;
    // The numbers reach the last line or 101 lines, whichever comes first:
    // counted from the blocks below the view's top, so the text further
    // down need not be laid out.
    const qint32 last = first + rtfText->linesFromTop(101) - 1;
    picLines->Cls();
    QFont font = picLines->font();
    font.setFamilies(rtfText->Font().families());
    if (rtfText->Font().pointSizeF() > 0)
        font.setPointSizeF(rtfText->Font().pointSizeF());
    picLines->setFont(font);
    for (qint32 n = first; n <= last; ++n)
        picLines->Print(printedNumber(n));
    LastGutterFirstLine = first;
}

void absRichEdit::LockRedraw() {
    rtfText->setUpdatesEnabled(false);
    rtfText->setHideSelection(true);
}

void absRichEdit::UnlockRedraw() {
    rtfText->setUpdatesEnabled(true);
    rtfText->setHideSelection(false);
}

qint32 absRichEdit::TranslateColor(qint32 colour, qint32) const {
    return OleTranslateColor(colour);
}

bool absRichEdit::LineNumbering() const {
    return !picLines->isHidden();
}

void absRichEdit::setLineNumbering(bool on) {
    picLines->setVisible(on);
    layoutControls();
    DrawLineNumbers();
}

qint32 absRichEdit::LineNumberingForeColor() const {
    return picLines->ForeColor();
}

void absRichEdit::setLineNumberingForeColor(qint32 colour) {
    picLines->setForeColor(colour);
    DrawLineNumbers();
}

qint32 absRichEdit::LineNumberingBackColor() const {
    return picLines->BackColor();
}

void absRichEdit::setLineNumberingBackColor(qint32 colour) {
    picLines->setBackColor(colour);
    DrawLineNumbers();
}

qint32 absRichEdit::GetFirstVisibleLine() const {
    return rtfText->firstVisibleLine() + 1;
}

qint32 absRichEdit::GetCurrentLine() const {
    return rtfText->lineFromChar(-1) + 1;
}

void absRichEdit::SetCurrentLine(qint32 lLine) {
    const qint32 index = rtfText->lineIndex(lLine - 1);
    if (index == -1)
        MsgBox(QStringLiteral("Invalid line number!"), vbCritical);
    else
        rtfText->setSelStart(index);
}

qint32 absRichEdit::GetTotalLines() const {
    return rtfText->lineCount();
}

qint32 absRichEdit::FileSize() const {
    return SendMessageA(rtfText->hWnd(), WM_GETTEXTLENGTH, 0, 0);
}

qint32 absRichEdit::GetLineFromChar(qint32 position) const {
    return rtfText->lineFromChar(qMax(position, 0));
}

HWND absRichEdit::hWnd() const {
    return rtfText->hWnd();
}

void absRichEdit::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
}

void absRichEdit::layoutControls() {
    const int innerWidth = width();
    const int innerHeight = height();
    picLines->resize(picLines->width(), innerHeight);
    if (!picLines->isHidden()) {
        const int left = picLines->x() + picLines->width();
        rtfText->setGeometry(left, 0, qMax(0, innerWidth - picLines->width()), innerHeight);
    } else {
        rtfText->setGeometry(0, 0, innerWidth, innerHeight);
    }
}

// ---- properties of the box ---------------------------------------------

bool absRichEdit::AutoVerbMenu() const {
    return rtfText->AutoVerbMenu();
}

void absRichEdit::setAutoVerbMenu(bool on) {
    rtfText->setAutoVerbMenu(on);
    Q_EMIT PropertyChanged(QStringLiteral("AutoVerbMenu"));
}

qint32 absRichEdit::BackColor() const {
    return rtfText->BackColor();
}

void absRichEdit::setBackColor(qint32 colour) {
    rtfText->setBackColor(colour);
    Q_EMIT PropertyChanged(QStringLiteral("BackColor"));
}

float absRichEdit::BulletIndent() const {
    return rtfText->BulletIndent();
}

void absRichEdit::setBulletIndent(float twips) {
    rtfText->setBulletIndent(twips);
    rtfTemp->setBulletIndent(twips);
    Q_EMIT PropertyChanged(QStringLiteral("BulletIndent"));
}

bool absRichEdit::Border() const {
    return rtfText->BorderStyle() != 0;
}

void absRichEdit::setBorder(bool on) {
    rtfText->setBorderStyle(on ? 1 : 0);
    Q_EMIT PropertyChanged(QStringLiteral("Border"));
}

bool absRichEdit::Enabled() const {
    return rtfText->isEnabled();
}

void absRichEdit::setEnabled(bool on) {
    rtfText->setEnabled(on);
    rtfTemp->setEnabled(on);
    Q_EMIT PropertyChanged(QStringLiteral("Enabled"));
}

QString absRichEdit::filename() const {
    return rtfText->FileName();
}

void absRichEdit::setFilename(const QString& name) {
    rtfText->setFileName(name);
    Q_EMIT PropertyChanged(QStringLiteral("FileName"));
}

QFont absRichEdit::Font() const {
    return rtfText->Font();
}

void absRichEdit::setFont(const QFont& font) {
    rtfText->setFont(font);
    rtfTemp->setFont(font);
    Q_EMIT PropertyChanged(QStringLiteral("Font"));
}

bool absRichEdit::HideSelection() const {
    return rtfText->HideSelection();
}

void absRichEdit::setHideSelection(bool on) {
    rtfText->setHideSelection(on);
    rtfTemp->setHideSelection(on);
    Q_EMIT PropertyChanged(QStringLiteral("HideSelection"));
}

bool absRichEdit::Locked() const {
    return rtfText->Locked();
}

void absRichEdit::setLocked(bool on) {
    rtfText->setLocked(on);
    rtfTemp->setLocked(on);
    Q_EMIT PropertyChanged(QStringLiteral("Locked"));
}

QString absRichEdit::Text() const {
    return rtfText->Text();
}

void absRichEdit::setText(const QString& text) {
    rtfText->setText(text);
    Q_EMIT PropertyChanged(QStringLiteral("Text"));
}

QString absRichEdit::TextRTF() const {
    return rtfText->TextRTF();
}

void absRichEdit::setTextRTF(const QString& rtf) {
    rtfText->setTextRTF(rtf);
}

// ---- the selection -----------------------------------------------------

qint32 absRichEdit::SelAlignment() const {
    return rtfText->SelAlignment();
}

void absRichEdit::setSelAlignment(qint32 alignment) {
    rtfText->setSelAlignment(alignment);
}

bool absRichEdit::SelBold() const {
    return rtfText->SelBold();
}

void absRichEdit::setSelBold(bool on) {
    rtfText->setSelBold(on);
}

bool absRichEdit::SelBullet() const {
    return rtfText->SelBullet();
}

void absRichEdit::setSelBullet(bool on) {
    rtfText->setSelBullet(on);
}

qint32 absRichEdit::SelColor() const {
    return rtfText->SelColor();
}

void absRichEdit::setSelColor(qint32 colour) {
    rtfText->setSelColor(colour);
}

QString absRichEdit::SelFontName() const {
    return rtfText->SelFontName();
}

void absRichEdit::setSelFontName(const QString& name) {
    rtfText->setSelFontName(name);
}

int absRichEdit::SelFontSize() const {
    return rtfText->SelFontSize();
}

void absRichEdit::setSelFontSize(int points) {
    rtfText->setSelFontSize(points);
}

bool absRichEdit::SelItalic() const {
    return rtfText->SelItalic();
}

void absRichEdit::setSelItalic(bool on) {
    rtfText->setSelItalic(on);
}

qint32 absRichEdit::SelLength() const {
    return rtfText->SelLength();
}

void absRichEdit::setSelLength(qint32 length) {
    rtfText->setSelLength(length);
}

QString absRichEdit::SelRTF() const {
    return rtfText->SelRTF();
}

void absRichEdit::setSelRTF(const QString& rtf) {
    rtfText->setSelRTF(rtf);
}

qint32 absRichEdit::SelStart() const {
    return rtfText->SelStart();
}

void absRichEdit::setSelStart(qint32 start) {
    rtfText->setSelStart(start);
}

bool absRichEdit::SelStrikeThru() const {
    return rtfText->SelStrikeThru();
}

void absRichEdit::setSelStrikeThru(bool on) {
    rtfText->setSelStrikeThru(on);
}

QString absRichEdit::SelText() const {
    return rtfText->SelText();
}

void absRichEdit::setSelText(const QString& text) {
    rtfText->setSelText(text);
}

bool absRichEdit::SelUnderline() const {
    return rtfText->SelUnderline();
}

void absRichEdit::setSelUnderline(bool on) {
    rtfText->setSelUnderline(on);
}

qint32 absRichEdit::SelFontBackColor() const {
    return rtfText->SelFontBackColor();
}

void absRichEdit::setSelFontBackColor(qint32 colour) {
    rtfText->setSelFontBackColor(colour == -1 ? -1 : TranslateColor(colour));
}

bool absRichEdit::SelSubScript() const {
    return rtfText->SelSubScript();
}

void absRichEdit::setSelSubScript(bool on) {
    rtfText->setSelSubScript(on);
}

bool absRichEdit::SelSuperScript() const {
    return rtfText->SelSuperScript();
}

void absRichEdit::setSelSuperScript(bool on) {
    rtfText->setSelSuperScript(on);
}

int absRichEdit::SelSpacing() const {
    return rtfText->SelSpacing();
}

void absRichEdit::setSelSpacing(int rule) {
    rtfText->setSelSpacing(rule);
}

int absRichEdit::SelNumbering() const {
    return rtfText->SelNumbering();
}

void absRichEdit::setSelNumbering(int kind) {
    rtfText->setSelNumbering(kind);
}

bool absRichEdit::ReadOnly() const {
    return rtfText->ReadOnly();
}

void absRichEdit::setReadOnly(bool on) {
    rtfText->setReadOnly(on);
}

// ---- view, printing, files ---------------------------------------------

void absRichEdit::setViewMode(qint32 eViewMode) {
    try {
        if (eViewMode != CurrentViewMode) {
            for (RichTextBox* box : {rtfText, rtfTemp}) {
                switch (eViewMode) {
                case rtfNoWrap:
                    box->setTargetDevice(nullptr, 1);
                    break;
                case rtfWrapWindow:
                    box->setTargetDevice(nullptr, 0);
                    break;
                case rtfWrapPrinter: {
                    QPrinter& printer = Printer();
                    const qreal width = printer.paperRect(QPrinter::DevicePixel).width() * 1440.0 /
                                        printer.resolution();
                    box->setTargetDevice(&printer, qRound(width));
                    break;
                }
                default:
                    break;
                }
            }
        }
        CurrentViewMode = eViewMode;
    } catch (const std::exception&) {
        // Errors are ignored: the view stays as it was.
    }
    Q_EMIT PropertyChanged(QStringLiteral("ViewMode"));
}

void absRichEdit::setZoom(qint32 vZoom) {
    const qint32 numerator = vZoom / 65536;
    const qint32 denominator = vZoom & 0x7FFF;
    if (numerator < 0 || numerator >= 65 || denominator >= 65)
        return;
    const bool applied = rtfText->setZoom(numerator, denominator);
    rtfTemp->setZoom(numerator, denominator);
    if (applied)
        m_Zoom = vZoom;
}

void absRichEdit::PrintRTF(qint32 LeftMarginWidth, qint32 TopMarginHeight, qint32 RightMarginWidth,
                           qint32 BottomMarginHeight) {
    try {
        QPrinter& printer = Printer();
        QPainter painter;
        if (!painter.begin(&printer))
            return;
        const qreal resolution = printer.resolution();
        const auto twips = [resolution](qreal pixels) {
            return static_cast<qint64>(qRound64(pixels * 1440.0 / resolution));
        };
        const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
        const QRectF page = printer.pageRect(QPrinter::DevicePixel);
        const qint64 offsetX = twips(page.left() - paper.left());
        const qint64 offsetY = twips(page.top() - paper.top());

        FormatRange range;
        range.painter = &painter;
        range.rc.left = clampedTwips(qint64(LeftMarginWidth) - offsetX);
        range.rc.top = clampedTwips(qint64(TopMarginHeight) - offsetY);
        // Margins that leave no room give an empty area, not a negative one.
        range.rc.right =
            qMax(range.rc.left, clampedTwips(twips(paper.width()) - offsetX - RightMarginWidth));
        range.rc.bottom =
            qMax(range.rc.top, clampedTwips(twips(paper.height()) - offsetY - BottomMarginHeight));
        range.rcPage = {0, 0, clampedTwips(twips(page.width())),
                        clampedTwips(twips(page.height()))};
        range.cpMin = 0;
        range.cpMax = -1;

        const qint32 length = rtfText->TextLength();
        for (;;) {
            const qint32 next = rtfText->formatRange(range, true);
            // A page that took nothing new ends the printing: no endless
            // blank pages.
            if (next >= length || next <= range.cpMin)
                break;
            range.cpMin = next;
            if (!printer.newPage())
                break;
        }
        painter.end();
    } catch (const std::exception&) {
        // Printing stops silently.
    }
    rtfText->releaseFormatRange();
}

bool absRichEdit::LoadFile(const QString& bstrFileName, int vFileType) {
    try {
        rtfText->LoadFile(bstrFileName, vFileType);
        return true;
    } catch (const ComError& e) {
        MsgBox(QString::number(e.number()) + QStringLiteral("\r\n") + e.description(), vbCritical);
    }
    return false;
}

bool absRichEdit::SaveFile(const QString& bstrFileName, int vFileType) {
    try {
        rtfText->SaveFile(bstrFileName, vFileType);
        return true;
    } catch (const ComError& e) {
        MsgBox(QString::number(e.number()) + QStringLiteral("\r\n") + e.description(), vbCritical);
    }
    return false;
}

void absRichEdit::removeHead(qint32 count) {
    rtfText->removeHead(count);
}
