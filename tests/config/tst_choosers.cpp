// The colour and font choosers driven as windows, and the two show calls
// with and without a dialog answerer standing in for the user.

#include "config/frm_twColor.h"
#include "config/frm_twFont.h"
#include "connection/frm_main.h"
#include "core/Choosers.h"
#include "core/Fonts.h"
#include "core/Program.h"
#include "platform/richedit/OleColor.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

using platform::DialogRequest;

class TestChoosers : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void selcolThenCloseBoxKeepsTheMark();
    void shownWithoutPreselectionAndClosed();
    void lastSwatchClickedWins();
    void selcolOutsideThePaletteDoesNothing();
    void eachUseShowsThePaletteOfThatMoment();
    void chooseFontMatchesWithoutLetterCase_data();
    void chooseFontMatchesWithoutLetterCase();
    void fontPickNeedsSelect();
    void fontListHoldsSubstitutedFaces();
    void colourShowReportsTheChoice_data();
    void colourShowReportsTheChoice();
    void fontShowReportsTheChoice_data();
    void fontShowReportsTheChoice();
    void answererStandsInForTheWindows();

private:
    Program& p() { return *m_p; }

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestChoosers::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
}

void TestChoosers::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestChoosers::selcolThenCloseBoxKeepsTheMark() {
    frm_twColor& chooser = p().colorChooser();
    QCOMPARE(chooser.Caption(), QStringLiteral("Color Picker"));
    chooser.selcol(3);
    QCOMPARE(chooser.Label1->text(), QStringLiteral("Color chosen: 3"));
    chooser.requestClose();
    QCOMPARE(p().PickedColorIndex, 3);
    QVERIFY(!p().hasColorChooser());
}

void TestChoosers::shownWithoutPreselectionAndClosed() {
    p().PickedColorIndex = 9;
    frm_twColor& chooser = p().colorChooser();
    chooser.Show();
    QCOMPARE(chooser.Label1->text(), QString());
    chooser.requestClose();
    QCOMPARE(p().PickedColorIndex, 9);
}

void TestChoosers::lastSwatchClickedWins() {
    frm_twColor& chooser = p().colorChooser();
    chooser.Show();
    QTest::mouseClick(chooser.cbox[7], Qt::LeftButton);
    QTest::mouseClick(chooser.cbox[2], Qt::LeftButton);
    for (int i = 0; i < 16; ++i)
        QCOMPARE(chooser.cbox[i]->frameShape(), i == 2 ? QFrame::Box : QFrame::NoFrame);
    QCOMPARE(chooser.Picture1->palette().color(QPalette::Window),
             platform::ColorFromRgb(p().palette.GetColor(QStringLiteral("2"))));
    chooser.Command1->click();
    QCOMPARE(p().PickedColorIndex, 2);
    QVERIFY(!p().hasColorChooser());
}

void TestChoosers::selcolOutsideThePaletteDoesNothing() {
    p().PickedColorIndex = 6;
    frm_twColor& chooser = p().colorChooser();
    chooser.selcol(16);
    chooser.selcol(-1);
    QCOMPARE(p().PickedColorIndex, 6);
    QCOMPARE(chooser.Label1->text(), QString());
}

void TestChoosers::eachUseShowsThePaletteOfThatMoment() {
    p().colorChooser().requestClose();
    p().palette.setColor(4, 0x123456);
    frm_twColor& second = p().colorChooser();
    QCOMPARE(second.cbox[4]->palette().color(QPalette::Window), platform::ColorFromRgb(0x123456));
}

void TestChoosers::chooseFontMatchesWithoutLetterCase_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("selects");
    QTest::newRow("as listed") << "same" << true;
    QTest::newRow("lower case") << "lower" << true;
    QTest::newRow("upper case") << "upper" << true;
    QTest::newRow("trailing blank") << "blank" << false;
    QTest::newRow("leading blank") << "lead" << false;
}

void TestChoosers::chooseFontMatchesWithoutLetterCase() {
    QFETCH(QString, how);
    QFETCH(bool, selects);
    frm_twFont& chooser = p().fontChooser();
    QCOMPARE(chooser.Caption(), QStringLiteral("Font Chooser"));
    if (chooser.Combo1->count() < 2)
        QSKIP("fewer than two fonts installed");
    QCOMPARE(chooser.Combo1->currentIndex(), 0);
    const int target = chooser.Combo1->count() - 1;
    const QString face = chooser.Combo1->itemText(target);
    const QString name = how == u"lower"   ? face.toLower()
                         : how == u"upper" ? face.toUpper()
                         : how == u"blank" ? face + u' '
                         : how == u"lead"  ? u' ' + face
                                           : face;
    chooser.ChooseFont(name);
    QCOMPARE(chooser.Combo1->currentIndex(), selects ? target : 0);
    // The example text shows the selected face.
    QCOMPARE(chooser.Label1->font().family(), FontFamilyFor(chooser.Combo1->currentText()));
}

void TestChoosers::fontPickNeedsSelect() {
    frm_twFont& chooser = p().fontChooser();
    if (chooser.Combo1->count() < 2)
        QSKIP("fewer than two fonts installed");
    const QString face = chooser.Combo1->itemText(1);
    chooser.ChooseFont(face);
    chooser.requestClose();
    QCOMPARE(p().PickedFont, QString());

    frm_twFont& again = p().fontChooser();
    again.ChooseFont(face);
    again.Command1->click();
    QCOMPARE(p().PickedFont, face);
    QVERIFY(!p().hasFontChooser());

    // Closed without "&Select": the previous pick stays.
    frm_twFont& third = p().fontChooser();
    third.ChooseFont(third.Combo1->itemText(0));
    third.requestClose();
    QCOMPARE(p().PickedFont, face);
}

void TestChoosers::fontListHoldsSubstitutedFaces() {
    if (!FontExists(QStringLiteral("Fixedsys")))
        QSKIP("no stand-in for Fixedsys installed");
    frm_twFont& chooser = p().fontChooser();
    QVERIFY(chooser.Combo1->findText(QStringLiteral("Fixedsys")) >= 0);
    chooser.ChooseFont(QStringLiteral("FIXEDSYS"));
    QCOMPARE(chooser.Combo1->currentText(), QStringLiteral("Fixedsys"));
}

// Without an answerer the chooser is shown over its owner and the call
// returns when it closes, telling whether the user chose.
void TestChoosers::colourShowReportsTheChoice_data() {
    QTest::addColumn<int>("click");
    QTest::addColumn<bool>("choose");
    QTest::addColumn<bool>("chose");
    QTest::addColumn<int>("picked");
    QTest::newRow("swatch, then close box") << 5 << false << true << 5;
    QTest::newRow("swatch, then Choose") << 5 << true << true << 5;
    QTest::newRow("close box only") << -1 << false << false << 8;
    // "&Choose" without a click closes as the close box does.
    QTest::newRow("Choose only") << -1 << true << false << 8;
}

void TestChoosers::colourShowReportsTheChoice() {
    QFETCH(int, click);
    QFETCH(bool, choose);
    QFETCH(bool, chose);
    QFETCH(int, picked);
    p().mainFrame();
    p().colorChooser().selcol(8);
    QTimer::singleShot(0, [&] {
        frm_twColor& chooser = p().colorChooser();
        QVERIFY(chooser.isVisible());
        if (click >= 0)
            QTest::mouseClick(chooser.cbox[click], Qt::LeftButton);
        if (choose)
            chooser.Command1->click();
        else
            chooser.close();
    });
    QCOMPARE(ShowColorChooser(p()), chose);
    QCOMPARE(p().PickedColorIndex, picked);
    QVERIFY(!p().hasColorChooser());
}

void TestChoosers::fontShowReportsTheChoice_data() {
    QTest::addColumn<bool>("select");
    QTest::newRow("Select") << true;
    QTest::newRow("close box") << false;
}

void TestChoosers::fontShowReportsTheChoice() {
    QFETCH(bool, select);
    p().mainFrame();
    p().PickedFont = QStringLiteral("earlier");
    QString face;
    QTimer::singleShot(0, [&] {
        frm_twFont& chooser = p().fontChooser();
        QVERIFY(chooser.isVisible());
        face = chooser.Combo1->currentText();
        if (select)
            chooser.Command1->click();
        else
            chooser.close();
    });
    QCOMPARE(ShowFontChooser(p()), select);
    QCOMPARE(p().PickedFont, select ? face : QStringLiteral("earlier"));
}

void TestChoosers::answererStandsInForTheWindows() {
    ScriptedAnswerer answers;
    p().colorChooser().selcol(2);
    answers.queueChooserPick(QStringLiteral("11"));
    QVERIFY(ShowColorChooser(p()));
    QCOMPARE(p().PickedColorIndex, 11);
    // The chooser built for the preselection goes, so the next use is new.
    QVERIFY(!p().hasColorChooser());

    answers.queueChooserClose();
    QVERIFY(!ShowColorChooser(p()));
    answers.queueChooserPick(QStringLiteral("16"));
    QVERIFY(!ShowColorChooser(p()));
    QCOMPARE(p().PickedColorIndex, 11);

    answers.queueChooserPick(QStringLiteral("Verdana"));
    QVERIFY(ShowFontChooser(p()));
    QCOMPARE(p().PickedFont, QStringLiteral("Verdana"));
    answers.queueChooserClose();
    QVERIFY(!ShowFontChooser(p()));
    QCOMPARE(p().PickedFont, QStringLiteral("Verdana"));

    QCOMPARE(answers.requests().size(), 5);
    QCOMPARE(answers.requests().at(0).kind, DialogRequest::ColorChooser);
    QCOMPARE(answers.requests().at(3).kind, DialogRequest::FontChooser);
}

PARLONE_TEST_MAIN(TestChoosers)
#include "tst_choosers.moc"
