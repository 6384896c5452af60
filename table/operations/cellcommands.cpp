#include "table/operations/cellcommands.h"

#include "core/document/document.h"
#include "core/document/limits.h"
#include "core/platform/clipboard.h"
#include "core/platform/messageservice.h"
#include "table/operations/clipboardtext.h"
#include "table/operations/confirmation.h"
#include "values/calc/calculatedfields.h"

void CellCommands::applyCells(const QString &label, std::vector<std::pair<QPoint, QString>> cells,
                              bool stamps)
{
    EditStep::Cells step;
    step.changes.reserve(cells.size());
    for (auto &[cell, text] : cells)
        step.changes.push_back({cell.x(), cell.y(), std::move(text)});
    mS.doc.apply(Edit::change(label, mS.calc.withRecalculation(std::move(step), stamps)));
}

void CellCommands::CopyCell(int column, int row)
{
    mS.clipboard.setText(mS.doc.database().grid().cell(column, row));
}

void CellCommands::CutCell(int column, int row)
{
    CopyCell(column, row);
    applyCells(QStringLiteral("cut cell"), {{QPoint(column, row), QString()}}, true);
}

void CellCommands::PasteCell(int column, int row)
{
    applyCells(QStringLiteral("paste cell"), {{QPoint(column, row), mS.clipboard.text()}}, true);
}

void CellCommands::CopyRow(int row)
{
    mS.clipboard.setText(ClipboardText::CopyRecordText(mS.doc.database().grid(), row));
}

bool CellCommands::CutRow(int row, bool expertMode)
{
    if (!confirmUnlessExpert(mS.messages, QStringLiteral("Do you want to cut the selected row?"),
                             expertMode))
        return false;
    CopyRow(row);
    std::vector<std::pair<QPoint, QString>> cells;
    for (int column = 1; column <= mS.doc.database().fieldCount(); ++column)
        cells.emplace_back(QPoint(column, row), QString());
    applyCells(QStringLiteral("cut row"), std::move(cells), false);
    return true;
}

bool CellCommands::PasteRow(int row, bool expertMode)
{
    if (!confirmUnlessExpert(
            mS.messages, QStringLiteral("Do you want to overwrite the selected row?"), expertMode))
        return false;
    std::vector<QString> texts =
        ClipboardText::PasteRecordText(mS.clipboard.text(), mS.doc.database().fieldCount());
    std::vector<std::pair<QPoint, QString>> cells;
    for (size_t i = 0; i < texts.size(); ++i)
        cells.emplace_back(QPoint(int(i) + 1, row), std::move(texts[i]));
    applyCells(QStringLiteral("paste row"), std::move(cells), false);
    return true;
}

int CellCommands::Fill(Direction direction, int column, int row)
{
    const Database &db = mS.doc.database();
    const QString text = db.grid().cell(column, row);
    std::vector<std::pair<QPoint, QString>> cells;
    const auto add = [&](int c, int r) { cells.emplace_back(QPoint(c, r), text); };
    switch (direction) {
    case Direction::Up:
        for (int r = row - 1; r >= 1; --r)
            add(column, r);
        break;
    case Direction::Down:
        for (int r = row + 1; r <= db.recordCount(); ++r)
            add(column, r);
        break;
    case Direction::Left:
        for (int c = column - 1; c >= 1; --c)
            add(c, row);
        break;
    case Direction::Right:
        for (int c = column + 1; c <= db.fieldCount(); ++c)
            add(c, row);
        break;
    }
    static const char *const kLabels[] = {"fill up", "fill down", "fill left", "fill right"};
    const int filled = int(cells.size());
    applyCells(QString::fromLatin1(kLabels[int(direction)]), std::move(cells), false);
    return filled;
}

bool CellCommands::blockMayWrite(int column) const
{
    const FieldDef &def = mS.doc.database().field(column);
    return !FieldType::isCalculated(def.type) && !def.isReadOnly();
}

void CellCommands::CopyBlock(const QRect &block)
{
    const RecordGrid &grid = mS.doc.database().grid();
    ClipboardText::Block lines;
    for (int row = block.top(); row <= block.bottom(); ++row) {
        if (grid.isRowHidden(row))
            continue;
        std::vector<QString> &line = lines.emplace_back();
        for (int column = block.left(); column <= block.right(); ++column)
            line.push_back(grid.cell(column, row));
    }
    mS.clipboard.setText(ClipboardText::blockText(lines));
}

QRect CellCommands::PasteBlock(int column, int row)
{
    const Database &db = mS.doc.database();
    const ClipboardText::Block lines = ClipboardText::parseBlock(mS.clipboard.text());
    // Where each line goes: the visible records from the current one on,
    // then new records at the end as far as the handheld's limit allows.
    std::vector<int> targets;
    int r = row;
    int newRecords = 0;
    int linesLeftOut = 0;
    int columnsLeftOut = 0;
    for (const std::vector<QString> &line : lines) {
        while (r <= db.recordCount() && db.grid().isRowHidden(r))
            ++r;
        if (r > db.recordCount() + newRecords) {
            if (db.recordCount() + newRecords >= Limits::MaxRecords) {
                ++linesLeftOut;
                continue;
            }
            ++newRecords;
        }
        targets.push_back(r++);
        columnsLeftOut = qMax(columnsLeftOut, column + int(line.size()) - 1 - db.fieldCount());
    }
    std::vector<std::pair<QPoint, QString>> cells;
    QRect written;
    for (size_t l = 0; l < targets.size(); ++l) {
        const std::vector<QString> &line = lines[l];
        for (size_t i = 0; i < line.size() && column + int(i) <= db.fieldCount(); ++i) {
            const int c = column + int(i);
            if (blockMayWrite(c))
                cells.emplace_back(QPoint(c, targets[l]), line[i]);
            written |= QRect(c, targets[l], 1, 1);
        }
    }
    if (!cells.empty()) {
        // New records are made as Append Row makes them, each after the one
        // before, and go in in one step of the paste's edit.
        bool first = true;
        if (newRecords > 0) {
            const int position = db.recordCount() + 1;
            CalculatedFields::NewRecords made = mS.calc.InitialiseRecords(position, newRecords);
            Edit edit = Edit::change(QStringLiteral("paste"),
                                     EditStep::InsertRecords{position, std::move(made.rows)});
            if (!made.counters.defs.empty())
                edit.steps.emplace_back(std::move(made.counters));
            mS.doc.apply(std::move(edit));
            first = false;
        }
        EditStep::Cells step;
        step.changes.reserve(cells.size());
        for (auto &[cell, text] : cells)
            step.changes.push_back({cell.x(), cell.y(), std::move(text)});
        Edit edit = Edit::change(QStringLiteral("paste"),
                                 mS.calc.withRecalculation(std::move(step), false));
        if (first)
            mS.doc.apply(std::move(edit));
        else
            mS.doc.applyJoined(std::move(edit));
    }
    if (linesLeftOut > 0 || columnsLeftOut > 0)
        mS.messages.show(leftOutMessage(linesLeftOut, columnsLeftOut));
    return written;
}

Message CellCommands::leftOutMessage(int lines, int columns)
{
    const auto count = [](int n, const char *one, const char *many) {
        return n == 1 ? QStringLiteral("1 ") + QLatin1String(one)
                      : QString::number(n) + QLatin1Char(' ') + QLatin1String(many);
    };
    QString what;
    if (lines > 0)
        what = count(lines, "line", "lines");
    if (columns > 0)
        what += (what.isEmpty() ? QString() : QStringLiteral(" and ")) +
                count(columns, "column", "columns");
    QStringList reasons;
    if (columns > 0)
        reasons << QStringLiteral("past the last field");
    if (lines > 0)
        reasons << QStringLiteral("past the %1 records a database holds").arg(Limits::MaxRecords);
    return {QStringLiteral("Paste"),
            MessageIcon::Warning,
            {what + QStringLiteral(" of the pasted block did not fit (") +
             reasons.join(QStringLiteral(", ")) +
             (lines + columns == 1 ? QStringLiteral(") and was left out.")
                                   : QStringLiteral(") and were left out."))},
            MessageButton::Ok};
}

bool CellCommands::ClearBlock(const QRect &block)
{
    const Database &db = mS.doc.database();
    std::vector<std::pair<QPoint, QString>> cells;
    for (int r = qMax(block.top(), 1); r <= qMin(block.bottom(), db.recordCount()); ++r) {
        if (db.grid().isRowHidden(r))
            continue;
        for (int c = qMax(block.left(), 1); c <= qMin(block.right(), db.fieldCount()); ++c) {
            if (blockMayWrite(c) && !db.grid().cell(c, r).isEmpty())
                cells.emplace_back(QPoint(c, r), QString());
        }
    }
    if (cells.empty())
        return false;
    applyCells(QStringLiteral("delete"), std::move(cells), false);
    return true;
}
