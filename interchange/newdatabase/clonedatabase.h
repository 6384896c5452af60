#pragma once

#include <QDateTime>
#include <QString>

class Database;

/**
 * Clone: a new database from the open one, without its records. Everything
 * stays (fields and their settings, flags, password, sort and filter
 * settings and lists, view position) but the name, which becomes its first
 * 23 characters and " Clone", the date, the file (built from the new name
 * in @p folder), and the records: one remains, the first, emptied and
 * shown. The result is not marked changed.
 */
Database CloneDatabase(const Database &db, const QDateTime &now, const QString &folder);
