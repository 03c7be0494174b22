// The colour palette: its two presets, colour names and both conversions.

#include "core/Palette.h"

#include <QtTest>

namespace {

qint32 rgb(int red, int green, int blue) {
    return red + 256 * green + 65536 * blue;
}

QList<qint32> entries(const Palette& palette) {
    QList<qint32> colours;
    for (int i = 0; i < Palette::Size; ++i)
        colours.append(palette.color(i));
    return colours;
}

Palette withScheme(const QString& scheme) {
    Palette palette;
    palette.SetColorScheme(scheme);
    return palette;
}

} // namespace

class TestPalette : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void emptyUntilPresetApplied();
    void presets_data();
    void presets();
    void getColor_data();
    void getColor();
    void colorIndex_data();
    void colorIndex();
    void colorIndexPrefersLowerDuplicate_data();
    void colorIndexPrefersLowerDuplicate();
    void setColorScheme_data();
    void setColorScheme();
    void colourNumber_data();
    void colourNumber();
};

void TestPalette::emptyUntilPresetApplied() {
    const Palette palette;
    QCOMPARE(entries(palette), QList<qint32>(Palette::Size, 0));
    QCOMPARE(palette.GetColor(QStringLiteral("WHITE")), 0);
    QCOMPARE(palette.ColorIndex(0), 0);
}

void TestPalette::presets_data() {
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::addColumn<qint32>("colour");

    const QStringList names{"WHITE",  "BLACK",  "BLUE",   "GREEN",  "LRED", "BROWN",
                            "PURPLE", "ORANGE", "YELLOW", "LGREEN", "CYAN", "LCYAN",
                            "LBLUE",  "PINK",   "GREY",   "LGREY"};
    const QList<qint32> mirc{
        rgb(255, 255, 255), rgb(10, 10, 10),    rgb(0, 0, 127),     rgb(0, 147, 0),
        rgb(255, 0, 0),     rgb(127, 0, 0),     rgb(156, 0, 156),   rgb(252, 127, 0),
        rgb(255, 255, 0),   rgb(0, 252, 0),     rgb(0, 147, 147),   rgb(0, 0, 252),
        rgb(255, 0, 255),   rgb(127, 127, 127), rgb(210, 210, 210), rgb(212, 208, 200)};
    const QList<qint32> parlone{
        rgb(255, 255, 255), rgb(0, 0, 0),       rgb(0, 0, 128),     rgb(0, 128, 0),
        rgb(255, 0, 0),     rgb(116, 58, 58),   rgb(124, 57, 147),  rgb(255, 128, 64),
        rgb(255, 255, 0),   rgb(128, 255, 0),   rgb(0, 202, 202),   rgb(0, 255, 255),
        rgb(0, 0, 255),     rgb(127, 127, 127), rgb(210, 210, 210), rgb(212, 208, 200)};
    for (int i = 0; i < Palette::Size; ++i) {
        QTest::addRow("DEF_MIRC %d", i) << "DEF_MIRC" << i << names[i] << mirc[i];
        QTest::addRow("DEF_PARLONE %d", i) << "DEF_PARLONE" << i << names[i] << parlone[i];
    }
}

// Each entry reads the same through its index, its index text and its name,
// and maps back to its own index (neither preset repeats a colour).
void TestPalette::presets() {
    QFETCH(QString, scheme);
    QFETCH(int, index);
    QFETCH(QString, name);
    QFETCH(qint32, colour);

    const Palette palette = withScheme(scheme);
    QCOMPARE(palette.color(index), colour);
    QCOMPARE(palette.GetColor(QString::number(index)), colour);
    QCOMPARE(palette.GetColor(name), colour);
    QCOMPARE(Palette::colorName(index), name);
    QCOMPARE(palette.ColorIndex(colour), index);
}

void TestPalette::getColor_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("index"); // -1: no match, the result is 0

    QTest::newRow("name") << "LRED" << 4;
    QTest::newRow("name lower case with blanks") << "  lred " << 4;
    QTest::newRow("mixed case") << "lGreY" << 15;
    QTest::newRow("index") << "4" << 4;
    QTest::newRow("index with blanks") << " 15 " << 15;
    QTest::newRow("first index") << "0" << 0;
    QTest::newRow("leading zero") << "04" << -1;
    QTest::newRow("plus sign") << "+4" << -1;
    QTest::newRow("blank inside name") << "L RED" << -1;
    QTest::newRow("past the last index") << "16" << -1;
    QTest::newRow("negative") << "-1" << -1;
    QTest::newRow("unknown name") << "MAGENTA" << -1;
    QTest::newRow("empty") << "" << -1;
}

void TestPalette::getColor() {
    QFETCH(QString, name);
    QFETCH(int, index);

    const Palette palette = withScheme(QStringLiteral("DEF_MIRC"));
    QCOMPARE(palette.GetColor(name), index < 0 ? 0 : palette.color(index));
}

void TestPalette::colorIndex_data() {
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<qint32>("colour");
    QTest::addColumn<int>("found"); // findIndex: -1 when no entry has the colour
    QTest::addColumn<int>("index"); // ColorIndex: 1 then

    QTest::newRow("pure black, not in DEF_MIRC") << "DEF_MIRC" << 0 << -1 << 1;
    QTest::newRow("pure black, entry 1 of DEF_PARLONE") << "DEF_PARLONE" << 0 << 1 << 1;
    QTest::newRow("pure red") << "DEF_MIRC" << rgb(255, 0, 0) << 4 << 4;
    QTest::newRow("white") << "DEF_PARLONE" << rgb(255, 255, 255) << 0 << 0;
    QTest::newRow("pure blue, not in DEF_MIRC") << "DEF_MIRC" << rgb(0, 0, 255) << -1 << 1;
    QTest::newRow("pure blue in DEF_PARLONE") << "DEF_PARLONE" << rgb(0, 0, 255) << 12 << 12;
    QTest::newRow("last entry") << "DEF_MIRC" << rgb(212, 208, 200) << 15 << 15;
    QTest::newRow("negative") << "DEF_MIRC" << -1 << -1 << 1;
}

void TestPalette::colorIndex() {
    QFETCH(QString, scheme);
    QFETCH(qint32, colour);
    QFETCH(int, found);
    QFETCH(int, index);

    const Palette palette = withScheme(scheme);
    QCOMPARE(palette.findIndex(colour), found);
    QCOMPARE(palette.ColorIndex(colour), index);
}

void TestPalette::colorIndexPrefersLowerDuplicate_data() {
    QTest::addColumn<int>("copiedFrom");
    QTest::addColumn<int>("copiedTo");

    QTest::newRow("copy above the original") << 3 << 9;
    QTest::newRow("copy below the original") << 12 << 2;
    QTest::newRow("copy over entry 0") << 15 << 0;
}

void TestPalette::colorIndexPrefersLowerDuplicate() {
    QFETCH(int, copiedFrom);
    QFETCH(int, copiedTo);

    Palette palette = withScheme(QStringLiteral("DEF_MIRC"));
    const qint32 colour = palette.color(copiedFrom);
    palette.setColor(copiedTo, colour);
    QCOMPARE(palette.color(copiedTo), colour);
    QCOMPARE(palette.ColorIndex(colour), qMin(copiedFrom, copiedTo));
    QCOMPARE(palette.findIndex(colour), qMin(copiedFrom, copiedTo));
}

void TestPalette::setColorScheme_data() {
    QTest::addColumn<QString>("before");  // scheme applied first ("" for none)
    QTest::addColumn<QString>("name");    // the name given
    QTest::addColumn<QString>("applied"); // scheme expected afterwards ("" for none)

    QTest::newRow("lower case, trailing blank") << "DEF_PARLONE"
                                                << "def_mirc "
                                                << "DEF_MIRC";
    QTest::newRow("mixed case, leading blank") << "DEF_MIRC"
                                               << " Def_Parlone"
                                               << "DEF_PARLONE";
    QTest::newRow("unknown keeps DEF_PARLONE") << "DEF_PARLONE"
                                               << "DEF_OTHER"
                                               << "DEF_PARLONE";
    QTest::newRow("blank inside keeps DEF_MIRC") << "DEF_MIRC"
                                                 << "DEF MIRC"
                                                 << "DEF_MIRC";
    QTest::newRow("empty keeps DEF_MIRC") << "DEF_MIRC"
                                          << ""
                                          << "DEF_MIRC";
    QTest::newRow("unknown keeps the empty palette") << ""
                                                     << "MIRC"
                                                     << "";
}

void TestPalette::setColorScheme() {
    QFETCH(QString, before);
    QFETCH(QString, name);
    QFETCH(QString, applied);

    Palette palette = withScheme(before);
    palette.SetColorScheme(name);
    QCOMPARE(entries(palette), entries(withScheme(applied)));
}

void TestPalette::colourNumber_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint32>("colour");

    QTest::newRow("black") << "0" << 0;
    QTest::newRow("a number") << "1193046" << 1193046;
    QTest::newRow("white, the largest") << "16777215" << 0xFFFFFF;
    QTest::newRow("past white") << "16777216" << 0;
    QTest::newRow("far past white") << "1e20" << 0;
    QTest::newRow("past every integer") << "1e300" << 0;
    QTest::newRow("negative") << "-1" << 0;
    QTest::newRow("far negative") << "-1e20" << 0;
    QTest::newRow("half rounds to even, down") << "254.5" << 254;
    QTest::newRow("half rounds to even, up") << "255.5" << 256;
    QTest::newRow("fraction rounds") << "254.6" << 255;
    QTest::newRow("rounds past white") << "16777215.5" << 0;
    QTest::newRow("leading number") << "12abc" << 12;
    QTest::newRow("hexadecimal") << "&HFF" << 255;
    QTest::newRow("plus sign and zeros") << "+0017" << 17;
    QTest::newRow("word") << "blue" << 0;
    QTest::newRow("empty") << "" << 0;
}

void TestPalette::colourNumber() {
    QFETCH(QString, text);
    QFETCH(qint32, colour);
    QCOMPARE(ColourNumber(text), colour);
}

QTEST_APPLESS_MAIN(TestPalette)
#include "tst_palette.moc"
