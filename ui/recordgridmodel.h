#pragma once

#include <QAbstractTableModel>

class RecordGrid;

/**
 * The record grid as a table model: records as rows and fields as columns,
 * read straight from the RecordGrid with no copy per cell. Row 0 of the grid
 * (the field names) and column 0 (the record numbers) are the headers.
 */
class RecordGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RecordGridModel(RecordGrid &grid, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    RecordGrid &mGrid;
};
