// Appearance profiles in a temporary program folder: what "&Save this"
// writes and lists, and what "&Load" applies.

#include "config/AppearanceProfile.h"
#include "config/frm_setup.h"
#include "core/Program.h"
#include "core/SafeFileName.h"
#include "core/SettingsKeys.h"
#include "core/mod_set.h"
#include "core/mod_startup.h"
#include "platform/richedit/OleColor.h"
#include "tests/support/ScriptedAnswerer.h"
#include "tests/support/TempProgramFolder.h"
#include "tests/support/TestMain.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>

using platform::DialogRequest;

class TestProfiles : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void defaultsSaveAs52RecordsInOrder();
    void names_data();
    void names();
    void pathLikeNameStaysInTheFolder();
    void failedWriteListsNothing();
    void singleRecordChangesOnlyItsKey();
    void damagedLineIsPassedOver();
    void emptyFontChangesNothing();
    void ownColoursRoundTrip_data();
    void ownColoursRoundTrip();
    void wholeLookComesBack();
    void profilesListedAtStartUp();

private:
    Program& p() { return *m_p; }
    frm_setup& setup() { return m_p->setupDialog(); }
    void save(const QString& name);
    void load(const QString& entry);
    QStringList entries() const;
    QStringList profileFiles() const;
    QStringList allSettings() const;

    std::unique_ptr<TempProgramFolder> m_folder;
    std::unique_ptr<Program> m_p;
};

void TestProfiles::init() {
    m_folder = std::make_unique<TempProgramFolder>();
    m_p = std::make_unique<Program>(m_folder->path());
    m_p->palette.SetColorScheme(QStringLiteral("DEF_MIRC"));
    m_p->serverWindow();
}

void TestProfiles::cleanup() {
    m_p.reset();
    m_folder.reset();
}

void TestProfiles::save(const QString& name) {
    ScriptedAnswerer answers;
    answers.queueInput(name);
    setup().btnSaveAppearance->click();
    QCOMPARE(answers.requests().constFirst().kind, DialogRequest::InputBox);
    QCOMPARE(answers.requests().constFirst().prompt,
             QStringLiteral("Enter a name for this profile"));
    QCOMPARE(answers.requests().constFirst().defaultText, QString());
}

void TestProfiles::load(const QString& entry) {
    setup().cb_app->setCurrentIndex(setup().cb_app->findText(entry));
    setup().btn_load_app->click();
}

QStringList TestProfiles::entries() const {
    QStringList names;
    for (int i = 0; i < m_p->setupDialog().cb_app->count(); ++i)
        names << m_p->setupDialog().cb_app->itemText(i);
    return names;
}

QStringList TestProfiles::profileFiles() const {
    return QDir(m_folder->path()).entryList({QStringLiteral("*.app")}, QDir::Files, QDir::Name);
}

QStringList TestProfiles::allSettings() const {
    QStringList values;
    for (const SettingKey& key : SettingsKeys::all())
        values << m_p->settings.value(key);
    return values;
}

void TestProfiles::defaultsSaveAs52RecordsInOrder() {
    p().settings.setValue(QStringLiteral("PROMPT_SWIZ"), QStringLiteral("0"));
    SetDefaults(p());
    save(QStringLiteral("Default"));
    QCOMPARE(entries(), QStringList{QStringLiteral("Default")});
    const QByteArray bytes = m_folder->read(QStringLiteral("Default.app"));
    QVERIFY(bytes.endsWith("\r\n"));
    const QList<QByteArray> lines = bytes.chopped(2).split('\n');
    QCOMPARE(lines.size(), 52);
    QCOMPARE(lines.constFirst(), QByteArray("\"WIN_QUERY_COMMAND_BACKCOLOR\",\"14\"\r"));
    QCOMPARE(lines.constLast(), QByteArray("\"WIN_CHAN_ACTIONCOLOR\",\"13\""));
    for (int i = 0; i < 52; ++i) {
        const QString line = QString::fromUtf8(lines.at(i)).trimmed();
        const QString key = QString::fromLatin1(AppearanceProfileKeys()[i]);
        QVERIFY2(line.startsWith(u'"' + key + QStringLiteral("\",\"")), qPrintable(line));
        const QString value = line.mid(key.size() + 4).chopped(1);
        if (!key.endsWith(u"COLOR"))
            continue;
        if (key.startsWith(u"WIN_CHAN") && !SettingsKeys::find(key)->hasDefault()) {
            QCOMPARE(value, QString());
            continue;
        }
        bool ok = false;
        const int index = value.toInt(&ok);
        QVERIFY2(ok && index >= 0 && index <= 15, qPrintable(line));
    }
    QVERIFY(bytes.contains("\"WIN_CHAN_CONSOLE_BACKCOLOR\",\"\"\r\n"));
    QVERIFY(bytes.contains("\"WIN_QUERY_CONSOLE_FONT\",\"FixedSys\"\r\n"));
}

void TestProfiles::names_data() {
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QStringList>("files");
    QTest::newRow("one name") << QStringList{"Foo"} << QStringList{"Foo"} << QStringList{"Foo.app"};
    QTest::newRow("same name, other case and blanks")
        << QStringList{"Foo", " foo "} << QStringList{"Foo"} << QStringList{"Foo.app"};
    QTest::newRow("two names") << QStringList{"Dark", "Light"} << QStringList{"Dark", "Light"}
                               << QStringList{"Dark.app", "Light.app"};
    QTest::newRow("empty") << QStringList{""} << QStringList{} << QStringList{};
    QTest::newRow("blank") << QStringList{"   "} << QStringList{} << QStringList{};
    QTest::newRow("a program file's name")
        << QStringList{"settings.ini"} << QStringList{"settings.ini"}
        << QStringList{"settings.ini.app"};
}

void TestProfiles::names() {
    QFETCH(QStringList, typed);
    QFETCH(QStringList, listed);
    QFETCH(QStringList, files);
    for (const QString& name : typed)
        save(name);
    QCOMPARE(entries(), listed);
    QCOMPARE(profileFiles(), files);
}

void TestProfiles::pathLikeNameStaysInTheFolder() {
    const QString mapped = QFileInfo(SafeFileName(m_folder->path(), QStringLiteral("../evil.app"),
                                                  ProgramFixedFiles(), IfExists::Reuse))
                               .fileName();
    save(QStringLiteral("../evil"));
    const QString name = mapped.chopped(4);
    QVERIFY(!name.contains(u'/'));
    QCOMPARE(entries(), QStringList{name});
    QCOMPARE(profileFiles(), QStringList{name + QStringLiteral(".app")});
    QVERIFY(!QFileInfo::exists(m_folder->path() + QStringLiteral("/../evil.app")));
}

void TestProfiles::failedWriteListsNothing() {
    p().fileWriter = [](const QString&, const QByteArray&, QString* error) {
        *error = QStringLiteral("disk full");
        return false;
    };
    ScriptedAnswerer answers;
    answers.queueInput(QStringLiteral("Foo"));
    setup().btnSaveAppearance->click();
    QCOMPARE(entries(), QStringList());
    QCOMPARE(answers.requests().size(), 2);
    const DialogRequest& box = answers.requests().at(1);
    QCOMPARE(box.kind, DialogRequest::MessageBox);
    QCOMPARE(box.title, QStringLiteral("Error!"));
    QVERIFY(box.prompt.contains(QStringLiteral("disk full")));
}

void TestProfiles::singleRecordChangesOnlyItsKey() {
    m_folder->write(QStringLiteral("Join.app"), "\"WIN_CHAN_JOINCOLOR\",\"4\"\r\n");
    setup().cb_app->addItem(QStringLiteral("Join"));
    QStringList before = allSettings();
    load(QStringLiteral("Join"));
    const QString key = QStringLiteral("WIN_CHAN_JOINCOLOR");
    QCOMPARE(p().settings.value(key), QString::number(p().palette.GetColor(QStringLiteral("4"))));
    QStringList after = allSettings();
    const int at = SettingsKeys::indexOf(*SettingsKeys::find(key));
    before.removeAt(at);
    after.removeAt(at);
    QCOMPARE(after, before);
}

void TestProfiles::damagedLineIsPassedOver() {
    m_folder->write(QStringLiteral("Torn.app"), "\"WIN_CHAN_JOINCOLOR\",\"4\"\r\n"
                                                "\"WIN_CHAN_PARTCOLOR\",\"5\r\n"
                                                "\"WIN_CHAN_QUITCOLOR\",\"7\"\r\n");
    setup().cb_app->addItem(QStringLiteral("Torn"));
    load(QStringLiteral("Torn"));
    const auto colour = [this](const char* index) {
        return QString::number(p().palette.GetColor(QString::fromLatin1(index)));
    };
    QCOMPARE(p().settings.value(QStringLiteral("WIN_CHAN_JOINCOLOR")), colour("4"));
    QCOMPARE(p().settings.value(QStringLiteral("WIN_CHAN_PARTCOLOR")), QString());
    QCOMPARE(p().settings.value(QStringLiteral("WIN_CHAN_QUITCOLOR")), colour("7"));
    // Nothing is said and no copy is kept: a profile is only read.
    QVERIFY(!QFileInfo::exists(m_folder->file(QStringLiteral("Torn.app.bak"))));
}

void TestProfiles::emptyFontChangesNothing() {
    Setting(p(), QStringLiteral("WIN_CHAN_LIST_FONT"), QStringLiteral("Verdana"));
    m_folder->write(QStringLiteral("Bare.app"), "\"WIN_CHAN_LIST_FONT\",\"\"\r\n");
    setup().cb_app->addItem(QStringLiteral("Bare"));
    load(QStringLiteral("Bare"));
    QCOMPARE(p().settings.value(QStringLiteral("WIN_CHAN_LIST_FONT")), QStringLiteral("Verdana"));
}

// A colour of the user's own survives a profile; a number that is no
// palette colour but is a palette index when read back comes back as 1.
void TestProfiles::ownColoursRoundTrip_data() {
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("held");
    QTest::addColumn<QString>("written");
    QTest::addColumn<QString>("restored");
    QTest::newRow("RGB back colour") << "WIN_CHAN_CONSOLE_BACKCOLOR"
                                     << "1193046"
                                     << "1193046"
                                     << "1193046";
    QTest::newRow("RGB 5") << "WIN_QUERY_CONSOLE_BACKCOLOR"
                           << "5"
                           << "1"
                           << "palette 1";
    QTest::newRow("event colour off the palette") << "WIN_SERVER_KICKCOLOR"
                                                  << "1193046"
                                                  << "1"
                                                  << "palette 1";
}

void TestProfiles::ownColoursRoundTrip() {
    QFETCH(QString, key);
    QFETCH(QString, held);
    QFETCH(QString, written);
    QFETCH(QString, restored);
    p().settings.setValue(key, held);
    save(QStringLiteral("Own"));
    QVERIFY(m_folder->read(QStringLiteral("Own.app"))
                .contains(('"' + key + "\",\"" + written + "\"\r\n").toUtf8()));
    Setting(p(), key, QStringLiteral("3"));
    load(QStringLiteral("Own"));
    const QString expected = restored == u"palette 1"
                                 ? QString::number(p().palette.GetColor(QStringLiteral("1")))
                                 : restored;
    QCOMPARE(p().settings.value(key), expected);
}

// The look saved and changed comes back whole, in the settings and in the
// previews.
void TestProfiles::wholeLookComesBack() {
    p().settings.setValue(QStringLiteral("PROMPT_SWIZ"), QStringLiteral("0"));
    SetDefaults(p());
    Setting(p(), QStringLiteral("WIN_CHAN_CONSOLE_FONT"), QStringLiteral("Verdana"));
    Setting(p(), QStringLiteral("WIN_CHAN_CONSOLE_BACKCOLOR"), QStringLiteral("1"));
    Setting(p(), QStringLiteral("WIN_CHAN_JOINCOLOR"), QStringLiteral("9"));
    const QStringList saved = allSettings();
    save(QStringLiteral("Mine"));

    Setting(p(), QStringLiteral("WIN_CHAN_CONSOLE_FONT"), QStringLiteral("Arial"));
    Setting(p(), QStringLiteral("WIN_CHAN_CONSOLE_BACKCOLOR"), QStringLiteral("0"));
    Setting(p(), QStringLiteral("WIN_CHAN_JOINCOLOR"), QStringLiteral("2"));
    Setting(p(), QStringLiteral("WIN_QUERY_CONSOLE_FONTSIZE"), QStringLiteral("14"));
    Setting(p(), QStringLiteral("WIN_QUERY_MSGCOLOR"), QStringLiteral("11"));
    load(QStringLiteral("Mine"));
    QCOMPARE(allSettings(), saved);
    auto* join =
        qobject_cast<QLabel*>(setup().appearanceControl(QStringLiteral("lbl_WIN_CHAN_JOINCOLOR")));
    QCOMPARE(join->palette().color(QPalette::WindowText),
             platform::ColorFromRgb(p().palette.GetColor(QStringLiteral("9"))));
    auto* face = qobject_cast<QLabel*>(
        setup().appearanceControl(QStringLiteral("lbl_win_chan_console_font")));
    QCOMPARE(face->text(), QStringLiteral("Verdana"));
}

void TestProfiles::profilesListedAtStartUp() {
    m_folder->write(QStringLiteral("Night.app"), "\"WIN_CHAN_JOINCOLOR\",\"4\"\r\n");
    m_folder->write(QStringLiteral("Day.app"), "\"WIN_CHAN_JOINCOLOR\",\"5\"\r\n");
    InitSetupForm(p());
    QCOMPARE(entries(), (QStringList{QStringLiteral("Day"), QStringLiteral("Night")}));
    save(QStringLiteral("night"));
    QCOMPARE(entries(), (QStringList{QStringLiteral("Day"), QStringLiteral("Night")}));
    QCOMPARE(profileFiles(), (QStringList{QStringLiteral("Day.app"), QStringLiteral("Night.app")}));
}

PARLONE_TEST_MAIN(TestProfiles)
#include "tst_profiles.moc"
