// The setup dialog's appearance page: the previews follow the stored looks,
// the sliders store sizes, each picker stores its key, and the "Colors"
// page's swatches store nothing.

#include "config/frm_setup.h"
#include "config/frm_twColor.h"
#include "config/frm_twFont.h"
#include "core/Fonts.h"
#include "core/Program.h"
#include "core/SettingsKeys.h"
#include "core/mod_set.h"
#include "platform/richedit/OleColor.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

using platform::DialogRequest;

class TestAppearance : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void timestampFlags_data();
    void timestampFlags();
    void sizes_data();
    void sizes();
    void emptyKeysLeaveControls();
    void consoleFontReachesEverySample_data();
    void consoleFontReachesEverySample();
    void coloursPaintSamplesAndSwatches();
    void slidersStoreTheUsersMoves_data();
    void slidersStoreTheUsersMoves();
    void dragStoresOnceOnRelease();
    void pickers_data();
    void pickers();
    void joinColourPickShowsAtOnce();
    void staleFontIsNotStored();
    void nonPaletteColourClosedStoresNothing();
    void paletteColourClosedStoresItAgain();
    void pickerShowsTheChooserWithoutAnswerer();
    void chooseWithoutASwatchStoresNothing_data();
    void chooseWithoutASwatchStoresNothing();
    void swatchesStoreNothing();

private:
    Program& p() { return *m_p; }
    frm_setup& setup() { return m_p->setupDialog(); }
    QLabel* label(const char* name) {
        return qobject_cast<QLabel*>(setup().appearanceControl(QString::fromLatin1(name)));
    }
    QColor colour(const char* index) {
        return platform::ColorFromRgb(p().palette.GetColor(QString::fromLatin1(index)));
    }
    // The refresher of a key's window kind, as the accessor runs it.
    void refresh(const QString& key);
    QStringList allSettings() const;

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestAppearance::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->serverWindow();
    setup().Show();
}

void TestAppearance::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestAppearance::refresh(const QString& key) {
    if (key.startsWith(u"WIN_QUERY"))
        setup().UpdateSetupQuery();
    else if (key.startsWith(u"WIN_CHAN"))
        setup().UpdateSetupChan();
    else
        setup().UpdateSetupServer();
}

QStringList TestAppearance::allSettings() const {
    QStringList values;
    for (const SettingKey& key : SettingsKeys::all())
        values << m_p->settings.value(key);
    return values;
}

// Each flag is first "TRUE"; then the value of the row is stored and the
// kind refreshed.
void TestAppearance::timestampFlags_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ticked");

    QTest::newRow("query TRUE") << "WIN_QUERY_TIMESTAMP"
                                << "chk_query_timestamp"
                                << "lbl_win_query_actioncolor"
                                << "TRUE"
                                << "[00:00] * Action Text" << true;
    QTest::newRow("query FALSE") << "WIN_QUERY_TIMESTAMP"
                                 << "chk_query_timestamp"
                                 << "lbl_win_query_actioncolor"
                                 << "FALSE"
                                 << "* Action Text" << false;
    QTest::newRow("query other") << "WIN_QUERY_TIMESTAMP"
                                 << "chk_query_timestamp"
                                 << "lbl_query_console_forecolor"
                                 << "yes"
                                 << "[00:00] Normal Text" << true;
    QTest::newRow("channel TRUE") << "WIN_CHAN_TIMESTAMP"
                                  << "chk_win_Chan_timestamp"
                                  << "lbl_WIN_CHAN_ACTIONCOLOR"
                                  << "TRUE"
                                  << "[0:00] Action Text" << true;
    QTest::newRow("channel FALSE") << "WIN_CHAN_TIMESTAMP"
                                   << "chk_win_Chan_timestamp"
                                   << "lbl_WIN_CHAN_JOINCOLOR"
                                   << "FALSE"
                                   << "Join Text" << false;
    QTest::newRow("channel other") << "WIN_CHAN_TIMESTAMP"
                                   << "chk_win_Chan_timestamp"
                                   << "lbl_WIN_CHAN_CONSOLE_FORECOLOR"
                                   << "true"
                                   << "[0:00] Normal Text" << true;
    QTest::newRow("server TRUE") << "WIN_SERVER_TIMESTAMP"
                                 << "chk_WIN_SERVER_TIMESTAMP"
                                 << "lbl_WIN_SERVER_CONSOLE_FORECOLOR"
                                 << "TRUE"
                                 << "Normal Text" << true;
    QTest::newRow("server FALSE") << "WIN_SERVER_TIMESTAMP"
                                  << "chk_WIN_SERVER_TIMESTAMP"
                                  << "lbl_WIN_SERVER_QUITCOLOR"
                                  << "FALSE"
                                  << "Quits" << false;
    QTest::newRow("server other") << "WIN_SERVER_TIMESTAMP"
                                  << "chk_WIN_SERVER_TIMESTAMP"
                                  << "lbl_WIN_SERVER_CONSOLE_FORECOLOR"
                                  << "1"
                                  << "Normal Text" << true;
}

void TestAppearance::timestampFlags() {
    QFETCH(QString, key);
    QFETCH(QString, box);
    QFETCH(QString, sample);
    QFETCH(QString, value);
    QFETCH(QString, text);
    QFETCH(bool, ticked);
    Setting(p(), key, QStringLiteral("TRUE"));
    p().settings.setValue(key, value);
    refresh(key);
    QCOMPARE(setup().checkBox(box)->isChecked(), ticked);
    QCOMPARE(label(qPrintable(sample))->text(), text);
}

void TestAppearance::sizes_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("sizeLabel");
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QString>("sample");
    QTest::addColumn<QString>("labelText");
    QTest::addColumn<int>("position");
    QTest::addColumn<double>("points");

    QTest::newRow("channel console 10") << "WIN_CHAN_CONSOLE_FONTSIZE"
                                        << "10"
                                        << "lbl_win_chan_console_fontsize"
                                        << "sld_win_chan_console_fontsize"
                                        << "lbl_WIN_CHAN_KICKCOLOR"
                                        << "Font Size: 10" << 10 << 10.0;
    QTest::newRow("channel console 10.5") << "WIN_CHAN_CONSOLE_FONTSIZE"
                                          << "10.5"
                                          << "lbl_win_chan_console_fontsize"
                                          << "sld_win_chan_console_fontsize"
                                          << "lbl_WIN_CHAN_ACTIONCOLOR"
                                          << "Font Size: 10.5" << 10 << 10.5;
    // The channel console's label shows the number read back.
    QTest::newRow("channel console 12abc") << "WIN_CHAN_CONSOLE_FONTSIZE"
                                           << "12abc"
                                           << "lbl_win_chan_console_fontsize"
                                           << "sld_win_chan_console_fontsize"
                                           << "lbl_WIN_CHAN_CONSOLE_FORECOLOR"
                                           << "Font Size: 12" << 12 << 12.0;
    QTest::newRow("channel list 12abc") << "WIN_CHAN_LIST_FONTSIZE"
                                        << "12abc"
                                        << "lbl_win_chan_list_fontsize"
                                        << "sld_win_chan_list_fontsize"
                                        << "lbl_WIN_CHAN_LIST"
                                        << "Font Size: 12abc" << 12 << 12.0;
    QTest::newRow("query console 11.5") << "WIN_QUERY_CONSOLE_FONTSIZE"
                                        << "11.5"
                                        << "lbl_query_fontsize"
                                        << "query_consolefont_slider"
                                        << "lbl_win_query_msgcolor"
                                        << "Font Size: 11.5" << 12 << 11.5;
    QTest::newRow("query command 10") << "WIN_QUERY_COMMAND_FONTSIZE"
                                      << "10"
                                      << "lbl_query_command_fontsize"
                                      << "query_Commandfont_slider"
                                      << "lbl_QUERY_COMMAND_FORECOLOR"
                                      << "Font Size: 10" << 10 << 10.0;
    QTest::newRow("server console 10.5") << "WIN_SERVER_CONSOLE_FONTSIZE"
                                         << "10.5"
                                         << "lbl_WIN_SERVER_CONSOLE_FONTSIZE"
                                         << "sld_WIN_SERVER_CONSOLE_FONTSIZE"
                                         << "lbl_WIN_SERVER_SERVERWELCOMECOLOR"
                                         << "Font Size: 10.5" << 10 << 10.5;
    QTest::newRow("server command 13") << "WIN_SERVER_COMMAND_FONTSIZE"
                                       << "13"
                                       << "lbl_WIN_SERVER_COMMAND_FONTSIZE"
                                       << "sld_WIN_SERVER_COMMAND_FONTSIZE"
                                       << "lbl_WIN_SERVER_COMMAND"
                                       << "Font Size: 13" << 13 << 13.0;
    // Too large for a sample: the label and slider show it, the samples keep
    // the size they had (set to 9 first).
    QTest::newRow("channel command 150") << "WIN_CHAN_COMMAND_FONTSIZE"
                                         << "150"
                                         << "lbl_win_chan_command_fontsize"
                                         << "sld_win_chan_command_fontsize"
                                         << "lbl_WIN_CHAN_COMMAND"
                                         << "Font Size: 150" << 100 << 9.0;
}

void TestAppearance::sizes() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, sizeLabel);
    QFETCH(QString, slider);
    QFETCH(QString, sample);
    QFETCH(QString, labelText);
    QFETCH(int, position);
    QFETCH(double, points);
    Setting(p(), key, QStringLiteral("9"));
    Setting(p(), key, value);
    QCOMPARE(label(qPrintable(sizeLabel))->text(), labelText);
    QCOMPARE(qobject_cast<QSlider*>(setup().appearanceControl(slider))->value(), position);
    QCOMPARE(label(qPrintable(sample))->font().pointSizeF(), points);
    // Setting the slider wrote nothing back.
    QCOMPARE(p().settings.value(key), value);
}

void TestAppearance::emptyKeysLeaveControls() {
    const char* const keys[] = {"WIN_CHAN_JOINCOLOR",    "WIN_CHAN_CONSOLE_BACKCOLOR",
                                "WIN_CHAN_CONSOLE_FONT", "WIN_CHAN_CONSOLE_FONTSIZE",
                                "WIN_CHAN_TIMESTAMP",    "WIN_CHAN_LOGGING"};
    const char* const values[] = {"4", "8", "Verdana", "14", "TRUE", "TRUE"};
    for (int i = 0; i < 6; ++i)
        Setting(p(), QString::fromLatin1(keys[i]), QString::fromLatin1(values[i]));
    QLabel* join = label("lbl_WIN_CHAN_JOINCOLOR");
    QLabel* face = label("lbl_win_chan_console_font");
    const QPalette joinPalette = join->palette();
    const QFont joinFont = join->font();
    const QColor swatch =
        label("pic_win_Chan_console_backcolor")->palette().color(QPalette::Window);

    for (const char* key : keys)
        p().settings.setValue(QString::fromLatin1(key), QString());
    setup().UpdateSetupChan();
    QCOMPARE(join->palette().color(QPalette::WindowText), joinPalette.color(QPalette::WindowText));
    QCOMPARE(join->palette().color(QPalette::Window), joinPalette.color(QPalette::Window));
    QCOMPARE(join->font(), joinFont);
    QCOMPARE(join->text(), QStringLiteral("[0:00] Join Text"));
    QCOMPARE(face->text(), QStringLiteral("Verdana"));
    QCOMPARE(label("lbl_win_chan_console_fontsize")->text(), QStringLiteral("Font Size: 14"));
    QCOMPARE(label("pic_win_Chan_console_backcolor")->palette().color(QPalette::Window), swatch);
    QVERIFY(setup().chk_win_Chan_timestamp->isChecked());
    QVERIFY(setup().chk_win_Chan_logging->isChecked());
}

void TestAppearance::consoleFontReachesEverySample_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("fontLabel");
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("samples");
    QTest::newRow("query") << "WIN_QUERY_CONSOLE_FONT"
                           << "lbl_win_query_console_font"
                           << "lbl_QUERY_COMMAND_FORECOLOR"
                           << QStringList{"lbl_query_console_forecolor", "lbl_win_query_msgcolor",
                                          "lbl_win_Query_noticecolor", "lbl_win_query_actioncolor"};
    QTest::newRow("server")
        << "WIN_SERVER_CONSOLE_FONT"
        << "lbl_WIN_SERVER_CONSOLE_FONT"
        << "lbl_WIN_SERVER_COMMAND"
        << QStringList{"lbl_WIN_SERVER_CONSOLE_FORECOLOR", "lbl_WIN_SERVER_CTCPCOLOR",
                       "lbl_WIN_SERVER_ERRORCOLOR",        "lbl_WIN_SERVER_IRCMESSAGECOLOR",
                       "lbl_WIN_SERVER_KICKCOLOR",         "lbl_WIN_SERVER_NICKCOLOR",
                       "lbl_WIN_SERVER_NOTICECOLOR",       "lbl_WIN_SERVER_QUERYCOLOR",
                       "lbl_WIN_SERVER_QUITCOLOR",         "lbl_WIN_SERVER_MOTDCOLOR",
                       "lbl_WIN_SERVER_NAMESCOLOR",        "lbl_WIN_SERVER_SERVERNOTICECOLOR",
                       "lbl_WIN_SERVER_SERVERPINGCOLOR",   "lbl_WIN_SERVER_SERVERWELCOMECOLOR"};
    QTest::newRow("channel") << "WIN_CHAN_CONSOLE_FONT"
                             << "lbl_win_chan_console_font"
                             << "lbl_WIN_CHAN_LIST"
                             << QStringList{
                                    "lbl_WIN_CHAN_CONSOLE_FORECOLOR", "lbl_WIN_CHAN_JOINCOLOR",
                                    "lbl_WIN_CHAN_PARTCOLOR",         "lbl_WIN_CHAN_QUITCOLOR",
                                    "lbl_WIN_CHAN_KICKCOLOR",         "lbl_WIN_CHAN_NICKCOLOR",
                                    "lbl_WIN_CHAN_MSGCOLOR",          "lbl_WIN_CHAN_NOTICECOLOR",
                                    "lbl_WIN_CHAN_ACTIONCOLOR"};
}

// "Fixedsys" previews in its stand-in; the face name is shown as stored.
void TestAppearance::consoleFontReachesEverySample() {
    QFETCH(QString, key);
    QFETCH(QString, fontLabel);
    QFETCH(QString, command);
    QFETCH(QStringList, samples);
    const QString face = QStringLiteral("Fixedsys");
    const QString family = FontFamilyFor(face);
    const QFont commandFont = label(qPrintable(command))->font();
    Setting(p(), key, face);
    for (const QString& sample : samples)
        QCOMPARE(label(qPrintable(sample))->font().family(), family);
    QCOMPARE(label(qPrintable(fontLabel))->text(), face);
    QCOMPARE(label(qPrintable(fontLabel))->font().family(), family);
    QCOMPARE(label(qPrintable(command))->font(), commandFont);
}

void TestAppearance::coloursPaintSamplesAndSwatches() {
    Setting(p(), QStringLiteral("WIN_SERVER_CONSOLE_BACKCOLOR"), QStringLiteral("8"));
    Setting(p(), QStringLiteral("WIN_SERVER_KICKCOLOR"), QStringLiteral("4"));
    Setting(p(), QStringLiteral("WIN_CHAN_LIST_BACKCOLOR"), QStringLiteral("2"));
    Setting(p(), QStringLiteral("WIN_CHAN_LIST_FORECOLOR"), QStringLiteral("0"));
    QCOMPARE(label("pic_WIN_SERVER_CONSOLE_BACKCOLOR")->palette().color(QPalette::Window),
             colour("8"));
    QCOMPARE(label("lbl_WIN_SERVER_NAMESCOLOR")->palette().color(QPalette::Window), colour("8"));
    QCOMPARE(label("lbl_WIN_SERVER_KICKCOLOR")->palette().color(QPalette::WindowText), colour("4"));
    QVERIFY(label("lbl_WIN_SERVER_COMMAND")->palette().color(QPalette::Window) != colour("8"));
    QCOMPARE(label("lbl_WIN_CHAN_LIST")->palette().color(QPalette::Window), colour("2"));
    QCOMPARE(label("pic_win_chan_list_backcolor")->palette().color(QPalette::Window), colour("2"));
    QCOMPARE(label("lbl_WIN_CHAN_LIST")->palette().color(QPalette::WindowText), colour("0"));
}

void TestAppearance::slidersStoreTheUsersMoves_data() {
    QTest::addColumn<QString>("slider");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("sizeLabel");
    QTest::addColumn<QString>("sample");
    QTest::newRow("query command") << "query_Commandfont_slider"
                                   << "WIN_QUERY_COMMAND_FONTSIZE"
                                   << "lbl_query_command_fontsize"
                                   << "lbl_QUERY_COMMAND_FORECOLOR";
    QTest::newRow("query console") << "query_consolefont_slider"
                                   << "WIN_QUERY_CONSOLE_FONTSIZE"
                                   << "lbl_query_fontsize"
                                   << "lbl_win_Query_noticecolor";
    QTest::newRow("server command") << "sld_WIN_SERVER_COMMAND_FONTSIZE"
                                    << "WIN_SERVER_COMMAND_FONTSIZE"
                                    << "lbl_WIN_SERVER_COMMAND_FONTSIZE"
                                    << "lbl_WIN_SERVER_COMMAND";
    QTest::newRow("server console") << "sld_WIN_SERVER_CONSOLE_FONTSIZE"
                                    << "WIN_SERVER_CONSOLE_FONTSIZE"
                                    << "lbl_WIN_SERVER_CONSOLE_FONTSIZE"
                                    << "lbl_WIN_SERVER_MOTDCOLOR";
    QTest::newRow("channel command") << "sld_win_chan_command_fontsize"
                                     << "WIN_CHAN_COMMAND_FONTSIZE"
                                     << "lbl_win_chan_command_fontsize"
                                     << "lbl_WIN_CHAN_COMMAND";
    QTest::newRow("channel console") << "sld_win_chan_console_fontsize"
                                     << "WIN_CHAN_CONSOLE_FONTSIZE"
                                     << "lbl_win_chan_console_fontsize"
                                     << "lbl_WIN_CHAN_NICKCOLOR";
    QTest::newRow("channel list") << "sld_win_chan_list_fontsize"
                                  << "WIN_CHAN_LIST_FONTSIZE"
                                  << "lbl_win_chan_list_fontsize"
                                  << "lbl_WIN_CHAN_LIST";
}

// From 11, one step up by key: "12" is stored and the preview follows.
void TestAppearance::slidersStoreTheUsersMoves() {
    QFETCH(QString, slider);
    QFETCH(QString, key);
    QFETCH(QString, sizeLabel);
    QFETCH(QString, sample);
    Setting(p(), key, QStringLiteral("11"));
    auto* control = qobject_cast<QSlider*>(setup().appearanceControl(slider));
    QVERIFY(control);
    QCOMPARE(control->value(), 11);
    control->setFocus();
    QTest::keyClick(control, Qt::Key_Right);
    QCOMPARE(p().settings.value(key), QStringLiteral("12"));
    QCOMPARE(label(qPrintable(sizeLabel))->text(), QStringLiteral("Font Size: 12"));
    QCOMPARE(label(qPrintable(sample))->font().pointSizeF(), 12.0);
}

void TestAppearance::dragStoresOnceOnRelease() {
    const QString key = QStringLiteral("WIN_CHAN_LIST_FONTSIZE");
    Setting(p(), key, QStringLiteral("10.5"));
    auto* slider = qobject_cast<QSlider*>(
        setup().appearanceControl(QStringLiteral("sld_win_chan_list_fontsize")));
    slider->setSliderDown(true);
    slider->setSliderPosition(15);
    slider->setSliderPosition(18);
    QCOMPARE(p().settings.value(key), QStringLiteral("10.5"));
    slider->setSliderDown(false);
    QCOMPARE(p().settings.value(key), QStringLiteral("18"));
}

void TestAppearance::pickers_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("key");
    const struct {
        const char* control;
        const char* kind;
        const char* key;
    } rows[] = {
        {"lbl_query_console_forecolor", "T", "WIN_QUERY_CONSOLE_FORECOLOR"},
        {"lbl_win_query_msgcolor", "T", "WIN_QUERY_MSGCOLOR"},
        {"lbl_win_Query_noticecolor", "T", "WIN_QUERY_NOTICECOLOR"},
        {"lbl_win_query_actioncolor", "T", "WIN_QUERY_ACTIONCOLOR"},
        {"lbl_QUERY_COMMAND_FORECOLOR", "T", "WIN_QUERY_COMMAND_FORECOLOR"},
        {"pic_win_query_console_backcolor", "B", "WIN_QUERY_CONSOLE_BACKCOLOR"},
        {"pic_win_query_command_backcolor", "B", "WIN_QUERY_COMMAND_BACKCOLOR"},
        {"lbl_win_query_console_font", "F", "WIN_QUERY_CONSOLE_FONT"},
        {"lbl_win_Query_command_font", "F", "WIN_QUERY_COMMAND_FONT"},
        {"lbl_WIN_SERVER_CONSOLE_FORECOLOR", "T", "WIN_SERVER_CONSOLE_FORECOLOR"},
        {"lbl_WIN_SERVER_QUITCOLOR", "T", "WIN_SERVER_QUITCOLOR"},
        {"lbl_WIN_SERVER_CTCPCOLOR", "T", "WIN_SERVER_CTCPCOLOR"},
        {"lbl_WIN_SERVER_MOTDCOLOR", "T", "WIN_SERVER_MOTDCOLOR"},
        {"lbl_WIN_SERVER_ERRORCOLOR", "T", "WIN_SERVER_ERRORCOLOR"},
        {"lbl_WIN_SERVER_NAMESCOLOR", "T", "WIN_SERVER_NAMESCOLOR"},
        {"lbl_WIN_SERVER_IRCMESSAGECOLOR", "T", "WIN_SERVER_IRCMESSAGECOLOR"},
        {"lbl_WIN_SERVER_SERVERNOTICECOLOR", "T", "WIN_SERVER_SERVERNOTICECOLOR"},
        {"lbl_WIN_SERVER_KICKCOLOR", "T", "WIN_SERVER_KICKCOLOR"},
        {"lbl_WIN_SERVER_SERVERPINGCOLOR", "T", "WIN_SERVER_SERVERPINGCOLOR"},
        {"lbl_WIN_SERVER_NOTICECOLOR", "T", "WIN_SERVER_NOTICECOLOR"},
        {"lbl_WIN_SERVER_SERVERWELCOMECOLOR", "T", "WIN_SERVER_SERVERWELCOMECOLOR"},
        {"lbl_WIN_SERVER_NICKCOLOR", "T", "WIN_SERVER_NICKCOLOR"},
        {"lbl_WIN_SERVER_QUERYCOLOR", "T", "WIN_SERVER_QUERYCOLOR"},
        {"lbl_WIN_SERVER_COMMAND", "T", "WIN_SERVER_COMMAND_FORECOLOR"},
        {"pic_WIN_SERVER_CONSOLE_BACKCOLOR", "B", "WIN_SERVER_CONSOLE_BACKCOLOR"},
        {"pic_WIN_SERVER_COMMAND_BACKCOLOR", "B", "WIN_SERVER_COMMAND_BACKCOLOR"},
        {"lbl_WIN_SERVER_CONSOLE_FONT", "F", "WIN_SERVER_CONSOLE_FONT"},
        {"lbl_WIN_SERVER_COMMAND_FONT", "F", "WIN_SERVER_COMMAND_FONT"},
        {"lbl_WIN_CHAN_CONSOLE_FORECOLOR", "T", "WIN_CHAN_CONSOLE_FORECOLOR"},
        {"lbl_WIN_CHAN_JOINCOLOR", "T", "WIN_CHAN_JOINCOLOR"},
        {"lbl_WIN_CHAN_PARTCOLOR", "T", "WIN_CHAN_PARTCOLOR"},
        {"lbl_WIN_CHAN_QUITCOLOR", "T", "WIN_CHAN_QUITCOLOR"},
        {"lbl_WIN_CHAN_KICKCOLOR", "T", "WIN_CHAN_KICKCOLOR"},
        {"lbl_WIN_CHAN_NICKCOLOR", "T", "WIN_CHAN_NICKCOLOR"},
        {"lbl_WIN_CHAN_MSGCOLOR", "T", "WIN_CHAN_MSGCOLOR"},
        {"lbl_WIN_CHAN_NOTICECOLOR", "T", "WIN_CHAN_NOTICECOLOR"},
        {"lbl_WIN_CHAN_ACTIONCOLOR", "T", "WIN_CHAN_ACTIONCOLOR"},
        {"lbl_WIN_CHAN_LIST", "T", "WIN_CHAN_LIST_FORECOLOR"},
        {"lbl_WIN_CHAN_COMMAND", "T", "WIN_CHAN_COMMAND_FORECOLOR"},
        {"pic_win_Chan_console_backcolor", "B", "WIN_CHAN_CONSOLE_BACKCOLOR"},
        {"pic_win_chan_Command_backcolor", "B", "WIN_CHAN_COMMAND_BACKCOLOR"},
        {"pic_win_chan_list_backcolor", "B", "WIN_CHAN_LIST_BACKCOLOR"},
        {"lbl_win_chan_console_font", "F", "WIN_CHAN_CONSOLE_FONT"},
        {"lbl_win_chan_command_font", "F", "WIN_CHAN_COMMAND_FONT"},
        {"lbl_win_chan_list_font", "F", "WIN_CHAN_LIST_FONT"},
    };
    for (const auto& row : rows)
        QTest::newRow(row.control) << row.control << row.kind << row.key;
}

// A click on the control opens its chooser; the pick lands in its key and
// in no other.
void TestAppearance::pickers() {
    QFETCH(QString, control);
    QFETCH(QString, kind);
    QFETCH(QString, key);
    QWidget* widget = setup().appearanceControl(control);
    QVERIFY(widget);
    const bool font = kind == u"F";
    QCOMPARE(qobject_cast<QLabel*>(widget)->text().isEmpty(), kind == u"B");
    ScriptedAnswerer answers;
    answers.queueChooserPick(font ? QStringLiteral("Verdana") : QStringLiteral("13"));
    QStringList before = allSettings();
    QTest::mouseClick(widget, Qt::LeftButton);
    QCOMPARE(answers.requests().size(), 1);
    QCOMPARE(answers.requests().constFirst().kind,
             font ? DialogRequest::FontChooser : DialogRequest::ColorChooser);
    const QString expected = font ? QStringLiteral("Verdana")
                                  : QString::number(p().palette.GetColor(QStringLiteral("13")));
    QCOMPARE(p().settings.value(key), expected);
    QStringList after = allSettings();
    const int at = SettingsKeys::indexOf(*SettingsKeys::find(key));
    before.removeAt(at);
    after.removeAt(at);
    QCOMPARE(after, before);
}

void TestAppearance::joinColourPickShowsAtOnce() {
    ScriptedAnswerer answers;
    answers.queueChooserPick(QStringLiteral("4"));
    QTest::mouseClick(label("lbl_WIN_CHAN_JOINCOLOR"), Qt::LeftButton);
    QCOMPARE(p().settings.value(QStringLiteral("WIN_CHAN_JOINCOLOR")),
             QString::number(p().palette.GetColor(QStringLiteral("4"))));
    QCOMPARE(label("lbl_WIN_CHAN_JOINCOLOR")->palette().color(QPalette::WindowText), colour("4"));
}

// A face left from an earlier pick of another key is not stored when the
// chooser closes without "&Select".
void TestAppearance::staleFontIsNotStored() {
    ScriptedAnswerer answers;
    answers.queueChooserPick(QStringLiteral("Verdana"));
    QTest::mouseClick(label("lbl_win_chan_list_font"), Qt::LeftButton);
    QCOMPARE(p().PickedFont, QStringLiteral("Verdana"));
    answers.queueChooserClose();
    QTest::mouseClick(label("lbl_WIN_SERVER_CONSOLE_FONT"), Qt::LeftButton);
    QCOMPARE(p().settings.value(QStringLiteral("WIN_SERVER_CONSOLE_FONT")), QString());
    QVERIFY(!p().hasFontChooser());
}

void TestAppearance::nonPaletteColourClosedStoresNothing() {
    const QString key = QStringLiteral("WIN_CHAN_CONSOLE_BACKCOLOR");
    Setting(p(), key, QStringLiteral("1193046"));
    ScriptedAnswerer answers;
    answers.queueChooserClose();
    QTest::mouseClick(label("pic_win_Chan_console_backcolor"), Qt::LeftButton);
    QCOMPARE(p().settings.value(key), QStringLiteral("1193046"));
    // A colour never set is outside the palette too: it stays unset.
    answers.queueChooserClose();
    QTest::mouseClick(label("lbl_WIN_CHAN_LIST"), Qt::LeftButton);
    QCOMPARE(p().settings.value(QStringLiteral("WIN_CHAN_LIST_FORECOLOR")), QString());
    QVERIFY(!p().hasColorChooser());
}

void TestAppearance::paletteColourClosedStoresItAgain() {
    const QString key = QStringLiteral("WIN_QUERY_MSGCOLOR");
    Setting(p(), key, QStringLiteral("6"));
    p().settings.setValue(key, QString::number(p().palette.GetColor(QStringLiteral("6"))));
    ScriptedAnswerer answers;
    answers.queueChooserClose();
    p().PickedColorIndex = 2;
    QTest::mouseClick(label("lbl_win_query_msgcolor"), Qt::LeftButton);
    QCOMPARE(p().PickedColorIndex, 6);
    QCOMPARE(p().settings.value(key), QString::number(p().palette.GetColor(QStringLiteral("6"))));
}

// Without an answerer the chooser is shown over the setup dialog, with the
// current value preselected.
void TestAppearance::pickerShowsTheChooserWithoutAnswerer() {
    Setting(p(), QStringLiteral("WIN_SERVER_QUITCOLOR"), QStringLiteral("7"));
    bool preselected = false;
    QTimer::singleShot(0, [&] {
        frm_twColor& chooser = p().colorChooser();
        preselected = chooser.cbox[7]->frameShape() == QFrame::Box;
        QCOMPARE(chooser.windowHandle()->transientParent(), setup().windowHandle());
        QTest::mouseClick(chooser.cbox[9], Qt::LeftButton);
        chooser.Command1->click();
    });
    QTest::mouseClick(label("lbl_WIN_SERVER_QUITCOLOR"), Qt::LeftButton);
    QVERIFY(preselected);
    QCOMPARE(p().settings.value(QStringLiteral("WIN_SERVER_QUITCOLOR")),
             QString::number(p().palette.GetColor(QStringLiteral("9"))));
    QCOMPARE(label("lbl_WIN_SERVER_QUITCOLOR")->palette().color(QPalette::WindowText), colour("9"));

    QString face;
    QTimer::singleShot(0, [&] {
        frm_twFont& chooser = p().fontChooser();
        face = chooser.Combo1->itemText(chooser.Combo1->count() - 1);
        chooser.ChooseFont(face);
        chooser.Command1->click();
    });
    QTest::mouseClick(label("lbl_WIN_SERVER_COMMAND_FONT"), Qt::LeftButton);
    QCOMPARE(p().settings.value(QStringLiteral("WIN_SERVER_COMMAND_FONT")), face);
    QCOMPARE(label("lbl_WIN_SERVER_COMMAND_FONT")->text(), face);
}

// "&Choose" pressed without a swatch clicked closes as the close box does: a
// colour outside the palette, or one never set, is left as it was rather than
// turned into the preselected black.
void TestAppearance::chooseWithoutASwatchStoresNothing_data() {
    QTest::addColumn<QString>("stored");
    QTest::newRow("never set") << QString();
    QTest::newRow("outside the palette") << QStringLiteral("1193046");
}

void TestAppearance::chooseWithoutASwatchStoresNothing() {
    QFETCH(QString, stored);
    const QString key = QStringLiteral("WIN_CHAN_CONSOLE_BACKCOLOR");
    p().settings.setValue(key, stored);
    QTimer::singleShot(0, [&] { p().colorChooser().Command1->click(); });
    QTest::mouseClick(label("pic_win_Chan_console_backcolor"), Qt::LeftButton);
    QVERIFY(!p().hasColorChooser());
    QCOMPARE(p().settings.value(key), stored);
}

void TestAppearance::swatchesStoreNothing() {
    const QStringList before = allSettings();
    const QColor initial = setup().pic_col[3]->palette().color(QPalette::Window);
    QCOMPARE(initial, colour("3"));
    QCOMPARE(
        qobject_cast<QLabel*>(setup().findChild<QLabel*>(QStringLiteral("lbl_col(12)")))->text(),
        QStringLiteral("12. L Blue"));
    ScriptedAnswerer answers;
    answers.queueColorCancel();
    QTest::mouseClick(setup().pic_col[3], Qt::LeftButton);
    QCOMPARE(answers.requests().constLast().kind, DialogRequest::ColorDialog);
    QCOMPARE(answers.requests().constLast().color, p().palette.GetColor(QStringLiteral("3")));
    QCOMPARE(setup().pic_col[3]->palette().color(QPalette::Window), initial);

    answers.queueColor(0x00FF00);
    QTest::mouseClick(setup().pic_col[3], Qt::LeftButton);
    QCOMPARE(setup().pic_col[3]->palette().color(QPalette::Window),
             platform::ColorFromRgb(0x00FF00));
    QCOMPARE(setup().pic_col[4]->palette().color(QPalette::Window), colour("4"));
    QCOMPARE(allSettings(), before);
    QCOMPARE(p().palette.GetColor(QStringLiteral("3")), platform::RgbFromColor(initial));
}

PARLONE_TEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
