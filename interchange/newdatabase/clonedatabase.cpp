#include "interchange/newdatabase/clonedatabase.h"

#include "core/document/database.h"
#include "interchange/newdatabase/newdatabaserules.h"

namespace {

constexpr int KeptNameCharacters = 23;

} // namespace

Database CloneDatabase(const Database &db, const QDateTime &now, const QString &folder)
{
    Database clone = db.copy();
    clone.setName(db.name().left(KeptNameCharacters) + QStringLiteral(" Clone"));
    clone.setDate(now);
    clone.setFilePath(NewDatabaseRules::fileNameFor(clone.name(), folder));
    RecordGrid &grid = clone.grid();
    if (grid.rowCount() > 2)
        grid.takeRows(2, grid.rowCount() - 2);
    for (int k = 1; k < grid.columnCount(); ++k)
        grid.setCell(k, 1, QString());
    grid.showAllRows();
    clone.setChanged(false);
    return clone;
}
