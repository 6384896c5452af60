#pragma once

#include "core/document/sortsettings.h"

#include <QString>

#include <vector>

class Database;
class Document;
class FilterEngine;
class LocaleService;
class UserFeedback;

/**
 * Sorting the records by up to three keys (SortSettings), each field
 * compared by its type: dates and times by the locale's parser, numbers by
 * ParseNumber (a text that does not convert counts as 0), texts by the
 * locale's case-sensitive collation. Records equal on every key are told
 * apart by their row index at the moment of each comparison, so a given
 * starting order always sorts the same way; the sort keeps equal records
 * in no promised order.
 *
 * Each record's keys are converted once (dates and times to day numbers,
 * texts to their rank in the collation of all the key's texts), then a
 * QuickSort that partitions exactly as the handheld's desktop program has
 * always done runs over the converted keys; pending ranges wait on a list
 * of their own rather than on the call stack, whatever the partitions.
 */
class RecordSort
{
public:
    /// The order @p keys give the records of @p db: entry r - 1 is the
    /// record that becomes record r. The identity when the first key is 0.
    static std::vector<int> order(const Database &db, const SortSettings &keys,
                                  const LocaleService &locale);

    /**
     * SortRecords with @p keys as the new sort keys: switches the filter
     * off, sorts under the busy cursor and applies one undoable edit (the
     * new keys and the new order) labelled @p label. Does nothing when the
     * first key is 0. Returns whether an edit was applied.
     */
    static bool sortRecords(Document &doc, const SortSettings &keys, FilterEngine &filter,
                            UserFeedback &feedback, const LocaleService &locale,
                            const QString &label = QStringLiteral("sort"));

    /// The Sort normal (@p reverse false) and Sort reverse commands: field
    /// @p column becomes the first key, ascending or descending, the other
    /// keys stay; then sortRecords(). Nothing without a current field.
    static bool sortByColumn(Document &doc, int column, bool reverse, FilterEngine &filter,
                             UserFeedback &feedback, const LocaleService &locale);
};
