// The settings record: one independent text field per key that owns one.

#include "core/Settings.h"

#include <QtTest>

class TestSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsEmpty();
    void everyFieldIsItsOwn();
    void keysWithoutField_data();
    void keysWithoutField();
    void recordsAreIndependent();
};

void TestSettings::startsEmpty() {
    const Settings settings;
    for (const SettingKey& key : SettingsKeys::all()) {
        QVERIFY2(settings.value(key.name).isNull(), key.name.data());
        QVERIFY(settings.value(key).isNull());
    }
}

// Writing a distinct text to every field and reading them all back catches
// two keys sharing a slot.
void TestSettings::everyFieldIsItsOwn() {
    Settings settings;
    const auto textFor = [](const SettingKey& key) { return QString(key.name).toLower() + " v"; };
    int fields = 0;
    for (const SettingKey& key : SettingsKeys::all()) {
        if (key.ownsField) {
            QVERIFY2(settings.setValue(key.name, textFor(key)), key.name.data());
            ++fields;
        }
    }
    QCOMPARE(fields, 118);
    for (const SettingKey& key : SettingsKeys::all()) {
        if (key.ownsField) {
            QCOMPARE(settings.value(key.name), textFor(key));
            QCOMPARE(settings.value(key), textFor(key));
        }
    }

    // A write through the table entry lands in the same field.
    QVERIFY(settings.setValue(*SettingsKeys::find(u"SHOW_JOIN"), QStringLiteral("1")));
    QCOMPARE(settings.value(u"SHOW_JOIN"), QStringLiteral("1"));
    QVERIFY(settings.setValue(u"SHOW_JOIN", QString()));
    QCOMPARE(settings.value(u"SHOW_JOIN"), QString());
}

void TestSettings::keysWithoutField_data() {
    QTest::addColumn<QString>("key");

    QTest::newRow("notify list action") << "ADD_NOTIFY";
    QTest::newRow("ignored key with a blank") << "WIN _QUERY_BACKTILE";
    QTest::newRow("unknown") << "NOT_A_KEY";
    QTest::newRow("not normalised") << "show_join";
    QTest::newRow("trailing blank") << "SHOW_JOIN ";
    QTest::newRow("empty") << "";
}

void TestSettings::keysWithoutField() {
    QFETCH(QString, key);

    Settings settings;
    QVERIFY(!Settings::hasField(key));
    QVERIFY(!settings.setValue(key, QStringLiteral("x")));
    QCOMPARE(settings.value(key), QString());
    // The refused write went nowhere else.
    for (const SettingKey& entry : SettingsKeys::all())
        QVERIFY2(settings.value(entry).isEmpty(), entry.name.data());
}

void TestSettings::recordsAreIndependent() {
    Settings first;
    Settings second;
    QVERIFY(first.setValue(u"PROFILE_NICKNAME", QStringLiteral("alice")));
    QCOMPARE(second.value(u"PROFILE_NICKNAME"), QString());
    // The six ignored keys that keep a field are fields like any other here;
    // keeping them empty is up to whoever writes the record.
    QVERIFY(Settings::hasField(u"WIN_SERVER_BACKPIC"));
}

QTEST_APPLESS_MAIN(TestSettings)
#include "tst_settings.moc"
