#pragma once

#include <QJsonObject>

class Database;
class QIODevice;

/**
 * The JSON image of a whole database, as the dump command prints it: one
 * object laid out as QJsonDocument's Indented form lays it out (keys in
 * alphabetical order, four spaces a level, UTF-8, a newline at the end).
 *
 * The records are written one cell at a time as they are read from the
 * grid, so the image of a large database is never held in memory; the rest
 * is small and goes through QJsonDocument.
 */
namespace JsonDump {

/// Every value of @p db but its records.
QJsonObject withoutRecords(const Database &db);

/// Writes the image of @p db to @p device, open for writing, in chunks;
/// false when the device refused bytes.
bool write(QIODevice &device, const Database &db);

} // namespace JsonDump
