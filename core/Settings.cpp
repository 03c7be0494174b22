#include "core/Settings.h"

namespace {

// The slot of `key` in the record, or -1 when it has none.
int fieldIndex(const SettingKey* key) {
    if (key == nullptr || !key->ownsField)
        return -1;
    return SettingsKeys::indexOf(*key);
}

} // namespace

QString Settings::value(QAnyStringView key) const {
    const int index = fieldIndex(SettingsKeys::find(key));
    return index < 0 ? QString() : m_fields[index];
}

QString Settings::value(const SettingKey& key) const {
    const int index = fieldIndex(&key);
    return index < 0 ? QString() : m_fields[index];
}

bool Settings::setValue(QAnyStringView key, const QString& text) {
    const SettingKey* const entry = SettingsKeys::find(key);
    return entry != nullptr && setValue(*entry, text);
}

bool Settings::setValue(const SettingKey& key, const QString& text) {
    const int index = fieldIndex(&key);
    if (index < 0)
        return false;
    m_fields[index] = text;
    return true;
}

bool Settings::hasField(QAnyStringView key) {
    return fieldIndex(SettingsKeys::find(key)) >= 0;
}
