#include "interchange/text/unmappablecells.h"

#include "core/document/database.h"
#include "core/format/codepage.h"

namespace UnmappableCells {

Found find(const Database &db)
{
    const RecordGrid &grid = db.grid();
    const int fields = db.fieldCount();
    Found found;
    QString text;
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (r > 0 && (grid.isRowHidden(r) || grid.storedTexts(r)))
            continue;
        for (int k = 1; k <= fields; ++k) {
            grid.cellInto(k, r, text);
            if (Codepage::canEncode(text))
                continue;
            if (found.cells++ == 0) {
                found.firstRow = r;
                found.firstColumn = k;
            }
        }
    }
    return found;
}

} // namespace UnmappableCells
