#pragma once

#include "core/SettingKey.h"

#include <QAnyStringView>
#include <QList>

#include <span>

// The constant table of every settings key, in dispatch order. The accessor,
// the defaults pass and the settings file all work from it, so a key's
// behaviour is looked up here rather than spelled out key by key.
class SettingsKeys {
public:
    static constexpr int Count = 120;

    // Every key, in dispatch order.
    static std::span<const SettingKey> all();

    // The key whose name equals `normalisedName` exactly (see normalise), or
    // nullptr when there is none.
    static const SettingKey* find(QAnyStringView normalisedName);

    // A key name as the accessor matches it: trimmed and upper case.
    static QString normalise(QAnyStringView key);

    // Position of `key` in dispatch order (0-based); -1 when `key` is not an
    // entry of the table.
    static int indexOf(const SettingKey& key);

    // The saved keys, ordered by save position (the notify-list key last).
    static const QList<const SettingKey*>& inSaveOrder();

    // The keys the defaults pass visits, in its order.
    static const QList<const SettingKey*>& inDefaultsOrder();
};
