#pragma once

#include <QString>
#include <QtGlobal>

#include <array>

// The program's 16 colours, addressed by index 0 to 15 in colour codes and
// files and held as RGB numbers (red + 256 * green + 65536 * blue) in memory.
// All entries are 0 until a preset is applied.
class Palette {
public:
    static constexpr int Size = 16;

    // Fills all entries from the preset "DEF_MIRC" or "DEF_PARLONE"; the name
    // is trimmed and matched without regard to case. Any other name leaves the
    // palette as it is.
    void SetColorScheme(const QString& name);

    // The colour of a palette name ("WHITE" .. "LGREY") or of a decimal index
    // "0" .. "15", trimmed and matched without regard to case; 0 for anything
    // else.
    qint32 GetColor(const QString& name) const;

    // The first index whose colour equals `colour`; 1 when none does.
    int ColorIndex(qint32 colour) const;
    // The first index whose colour equals `colour`; -1 when none does.
    int findIndex(qint32 colour) const;

    // The colour at `index`; 0 outside 0 .. 15.
    qint32 color(int index) const;
    // Sets one entry; an index outside 0 .. 15 is ignored.
    void setColor(int index, qint32 colour);

    // The name of palette entry `index` ("WHITE" .. "LGREY"); "" outside
    // 0 .. 15.
    static QString colorName(int index);

private:
    std::array<qint32, Size> m_colors{};
};

// The colour number a colour's text stands for, as every window, file and
// line reads it: the text's numeric reading (Val) rounded to a whole number,
// half to even. A reading outside the colour numbers 0 .. 0xFFFFFF (white),
// or one that is not finite, is no colour and gives 0, as a word does.
qint32 ColourNumber(const QString& text);
