#include "widgets/grid/recordgridmodel.h"

#include "core/document/document.h"
#include "core/document/recordgrid.h"
#include "numbers/numberformat.h"
#include "rules/grid/celledit.h"
#include "rules/grid/gridhints.h"
#include "values/calc/calculatedfields.h"

#include <QTextDocument>

RecordGridModel::RecordGridModel(Document &doc, const CalculatedFields &calc,
                                 MessageService &messages, QObject *parent)
    : QAbstractTableModel(parent), mDoc(doc), mCalc(calc), mMessages(messages)
{
    connectDocument();
}

void RecordGridModel::connectDocument()
{
    // Grid positions are model positions plus one.
    const QModelIndex root;
    connect(&mDoc, &Document::aboutToBeReplaced, this, &RecordGridModel::beginResetModel);
    connect(&mDoc, &Document::replaced, this, &RecordGridModel::endResetModel);
    connect(&mDoc, &Document::cellsChanged, this, &RecordGridModel::cellsChanged);
    connect(&mDoc, &Document::recordsAboutToBeInserted, this,
            [this, root](int position, int count) {
                beginInsertRows(root, position - 1, position + count - 2);
            });
    // Record numbers follow from the row: the header repaints its rows
    // after an insert, a removal or a move anyway, so no header change is
    // announced (which would make it measure 200 of its labels again).
    connect(&mDoc, &Document::recordsInserted, this, &RecordGridModel::endInsertRows);
    connect(&mDoc, &Document::recordsAboutToBeRemoved, this, [this, root](int position, int count) {
        beginRemoveRows(root, position - 1, position + count - 2);
    });
    connect(&mDoc, &Document::recordsRemoved, this, &RecordGridModel::endRemoveRows);
    connect(&mDoc, &Document::recordAboutToBeMoved, this, [this, root](int from, int to) {
        beginMoveRows(root, from - 1, from - 1, root, to > from ? to : to - 1);
    });
    connect(&mDoc, &Document::recordMoved, this, &RecordGridModel::endMoveRows);
    connect(&mDoc, &Document::recordsAboutToBePermuted, this,
            [this] { emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint); });
    connect(&mDoc, &Document::recordsPermuted, this, &RecordGridModel::permute);
    connect(&mDoc, &Document::fieldAboutToBeInserted, this,
            [this, root](int position) { beginInsertColumns(root, position - 1, position - 1); });
    connect(&mDoc, &Document::fieldInserted, this, &RecordGridModel::endInsertColumns);
    connect(&mDoc, &Document::fieldAboutToBeRemoved, this,
            [this, root](int position) { beginRemoveColumns(root, position - 1, position - 1); });
    connect(&mDoc, &Document::fieldRemoved, this, &RecordGridModel::endRemoveColumns);
    connect(&mDoc, &Document::fieldAboutToBeMoved, this, [this, root](int from, int to) {
        beginMoveColumns(root, from - 1, from - 1, root, to > from ? to : to - 1);
    });
    connect(&mDoc, &Document::fieldMoved, this, &RecordGridModel::endMoveColumns);
    connect(&mDoc, &Document::fieldDefsChanged, this, [this](int first, int last) {
        // Types and protection decide check boxes, alignment and flags.
        const int columns = columnCount();
        first = qMax(first, 1);
        last = qMin(last, columns);
        if (first > last || rowCount() == 0)
            return;
        emit dataChanged(index(0, first - 1), index(rowCount() - 1, last - 1));
        emit headerDataChanged(Qt::Horizontal, first - 1, last - 1);
    });
}

void RecordGridModel::cellsChanged(int firstColumn, int firstRow, int lastColumn, int lastRow)
{
    if (firstRow == 0)
        emit headerDataChanged(Qt::Horizontal, firstColumn - 1, lastColumn - 1);
    if (lastRow >= 1)
        emit dataChanged(index(qMax(firstRow, 1) - 1, firstColumn - 1),
                         index(lastRow - 1, lastColumn - 1));
}

void RecordGridModel::permute(const std::vector<int> &order)
{
    // order[new - 1] is the old record: persistent indexes go from old to new.
    std::vector<int> newRow(order.size());
    for (size_t i = 0; i < order.size(); ++i)
        newRow[size_t(order[i] - 1)] = int(i);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex &i : from)
        to.append(index(newRow[size_t(i.row())], i.column()));
    changePersistentIndexList(from, to);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void RecordGridModel::setAutoRightJustify(bool on)
{
    if (on == mAutoRightJustify)
        return;
    mAutoRightJustify = on;
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1),
                         {Qt::TextAlignmentRole});
}

int RecordGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mDoc.database().recordCount();
}

int RecordGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mDoc.database().fieldCount();
}

QVariant RecordGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const RecordGrid &grid = mDoc.database().grid();
    const int column = index.column() + 1;
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (grid.hasCheckBox(column, row))
            return {};
        return grid.cell(column, row);
    case Qt::CheckStateRole:
        if (!grid.hasCheckBox(column, row))
            return {};
        return grid.cell(column, row) == QLatin1String("1") ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole: {
        const bool right = mAutoRightJustify && !grid.hasCheckBox(column, row) &&
                           ParseNumber(grid.cell(column, row)).ok;
        // Centred in the row like the record number beside it, so that the
        // texts of a row share one baseline.
        return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::ToolTipRole: {
        // A text of several lines shows whole in its tip; the row shows
        // its first line.
        const QString text = grid.cell(column, row);
        if (!text.contains(QLatin1Char('\n')) || grid.hasCheckBox(column, row))
            return {};
        return Qt::convertFromPlainText(QString(text).remove(QLatin1Char('\r')), Qt::WhiteSpacePre);
    }
    default:
        return {};
    }
}

Qt::ItemFlags RecordGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int column = index.column() + 1;
    const int row = index.row() + 1;
    const Database &db = mDoc.database();
    if (GridHints::mayEditCell(db, column, row))
        f |= db.grid().hasCheckBox(column, row) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return f;
}

bool RecordGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid())
        return false;
    const int column = index.column() + 1;
    const int row = index.row() + 1;
    const bool checkBox = mDoc.database().grid().hasCheckBox(column, row);
    if (role == Qt::EditRole && !checkBox)
        return CellEdit::editInPlace(mDoc, mCalc, mMessages, column, row, value.toString());
    if (role == Qt::CheckStateRole && checkBox) {
        const bool checked = Qt::CheckState(value.toInt()) == Qt::Checked;
        return CellEdit::setChecked(mDoc, mCalc, column, row, checked);
    }
    return false;
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const Database &db = mDoc.database();
    const int column = orientation == Qt::Horizontal ? section + 1 : 0;
    const int row = orientation == Qt::Horizontal ? 0 : section + 1;
    switch (role) {
    case Qt::DisplayRole:
        if (orientation == Qt::Vertical)
            return RecordGrid::recordNumberText(row);
        return db.grid().cell(column, row);
    case Qt::ToolTipRole: {
        const QString hint = GridHints::cellHint(db, column, row);
        if (hint.isEmpty())
            return {};
        // Tool tips break lines at line feeds.
        return QString(hint).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    default:
        return {};
    }
}
