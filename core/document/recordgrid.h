#pragma once

#include "core/document/recordtexts.h"

#include <QString>

#include <utility>
#include <vector>

/**
 * The table of texts that holds a database's field names and records, with
 * what the grid shows of each column and row.
 *
 * Row 0 holds the field names; records are rows 1..n and fields columns
 * 1..f. Column 0 stands for the record numbers, which are worked out from
 * the row when shown (recordNumberText()) and never stored. Every column
 * carries its width in pixels and every row its height in pixels; a record
 * row whose height is 0 or less is hidden by a filter. Each cell may carry a
 * check box.
 *
 * Each row keeps its texts in slots, in one allocation (RecordTexts), as the
 * file stores them where that gives them back exactly; a map from column to
 * slot puts them in column order, so a column moves without touching a row.
 * A text is decoded only when asked for. Rows handed in and out
 * (insertRows(), takeRows()) are in column order.
 *
 * A plain container: the Document that owns it announces its changes.
 */
class RecordGrid
{
public:
    static constexpr int DefaultRowHeight = 21;
    static constexpr int VisibleRowHeight = 22; ///< a record row that no filter hides
    static constexpr int DefaultColumnWidth = 64;

    /// One row: its cells (column 0 included, always empty), check boxes
    /// and height. A row made from a file's bytes may bring its texts ready
    /// made instead of its cells: `texts`, in column order (slot 0 empty),
    /// is taken when it holds any slot, and `cells` is then not read.
    struct Row
    {
        std::vector<QString> cells;
        std::vector<bool> checkBoxes;
        int height = DefaultRowHeight;
        RecordTexts texts;
    };

    /// One column: its texts (row 0 the field name, then records 1..n),
    /// check boxes and width.
    struct Column
    {
        std::vector<QString> cells;
        std::vector<bool> checkBoxes;
        int width = DefaultColumnWidth;
    };

    int columnCount() const { return mColumnCount; }
    int rowCount() const { return int(mRows.size()); }
    /// Number of record rows (rows 1..n).
    int recordCount() const { return rowCount() > 0 ? rowCount() - 1 : 0; }
    /// Number of field columns (columns 1..f).
    int fieldCount() const { return mColumnCount > 0 ? mColumnCount - 1 : 0; }

    /// Sets the size and clears every cell, check box, width and height.
    void resize(int columns, int rows);

    /// The text of a cell; an empty text outside the table.
    QString cell(int column, int row) const
    {
        if (!contains(column, row))
            return {};
        return mRows[size_t(row)].texts.text(int(slot(column)));
    }
    /// The text of a cell into @p text, reusing its room: for passes over
    /// many cells.
    void cellInto(int column, int row, QString &text) const
    {
        if (contains(column, row))
            mRows[size_t(row)].texts.textInto(int(slot(column)), text);
        else
            text.resize(0);
    }
    /// The bytes of a cell's text as the file stores them (see RecordTexts),
    /// its zero byte left out: for passes over many cells that need no
    /// QString. False, leaving @p bytes and @p size alone, when the cell's
    /// row keeps its texts as UTF-16. A cell outside the table is empty.
    bool storedCell(int column, int row, const char **bytes, qsizetype *size) const
    {
        const bool inside = contains(column, row);
        if (inside && mRows[size_t(row)].texts.isWide())
            return false;
        const int at = inside ? int(slot(column)) : 0;
        if (!inside || at >= mRows[size_t(row)].texts.count()) {
            *bytes = "";
            *size = 0;
            return true;
        }
        *bytes = mRows[size_t(row)].texts.storedBytes(at);
        *size = mRows[size_t(row)].texts.storedLength(at);
        return true;
    }
    /// Whether a cell's text is empty (or the cell outside the table),
    /// without making the text.
    bool isCellEmpty(int column, int row) const
    {
        return !contains(column, row) || mRows[size_t(row)].texts.isEmpty(int(slot(column)));
    }
    void setCell(int column, int row, const QString &text);
    /// Sets several cells of @p row at once: (column, text); the row is
    /// built anew once. Columns outside 1..f are passed over.
    void setCells(int row, const std::vector<std::pair<int, QStringView>> &cells);
    /// Takes the texts of columns 1.. of @p row from @p texts.
    void setRecordTexts(int row, std::vector<QString> &&texts);

    /// Sets columns 1.. of @p row from the file's bytes of a record's texts
    /// (see RecordTexts::fromStored()); @p summary receives what they hold.
    /// The row's bytes come from @p arena when one is given.
    void setStoredTexts(int row, const char *data, qsizetype size,
                        RecordTexts::Summary *summary = nullptr,
                        RecordTexts::Arena *arena = nullptr);
    /// Gives @p row the texts of row @p from, sharing their bytes.
    void shareTexts(int row, int from);
    /// The texts of @p row when columns 1.. are kept as the file writes
    /// them, in column order; nothing otherwise.
    const RecordTexts *storedTexts(int row) const;

    bool hasCheckBox(int column, int row) const;
    void setCheckBox(int column, int row, bool on);

    int columnWidth(int column) const;
    void setColumnWidth(int column, int pixels);

    int rowHeight(int row) const;
    void setRowHeight(int row, int pixels);
    bool isRowHidden(int row) const { return rowHeight(row) <= 0; }

    /// Gives every record row the visible height.
    void showAllRows();

    /// Puts @p rows in before row @p position (1..n+1); each is sized to
    /// the columns.
    void insertRows(int position, std::vector<Row> &&rows);
    /// Takes @p count rows out from row @p position on and returns them.
    std::vector<Row> takeRows(int position, int count);
    /// Row r (1..n) of the result is row @p order[r - 1] before.
    void permuteRows(const std::vector<int> &order);

    /// Moves column @p from (cells, check boxes, width) to position @p to,
    /// the columns between shifting by one. Column 0 stays where it is.
    void moveColumn(int from, int to);
    /// Puts @p column in before column @p position (1..f+1); missing texts
    /// and check boxes are empty and off.
    void insertColumn(int position, Column &&column);
    /// Takes column @p position (1..f) out and returns it.
    Column takeColumn(int position);
    /// Moves record row @p from (cells, check boxes, height) to position
    /// @p to.
    void moveRow(int from, int to);

    /// The label of record row @p row: "0001", "0002", ...
    static QString recordNumberText(int row);

private:
    /// A row as kept: its texts in slots, check boxes in slots, height.
    struct Line
    {
        RecordTexts texts;
        std::vector<bool> checkBoxes; ///< in slots; empty while none is on
        int height = DefaultRowHeight;
    };

    size_t slot(int column) const { return size_t(mSlots[size_t(column)]); }
    /// @p row from column order to slot order, or back.
    Line toSlots(Row &&row) const;
    /// @p texts, in column order, in this grid's slots and with as many.
    RecordTexts textsToSlots(RecordTexts &&texts) const;
    Row toColumns(Line &&line) const;
    void slotsChanged();
    bool contains(int column, int row) const
    {
        return column >= 0 && column < mColumnCount && row >= 0 && row < rowCount();
    }

    int mColumnCount = 0;
    std::vector<Line> mRows;
    bool mSlotsInOrder = true; ///< every column in the slot of its number
    std::vector<int> mColumnWidths;
    std::vector<int> mSlots; ///< the slot of each column
};
