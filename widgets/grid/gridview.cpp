#include "widgets/grid/gridview.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/document/limits.h"
#include "core/document/recordgrid.h"
#include "core/platform/userfeedback.h"
#include "rules/grid/gridhints.h"
#include "rules/grid/layoutedit.h"
#include "widgets/grid/gridcelldelegate.h"
#include "widgets/grid/gridheaderview.h"
#include "widgets/grid/recordgridmodel.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QToolTip>

GridView::GridView(Document &doc, const CalculatedFields &calc, MessageService &messages,
                   UserFeedback &feedback, QWidget *parent)
    : QTableView(parent), mDoc(doc), mFeedback(feedback),
      mModel(new RecordGridModel(doc, calc, messages, this)),
      mColumnHeader(new GridHeaderView(Qt::Horizontal, this)),
      mRowHeader(new GridHeaderView(Qt::Vertical, this))
{
    setHorizontalHeader(mColumnHeader);
    setVerticalHeader(mRowHeader);
    setModel(mModel);

    // One rectangular block of cells around the current cell: Shift with
    // the arrows or a click, a drag, or a click on a record number or a
    // field name.
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    setTabKeyNavigation(true);
    setWordWrap(false);
    // Texts are clipped at the cell's edge, not shortened with an ellipsis.
    setTextElideMode(Qt::ElideNone);
    setItemDelegate(new GridCellDelegate(this));
    setShowGrid(true);

    mColumnHeader->setFixedHeight(RowHeight);
    mColumnHeader->setSectionResizeMode(QHeaderView::Interactive);
    mColumnHeader->setSectionsClickable(true);
    mColumnHeader->setSectionsMovable(true);
    // Rows are this high once no filter hides them, which is nearly always;
    // sections of the default size need no resizing after a reset.
    mRowHeader->setDefaultSectionSize(RecordGrid::VisibleRowHeight);
    mRowHeader->setMinimumSectionSize(0);
    mRowHeader->setSectionResizeMode(QHeaderView::Fixed);
    mRowHeader->setSectionsMovable(true);

    connect(mColumnHeader, &QHeaderView::sectionResized, this,
            [this](int logical, int, int newSize) { columnResizedByUser(logical, newSize); });
    connect(mColumnHeader, &QHeaderView::sectionMoved, this, &GridView::columnMovedByUser);
    connect(mRowHeader, &QHeaderView::sectionMoved, this, &GridView::rowMovedByUser);
    // A click on a field name or a record number selects the field or the
    // record; the current cell keeps its record or its field.
    connect(mColumnHeader, &QHeaderView::sectionClicked, this, [this](int logical) {
        restoreAfterHeaderClick(mModel->index(mCellBeforeHeaderPress.second - 1, logical));
    });
    connect(mRowHeader, &QHeaderView::sectionClicked, this, [this](int logical) {
        restoreAfterHeaderClick(mModel->index(logical, mCellBeforeHeaderPress.first - 1));
    });
    mColumnHeader->viewport()->installEventFilter(this);
    mRowHeader->viewport()->installEventFilter(this);

    connect(&mDoc, &Document::columnWidthsChanged, this, [this](int first, int last) {
        QScopedValueRollback guard(mSyncing, true);
        for (int column = first; column <= last; ++column)
            syncColumn(column);
    });
    connect(&mDoc, &Document::fieldMoved, this, [this](int from, int to) {
        QScopedValueRollback guard(mSyncing, true);
        for (int column = qMin(from, to); column <= qMax(from, to); ++column)
            syncColumn(column);
    });
    connect(&mDoc, &Document::fieldInserted, this, [this](int position) {
        QScopedValueRollback guard(mSyncing, true);
        syncColumn(position);
    });
    connect(&mDoc, &Document::rowHeightsChanged, this, [this](int first, int last) {
        syncRows(first, last);
        leaveHiddenRow(true);
    });
    connect(&mDoc, &Document::recordsInserted, this,
            [this](int position, int count) { syncRows(position, position + count - 1); });
    // The current cell goes with its record without a currentChanged():
    // the row header's mark follows it here.
    connect(&mDoc, &Document::recordMoved, this, [this](int from, int to) {
        syncRows(qMin(from, to), qMax(from, to));
        markCurrentCell();
    });
    connect(&mDoc, &Document::recordsPermuted, this, [this] {
        syncRows(1, db().recordCount());
        markCurrentCell();
    });
    // Records and fields that come, go or move carry the current cell
    // along without a currentChanged(); the marks follow it here.
    const auto records = [this] {
        fitRecordNumbers();
        markCurrentCell();
    };
    const auto fields = [this] { markCurrentCell(); };
    connect(mModel, &QAbstractItemModel::rowsInserted, this, records);
    connect(mModel, &QAbstractItemModel::rowsRemoved, this, records);
    connect(mModel, &QAbstractItemModel::rowsMoved, this, fields);
    connect(mModel, &QAbstractItemModel::columnsInserted, this, fields);
    connect(mModel, &QAbstractItemModel::columnsRemoved, this, fields);
    connect(mModel, &QAbstractItemModel::columnsMoved, this, fields);
    connect(mModel, &QAbstractItemModel::layoutChanged, this, fields);
    connect(&mDoc, &Document::currentCellRequested, this, [this](int column, int row) {
        if (column >= 1 && row >= 1)
            setCurrentCell(qMin(column, db().fieldCount()), qMin(row, db().recordCount()));
    });
    // A new database keeps the current cell where it still has one.
    connect(mModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        mCellBeforeReset = {currentGridColumn(), currentGridRow()};
    });
    connect(mModel, &QAbstractItemModel::modelReset, this, [this] {
        syncAll();
        const auto [column, row] = mCellBeforeReset;
        if (column >= 1 && row >= 1 && db().fieldCount() > 0 && db().recordCount() > 0)
            setCurrentCell(qMin(column, db().fieldCount()), qMin(row, db().recordCount()));
    });

    // The corner is cell (0, 0): drawn like the headers, with the record
    // count as its hint, and no select-all on a click.
    mCorner = findChild<QAbstractButton *>(QString(), Qt::FindDirectChildrenOnly);
    if (mCorner)
        mCorner->installEventFilter(this);

    fitRowsToFont();
    syncAll();
}

const Database &GridView::db() const
{
    return mDoc.database();
}

int GridView::currentGridRow() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.row() + 1 : 0;
}

int GridView::currentGridColumn() const
{
    const QModelIndex i = currentIndex();
    return i.isValid() ? i.column() + 1 : 0;
}

void GridView::setCurrentCell(int column, int row)
{
    const QModelIndex i = mModel->index(row - 1, column - 1);
    if (!i.isValid())
        return;
    QScopedValueRollback guard(mMovingByProgram, true);
    setCurrentIndex(i);
}

QItemSelectionModel::SelectionFlags GridView::selectionCommand(const QModelIndex &index,
                                                               const QEvent *event) const
{
    // A cell the program makes current (an undo bringing its cell back
    // while Ctrl+Z is held, a jump) is selected alone: the keys held
    // belong to the command, not to a selection.
    if (mMovingByProgram)
        return QItemSelectionModel::ClearAndSelect;
    return QTableView::selectionCommand(index, event);
}

void GridView::bringCellIntoView(int column, int row)
{
    const QModelIndex i = mModel->index(row - 1, column - 1);
    if (!i.isValid())
        return;
    if (!viewport()->rect().contains(visualRect(i)))
        scrollTo(i, QAbstractItemView::PositionAtCenter);
}

void GridView::setReadOnly(bool on)
{
    mColumnHeader->setSectionResizeMode(on ? QHeaderView::Fixed : QHeaderView::Interactive);
    mColumnHeader->setSectionsMovable(!on);
    mRowHeader->setSectionsMovable(!on);
}

void GridView::setAutoRightJustify(bool on)
{
    mModel->setAutoRightJustify(on);
}

void GridView::setRecordNumberWidth(int pixels)
{
    mRecordNumberWidth = pixels;
    fitRecordNumbers();
    // The record-number width changes with the program font, and with it
    // the width scale.
    updateWidthLimit();
}

void GridView::updateWidthLimit()
{
    QScopedValueRollback guard(mSyncing, true);
    const int limit = db().FieldWidthToPixels(Limits::MaxFieldWidth);
    if (limit == mColumnHeader->maximumSectionSize())
        return;
    mColumnHeader->setMaximumSectionSize(limit);
    for (int column = 1; column <= db().fieldCount(); ++column)
        syncColumn(column);
}

void GridView::syncAll()
{
    QScopedValueRollback guard(mSyncing, true);
    mColumnHeader->setMaximumSectionSize(db().FieldWidthToPixels(Limits::MaxFieldWidth));
    for (int column = 1; column <= db().fieldCount(); ++column)
        syncColumn(column);
    syncRows(1, db().recordCount());
    fitRecordNumbers();
    markCurrentCell();
}

void GridView::markCurrentCell()
{
    const QModelIndex current = currentIndex();
    mColumnHeader->setCurrentSection(current.isValid() ? current.column() : -1);
    mRowHeader->setCurrentSection(current.isValid() ? current.row() : -1);
}

void GridView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitRowsToFont();
        fitRecordNumbers();
    }
}

void GridView::fitRowsToFont()
{
    QFont design = font();
    design.setPointSizeF(8);
    const int growth = qMax(0, fontMetrics().height() - QFontMetrics(design).height());
    if (growth == mFontGrowth)
        return;
    mFontGrowth = growth;
    mColumnHeader->setFixedHeight(RowHeight + growth);
    mRowHeader->setDefaultSectionSize(RecordGrid::VisibleRowHeight + growth);
    // The default size went to the one-pixel lines of a filter too.
    syncRows(1, db().recordCount());
}

void GridView::fitRecordNumbers()
{
    if (mRecordNumberWidth <= 0)
        return;
    // Digits are as wide as each other in most fonts; where not, the
    // widest one makes room for any.
    int widest = 0;
    for (char16_t digit = u'0'; digit <= u'9'; ++digit)
        widest = qMax(widest, fontMetrics().horizontalAdvance(QChar(digit)));
    const auto digits = qMax(qsizetype(4), QString::number(db().recordCount()).size());
    const int width = mRecordNumberWidth + int(digits - 4) * widest;
    if (mRowHeader->width() == width)
        return;
    mRowHeader->setFixedWidth(width);
    updateGeometries();
}

void GridView::syncColumn(int column)
{
    if (column < 1 || column > db().fieldCount())
        return;
    // A column wider than the header allows is narrowed in the grid too;
    // the edit comes back here.
    if (LayoutEdit::limitColumnWidth(mDoc, column, mColumnHeader->maximumSectionSize()))
        return;
    mColumnHeader->resizeSection(column - 1, qMax(0, db().grid().columnWidth(column)));
}

void GridView::syncRows(int first, int last)
{
    QScopedValueRollback guard(mSyncing, true);
    // With updates on, the header works out every section's position anew
    // after each resize.
    const bool updates = mRowHeader->updatesEnabled();
    mRowHeader->setUpdatesEnabled(false);
    for (int row = qMax(first, 1); row <= qMin(last, db().recordCount()); ++row)
        syncRow(row);
    mRowHeader->setUpdatesEnabled(updates);
}

void GridView::syncRow(int row)
{
    const int height = db().grid().rowHeight(row);
    const bool hidden = mRowHeader->isSectionHidden(row - 1);
    if (height < 0) {
        if (!hidden)
            mRowHeader->setSectionHidden(row - 1, true);
        return;
    }
    if (hidden)
        mRowHeader->setSectionHidden(row - 1, false);
    const int size = height > 0 ? height + mFontGrowth : 1;
    if (mRowHeader->sectionSize(row - 1) != size)
        mRowHeader->resizeSection(row - 1, size);
}

void GridView::columnResizedByUser(int logical, int newSize)
{
    if (mSyncing)
        return;
    {
        // One drag is one edit: the widths it passes through merge.
        QScopedValueRollback guard(mSyncing, true);
        LayoutEdit::resizeColumn(mDoc, logical + 1, newSize);
    }
    if (QApplication::mouseButtons() & Qt::LeftButton) {
        QToolTip::showText(QCursor::pos(),
                           QStringLiteral("Width: ") +
                               QString::number(db().PixelsToFieldWidth(newSize)),
                           mColumnHeader);
    }
}

void GridView::columnMovedByUser(int logical, int from, int to)
{
    if (mRestoringOrder)
        return;
    {
        // A header move is visual only; the document moves the field, and
        // the model's column move shows it.
        QScopedValueRollback guard(mRestoringOrder, true);
        mColumnHeader->moveSection(to, from);
    }
    const int row = currentGridRow();
    LayoutEdit::moveField(mDoc, logical + 1, to + 1);
    setCurrentCell(to + 1, qMax(1, row));
}

void GridView::rowMovedByUser(int logical, int from, int to)
{
    if (mRestoringOrder)
        return;
    {
        QScopedValueRollback guard(mRestoringOrder, true);
        mRowHeader->moveSection(to, from);
    }
    const int column = currentGridColumn();
    LayoutEdit::moveRecord(mDoc, logical + 1, to + 1);
    setCurrentCell(qMax(1, column), to + 1);
}

int GridView::nearestVisibleRow(int row, bool downFirst) const
{
    const RecordGrid &grid = db().grid();
    const int records = db().recordCount();
    const auto search = [&](int step) {
        for (int r = row; r >= 1 && r <= records; r += step) {
            if (!grid.isRowHidden(r))
                return r;
        }
        return 0;
    };
    const int first = search(downFirst ? 1 : -1);
    return first ? first : search(downFirst ? -1 : 1);
}

void GridView::leaveHiddenRow(bool downFirst)
{
    const int row = currentGridRow();
    if (row < 1 || !db().grid().isRowHidden(row))
        return;
    const int visible = nearestVisibleRow(row, downFirst);
    if (visible)
        setCurrentIndex(mModel->index(visible - 1, currentIndex().column()));
    else
        setCurrentIndex(QModelIndex());
}

void GridView::mousePressEvent(QMouseEvent *event)
{
    // A click on a check box makes its cell current before it toggles;
    // the box itself takes the press otherwise.
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid() && event->button() == Qt::LeftButton && index != currentIndex() &&
        !(event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)))
        setCurrentIndex(index);
    QTableView::mousePressEvent(event);
}

void GridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    if (current.isValid() && db().grid().isRowHidden(current.row() + 1)) {
        // Keys and clicks that land on a hidden record go on in the
        // direction they came from.
        const bool down = !previous.isValid() || previous.row() <= current.row();
        const int visible = nearestVisibleRow(current.row() + 1, down);
        setCurrentIndex(visible ? mModel->index(visible - 1, current.column()) : QModelIndex());
        return;
    }
    QTableView::currentChanged(current, previous);
    markCurrentCell();
}

void GridView::mouseDoubleClickEvent(QMouseEvent *event)
{
    QTableView::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    // Below the last record or right of the last field there is no cell.
    const bool onCell = indexAt(event->position().toPoint()).isValid();
    const int column = currentGridColumn();
    const int row = currentGridRow();
    if (!onCell || !GridHints::mayOpenCellEditor(db(), column, row)) {
        mFeedback.beep();
        return;
    }
    emit cellEditorRequested(column, row);
}

void GridView::restoreAfterHeaderClick(const QModelIndex &index)
{
    if (index.isValid() && !db().grid().isRowHidden(index.row() + 1))
        selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

QRect GridView::selectedBlock() const
{
    QRect block;
    if (selectionModel()) {
        for (const QItemSelectionRange &range : selectionModel()->selection())
            block |= QRect(QPoint(range.left() + 1, range.top() + 1),
                           QPoint(range.right() + 1, range.bottom() + 1));
    }
    if (block.isEmpty() && currentGridColumn() >= 1 && currentGridRow() >= 1)
        block = QRect(currentGridColumn(), currentGridRow(), 1, 1);
    return block;
}

bool GridView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == mCorner && mCorner)
        return cornerEvent(event);
    if (watched == mColumnHeader->viewport() && event->type() == QEvent::MouseButtonRelease) {
        QToolTip::hideText();
        mDoc.endMerge();
    }
    if ((watched == mColumnHeader->viewport() || watched == mRowHeader->viewport()) &&
        event->type() == QEvent::MouseButtonPress)
        mCellBeforeHeaderPress = {currentGridColumn(), currentGridRow()};
    if ((watched == mColumnHeader->viewport() || watched == mRowHeader->viewport()) &&
        event->type() == QEvent::MouseButtonDblClick) {
        // No editor opens on a header cell; nor is a column sized to its
        // contents by a double click on its border, which the header would
        // otherwise do.
        mFeedback.beep();
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool GridView::cornerEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Paint: {
        QPainter painter(mCorner);
        GridHeaderView::paintCell(&painter, mCorner->rect(), db().grid().cell(0, 0), false,
                                  mCorner->palette());
        return true;
    }
    case QEvent::ToolTip: {
        const auto *help = static_cast<QHelpEvent *>(event);
        QToolTip::showText(help->globalPos(), GridHints::cellHint(db(), 0, 0), mCorner);
        return true;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
        return true;
    default:
        return false;
    }
}
