#pragma once

#include <QString>

class Database;
class QIODevice;

/**
 * The inverse of JsonDump: a database from its JSON image, for the load
 * command. Every value a file holds is taken within what the file can
 * keep and the reader gives back (docs/json-format.md has the table), so
 * that the image of any database read makes that database again, and the
 * writer lays out from it the bytes it lays out from the file's.
 *
 * The document is read as a stream (JsonReader): the records go into the
 * grid as each is read, in the form the file stores them, and nothing
 * else is kept but one record's texts and the values of the rest, so the
 * memory taken stays near the records' own. The first fault ends the
 * reading: a value of the wrong kind or out of its range, a key unknown or
 * given twice, a text with a character the file cannot hold.
 */
namespace JsonLoad {

/// Whether the document was taken, and if not the first fault, as
/// "$.fields[3].width: what is wrong".
struct Result
{
    bool ok = false;
    QString fault;
};

/// Reads the image from @p device (open for reading) into @p db, which is
/// reset first and has no password after it. After a fault @p db holds no
/// database worth writing.
Result read(QIODevice &device, Database &db);

} // namespace JsonLoad
