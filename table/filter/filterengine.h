#pragma once

#include "core/document/advancedfiltersettings.h"
#include "core/document/edit.h"
#include "core/document/filtersettings.h"

#include <QMetaObject>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

class Database;
class Document;
class LocaleService;
class UserFeedback;

/**
 * The simple and the advanced filter, and which of them is on.
 *
 * A filter hides record rows by their height: visible rows are
 * RecordGrid::VisibleRowHeight high, hidden ones 0 or less. The first hidden
 * row of a run gets LineRowHeight, which the grid view draws as its one-pixel
 * grid line alone, so the user sees where records are hidden; the following
 * ones get NoSpaceRowHeight and take no space at all. Cells are never
 * changed. The simple filter's field and text live in the Database
 * (FilterSettings); its must-begin flag and Include/Exclude choice are held
 * here, for the running program only. So are the advanced filter's five
 * rows as the Properties dialog shows them: loaded from filter list 1 when
 * a database comes and when the dialog opens, edited there, and stored into
 * list 1 when it is confirmed.
 *
 * Works on the Document, locale and feedback it is given, which must outlive
 * it; row heights change through the document. Nothing here fails with a message: a filter without
 * any text sounds the question beep and switches the filter off.
 */
class FilterEngine
{
public:
    enum Mode
    {
        Off = 0,
        Simple = 1,
        Advanced = 2,
    };

    /// The first hidden row of a run: only its grid line shows.
    static constexpr int LineRowHeight = 0;
    /// The further hidden rows of a run: nothing shows.
    static constexpr int NoSpaceRowHeight = -1;

    FilterEngine(Document &doc, LocaleService &locale, UserFeedback &feedback);
    ~FilterEngine();
    FilterEngine(const FilterEngine &) = delete;
    FilterEngine &operator=(const FilterEngine &) = delete;

    /// The one way to switch filtering: 0 shows every record, 1 evaluates
    /// the simple and 2 the advanced filter afresh over all records. Other
    /// values count as 0.
    void ApplyFilter(int mode);

    /// The Filter command: off when the simple filter is on, else simple.
    void toggleSimpleFilter();
    /// The Advanced Filter command: off when the advanced filter is on,
    /// else advanced.
    void toggleAdvancedFilter();

    int filterMode() const { return mMode; }
    /// What the "Filter" menu item and button show.
    bool isSimpleChecked() const { return mMode == Simple; }
    /// What the "Advanced Filter" menu item and button show.
    bool isAdvancedChecked() const { return mMode == Advanced; }

    /// Called with the new mode whenever ApplyFilter() sets it (also when
    /// it is the same as before), after the mode is set and before rows are
    /// shown or hidden. An empty function is never called.
    void setModeChangedHandler(std::function<void(int)> handler)
    {
        mModeChanged = std::move(handler);
    }

    /// "Field must begin with string" of the simple filter; off at start.
    /// Choosing it (or Include/Exclude) ends whole-cell matching.
    bool mustBegin() const { return mMustBegin; }
    void setMustBegin(bool on)
    {
        mMustBegin = on;
        mWholeCell.reset();
    }
    /// "Include Filter" (true, the start value) or "Exclude Filter".
    bool include() const { return mInclude; }
    void setInclude(bool on)
    {
        mInclude = on;
        mWholeCell.reset();
    }

    /**
     * "Filter by this value": the simple filter becomes field @p column and
     * the text of record @p row there, included, and is switched on, the
     * settings and the hidden rows as one view edit (no undo step, the
     * database not marked changed). A cell with text matches only cells
     * that hold exactly that text; an empty cell gives "*" excluded: the
     * records whose field is empty.
     */
    void FilterByValue(int column, int row);
    /// Whether the simple filter matches whole cells exactly: after
    /// FilterByValue(), while the database's filter field and text are the
    /// ones it set and neither must-begin nor Include/Exclude was chosen
    /// since. Cleared when another database comes.
    bool matchesWholeCells() const;

    /// The advanced filter's working rows (their name is not used). They
    /// follow filter list 1 whenever a database comes or list 1 changes
    /// (a confirmation, a list saved, an undo, fields moving).
    const AdvancedFilterSettings &advancedRows() const { return mRows; }
    AdvancedFilterSettings &advancedRows() { return mRows; }
    /// The working rows from the database's filter list 1.
    void loadAdvancedRows();

    /// Gives every record row the visible height, under the busy cursor.
    void ShowAllRows();

    /**
     * Whether record @p row matches a condition.
     *
     * @p field is a grid column (1..f), or 0 or less for every field.
     * @p upperText must already be upper-cased the filters' way
     * (LocaleService::upperAsciiLetters). A single Date, Integer or Float
     * column and a text with "<" or ">" compare values (strictly; a text
     * that is no date never matches, one that is no number counts as 0);
     * otherwise the text is looked for in the upper-cased cell, at its start
     * when @p mustBegin, and "*" matches every non-empty cell.
     */
    bool MatchCondition(int row, int field, const QString &upperText, bool mustBegin) const;

    /// Hides the records that the simple filter leaves out.
    void SimpleFilter();
    /// Hides the records that the advanced filter's working rows leave out;
    /// conditions are joined left to right without precedence, empty ones
    /// left out.
    void AdvancedFilter();

    /// Whether record @p row is hidden (height 0 or less).
    bool IsRowHidden(int row) const;

private:
    struct Condition;

    Condition prepare(int field, const QString &upperText, bool mustBegin) const;
    bool matches(const Condition &condition, int row) const;
    /// Row heights to 22, inside the caller's busy cursor.
    void showAllRowHeights();
    /// The record rows @p condition hides (entry r for record r) under
    /// the Include or Exclude choice.
    std::vector<bool> hiddenBy(const Condition &condition) const;
    /// The row heights that hide row r when @p hidden[r] (none: every row
    /// shown), those that differ from now.
    EditStep::RowHeights heightsStep(const std::vector<bool> &hidden) const;
    /// Row r hidden when @p hidden[r] (none: every row shown), as one edit
    /// that neither marks the database changed nor can be undone.
    void applyHidden(const std::vector<bool> &hidden);

    Document &mDoc;
    const Database &mDb;
    LocaleService &mLocale;
    UserFeedback &mFeedback;
    int mMode = Off;
    bool mMustBegin = false;
    bool mInclude = true;
    /// The field and text FilterByValue() set, while it matches whole cells.
    std::optional<FilterSettings> mWholeCell;
    AdvancedFilterSettings mRows;
    AdvancedFilterSettings mLoadedList; ///< list 1 as the rows were last loaded
    std::vector<QMetaObject::Connection> mConnections;
    std::function<void(int)> mModeChanged;
};
