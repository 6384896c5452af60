#include "rules/grid/gridhints.h"

#include "core/document/database.h"
#include "core/document/fieldtype.h"
#include "core/document/recordgrid.h"
#include "core/platform/messageservice.h"
#include "numbers/numberformat.h"

namespace {

const QChar LineBreak = u'\r';

bool isField(const Database &db, int column)
{
    return column >= 1 && column <= db.fieldCount();
}

/// The type names as the hints write them; they differ in places from the
/// type lists.
QString typeHintName(int type)
{
    switch (type) {
    case FieldType::String:
        return QStringLiteral("String");
    case FieldType::Boolean:
        return QStringLiteral("Boolean");
    case FieldType::NormalDate:
        return QStringLiteral("Normal Date");
    case FieldType::CreationDate:
        return QStringLiteral("Creation Date");
    case FieldType::ModificationDate:
        return QStringLiteral("Modification Date");
    case FieldType::NormalTime:
        return QStringLiteral("Normal Time");
    case FieldType::CreationTime:
        return QStringLiteral("Creation Time");
    case FieldType::ModificationTime:
        return QStringLiteral("Modification Time");
    case FieldType::NormalPopup:
        return QStringLiteral("Normal Popup");
    case FieldType::MultiplePopup:
        return QStringLiteral("Multiple Popup");
    case FieldType::NormalInteger:
        return QStringLiteral("Normal Integer");
    case FieldType::AutoIncrementInteger:
        return QStringLiteral("Auto-increment Integer");
    case FieldType::Float:
        return QStringLiteral("Float");
    case FieldType::CalcFieldOpField:
        return QStringLiteral("Calc  <field><op><field>");
    case FieldType::CalcValueOpField:
        return QStringLiteral("Calc  <value><op><field>");
    case FieldType::CalcFieldOpValue:
        return QStringLiteral("Calc  <field><op><value>");
    default:
        return {};
    }
}

QString booleanCounts(const RecordGrid &grid, int column)
{
    int checked = 0;
    int unchecked = 0;
    for (int row = 1; row < grid.rowCount(); ++row) {
        if (grid.isRowHidden(row))
            continue;
        const QString &text = grid.cell(column, row);
        if (text == QLatin1String("1"))
            ++checked;
        else if (text == QLatin1String("0"))
            ++unchecked;
    }
    return QStringLiteral("Checked: ") + QString::number(checked) +
           QStringLiteral("   Unchecked: ") + QString::number(unchecked);
}

} // namespace

QString GridHints::cellHint(const Database &db, int column, int row, const NumberSeparators &sep)
{
    if (row != 0)
        return {};
    if (column == 0)
        return recordCountHint(db.grid());
    return fieldHint(db, column, sep);
}

QString GridHints::recordCountHint(const RecordGrid &grid)
{
    int visible = 0;
    for (int row = 1; row < grid.rowCount(); ++row) {
        if (!grid.isRowHidden(row))
            ++visible;
    }
    return QString::number(visible) +
           (visible > 1 ? QStringLiteral(" Records") : QStringLiteral(" Record"));
}

QString GridHints::fieldHint(const Database &db, int column, const NumberSeparators &sep)
{
    if (!isField(db, column))
        return {};
    const FieldDef &def = db.field(column);
    QString hint = typeHintName(def.type);
    switch (def.type) {
    case FieldType::Boolean:
        hint += LineBreak + booleanCounts(db.grid(), column);
        break;
    case FieldType::NormalPopup:
    case FieldType::MultiplePopup:
        hint += LineBreak + QString::number(def.popupItems.size()) + QStringLiteral(" Item(s)");
        break;
    case FieldType::NormalInteger:
    case FieldType::AutoIncrementInteger:
    case FieldType::Float:
        hint += LineBreak + columnStatistics(db.grid(), column, sep);
        break;
    default:
        break;
    }
    if (def.isReadOnly())
        hint += LineBreak + QStringLiteral("Read only");
    return hint;
}

QString GridHints::columnStatistics(const RecordGrid &grid, int column, const NumberSeparators &sep)
{
    double sum = 0.0;
    int visible = 0;
    for (int row = 1; row < grid.rowCount(); ++row) {
        if (grid.isRowHidden(row))
            continue;
        ++visible;
        const ParsedNumber n = ParseNumber(grid.cell(column, row), sep);
        if (n.ok)
            sum += n.value;
    }
    QString text = QStringLiteral("Total: ") + FormatNumber(0, sum, sep);
    if (visible > 0)
        text += LineBreak + QStringLiteral("Average: ") + FormatNumber(0, sum / visible, sep);
    return text;
}

bool GridHints::mayEditCell(const Database &db, int column, int row)
{
    if (!isField(db, column) || row < 1 || row > db.recordCount())
        return false;
    return !db.isReadOnly() && !db.field(column).isReadOnly();
}

bool GridHints::mayOpenCellEditor(const Database &db, int column, int row)
{
    return mayEditCell(db, column, row) && db.field(column).type != FieldType::Boolean;
}

QString GridHints::limitEditedText(const Database &db, int column, const QString &text,
                                   MessageService &messages)
{
    if (!isField(db, column) || text.size() <= ShortTextLimit)
        return text;
    const FieldDef &def = db.field(column);
    if (def.type != FieldType::String || def.setting1 != 1)
        return text;
    messages.show(shortenedTextMessage());
    return text.left(ShortTextLimit);
}

Message GridHints::shortenedTextMessage()
{
    return {QStringLiteral("Information"),
            MessageIcon::Error,
            {QStringLiteral("The 250 character limitation made for some other PC/Mac side "
                            "application is enabled and the text is shorten."),
             QStringLiteral("This setting is unnecessary in Quillgrid and you need not worry "
                            "about to disable it. [see Menu->Edit->Properties->Field]!")},
            MessageButton::Ok};
}
