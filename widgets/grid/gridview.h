#pragma once

#include <QTableView>

#include <utility>

class CalculatedFields;
class Database;
class Document;
class GridHeaderView;
class MessageService;
class RecordGridModel;
class UserFeedback;

/**
 * The one view of the open database: its RecordGrid with the field names as
 * the column header and the record numbers as the row header.
 *
 * Row heights and column widths follow the grid: a row of height 0 (the
 * first of a filtered run) shows as a one-pixel line, one of negative height
 * not at all; a column is never wider than FieldWidthToPixels(300). Resizing
 * a column, dragging a column or a row each apply one undoable edit to the
 * document (a resize drag is one edit however many steps it takes). There
 * is a current cell, which undo and redo put back, inside at most one
 * rectangular block of selected cells. A
 * record a filter hides is never current: whatever moves the current cell
 * onto one (keys, mouse, commands, the filter itself) moves it on to the
 * nearest visible record.
 *
 * Columns and rows in this interface are grid positions: fields 1..f,
 * records 1..n.
 */
class GridView : public QTableView
{
    Q_OBJECT

public:
    /// The field names' row at 8 points; every row grows with a larger
    /// font by what its text grows, so that the margins stay.
    static constexpr int RowHeight = 21;

    GridView(Document &doc, const CalculatedFields &calc, MessageService &messages,
             UserFeedback &feedback, QWidget *parent = nullptr);

    RecordGridModel *gridModel() const { return mModel; }

    /// The grid row and column of the current cell; 0 while there is none.
    int currentGridRow() const;
    int currentGridColumn() const;
    /// Makes cell (@p column, @p row) current; ignored outside the records.
    void setCurrentCell(int column, int row);
    /// Scrolls cell (@p column, @p row) to the middle of the view, unless it
    /// is already wholly in view.
    void bringCellIntoView(int column, int row);

    /// The selected block of cells (x the field, y the record), or the
    /// current cell alone; empty without a current cell.
    QRect selectedBlock() const;

    /// Switches column resizing and row and column dragging off or on.
    void setReadOnly(bool on);

    void setAutoRightJustify(bool on);
    /// The width of the record-number column for four digits, in pixels;
    /// from record 10000 on it widens by a digit for each digit more.
    void setRecordNumberWidth(int pixels);
    /// Re-reads the widest column, FieldWidthToPixels(300), after the width
    /// scale changed, and narrows the columns wider than that.
    void updateWidthLimit();

signals:
    /// A double click asks for the cell editor on cell (@p column, @p row).
    void cellEditorRequested(int column, int row);

protected:
    void changeEvent(QEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex &index,
                                                         const QEvent *event) const override;

private:
    const Database &db() const;
    void syncAll();
    void syncColumn(int column);
    void syncRows(int first, int last);
    void syncRow(int row);
    /// Marks the current cell's record number and field name.
    void markCurrentCell();
    void fitRowsToFont();
    void fitRecordNumbers();
    void columnResizedByUser(int logical, int newSize);
    void columnMovedByUser(int logical, int from, int to);
    void rowMovedByUser(int logical, int from, int to);
    bool cornerEvent(QEvent *event);
    /// After a click on a header has selected a field or a record: makes
    /// @p index current without changing the selection.
    void restoreAfterHeaderClick(const QModelIndex &index);
    /// The visible record nearest to @p row, looking first downward (or
    /// upward); 0 when every record is hidden.
    int nearestVisibleRow(int row, bool downFirst) const;
    /// Moves the current cell off a record a filter hides.
    void leaveHiddenRow(bool downFirst);

    Document &mDoc;
    UserFeedback &mFeedback;
    RecordGridModel *mModel;
    GridHeaderView *mColumnHeader;
    GridHeaderView *mRowHeader;
    QWidget *mCorner = nullptr;
    int mRecordNumberWidth = 0; ///< for four digits
    int mFontGrowth = 0;        ///< what a row's text grows above 8 points
    std::pair<int, int> mCellBeforeReset{0, 0};
    std::pair<int, int> mCellBeforeHeaderPress{0, 0}; ///< (column, row)
    bool mSyncing = false;
    bool mMovingByProgram = false; ///< setCurrentCell() at work
    bool mRestoringOrder = false;
};
