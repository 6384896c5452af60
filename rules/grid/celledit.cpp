#include "rules/grid/celledit.h"

#include "core/document/document.h"
#include "rules/grid/gridhints.h"
#include "values/calc/calculatedfields.h"

namespace CellEdit {

bool storeText(Document &doc, const CalculatedFields &calc, int column, int row,
               const QString &text, const QString &label)
{
    if (!GridHints::mayEditCell(doc.database(), column, row))
        return false;
    EditStep::Cells cells;
    cells.changes.push_back({column, row, text});
    doc.apply(Edit::change(label, calc.withRecalculation(std::move(cells), true)));
    return true;
}

bool editInPlace(Document &doc, const CalculatedFields &calc, MessageService &messages, int column,
                 int row, const QString &text)
{
    const Database &db = doc.database();
    if (!GridHints::mayEditCell(db, column, row))
        return false;
    if (text == db.grid().cell(column, row))
        return true;
    return storeText(doc, calc, column, row, GridHints::limitEditedText(db, column, text, messages),
                     QStringLiteral("typing"));
}

bool setChecked(Document &doc, const CalculatedFields &calc, int column, int row, bool checked)
{
    if (!GridHints::mayEditCell(doc.database(), column, row))
        return false;
    EditStep::Cells cells;
    cells.changes.push_back({column, row, checked ? QStringLiteral("1") : QStringLiteral("0")});
    doc.apply(
        Edit::change(QStringLiteral("check box"), calc.withRecalculation(std::move(cells), false)));
    return true;
}

bool sumColumn(Document &doc, const CalculatedFields &calc, int column, int row)
{
    std::optional<EditStep::Cells> cells = calc.ColumnSum(column, row);
    if (!cells)
        return false;
    doc.apply(Edit::change(QStringLiteral("column sum"), std::move(*cells)));
    return true;
}

} // namespace CellEdit
