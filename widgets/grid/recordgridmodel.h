#pragma once

#include <QAbstractTableModel>

class CalculatedFields;
class Document;
class MessageService;

/**
 * The open database's record grid as a table model: records as rows and
 * fields as columns, read straight from the RecordGrid with no copy per
 * cell. Row 0 of the grid (the field names) and the record numbers, worked
 * out from the row, are the headers.
 *
 * Each change of the Document becomes the matching notification: changed
 * cells dataChanged, records inserted, removed and moved their row
 * notifications, a field moved a column move, a new order of records a
 * layout change with the persistent indexes carried along; only a replaced
 * database resets the model.
 *
 * A cell's text may be edited and its check box toggled unless the field or
 * the database is read-only; both go through CellEdit. The field names
 * carry their hints as tool tips.
 */
class RecordGridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    RecordGridModel(Document &doc, const CalculatedFields &calc, MessageService &messages,
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
    void connectDocument();
    void permute(const std::vector<int> &order);
    void cellsChanged(int firstColumn, int firstRow, int lastColumn, int lastRow);

    Document &mDoc;
    const CalculatedFields &mCalc;
    MessageService &mMessages;
    bool mAutoRightJustify = false;
};
