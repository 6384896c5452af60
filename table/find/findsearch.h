#pragma once

#include "core/platform/message.h"

#include <QPoint>
#include <QString>

#include <optional>
#include <vector>

class Database;
class Progress;

/**
 * The Find dialog's search and Find next: record by record from the top,
 * field by field from left to right within a record, looking for a text in
 * the cell texts with only the letters a to z upper-cased on both sides.
 *
 * The search remembers its last match (find-active) so that Find next goes
 * on from there, even when the current cell has moved since. Hidden records
 * are searched too; making a match current is the caller's (a hidden record
 * must be shown first).
 */
class FindSearch
{
public:
    /// What the Find dialog's controls hold.
    struct Query
    {
        int field = 0; ///< 0: all fields; k: field k alone
        QString text;
        bool mustBegin = false; ///< "Field must begin with String"
        bool fromStart = true;  ///< "Find from the start"
    };

    /**
     * The next matching cell (column, row). A new search starts below
     * @p currentRow, or at the first record with fromStart; an active one
     * goes on behind its last match. Nothing when the search runs off the
     * end, which also clears find-active. An empty text never matches.
     *
     * With @p progress, the search reports how far it has come and stops
     * when the user cancels: nothing then, and wasCancelled(); find-active
     * and the last match stay as they were before the run.
     */
    std::optional<QPoint> run(const Database &db, const Query &query, int currentRow,
                              Progress *progress = nullptr);

    /// Whether the last run stopped because the user cancelled it.
    bool wasCancelled() const { return mCancelled; }

    /// Whether a match was found and Find next may continue from it.
    bool isActive() const { return mActive; }
    void clear() { mActive = false; }

    /// Every cell a search from the start reaches, in its order.
    static std::vector<QPoint> allMatches(const Database &db, Query query);

    /// Whether @p cell holds @p upperText (a to z upper-cased) the search's
    /// way: anywhere, or at its start with @p mustBegin.
    static bool cellMatches(const QString &cell, const QString &upperText, bool mustBegin);

    /// "Search text not found." with caption "Find error".
    static Message notFoundMessage();

private:
    /// How many records the search goes through between reports.
    static constexpr int ProgressRecords = 256;

    bool mActive = false;
    bool mCancelled = false;
    int mRow = 0;
    int mColumn = 0;
};
