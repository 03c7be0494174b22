#pragma once
// Runs of text the program writes into a rich text box, each with its own
// look (colours, bold, underline) on the caret's formatting. The formats are
// made once per box and kept, so a flood of coloured lines costs no format
// merges.

#include "platform_export.h"

#include <QHash>
#include <QString>
#include <QTextCharFormat>

#include <optional>

namespace platform {

class RichTextBox;

// How a run looks. Colours are RGB numbers, -1 for none of the run's own
// (the box's text colour or background shows); an unset colour is the one
// the caret had when the writing began.
struct RunLook {
    std::optional<qint32> fore;
    std::optional<qint32> back;
    bool bold = false;
    bool underline = false;
};

// The formats of one box's runs: the caret's formatting without a look (the
// base), and the base with each look met so far.
class RunFormats {
public:
    // The caret's formatting: the base, and the caret's own colours (-1 for
    // none) that runs without colours of their own keep.
    void setCaret(const QTextCharFormat& caret, qint32* fore, qint32* back);
    const QTextCharFormat& format(qint32 fore, qint32 back, bool bold, bool underline);

private:
    QTextCharFormat m_caret;
    qint32 m_fore = -1;
    qint32 m_back = -1;
    QTextCharFormat m_base;
    QHash<quint64, QTextCharFormat> m_formats;
};

// Writes runs at the caret, replacing the selection as SelText does; every
// run is the caret's formatting as it stood when the writer was made, with
// the run's look.
class PLATFORM_EXPORT RunWriter {
public:
    explicit RunWriter(RichTextBox& box);
    void write(const QString& text, const RunLook& look);
    // The caret (or the selection) takes the look, as setting SelColor,
    // SelFontBackColor, SelBold and SelUnderline gives it.
    void setCaretLook(const RunLook& look);

private:
    QTextCharFormat formatOf(const RunLook& look) const;

    RichTextBox& m_box;
    // The caret's own colours when the writer was made.
    qint32 m_fore = -1;
    qint32 m_back = -1;
};

} // namespace platform
