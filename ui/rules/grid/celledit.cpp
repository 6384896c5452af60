#include "ui/rules/grid/celledit.h"

#include "core/document/database.h"
#include "core/document/recordgrid.h"
#include "ui/rules/grid/gridhints.h"
#include "values/calc/calculatedfields.h"

namespace CellEdit {

bool storeText(Database &db, CalculatedFields &calc, int column, int row, const QString &text)
{
    if (!GridHints::mayEditCell(db, column, row))
        return false;
    db.grid().setCell(column, row, text);
    db.setChanged(true);
    calc.RecalculateRow(row);
    return true;
}

bool editInPlace(Database &db, CalculatedFields &calc, MessageService &messages, int column,
                 int row, const QString &text)
{
    if (!GridHints::mayEditCell(db, column, row))
        return false;
    if (text == db.grid().cell(column, row))
        return true;
    return storeText(db, calc, column, row, GridHints::limitEditedText(db, column, text, messages));
}

bool setChecked(Database &db, int column, int row, bool checked)
{
    if (!GridHints::mayEditCell(db, column, row))
        return false;
    const QString text = checked ? QStringLiteral("1") : QStringLiteral("0");
    if (text != db.grid().cell(column, row))
        db.grid().setCell(column, row, text);
    db.setChanged(true);
    return true;
}

} // namespace CellEdit
