#pragma once

#include "core/document/filtersettings.h"

#include <QString>

class Database;

/**
 * The database-wide options the Properties dialog edits, besides the
 * password, the sort keys and the named lists: the name, the flag word with
 * the read-only and auto-sort flags that mirror two of its bits, the record
 * view's data width, the first unlocked field and the simple filter.
 */
struct DatabaseOptions
{
    QString name;
    quint16 flags = 0;
    bool readOnly = false;
    bool autoSort = false;
    int dataWidth = 0;
    int firstUnlockedField = 0;
    FilterSettings filter;

    /// The options @p db holds.
    static DatabaseOptions of(const Database &db);
    /// Puts these options into @p db.
    void applyTo(Database &db) const;

    bool operator==(const DatabaseOptions &) const = default;
};
