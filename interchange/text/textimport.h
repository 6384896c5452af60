#pragma once

#include "core/document/edit.h"

#include <QDateTime>
#include <QString>

#include <optional>

class Database;
class DelimitedText;
class Progress;

/**
 * What import and append make of a delimited text file once it has been
 * read and counted (DelimitedText): a new database, or the records to add
 * to the open one. Both report progress from 500 to 1000 permille and stop
 * with nothing when it is cancelled.
 */
namespace TextImport {

/// Where the imported text came from.
struct Source
{
    QString path;       ///< the file's full path
    QDateTime modified; ///< its last modification
    double widthScale;  ///< pixels per width unit of the program font
};

/**
 * Fills @p db as Import makes it: line 1 the field names, every further
 * line a record (at most 32000), M + 2 grid columns for the most
 * separators M (2 to 51), the fields beyond the last written into the last
 * one, a LF in a text preceded by a CR; every field a String of 90 pixels;
 * the name from the file name (the nine characters a file name cannot hold
 * become "_"), the date from the file, the path with ".pdb". False when
 * cancelled.
 */
bool build(const DelimitedText &text, const Source &source, Database &db, Progress &progress);

/// The database name of an imported file: its name without folder and
/// extension, the nine characters "*/:<>?\| replaced by "_".
QString databaseName(const QString &path);

/// Whether Append asks whether to cut: a line has more fields than the
/// database, or the records would pass 31999.
bool fitQuestionNeeded(const DelimitedText &text, const Database &db);

/**
 * The records Append adds to @p db: every line (the first too), as long as
 * the grid stays below 32000 rows; fields 1, 2 ... from the line, those
 * beyond the database's dropped, the texts as split (no LF conversion, no
 * defaults, no check boxes). Nothing when cancelled.
 */
std::optional<EditStep::InsertRecords> appendStep(const DelimitedText &text, const Database &db,
                                                  Progress &progress);

} // namespace TextImport
