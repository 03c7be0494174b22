#pragma once
// The block-list window: nicks (or "*" for everyone) whose requests are
// ignored, each with its block kind at the same position of the second list.
// One instance, loaded on first use; it is unloaded with the program.

#include "core/Form.h"

class QListWidget;

class frm_blocks : public Form {
    Q_OBJECT
public:
    explicit frm_blocks(Program& program);

    // One nick or "*" per entry.
    QListWidget* lst_blocked = nullptr;
    // The block kind of the entry at the same position.
    QListWidget* lst_blocktype = nullptr;

    // The entries of lst_blocked in list order.
    QStringList blockedEntries() const;
};

// True when the program's block list holds `nick` (without regard to case)
// or "*". `kind` is accepted; no block kind restricts a match.
bool IsBlocked(Program& program, const QString& nick, const QString& kind = QString());
