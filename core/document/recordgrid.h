#pragma once

#include <QObject>
#include <QString>

#include <vector>

/**
 * The table of texts that holds a database's field names and records, with
 * what the grid shows of each column and row.
 *
 * Column 0 holds the record numbers, row 0 the field names; records are rows
 * 1..n and fields columns 1..f. Every column carries its width in pixels and
 * every row its height in pixels; a record row whose height is 0 or less is
 * hidden by a filter. Each cell may carry a check box.
 *
 * Every change is announced: the setters emit the signals below, except
 * inside beginUpdate()/endUpdate(), which start with gridAboutToBeReset()
 * and end with one gridReset(). resize() is such a reset too.
 */
class RecordGrid : public QObject
{
    Q_OBJECT

public:
    static constexpr int DefaultRowHeight = 21;
    static constexpr int VisibleRowHeight = 22; ///< a record row that no filter hides
    static constexpr int DefaultColumnWidth = 64;

    explicit RecordGrid(QObject *parent = nullptr);

    int columnCount() const { return mColumnCount; }
    int rowCount() const { return int(mRows.size()); }
    /// Number of record rows (rows 1..n).
    int recordCount() const { return rowCount() > 0 ? rowCount() - 1 : 0; }
    /// Number of field columns (columns 1..f).
    int fieldCount() const { return mColumnCount > 0 ? mColumnCount - 1 : 0; }

    /// Sets the size and clears every cell, check box, width and height.
    void resize(int columns, int rows);

    /// The text of a cell; an empty text outside the table.
    const QString &cell(int column, int row) const
    {
        if (!contains(column, row))
            return emptyText();
        return mRows[size_t(row)].cells[size_t(column)];
    }
    void setCell(int column, int row, const QString &text);
    /// Takes the texts of columns 1.. of @p row from @p texts.
    void setRecordTexts(int row, std::vector<QString> &&texts);

    bool hasCheckBox(int column, int row) const;
    void setCheckBox(int column, int row, bool on);
    /// Every cell becomes plain text again; the texts stay. One reset.
    void removeCheckBoxes();

    int columnWidth(int column) const;
    void setColumnWidth(int column, int pixels);

    int rowHeight(int row) const;
    void setRowHeight(int row, int pixels);
    bool isRowHidden(int row) const { return rowHeight(row) <= 0; }

    /// Gives every record row the visible height.
    void showAllRows();

    /// Moves column @p from (cells, check boxes, width) to position @p to,
    /// the columns between shifting by one. Column 0 stays where it is.
    void moveColumn(int from, int to);
    /// Moves record row @p from (cells, check boxes, height) to position
    /// @p to. Its record number goes with it until renumberRows().
    void moveRow(int from, int to);

    /// Labels column 0 of every record row with its number ("0001", ...).
    void renumberRows();
    static QString recordNumberText(int row);

    /// Batches changes: no signal until the matching endUpdate(), which
    /// emits gridReset() once. Calls nest.
    void beginUpdate();
    void endUpdate();

signals:
    void gridAboutToBeReset();
    void gridReset();
    void cellChanged(int column, int row);
    void columnWidthChanged(int column);
    void rowHeightChanged(int row);

private:
    struct Row
    {
        std::vector<QString> cells;
        std::vector<bool> checkBoxes;
        int height = DefaultRowHeight;
    };

    bool contains(int column, int row) const
    {
        return column >= 0 && column < mColumnCount && row >= 0 && row < rowCount();
    }
    bool notifying() const { return mUpdateDepth == 0; }
    static const QString &emptyText();

    int mColumnCount = 0;
    std::vector<Row> mRows;
    std::vector<int> mColumnWidths;
    int mUpdateDepth = 0;
};
