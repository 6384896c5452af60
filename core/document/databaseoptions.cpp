#include "core/document/databaseoptions.h"

#include "core/document/database.h"

DatabaseOptions DatabaseOptions::of(const Database &db)
{
    DatabaseOptions o;
    o.name = db.name();
    o.flags = db.flags();
    o.readOnly = db.isReadOnly();
    o.autoSort = db.isAutoSort();
    o.dataWidth = db.dataWidth();
    o.firstUnlockedField = db.firstUnlockedField();
    o.filter = db.filter();
    return o;
}

void DatabaseOptions::applyTo(Database &db) const
{
    db.setName(name);
    db.setFlags(flags);
    db.setReadOnly(readOnly);
    db.setAutoSort(autoSort);
    db.setDataWidth(dataWidth);
    db.setFirstUnlockedField(firstUnlockedField);
    db.filter() = filter;
}
