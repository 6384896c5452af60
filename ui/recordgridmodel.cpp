#include "ui/recordgridmodel.h"

#include "core/recordgrid.h"

RecordGridModel::RecordGridModel(RecordGrid &grid, QObject *parent)
    : QAbstractTableModel(parent), mGrid(grid)
{
    connect(&mGrid, &RecordGrid::gridAboutToBeReset, this, &RecordGridModel::beginResetModel);
    connect(&mGrid, &RecordGrid::gridReset, this, &RecordGridModel::endResetModel);
    connect(&mGrid, &RecordGrid::cellChanged, this, [this](int column, int row) {
        if (column == 0 || row == 0) {
            emit headerDataChanged(column == 0 ? Qt::Vertical : Qt::Horizontal,
                                   qMax(row, column) - 1, qMax(row, column) - 1);
            return;
        }
        const QModelIndex i = index(row - 1, column - 1);
        emit dataChanged(i, i);
    });
}

int RecordGridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mGrid.recordCount();
}

int RecordGridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : mGrid.fieldCount();
}

QVariant RecordGridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const int column = index.column() + 1;
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        if (mGrid.hasCheckBox(column, row))
            return {};
        return mGrid.cell(column, row);
    case Qt::CheckStateRole:
        if (!mGrid.hasCheckBox(column, row))
            return {};
        return mGrid.cell(column, row) == QLatin1String("1") ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole:
        return int(Qt::AlignLeft | Qt::AlignTop);
    default:
        return {};
    }
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Horizontal)
        return mGrid.cell(section + 1, 0);
    return mGrid.cell(0, section + 1);
}
