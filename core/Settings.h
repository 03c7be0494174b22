#pragma once

#include "core/SettingsKeys.h"

#include <QAnyStringView>
#include <QString>

#include <array>

// The settings record: one text value per key that owns a field, all empty
// at first. It only holds text; storing a setting with its effects is the
// accessor's job, and readers that need no effects read the record directly.
// Keys are named as the key table spells them (already trimmed and upper
// case).
class Settings {
public:
    // The stored text of `key`; "" for a key never set, a key without a
    // field and a name that is not a key.
    QString value(QAnyStringView key) const;
    QString value(const SettingKey& key) const;

    // Stores `text` in the field of `key`. Returns false, storing nothing,
    // when `key` is not a key or owns no field.
    bool setValue(QAnyStringView key, const QString& text);
    bool setValue(const SettingKey& key, const QString& text);

    // Whether `key` names a key that owns a field.
    static bool hasField(QAnyStringView key);

private:
    // Indexed by the key's position in dispatch order; the slots of keys
    // without a field stay empty.
    std::array<QString, SettingsKeys::Count> m_fields;
};
