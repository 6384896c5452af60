#include "ui/rules/popupinsertion.h"

#include "core/database.h"
#include "core/recordgrid.h"
#include "ui/rules/celledit.h"

namespace PopupInsertion {

std::optional<QStringList> menuItems(const Database &db, int column)
{
    if (column < 1 || column > db.fieldCount())
        return std::nullopt;
    const FieldDef &def = db.field(column);
    if (def.type != FieldType::NormalPopup && def.type != FieldType::MultiplePopup)
        return std::nullopt;
    return def.popupItems;
}

bool insertItem(Database &db, CalculatedFields &calc, int column, int row, const QString &item)
{
    // A multiple popup's text is replaced too, not extended.
    return CellEdit::storeText(db, calc, column, row, item);
}

} // namespace PopupInsertion
