#pragma once

#include "core/platform/message.h"

#include <QPoint>
#include <QString>

#include <optional>

class CalculatedFields;
class Document;
class LocaleService;
class Progress;

/**
 * The Replace dialog's search: field by field over the range, within a
 * field from the first record to the last, each cell tested for the find
 * text, both sides upper-cased by the locale's rules unless the case must
 * match.
 *
 * Find Next (mode 0) selects the next match; Replace (mode 1) replaces the
 * selected match and selects the next; Replace All (mode 2) replaces every
 * match from the selected one on, as one undoable edit. After a
 * replacement the search goes on behind the inserted text, so a replacement
 * that contains the find text is never found again and Replace All always
 * ends; further occurrences in the same cell are still replaced. Find Next
 * from a selected match goes on with the next record of the field.
 *
 * Hidden records are searched too. A replacement that would make a cell
 * longer than the handheld keeps (Limits::MaxCellText) is not made, but
 * counted; the search goes on behind that match.
 */
class ReplaceStep
{
public:
    enum Mode
    {
        FindNext = 0,
        Replace = 1,
        ReplaceAll = 2,
    };

    /// What the Replace dialog's controls hold.
    struct Query
    {
        int field = 0; ///< 0: all fields; k: field k alone
        QString findText;
        QString replaceText;
        bool mustBegin = false; ///< "Field must begin with String"
        bool matchCase = false; ///< "Case must match"
    };

    struct Outcome
    {
        /// The match now selected, to become the current cell.
        std::optional<QPoint> current;
        /// Some match this step selected lies in a hidden record.
        bool inHiddenRecord = false;
        /// The search ran off the end: the dialog closes.
        bool closeDialog = false;
        /// ...and nothing was found since the dialog opened.
        bool notFound = false;
        int replacements = 0;
        /// Replacements not made: the cell would have grown past the
        /// characters the handheld keeps.
        int skipped = 0;
        /// The user cancelled the search: nothing changed, and the match
        /// selected before stays selected.
        bool cancelled = false;
    };

    /// With @p calc, the records a replacement changes get their
    /// calculated cells worked out again in the same edit.
    ReplaceStep(Document &doc, const LocaleService &locale, const CalculatedFields *calc = nullptr);

    /// One press of a button; any replacements are applied as one edit.
    /// With @p progress, the search reports how far it has come and stops
    /// when the user cancels, changing nothing.
    Outcome run(Mode mode, const Query &query, Progress *progress = nullptr);

    /// The Replace command opens the dialog afresh: nothing found yet.
    void reset() { mFound = false; }
    bool found() const { return mFound; }

    /// "Find text not found." with caption "Replace".
    static Message notFoundMessage();
    /// The replacements of a press that were not made, and why.
    static QString skippedText(int skipped);

private:
    /// A text as compared (upper-cased unless the case must match), with
    /// the index in the original of each of its characters when the
    /// upper-casing changed its length.
    struct Prepared
    {
        QString text;
        std::vector<int> origin;
    };
    Prepared prepare(const QString &text, bool matchCase) const;

    /// Where a match lies in a cell's own text; start -1 for none.
    struct Match
    {
        int start = -1;
        int length = 0;
        explicit operator bool() const { return start >= 0; }
    };

    /// The first match in @p cell at or behind index @p from: its start
    /// and length in the cell's own text.
    Match test(const QString &cell, int from, const QString &preparedFind,
               const Query &query) const;

    /// How many records the first look of Replace All goes through between
    /// reports, and how many cells the search tests.
    static constexpr int ProgressRecords = 256;
    static constexpr int ProgressCells = 4096;

    Document &mDoc;
    const CalculatedFields *mCalc;
    const LocaleService &mLocale;
    bool mAsciiLetters = false; ///< the locale upper-cases ASCII as a to z alone
    bool mFound = false;
    int mColumn = 0;
    int mRow = 0;
    int mPosition = 0; ///< start of the selected match in its cell
    int mLength = 0;   ///< its length there
};
