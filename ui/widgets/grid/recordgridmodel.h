#pragma once

#include <QAbstractTableModel>

class CalculatedFields;
class Database;
class MessageService;
class RecordGrid;

/**
 * The record grid as a table model: records as rows and fields as columns,
 * read straight from the RecordGrid with no copy per cell. Row 0 of the grid
 * (the field names) and column 0 (the record numbers) are the headers.
 *
 * Built over a Database, the model is editable: a cell's text may be edited
 * and its check box toggled unless the field or the database is read-only.
 * Both go through CellEdit, which limits, stores, marks the database
 * changed and recomputes the row. The field names carry their hints as tool
 * tips. Built over a bare RecordGrid, it only shows.
 */
class RecordGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RecordGridModel(RecordGrid &grid, QObject *parent = nullptr);
    RecordGridModel(Database &db, CalculatedFields &calc, MessageService &messages,
                    QObject *parent = nullptr);

    /// Whether texts that read as numbers stand at the right of their cells.
    void setAutoRightJustify(bool on);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    bool mayEdit(int column, int row) const;

    RecordGrid &mGrid;
    Database *mDb = nullptr;
    CalculatedFields *mCalc = nullptr;
    MessageService *mMessages = nullptr;
    bool mAutoRightJustify = false;
};
