#include "core/Palette.h"

#include "core/Val.h"

#include <QLatin1StringView>

#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr std::array<QLatin1StringView, Palette::Size> colorNames{
    "WHITE"_L1,  "BLACK"_L1,  "BLUE"_L1,   "GREEN"_L1,  "LRED"_L1, "BROWN"_L1,
    "PURPLE"_L1, "ORANGE"_L1, "YELLOW"_L1, "LGREEN"_L1, "CYAN"_L1, "LCYAN"_L1,
    "LBLUE"_L1,  "PINK"_L1,   "GREY"_L1,   "LGREY"_L1,
};

constexpr qint32 rgb(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

using Preset = std::array<qint32, Palette::Size>;

// Entry 1 is not pure black, and entries 11 to 13 are blue, magenta and grey
// whatever their names say: these are the colours users of this scheme know.
constexpr Preset mircPreset{
    rgb(255, 255, 255), rgb(10, 10, 10),    rgb(0, 0, 127),     rgb(0, 147, 0),
    rgb(255, 0, 0),     rgb(127, 0, 0),     rgb(156, 0, 156),   rgb(252, 127, 0),
    rgb(255, 255, 0),   rgb(0, 252, 0),     rgb(0, 147, 147),   rgb(0, 0, 252),
    rgb(255, 0, 255),   rgb(127, 127, 127), rgb(210, 210, 210), rgb(212, 208, 200),
};

constexpr Preset parlonePreset{
    rgb(255, 255, 255), rgb(0, 0, 0),       rgb(0, 0, 128),     rgb(0, 128, 0),
    rgb(255, 0, 0),     rgb(116, 58, 58),   rgb(124, 57, 147),  rgb(255, 128, 64),
    rgb(255, 255, 0),   rgb(128, 255, 0),   rgb(0, 202, 202),   rgb(0, 255, 255),
    rgb(0, 0, 255),     rgb(127, 127, 127), rgb(210, 210, 210), rgb(212, 208, 200),
};

} // namespace

void Palette::SetColorScheme(const QString& name) {
    const QString scheme = name.trimmed().toUpper();
    if (scheme == "DEF_PARLONE"_L1)
        m_colors = parlonePreset;
    else if (scheme == "DEF_MIRC"_L1)
        m_colors = mircPreset;
}

qint32 Palette::GetColor(const QString& name) const {
    const QString wanted = name.trimmed().toUpper();
    for (int i = 0; i < Size; ++i) {
        if (wanted == colorNames[i] || wanted == QString::number(i))
            return m_colors[i];
    }
    return 0;
}

int Palette::ColorIndex(qint32 colour) const {
    const int index = findIndex(colour);
    return index >= 0 ? index : 1;
}

int Palette::findIndex(qint32 colour) const {
    for (int i = 0; i < Size; ++i) {
        if (m_colors[i] == colour)
            return i;
    }
    return -1;
}

qint32 Palette::color(int index) const {
    return index >= 0 && index < Size ? m_colors[index] : 0;
}

void Palette::setColor(int index, qint32 colour) {
    if (index >= 0 && index < Size)
        m_colors[index] = colour;
}

QString Palette::colorName(int index) {
    return index >= 0 && index < Size ? QString(colorNames[index]) : QString();
}

namespace {

qint32 parsedColourNumber(const QString& text) {
    const double number = std::nearbyint(Val(text));
    // Compared before the conversion: a double outside qint32 does not
    // convert to anything defined.
    if (!(number >= 0 && number <= 0xFFFFFF))
        return 0;
    return static_cast<qint32>(number);
}

} // namespace

qint32 ColourNumber(const QString& text) {
    // Shown lines read their colour setting one after another: the last
    // text read is answered again without parsing it.
    static QString lastText;
    static qint32 lastNumber = 0;
    static bool known = false;
    if (known && text == lastText)
        return lastNumber;
    lastNumber = parsedColourNumber(text);
    lastText = text;
    known = true;
    return lastNumber;
}
