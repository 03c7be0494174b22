// Windows face names against the installed fonts: the substitution table, the
// font check and the status bar's face at start-up.

#include "connection/frm_main.h"
#include "core/FontSubstitutes.h"
#include "core/Fonts.h"
#include "core/Program.h"
#include "core/mod_startup.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QFontDatabase>
#include <QFontInfo>

class TestFonts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void resolve_data();
    void resolve();
    void installedFaces_data();
    void installedFaces();
    void checkFont();
    void statusBarFace();
};

void TestFonts::resolve_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<QStringList>("installed");
    QTest::addColumn<QString>("family");

    const QStringList system{"DejaVu Sans",     "DejaVu Sans Mono", "DejaVu Serif",
                             "Liberation Mono", "Liberation Sans",  "Liberation Serif"};
    QTest::newRow("Fixedsys") << "Fixedsys" << system << "DejaVu Sans Mono";
    QTest::newRow("FixedSys") << "FixedSys" << system << "DejaVu Sans Mono";
    QTest::newRow("Fixedsys, second choice")
        << "Fixedsys" << QStringList{"Liberation Mono"} << "Liberation Mono";
    QTest::newRow("Arial") << "Arial" << system << "Liberation Sans";
    QTest::newRow("Verdana") << "Verdana" << system << "DejaVu Sans";
    QTest::newRow("Courier New") << "courier new" << system << "Liberation Mono";
    QTest::newRow("Times New Roman") << "Times New Roman" << system << "Liberation Serif";
    QTest::newRow("the face itself wins") << "Arial" << (QStringList(system) << "Arial") << "Arial";
    QTest::newRow("installed spelling") << "dejavu sans" << system << "DejaVu Sans";
    QTest::newRow("no substitute installed") << "Verdana" << QStringList{"Noto Sans"} << "";
    QTest::newRow("unknown face") << "Wingdings" << system << "";
    QTest::newRow("empty") << "" << system << "";
}

void TestFonts::resolve() {
    QFETCH(QString, face);
    QFETCH(QStringList, installed);
    QFETCH(QString, family);
    QCOMPARE(ResolveFontFamily(face, installed), family);
}

void TestFonts::installedFaces_data() {
    QTest::addColumn<QString>("face");
    QTest::addColumn<bool>("exists");

    // The faces of the program's defaults and start-up; the system has the
    // DejaVu and Liberation families.
    QTest::newRow("Fixedsys") << "Fixedsys" << true;
    QTest::newRow("FixedSys") << "FixedSys" << true;
    QTest::newRow("Arial") << "Arial" << true;
    QTest::newRow("Verdana") << "Verdana" << true;
    QTest::newRow("family in other case") << "dejavu sans mono" << true;
    QTest::newRow("missing") << "No Such Face" << false;
    QTest::newRow("empty") << "" << false;
}

void TestFonts::installedFaces() {
    QFETCH(QString, face);
    QFETCH(bool, exists);

    QCOMPARE(FontExists(face), exists);
    if (exists) {
        const QString family = FontFamilyFor(face);
        QVERIFY2(QFontDatabase::families().contains(family), qPrintable(family));
    } else {
        QCOMPARE(FontFamilyFor(face), face);
    }
}

void TestFonts::checkFont() {
    QStringList shown;
    const auto show = [&shown](const QString& line) { shown.append(line); };
    CheckFont(QStringLiteral("Fixedsys"), show);
    CheckFont(QStringLiteral("Verdana"), show);
    QCOMPARE(shown, QStringList());
    CheckFont(QStringLiteral("No Such Face"), show);
    QCOMPARE(shown, QStringList{QStringLiteral("Error: Font not found 'No Such Face")});
}

void TestFonts::statusBarFace() {
    TempProgramFolder folder;
    Program p(folder.path());
    PrepareFolders(p);
    // Verdana wins over Arial when both are there.
    const QFont font = p.mainFrame().StatusBar1->font();
    QCOMPARE(font.family(), FontFamilyFor(QStringLiteral("Verdana")));
    QCOMPARE(QFontInfo(font).family(), FontFamilyFor(QStringLiteral("Verdana")));
}

PARLONE_TEST_MAIN(TestFonts)
#include "tst_fonts.moc"
