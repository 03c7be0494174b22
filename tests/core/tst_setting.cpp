// The settings accessor: what each family stores and hands back, the reports
// it makes, the setup control that follows, and the looks it pushes to the
// open windows of their kind.

#include "config/frm_setup.h"
#include "connection/frm_main.h"
#include "console/absRichEdit.h"
#include "core/Fonts.h"
#include "core/Program.h"
#include "core/ServerEcho.h"
#include "core/mod_set.h"
#include "platform/richedit/OleColor.h"
#include "platform/window/Twips.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"
#include "windows/frm_chan.h"
#include "windows/frm_notify.h"
#include "windows/frm_query.h"
#include "windows/frm_server.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>

using platform::RgbFromColor;

namespace {

const QString kFace = QStringLiteral("DejaVu Serif");

// What a window part shows for one look property, in the units the settings
// give it: colours as RGB numbers, faces as family names, sizes in points.
QVariant probe(QWidget* list, absRichEdit* console, QLineEdit* commandline, const QString& part,
               const QString& property) {
    if (part == u"console") {
        if (property == u"back")
            return console->BackColor();
        if (property == u"fore")
            return console->SelColor();
        if (property == u"face")
            return console->Font().family();
        if (property == u"size")
            return console->Font().pointSizeF();
        return {};
    }
    QWidget* widget = part == u"list" ? list : static_cast<QWidget*>(commandline);
    if (property == u"back")
        return RgbFromColor(widget->palette().color(QPalette::Base));
    if (property == u"fore")
        return RgbFromColor(widget->palette().color(QPalette::Text));
    if (property == u"face")
        return widget->font().family();
    if (property == u"size")
        return widget->font().pointSizeF();
    if (property == u"height")
        return widget->height();
    return {};
}

QVariant probe(frm_chan& w, const QString& part, const QString& property) {
    return probe(w.list_nicks, w.console, w.commandline, part, property);
}
QVariant probe(frm_query& w, const QString& part, const QString& property) {
    return probe(nullptr, w.console, w.commandline, part, property);
}

} // namespace

class TestSetting : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void storesAndHandsBack_data();
    void storesAndHandsBack();
    void colourNamesUnderBothSchemes_data();
    void colourNamesUnderBothSchemes();
    void reports_data();
    void reports();
    void readsHaveNoSideEffects();
    void everySetupBindingFollows();
    void setupControlsByName();
    void checkBoxValues_data();
    void checkBoxValues();
    void onTopAndTrayBeforeTheFrameIsShown();
    void setupBoxesStoreThroughTheAccessor();
    void otherOnTopValuesLeaveTheFrameAlone_data();
    void otherOnTopValuesLeaveTheFrameAlone();
    void notifyEntries();
    void previewFlags();
    void pushToChannels_data();
    void pushToChannels();
    void pushToQueries_data();
    void pushToQueries();
    void sizesOutOfRangeStoreNothing_data();
    void sizesOutOfRangeStoreNothing();
    void serverLooks();
    void serverConsoleRefontsItsText();
    void serverConsoleWholeSizes_data();
    void serverConsoleWholeSizes();
    void serverCommandSizeRelaysTheWindow();

private:
    Program& p() { return *m_p; }
    QString color(int index) const { return QString::number(m_p->palette.color(index)); }
    // The server-window lines shown while `run` ran.
    template <typename F> QStringList echoed(F run);

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestSetting::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->serverWindow();
}

void TestSetting::cleanup() {
    m_p.reset();
    m_folder.reset();
}

template <typename F> QStringList TestSetting::echoed(F run) {
    absRichEdit& console = *m_p->serverWindow().console;
    const qsizetype mark = console.Text().size();
    run();
    return console.Text().mid(mark).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

void TestSetting::storesAndHandsBack_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("handedBack");

    Palette palette;
    palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    const auto c = [&palette](int i) { return QString::number(palette.color(i)); };

    QTest::newRow("key and value normalised") << " show_join "
                                              << "  1 "
                                              << "1"
                                              << "1";
    QTest::newRow("plain text trimmed") << "BEEPS"
                                        << "  two words  "
                                        << "two words"
                                        << "two words";
    QTest::newRow("nick loses @") << "PROFILE_NICKNAME"
                                  << "@nick"
                                  << "nick"
                                  << "nick";
    QTest::newRow("nick loses one @ only") << "PROFILE_NICKNAME"
                                           << "@@nick"
                                           << "@nick"
                                           << "@nick";
    QTest::newRow("nick loses +") << "PROFILE_NICKNAME"
                                  << "+@nick"
                                  << "@nick"
                                  << "@nick";
    QTest::newRow("other profile keeps @") << "PROFILE_ALTERNATE"
                                           << "@alt"
                                           << "@alt"
                                           << "@alt";
    QTest::newRow("folder gains separator") << "DEF_GET_DIR"
                                            << "/tmp/dl"
                                            << "/tmp/dl/"
                                            << "/tmp/dl";
    QTest::newRow("folder keeps separator") << "DEF_GET_DIR"
                                            << "/tmp/dl/"
                                            << "/tmp/dl/"
                                            << "/tmp/dl/";
    QTest::newRow("flag upper-cased") << "WIN_QUERY_TIMESTAMP"
                                      << "true"
                                      << "TRUE"
                                      << "TRUE";
    QTest::newRow("flag other value") << "WIN_CHAN_LOGGING"
                                      << "yes"
                                      << ""
                                      << "YES";
    QTest::newRow("number box any number") << "SHOW_JOIN"
                                           << "5"
                                           << "5"
                                           << "5";
    QTest::newRow("switch") << "USE_BUDDY"
                            << "1"
                            << "1"
                            << "1";
    QTest::newRow("switch refuses") << "USE_RECONNECT"
                                    << "TRUE"
                                    << ""
                                    << "TRUE";
    QTest::newRow("on-top other value stored") << "MAINFORM_ONTOP"
                                               << "maybe"
                                               << "maybe"
                                               << "maybe";

    // Event colours: palette names and indexes only; the value is not rewritten.
    QTest::newRow("event index") << "WIN_CHAN_JOINCOLOR"
                                 << "4" << c(4) << "4";
    QTest::newRow("event name") << "WIN_SERVER_CTCPCOLOR"
                                << "lgrey" << c(15) << "lgrey";
    QTest::newRow("event number above 15") << "WIN_CHAN_JOINCOLOR"
                                           << "17"
                                           << "0"
                                           << "17";
    QTest::newRow("event index 16") << "WIN_QUERY_MSGCOLOR"
                                    << "16"
                                    << "0"
                                    << "16";

    // Look colours: converted, and the conversion handed back.
    QTest::newRow("look name") << "win_chan_list_backcolor"
                               << "BLUE" << c(2) << c(2);
    QTest::newRow("look index") << "WIN_CHAN_CONSOLE_BACKCOLOR"
                                << "15" << c(15) << c(15);
    QTest::newRow("look 0") << "WIN_CHAN_COMMAND_BACKCOLOR"
                            << "0" << c(0) << c(0);
    QTest::newRow("look 16") << "WIN_CHAN_LIST_FORECOLOR"
                             << "16"
                             << "0"
                             << "0";
    QTest::newRow("look negative") << "WIN_CHAN_LIST_FORECOLOR"
                                   << "-3"
                                   << "0"
                                   << "0";
    QTest::newRow("look fraction") << "WIN_CHAN_LIST_FORECOLOR"
                                   << "2.5"
                                   << "0"
                                   << "0";
    QTest::newRow("look number of its own") << "WIN_CHAN_LIST_BACKCOLOR"
                                            << "255"
                                            << "255"
                                            << "255";
    QTest::newRow("look begins with a number") << "WIN_CHAN_LIST_BACKCOLOR"
                                               << "12abc" << c(12) << c(12);
    QTest::newRow("look unknown word") << "WIN_CHAN_LIST_BACKCOLOR"
                                       << "nosuch" << c(0) << c(0);
    QTest::newRow("channel keeps its spelling") << "WIN_CHAN_LIST_BACKCOLOR"
                                                << "+0017"
                                                << "+0017"
                                                << "+0017";
    QTest::newRow("query stores the number") << "WIN_QUERY_CONSOLE_BACKCOLOR"
                                             << "+0017"
                                             << "17"
                                             << "+0017";
    QTest::newRow("server stores the number") << "WIN_SERVER_COMMAND_FORECOLOR"
                                              << "00300"
                                              << "300"
                                              << "00300";

    QTest::newRow("face stored") << "WIN_CHAN_LIST_FONT" << kFace << kFace << kFace;
    QTest::newRow("size stored") << "WIN_QUERY_CONSOLE_FONTSIZE"
                                 << "10.5"
                                 << "10.5"
                                 << "10.5";
}

void TestSetting::storesAndHandsBack() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, stored);
    QFETCH(QString, handedBack);

    QString k = key;
    QString v = value;
    QCOMPARE(Setting(p(), k, v), QString());
    QCOMPARE(k, key.trimmed().toUpper());
    QCOMPARE(v, handedBack);
    QCOMPARE(p().settings.value(k), stored);
    QCOMPARE(Setting(p(), k), stored);
}

// A colour name gives its own colour under either scheme, pure black
// included, while an index still gives the palette entry.
void TestSetting::colourNamesUnderBothSchemes_data() {
    QTest::addColumn<QString>("scheme");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("entry");

    for (const char* scheme : {"DEF_PARLONE", "DEF_MIRC"}) {
        QTest::addRow("%s, channel BLACK", scheme) << scheme << "WIN_CHAN_CONSOLE_BACKCOLOR"
                                                   << "BLACK" << 1;
        QTest::addRow("%s, query black", scheme) << scheme << "WIN_QUERY_COMMAND_FORECOLOR"
                                                 << "black" << 1;
        QTest::addRow("%s, server Black", scheme) << scheme << "WIN_SERVER_CONSOLE_BACKCOLOR"
                                                  << "Black" << 1;
        QTest::addRow("%s, WHITE", scheme) << scheme << "WIN_CHAN_LIST_BACKCOLOR"
                                           << "WHITE" << 0;
        QTest::addRow("%s, index 0", scheme) << scheme << "WIN_CHAN_LIST_BACKCOLOR"
                                             << "0" << 0;
        QTest::addRow("%s, index 1", scheme) << scheme << "WIN_QUERY_CONSOLE_BACKCOLOR"
                                             << "1" << 1;
    }
}

void TestSetting::colourNamesUnderBothSchemes() {
    QFETCH(QString, scheme);
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, entry);
    p().palette.SetColorScheme(scheme);
    const QString colour = QString::number(p().palette.color(entry));
    QString v = value;
    Setting(p(), key, v);
    QCOMPARE(v, colour);
    QCOMPARE(p().settings.value(key), colour);
}

void TestSetting::reports_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("stored");

    QTest::newRow("unknown key") << "NOPE"
                                 << "1" << QStringList{"Element not found: NOPE"} << "";
    QTest::newRow("unknown key, read, normalised")
        << " nope "
        << "" << QStringList{"Element not found: NOPE"} << "";
    QTest::newRow("empty key") << "  "
                               << "1" << QStringList{} << "";
    QTest::newRow("switch refuses 2") << "USE_BUDDY"
                                      << "2" << QStringList{"Element not found: USE_BUDDY"} << "";
    QTest::newRow("autorejoin refuses")
        << "use_autorejoin"
        << "yes" << QStringList{"Element not found: USE_AUTOREJOIN"} << "";
    QTest::newRow("tray refuses quietly") << "USE_TRAY"
                                          << "2" << QStringList{} << "";
    QTest::newRow("ignored") << "WIN_SERVER_BACKPIC"
                             << "pic.bmp" << QStringList{} << "";
    QTest::newRow("ignored with a blank") << "WIN _QUERY_BACKTILE"
                                          << "1" << QStringList{} << "";
    QTest::newRow("flag refuses quietly") << "WIN_SERVER_LOGGING"
                                          << "on" << QStringList{} << "";
    QTest::newRow("channel face missing")
        << "WIN_CHAN_CONSOLE_FONT"
        << "NoSuchFace" << QStringList{"Error: NoSuchFace font doesn't exist!"} << "NoSuchFace";
    QTest::newRow("query face missing")
        << "WIN_QUERY_CONSOLE_FONT"
        << "NoSuchFace" << QStringList{"Error: Font not found 'NoSuchFace"} << "NoSuchFace";
    QTest::newRow("server console face missing")
        << "WIN_SERVER_CONSOLE_FONT"
        << "NoSuchFace" << QStringList{"Error: Font not found 'NoSuchFace'"} << "NoSuchFace";
    QTest::newRow("server command face missing")
        << "WIN_SERVER_COMMAND_FONT"
        << "NoSuchFace" << QStringList{"Error: Font not found 'NoSuchFace"} << "NoSuchFace";
    QTest::newRow("installed face") << "WIN_CHAN_CONSOLE_FONT" << kFace << QStringList{} << kFace;
    QTest::newRow("substituted face") << "WIN_SERVER_CONSOLE_FONT"
                                      << "Fixedsys" << QStringList{} << "Fixedsys";
}

void TestSetting::reports() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QStringList, lines);
    QFETCH(QString, stored);
    QString result;
    QCOMPARE(echoed([&] { result = Setting(p(), key, value); }), lines);
    QCOMPARE(result, QString());
    QCOMPARE(p().settings.value(SettingsKeys::normalise(key)), stored);
}

void TestSetting::readsHaveNoSideEffects() {
    p().settings.setValue(u"SHOW_JOIN", QStringLiteral("1"));
    p().settings.setValue(u"WIN_SERVER_BACKTILE", QStringLiteral("left over"));
    const qsizetype windows = p().forms().size();
    QStringList lines = echoed([&] {
        QCOMPARE(Setting(p(), QStringLiteral("show_join")), QStringLiteral("1"));
        QCOMPARE(Setting(p(), QStringLiteral("SHOW_JOIN"), QStringLiteral("   ")),
                 QStringLiteral("1"));
        QCOMPARE(Setting(p(), QStringLiteral("ADD_NOTIFY")), QString());
        QCOMPARE(Setting(p(), QStringLiteral("WIN_SERVER_BACKTILE")), QString());
        QCOMPARE(Setting(p(), QStringLiteral("USE_TRAY")), QString());
    });
    QCOMPARE(lines, QStringList{});
    // Neither the setup dialog nor the notify window was loaded for a read.
    QCOMPARE(p().forms().size(), windows);
}

// Every setup control a key names exists and follows a write; a binding that
// names no control of the dialog would leave the dialog behind the settings.
void TestSetting::everySetupBindingFollows() {
    frm_setup& setup = p().setupDialog();
    int checkBoxes = 0;
    int textBoxes = 0;
    for (const SettingKey& key : SettingsKeys::all()) {
        const QString binding = key.setupBinding;
        if (binding.isEmpty() || binding.startsWith(u"UpdateSetup"))
            continue;
        const QString name = key.name;
        if (QCheckBox* box = setup.checkBox(binding)) {
            const bool onTop = key.store == StoreProcedure::MainFormOnTop;
            Setting(p(), name, onTop ? QStringLiteral("TRUE") : QStringLiteral("1"));
            QVERIFY2(box->checkState() == Qt::Checked, key.name.data());
            Setting(p(), name, onTop ? QStringLiteral("FALSE") : QStringLiteral("0"));
            QVERIFY2(box->checkState() == Qt::Unchecked, key.name.data());
            ++checkBoxes;
        } else if (QLineEdit* text = setup.textBox(binding)) {
            Setting(p(), name, QStringLiteral("x1"));
            QCOMPARE(text->text(), p().settings.value(name));
            QVERIFY(text->text().startsWith(u"x1"));
            ++textBoxes;
        } else {
            QFAIL(qPrintable(QStringLiteral("no control %1 for %2").arg(binding, name)));
        }
    }
    QCOMPARE(checkBoxes, 33);
    QCOMPARE(textBoxes, 8);
}

void TestSetting::setupControlsByName() {
    frm_setup& s = p().setupDialog();
    const struct {
        const char* key;
        QCheckBox* box;
    } boxes[] = {
        {"SHOW_CTCP", s.chk_md[0]},
        {"SHOW_JOIN", s.chk_md[4]},
        {"SHOW_PART", s.chk_md[5]},
        {"SHOW_KICK", s.chk_md[6]},
        {"SHOW_NAMES", s.chk_md[14]},
        {"SHOW_MOTD", s.chk_md[15]},
        {"SHOW_SERVERNOTICE", s.chk_md[19]},
        {"SHOW_SETUP", s.chk_show_setup_startup},
        {"USE_MSN_TRANS", s.chk_USE_MSN_TRANS},
        {"USE_MINISTART", s.chk_useministart},
        {"USE_AUTOREJOIN", s.chk_use_autorejoin},
    };
    for (const auto& row : boxes) {
        Setting(p(), QString::fromLatin1(row.key), QStringLiteral("1"));
        QVERIFY2(row.box->isChecked(), row.key);
    }
    const struct {
        const char* key;
        QLineEdit* box;
        const char* text;
    } texts[] = {
        {"PROFILE_NICKNAME", s.profile[0], "nick"},
        {"PROFILE_EMAIL", s.profile[3], "a@b.c"},
        {"PROFILE_REALNAME", s.profile[4], "Real Name"},
        {"USE_DEFAULT_QUIT", s.default_quit, "bye"},
        {"SET_DCC_PORT", s.txt_dcc_port, "4001"},
        {"DEF_GET_DIR", s.txt_dcc_get, "/dl/"},
    };
    for (const auto& row : texts) {
        Setting(p(), QString::fromLatin1(row.key), QString::fromLatin1(row.text));
        QCOMPARE(row.box->text(), QString::fromLatin1(row.text));
    }
}

void TestSetting::checkBoxValues_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("state");
    QTest::newRow("0") << "0" << int(Qt::Unchecked);
    QTest::newRow("1") << "1" << int(Qt::Checked);
    QTest::newRow("2 greyed") << "2" << int(Qt::PartiallyChecked);
    QTest::newRow("0.4 rounds to clear") << "0.4" << int(Qt::Unchecked);
    QTest::newRow("1.5 rounds to even 2") << "1.5" << int(Qt::PartiallyChecked);
    QTest::newRow("2.5 rounds to even 2") << "2.5" << int(Qt::PartiallyChecked);
    QTest::newRow("5 ticked") << "5" << int(Qt::Checked);
    QTest::newRow("-1 ticked") << "-1" << int(Qt::Checked);
    QTest::newRow("huge ticked") << "1e300" << int(Qt::Checked);
    QTest::newRow("word reads 0") << "abc" << int(Qt::Unchecked);
}

void TestSetting::checkBoxValues() {
    QFETCH(QString, value);
    QFETCH(int, state);
    for (const char* key : {"SHOW_QUIT", "USE_MSNTILE"}) {
        Setting(p(), QString::fromLatin1(key), value);
        QCOMPARE(p().settings.value(key), value);
    }
    QCOMPARE(int(p().setupDialog().chk_md[11]->checkState()), state);
    QCOMPARE(int(p().setupDialog().chk_USE_MSNTILE->checkState()), state);
}

void TestSetting::onTopAndTrayBeforeTheFrameIsShown() {
    TempProgramFolder folder;
    Program fresh(folder.path());
    QVERIFY(!fresh.hasMainFrame());
    Setting(fresh, QStringLiteral("MAINFORM_ONTOP"), QStringLiteral("TRUE"));
    Setting(fresh, QStringLiteral("USE_TRAY"), QStringLiteral("1"));
    frm_main& frame = fresh.mainFrame();
    QVERIFY(!frame.isVisible());
    QCOMPARE(fresh.settings.value(u"MAINFORM_ONTOP"), QStringLiteral("TRUE"));
    QCOMPARE(fresh.settings.value(u"USE_TRAY"), QStringLiteral("1"));
    QVERIFY(frame.Sysdeck1->GetSysMenuCheck(100));
    QVERIFY(frame.Sysdeck1->GetSysMenuCheck(111));
    QVERIFY(fresh.setupDialog().Check1->isChecked());
    QVERIFY(fresh.setupDialog().chk_use_tray->isChecked());

    frame.show();
    QVERIFY(frame.windowFlags() & Qt::WindowStaysOnTopHint);

    Setting(fresh, QStringLiteral("MAINFORM_ONTOP"), QStringLiteral("false"));
    Setting(fresh, QStringLiteral("USE_TRAY"), QStringLiteral("0"));
    QVERIFY(!(frame.windowFlags() & Qt::WindowStaysOnTopHint));
    QVERIFY(!frame.Sysdeck1->GetSysMenuCheck(100));
    QVERIFY(!frame.Sysdeck1->GetSysMenuCheck(111));
    QVERIFY(!fresh.setupDialog().Check1->isChecked());
    QVERIFY(!fresh.setupDialog().chk_use_tray->isChecked());
    // The box's own handling stored the canonical "FALSE".
    QCOMPARE(fresh.settings.value(u"MAINFORM_ONTOP"), QStringLiteral("FALSE"));
}

void TestSetting::setupBoxesStoreThroughTheAccessor() {
    frm_setup& setup = p().setupDialog();
    setup.Check1->click();
    QCOMPARE(p().settings.value(u"MAINFORM_ONTOP"), QStringLiteral("TRUE"));
    QVERIFY(p().mainFrame().Sysdeck1->GetSysMenuCheck(100));
    setup.chk_use_tray->click();
    QCOMPARE(p().settings.value(u"USE_TRAY"), QStringLiteral("1"));
    QVERIFY(p().mainFrame().Sysdeck1->GetSysMenuCheck(111));
    setup.chk_use_tray->click();
    QCOMPARE(p().settings.value(u"USE_TRAY"), QStringLiteral("0"));
    QVERIFY(!p().mainFrame().Sysdeck1->GetSysMenuCheck(111));
}

void TestSetting::otherOnTopValuesLeaveTheFrameAlone_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("value");
    QTest::newRow("on top, then maybe") << "TRUE"
                                        << "maybe";
    QTest::newRow("not on top, then maybe") << "FALSE"
                                            << "maybe";
    QTest::newRow("on top, then 0") << "TRUE"
                                    << "0";
    QTest::newRow("not on top, then 1") << "FALSE"
                                        << "1";
}

// A value other than TRUE or FALSE is stored and nothing more: the frame
// stays where it was, and so do its menu item and the setup box.
void TestSetting::otherOnTopValuesLeaveTheFrameAlone() {
    QFETCH(QString, before);
    QFETCH(QString, value);
    frm_main& frame = p().mainFrame();
    frame.show();
    Setting(p(), QStringLiteral("MAINFORM_ONTOP"), before);
    const bool on = before == u"TRUE";
    QCOMPARE(bool(frame.windowFlags() & Qt::WindowStaysOnTopHint), on);
    Setting(p(), QStringLiteral("MAINFORM_ONTOP"), value);
    QCOMPARE(p().settings.value(u"MAINFORM_ONTOP"), value);
    QCOMPARE(bool(frame.windowFlags() & Qt::WindowStaysOnTopHint), on);
    QCOMPARE(frame.Sysdeck1->GetSysMenuCheck(100), on);
    QCOMPARE(p().setupDialog().Check1->isChecked(), on);
}

void TestSetting::notifyEntries() {
    for (const char* value : {"bob", " alice ", "bob", "", "   "})
        QCOMPARE(Setting(p(), QStringLiteral("ADD_NOTIFY"), QString::fromLatin1(value)), QString());
    QListWidget* list = p().notifyWindow().List1;
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries << list->item(i)->text();
    entries.sort();
    QCOMPARE(entries, (QStringList{"alice", "bob", "bob"}));
}

void TestSetting::previewFlags() {
    frm_setup& setup = p().setupDialog();
    Setting(p(), QStringLiteral("WIN_CHAN_TIMESTAMP"), QStringLiteral("true"));
    Setting(p(), QStringLiteral("WIN_QUERY_LOGGING"), QStringLiteral("TRUE"));
    Setting(p(), QStringLiteral("WIN_SERVER_TIMESTAMP"), QStringLiteral("TRUE"));
    QVERIFY(setup.chk_win_Chan_timestamp->isChecked());
    QVERIFY(setup.chk_query_logging->isChecked());
    QVERIFY(setup.chk_WIN_SERVER_TIMESTAMP->isChecked());
    QVERIFY(!setup.chk_win_Chan_logging->isChecked());
    Setting(p(), QStringLiteral("WIN_CHAN_TIMESTAMP"), QStringLiteral("FALSE"));
    Setting(p(), QStringLiteral("WIN_QUERY_LOGGING"), QStringLiteral("nonsense"));
    QVERIFY(!setup.chk_win_Chan_timestamp->isChecked());
    QVERIFY(setup.chk_query_logging->isChecked());
}

void TestSetting::pushToChannels_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("shown");

    Palette palette;
    palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    const auto c = [&palette](int i) { return QVariant(palette.color(i)); };
    const QVariant family(FontFamilyFor(kFace));

    QTest::newRow("list back") << "WIN_CHAN_LIST_BACKCOLOR"
                               << "BLUE"
                               << "list"
                               << "back" << c(2);
    QTest::newRow("list fore") << "WIN_CHAN_LIST_FORECOLOR"
                               << "4"
                               << "list"
                               << "fore" << c(4);
    QTest::newRow("list face") << "WIN_CHAN_LIST_FONT" << kFace << "list"
                               << "face" << family;
    QTest::newRow("list size") << "WIN_CHAN_LIST_FONTSIZE"
                               << "13"
                               << "list"
                               << "size" << QVariant(13.0);
    QTest::newRow("console back") << "WIN_CHAN_CONSOLE_BACKCOLOR"
                                  << "3"
                                  << "console"
                                  << "back" << c(3);
    QTest::newRow("console face") << "WIN_CHAN_CONSOLE_FONT" << kFace << "console"
                                  << "face" << family;
    QTest::newRow("console size") << "WIN_CHAN_CONSOLE_FONTSIZE"
                                  << "14.5"
                                  << "console"
                                  << "size" << QVariant(14.5);
    QTest::newRow("command back") << "WIN_CHAN_COMMAND_BACKCOLOR"
                                  << "5"
                                  << "command"
                                  << "back" << c(5);
    QTest::newRow("command fore") << "WIN_CHAN_COMMAND_FORECOLOR"
                                  << "6"
                                  << "command"
                                  << "fore" << c(6);
    QTest::newRow("command face") << "WIN_CHAN_COMMAND_FONT" << kFace << "command"
                                  << "face" << family;
    QTest::newRow("command size") << "WIN_CHAN_COMMAND_FONTSIZE"
                                  << "12"
                                  << "command"
                                  << "size" << QVariant(12.0);
    QTest::newRow("command height follows size")
        << "WIN_CHAN_COMMAND_FONTSIZE"
        << "12"
        << "command"
        << "height" << QVariant(platform::TwipsToPixelsY(330));
    // Read per line by the window, not pushed.
    QTest::newRow("console fore not pushed") << "WIN_CHAN_CONSOLE_FORECOLOR"
                                             << "4"
                                             << "console"
                                             << "fore" << QVariant();
}

void TestSetting::pushToChannels() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, part);
    QFETCH(QString, property);
    QFETCH(QVariant, shown);

    auto* open = new frm_chan(p());
    open->setTag(QStringLiteral("#open"));
    auto* own = new frm_chan(p());
    own->setTag(QStringLiteral("#own"));
    own->GLOBALUPDATE = QStringLiteral("TRUE");
    frm_chan& untagged = p().defaultChannel();
    const QVariant before = probe(*open, part, property);
    const QVariant ownBefore = probe(*own, part, property);

    Setting(p(), key, value);
    QCOMPARE(probe(*open, part, property), shown.isValid() ? shown : before);
    QCOMPARE(probe(*own, part, property), ownBefore);
    QCOMPARE(probe(untagged, part, property), ownBefore);
}

void TestSetting::pushToQueries_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("part");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("shown");

    Palette palette;
    palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    const auto c = [&palette](int i) { return QVariant(palette.color(i)); };
    const QVariant family(FontFamilyFor(kFace));

    QTest::newRow("command back") << "WIN_QUERY_COMMAND_BACKCOLOR"
                                  << "14"
                                  << "command"
                                  << "back" << c(14);
    QTest::newRow("command fore") << "WIN_QUERY_COMMAND_FORECOLOR"
                                  << "LBLUE"
                                  << "command"
                                  << "fore" << c(12);
    QTest::newRow("command face") << "WIN_QUERY_COMMAND_FONT" << kFace << "command"
                                  << "face" << family;
    QTest::newRow("command size") << "WIN_QUERY_COMMAND_FONTSIZE"
                                  << "9"
                                  << "command"
                                  << "size" << QVariant(9.0);
    QTest::newRow("command height") << "WIN_QUERY_COMMAND_FONTSIZE"
                                    << "9"
                                    << "command"
                                    << "height" << QVariant(platform::TwipsToPixelsY(247));
    QTest::newRow("console back") << "WIN_QUERY_CONSOLE_BACKCOLOR"
                                  << "13"
                                  << "console"
                                  << "back" << c(13);
    QTest::newRow("console face") << "WIN_QUERY_CONSOLE_FONT" << kFace << "console"
                                  << "face" << family;
    QTest::newRow("console size") << "WIN_QUERY_CONSOLE_FONTSIZE"
                                  << "11"
                                  << "console"
                                  << "size" << QVariant(11.0);
    QTest::newRow("console fore is the colour written next") << "WIN_QUERY_CONSOLE_FORECOLOR"
                                                             << "10"
                                                             << "console"
                                                             << "fore" << c(10);
    QTest::newRow("own colour number") << "WIN_QUERY_CONSOLE_BACKCOLOR"
                                       << "12345"
                                       << "console"
                                       << "back" << QVariant(12345);
    QTest::newRow("number past white is no colour") << "WIN_QUERY_COMMAND_BACKCOLOR"
                                                    << "1e20"
                                                    << "command"
                                                    << "back" << QVariant(0);
}

void TestSetting::pushToQueries() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(QString, part);
    QFETCH(QString, property);
    QFETCH(QVariant, shown);

    auto* query = new frm_query(p());
    query->setTag(QStringLiteral("?bob"));
    auto* untagged = new frm_query(p());
    auto* chan = new frm_chan(p());
    chan->setTag(QStringLiteral("#chan"));
    const QVariant before = probe(*untagged, part, property);
    const QVariant chanBefore = probe(*chan, part, property);

    Setting(p(), key, value);
    QCOMPARE(probe(*query, part, property), shown);
    QCOMPARE(probe(*untagged, part, property), before);
    QCOMPARE(probe(*chan, part, property), chanBefore);
}

void TestSetting::sizesOutOfRangeStoreNothing_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("stores");
    QTest::newRow("channel 0") << "WIN_CHAN_CONSOLE_FONTSIZE"
                               << "0" << false;
    QTest::newRow("channel negative") << "WIN_CHAN_LIST_FONTSIZE"
                                      << "-2" << false;
    QTest::newRow("query word") << "WIN_QUERY_COMMAND_FONTSIZE"
                                << "big" << false;
    QTest::newRow("server command 0") << "WIN_SERVER_COMMAND_FONTSIZE"
                                      << "0" << false;
    QTest::newRow("server console 4") << "WIN_SERVER_CONSOLE_FONTSIZE"
                                      << "4" << false;
    QTest::newRow("server console 5") << "WIN_SERVER_CONSOLE_FONTSIZE"
                                      << "5" << true;
    QTest::newRow("channel leading number") << "WIN_CHAN_LIST_FONTSIZE"
                                            << "7pt" << true;
    QTest::newRow("channel largest") << "WIN_CHAN_LIST_FONTSIZE"
                                     << "1638" << true;
    QTest::newRow("channel past the largest") << "WIN_CHAN_LIST_FONTSIZE"
                                              << "1638.5" << false;
    QTest::newRow("channel command huge") << "WIN_CHAN_COMMAND_FONTSIZE"
                                          << "1e12" << false;
    QTest::newRow("query huge") << "WIN_QUERY_COMMAND_FONTSIZE"
                                << "1e12" << false;
    QTest::newRow("server command huge") << "WIN_SERVER_COMMAND_FONTSIZE"
                                         << "1e12" << false;
    QTest::newRow("server console huge") << "WIN_SERVER_CONSOLE_FONTSIZE"
                                         << "1e12" << false;
    QTest::newRow("server console largest") << "WIN_SERVER_CONSOLE_FONTSIZE"
                                            << "1638" << true;
}

void TestSetting::sizesOutOfRangeStoreNothing() {
    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(bool, stores);
    p().settings.setValue(key, QStringLiteral("10"));
    auto* chan = new frm_chan(p());
    chan->setTag(QStringLiteral("#c"));
    frm_server& server = p().serverWindow();
    // What every window part a size reaches shows before the write.
    const auto shown = [&] {
        return QVariantList{
            chan->list_nicks->font().pointSizeF(), chan->commandline->font().pointSizeF(),
            chan->commandline->height(),           server.commandline->font().pointSizeF(),
            server.commandline->height(),          server.console->Font().pointSizeF()};
    };
    const QVariantList before = shown();
    Setting(p(), key, value);
    QCOMPARE(p().settings.value(key), stores ? value : QStringLiteral("10"));
    if (!stores)
        QCOMPARE(shown(), before);
}

void TestSetting::serverLooks() {
    frm_server& server = p().serverWindow();
    const qint32 consoleBack = server.console->BackColor();
    Setting(p(), QStringLiteral("WIN_SERVER_CONSOLE_FORECOLOR"), QStringLiteral("1"));
    QCOMPARE(server.console->BackColor(), consoleBack);
    QCOMPARE(p().settings.value(u"WIN_SERVER_CONSOLE_FORECOLOR"), color(1));

    Setting(p(), QStringLiteral("WIN_SERVER_CONSOLE_BACKCOLOR"), QStringLiteral("8"));
    QCOMPARE(server.console->BackColor(), p().palette.color(8));
    Setting(p(), QStringLiteral("WIN_SERVER_COMMAND_BACKCOLOR"), QStringLiteral("2"));
    Setting(p(), QStringLiteral("WIN_SERVER_COMMAND_FORECOLOR"), QStringLiteral("14"));
    QCOMPARE(probe(nullptr, server.console, server.commandline, "command", "back"),
             QVariant(p().palette.color(2)));
    QCOMPARE(probe(nullptr, server.console, server.commandline, "command", "fore"),
             QVariant(p().palette.color(14)));
    Setting(p(), QStringLiteral("WIN_SERVER_COMMAND_FONT"), kFace);
    QCOMPARE(server.commandline->font().family(), FontFamilyFor(kFace));
    Setting(p(), QStringLiteral("WIN_SERVER_COMMAND_FONTSIZE"), QStringLiteral("12"));
    QCOMPARE(server.commandline->font().pointSizeF(), 12.0);
    QCOMPARE(server.commandline->height(), platform::TwipsToPixelsY(330));
}

void TestSetting::serverConsoleRefontsItsText() {
    absRichEdit& console = *p().serverWindow().console;
    ServerEcho(p(), QStringLiteral("first line"));
    ServerEcho(p(), QStringLiteral("second line"));
    console.setSelStart(3);
    Setting(p(), QStringLiteral("WIN_SERVER_CONSOLE_FONT"), kFace);
    QCOMPARE(console.SelStart(), 3);
    QCOMPARE(console.SelLength(), 0);
    QCOMPARE(console.Font().family(), FontFamilyFor(kFace));
    Setting(p(), QStringLiteral("WIN_SERVER_CONSOLE_FONTSIZE"), QStringLiteral("15"));
    QCOMPARE(console.Font().pointSizeF(), 15.0);
    for (const qint32 at : {2, 10}) {
        console.setSelStart(at);
        console.setSelLength(1);
        QCOMPARE(console.SelFontName(), FontFamilyFor(kFace));
        QCOMPARE(console.SelFontSize(), 15);
    }
}

// The console's text takes whole points, so its own font takes the same
// whole size: the lines shown and the lines written next agree.
void TestSetting::serverConsoleWholeSizes_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<int>("points"); // 0: not taken

    QTest::newRow("half rounds to even, down") << "10.5" << 10;
    QTest::newRow("half rounds to even, up") << "11.5" << 12;
    QTest::newRow("fraction") << "12.7" << 13;
    QTest::newRow("rounds to 4, not taken") << "4.5" << 0;
    QTest::newRow("rounds to 5") << "4.6" << 5;
}

void TestSetting::serverConsoleWholeSizes() {
    QFETCH(QString, value);
    QFETCH(int, points);
    absRichEdit& console = *p().serverWindow().console;
    ServerEcho(p(), QStringLiteral("a line shown before"));
    Setting(p(), QStringLiteral("WIN_SERVER_CONSOLE_FONTSIZE"), QStringLiteral("9"));
    Setting(p(), QStringLiteral("WIN_SERVER_CONSOLE_FONTSIZE"), value);
    const int expected = points > 0 ? points : 9;
    QCOMPARE(p().settings.value(u"WIN_SERVER_CONSOLE_FONTSIZE"),
             points > 0 ? value : QStringLiteral("9"));
    QCOMPARE(console.Font().pointSizeF(), double(expected));
    console.setSelStart(4);
    console.setSelLength(1);
    QCOMPARE(console.SelFontSize(), expected);
}

// The server window lays out its console and command line again when the
// command line's height follows its font size: the console H - 400 - h
// twips high, the command line right under it.
void TestSetting::serverCommandSizeRelaysTheWindow() {
    frm_server& server = p().serverWindow();
    server.Show();
    const auto laidOut = [&server](int height) {
        const QRect console = server.console->geometry();
        const QRect commandline = server.commandline->geometry();
        QCOMPARE(commandline.height(), height);
        const int consoleTwips = server.Height() - 400 - platform::PixelsToTwipsY(height);
        QCOMPARE(console.top(), 0);
        QCOMPARE(console.height(), platform::TwipsToPixelsY(consoleTwips));
        QCOMPARE(commandline.top(), console.bottom() + 1);
    };
    Setting(p(), QStringLiteral("WIN_SERVER_COMMAND_FONTSIZE"), QStringLiteral("20"));
    laidOut(platform::TwipsToPixelsY(550));
    server.commandline->setFixedHeight(60);
    server.Form_Resize();
    laidOut(60);
}

PARLONE_TEST_MAIN(TestSetting)
#include "tst_setting.moc"
