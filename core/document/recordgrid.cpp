#include "core/document/recordgrid.h"

#include <algorithm>

RecordGrid::RecordGrid(QObject *parent) : QObject(parent)
{
}

void RecordGrid::resize(int columns, int rows)
{
    columns = qMax(columns, 0);
    rows = qMax(rows, 0);
    if (notifying())
        emit gridAboutToBeReset();
    mColumnCount = columns;
    mRows.assign(size_t(rows), Row{});
    for (Row &row : mRows) {
        row.cells.resize(size_t(columns));
        row.checkBoxes.resize(size_t(columns));
    }
    mColumnWidths.assign(size_t(columns), DefaultColumnWidth);
    if (notifying())
        emit gridReset();
}

const QString &RecordGrid::emptyText()
{
    static const QString kEmpty;
    return kEmpty;
}

void RecordGrid::setCell(int column, int row, const QString &text)
{
    if (!contains(column, row))
        return;
    mRows[size_t(row)].cells[size_t(column)] = text;
    if (notifying())
        emit cellChanged(column, row);
}

void RecordGrid::setRecordTexts(int row, std::vector<QString> &&texts)
{
    if (row < 0 || row >= rowCount())
        return;
    std::vector<QString> &cells = mRows[size_t(row)].cells;
    const size_t count = qMin(texts.size(), size_t(qMax(mColumnCount - 1, 0)));
    for (size_t i = 0; i < count; ++i)
        cells[i + 1] = std::move(texts[i]);
    if (notifying()) {
        for (size_t i = 0; i < count; ++i)
            emit cellChanged(int(i + 1), row);
    }
}

bool RecordGrid::hasCheckBox(int column, int row) const
{
    return contains(column, row) && mRows[size_t(row)].checkBoxes[size_t(column)];
}

void RecordGrid::setCheckBox(int column, int row, bool on)
{
    if (!contains(column, row))
        return;
    mRows[size_t(row)].checkBoxes[size_t(column)] = on;
    if (notifying())
        emit cellChanged(column, row);
}

void RecordGrid::removeCheckBoxes()
{
    if (notifying())
        emit gridAboutToBeReset();
    for (Row &row : mRows)
        std::fill(row.checkBoxes.begin(), row.checkBoxes.end(), false);
    if (notifying())
        emit gridReset();
}

int RecordGrid::columnWidth(int column) const
{
    if (column < 0 || column >= mColumnCount)
        return 0;
    return mColumnWidths[size_t(column)];
}

void RecordGrid::setColumnWidth(int column, int pixels)
{
    if (column < 0 || column >= mColumnCount)
        return;
    mColumnWidths[size_t(column)] = pixels;
    if (notifying())
        emit columnWidthChanged(column);
}

int RecordGrid::rowHeight(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    return mRows[size_t(row)].height;
}

void RecordGrid::setRowHeight(int row, int pixels)
{
    if (row < 0 || row >= rowCount())
        return;
    mRows[size_t(row)].height = pixels;
    if (notifying())
        emit rowHeightChanged(row);
}

void RecordGrid::showAllRows()
{
    beginUpdate();
    for (int row = 1; row < rowCount(); ++row)
        mRows[size_t(row)].height = VisibleRowHeight;
    endUpdate();
}

QString RecordGrid::recordNumberText(int row)
{
    return QStringLiteral("%1").arg(row, 4, 10, QLatin1Char('0'));
}

void RecordGrid::renumberRows()
{
    beginUpdate();
    for (int row = 1; row < rowCount(); ++row)
        setCell(0, row, recordNumberText(row));
    endUpdate();
}

void RecordGrid::beginUpdate()
{
    if (mUpdateDepth++ == 0)
        emit gridAboutToBeReset();
}

void RecordGrid::endUpdate()
{
    if (mUpdateDepth > 0 && --mUpdateDepth == 0)
        emit gridReset();
}

void RecordGrid::moveColumn(int from, int to)
{
    if (from == to || from < 1 || to < 1 || from >= mColumnCount || to >= mColumnCount)
        return;
    if (notifying())
        emit gridAboutToBeReset();
    const auto rotate = [from, to](auto &v) {
        if (from < to)
            std::rotate(v.begin() + from, v.begin() + from + 1, v.begin() + to + 1);
        else
            std::rotate(v.begin() + to, v.begin() + from, v.begin() + from + 1);
    };
    for (Row &row : mRows) {
        rotate(row.cells);
        rotate(row.checkBoxes);
    }
    rotate(mColumnWidths);
    if (notifying())
        emit gridReset();
}

void RecordGrid::moveRow(int from, int to)
{
    if (from == to || from < 1 || to < 1 || from >= rowCount() || to >= rowCount())
        return;
    if (notifying())
        emit gridAboutToBeReset();
    if (from < to)
        std::rotate(mRows.begin() + from, mRows.begin() + from + 1, mRows.begin() + to + 1);
    else
        std::rotate(mRows.begin() + to, mRows.begin() + from, mRows.begin() + from + 1);
    if (notifying())
        emit gridReset();
}
