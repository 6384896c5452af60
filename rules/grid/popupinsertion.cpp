#include "rules/grid/popupinsertion.h"

#include "core/document/database.h"

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

} // namespace PopupInsertion
