#include "ui/widgets/grid/recordgridmodel.h"

#include "core/document/database.h"
#include "core/document/recordgrid.h"
#include "ui/rules/grid/celledit.h"
#include "ui/rules/grid/gridhints.h"
#include "values/calc/calculatedfields.h"
#include "values/numbers/numberformat.h"

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

RecordGridModel::RecordGridModel(Database &db, CalculatedFields &calc, MessageService &messages,
                                 QObject *parent)
    : RecordGridModel(db.grid(), parent)
{
    mDb = &db;
    mCalc = &calc;
    mMessages = &messages;
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
    case Qt::EditRole:
        if (mGrid.hasCheckBox(column, row))
            return {};
        return mGrid.cell(column, row);
    case Qt::CheckStateRole:
        if (!mGrid.hasCheckBox(column, row))
            return {};
        return mGrid.cell(column, row) == QLatin1String("1") ? Qt::Checked : Qt::Unchecked;
    case Qt::TextAlignmentRole: {
        const bool right = mAutoRightJustify && !mGrid.hasCheckBox(column, row) &&
                           ParseNumber(mGrid.cell(column, row)).ok;
        return int((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignTop);
    }
    default:
        return {};
    }
}

bool RecordGridModel::mayEdit(int column, int row) const
{
    return mDb && GridHints::mayEditCell(*mDb, column, row);
}

Qt::ItemFlags RecordGridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const int column = index.column() + 1;
    const int row = index.row() + 1;
    if (mayEdit(column, row))
        f |= mGrid.hasCheckBox(column, row) ? Qt::ItemIsUserCheckable : Qt::ItemIsEditable;
    return f;
}

bool RecordGridModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid())
        return false;
    const int column = index.column() + 1;
    const int row = index.row() + 1;
    if (!mDb)
        return false;
    const bool checkBox = mGrid.hasCheckBox(column, row);
    if (role == Qt::EditRole && !checkBox) {
        return CellEdit::editInPlace(*mDb, *mCalc, *mMessages, column, row, value.toString());
    }
    if (role == Qt::CheckStateRole && checkBox) {
        const bool checked = Qt::CheckState(value.toInt()) == Qt::Checked;
        return CellEdit::setChecked(*mDb, column, row, checked);
    }
    return false;
}

QVariant RecordGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    const int column = orientation == Qt::Horizontal ? section + 1 : 0;
    const int row = orientation == Qt::Horizontal ? 0 : section + 1;
    switch (role) {
    case Qt::DisplayRole:
        return mGrid.cell(column, row);
    case Qt::ToolTipRole: {
        if (!mDb)
            return {};
        const QString hint = GridHints::cellHint(*mDb, column, row);
        if (hint.isEmpty())
            return {};
        // Tool tips break lines at line feeds.
        return QString(hint).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    }
    default:
        return {};
    }
}
