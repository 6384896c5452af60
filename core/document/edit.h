#pragma once

#include "core/document/databaseoptions.h"
#include "core/document/fielddef.h"
#include "core/document/fieldreferences.h"
#include "core/document/recordgrid.h"
#include "core/document/savedfilterlist.h"
#include "core/document/savedsortlist.h"
#include "core/document/sortsettings.h"

#include <QString>

#include <optional>
#include <variant>
#include <vector>

/**
 * The changes a Document applies: small values that say what changes, each
 * with an inverse that the document works out as it applies them.
 *
 * Columns and rows are grid positions: fields 1..f, records 1..n; row 0
 * holds the field names.
 */
namespace EditStep {

/// New texts for a set of cells; check boxes stay as they are.
struct Cells
{
    struct Change
    {
        int column;
        int row;
        QString text;
    };
    std::vector<Change> changes;
};

/// Whole records (texts of columns 1..f, check boxes, heights) put in
/// before record @p position; the record numbers follow.
struct InsertRecords
{
    int position;
    std::vector<RecordGrid::Row> rows;
};

/// @p count records taken out from record @p position on.
struct RemoveRecords
{
    int position;
    int count;
};

/// One record moved from @p from to @p to, the records between shifting.
struct MoveRecord
{
    int from;
    int to;
};

/// The records in a new order: record r of the result is record
/// order[r - 1] before it. A sort is one such step.
struct PermuteRecords
{
    std::vector<int> order;
};

/// One field (its column, its slot and every reference to it) moved from
/// @p from to @p to.
struct MoveField
{
    int from;
    int to;
};

/// A field put in before field @p position: its column (name, texts,
/// check boxes, width) and definition. The field slots from @p position on
/// move one place right and every reference follows its field; with
/// @p references given (taking back a removal) the references are set to
/// them afterwards.
struct InsertField
{
    int position;
    RecordGrid::Column column;
    FieldDef def;
    std::optional<FieldReferences> references;
};

/// Field @p position taken out, with its column. The slots after it move
/// one place left; the slot past the new last field keeps what it held (the
/// definition of the former last field) unless @p slotPastLast is given
/// (taking back an insertion), which it then takes. References to the field
/// name no field afterwards.
struct RemoveField
{
    int position;
    std::optional<FieldDef> slotPastLast;
};

/// Field slots replaced by the definitions given.
struct FieldDefs
{
    std::vector<std::pair<int, FieldDef>> defs;
};

/// Column widths in pixels: (column, width).
struct ColumnWidths
{
    std::vector<std::pair<int, int>> widths;
};

/// Row heights in pixels, the filters' hidden rows: (row, height).
struct RowHeights
{
    std::vector<std::pair<int, int>> heights;
};

/// What the program keeps about the view in the database: pixels per width
/// unit and whether columns are sized to their texts.
struct ViewOptions
{
    double widthScale;
    bool autoSizeColumns;
};

/// The database's three sort keys, which the sort commands set.
struct SortKeys
{
    SortSettings keys;
};

/// The find field (0 for all fields) and find text kept with the database.
struct FindSettings
{
    int field;
    QString text;
};

/// Grid check boxes switched on or off; the texts stay as they are.
struct CheckBoxes
{
    struct Change
    {
        int column;
        int row;
        bool on;
    };
    std::vector<Change> changes;
};

/// The database's name, flags, data width, first unlocked field and simple
/// filter (DatabaseOptions), all at once.
struct Options
{
    DatabaseOptions options;
};

/// Named sort lists and filter lists (1..25) replaced: (list, content).
/// Filter list 1 is also the working advanced filter.
struct NamedLists
{
    std::vector<std::pair<int, SavedSortList>> sortLists;
    std::vector<std::pair<int, SavedFilterList>> filterLists;
};

/**
 * The database's password. A new one travels in @p text (empty: none) and
 * is wiped from the step as the document takes it; the password it
 * replaces stays with the document, and the inverse names it only by the
 * number @p kept under which the document keeps it. The undo history thus
 * never holds a password in clear.
 */
struct Password
{
    QString text;
    int kept = -1;
};

using Step =
    std::variant<Cells, InsertRecords, RemoveRecords, MoveRecord, PermuteRecords, MoveField,
                 InsertField, RemoveField, FieldDefs, ColumnWidths, RowHeights, ViewOptions,
                 SortKeys, FindSettings, CheckBoxes, Options, NamedLists, Password>;

} // namespace EditStep

/**
 * One change of the document, made of steps applied in order and undone in
 * reverse.
 *
 * A Change marks the database changed and can be undone; its label names
 * it in the Undo and Redo commands ("typing" gives "Undo typing"). A View
 * edit (row heights of a filter, widths the program sets) does neither.
 * Consecutive Change edits with the same non-zero merge key become one undo
 * step until Document::endMerge().
 */
struct Edit
{
    enum Kind
    {
        Change,
        View
    };

    Kind kind = Change;
    QString label;
    std::vector<EditStep::Step> steps;
    int mergeKey = 0;

    static Edit change(const QString &label, EditStep::Step step)
    {
        Edit e;
        e.label = label;
        e.steps.push_back(std::move(step));
        return e;
    }
    static Edit view(EditStep::Step step)
    {
        Edit e;
        e.kind = View;
        e.steps.push_back(std::move(step));
        return e;
    }
};
