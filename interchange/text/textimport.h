#pragma once

#include "core/document/edit.h"
#include "core/document/recordgrid.h"
#include "interchange/text/delimitedtext.h"

#include <QDateTime>
#include <QString>

#include <vector>

class Database;
class Progress;
class QIODevice;

/**
 * What import and append make of a delimited text file: each line read
 * (DelimitedText) becomes a record at once, its texts kept as the file
 * stores them, so that the text is never held whole; the database, or the
 * records to add to the open one, are put together once the reading is
 * done and its questions answered.
 */
namespace TextImport {

/// Where the imported text came from.
struct Source
{
    QString path;       ///< the file's full path
    QDateTime modified; ///< its last modification
    double widthScale;  ///< pixels per width unit of the program font
};

/// A text read for Import.
struct ImportText
{
    DelimitedText::Result read;
    std::vector<QString> names;           ///< the fields of line 1
    std::vector<RecordGrid::Row> records; ///< lines 2.. (at most 32000), their texts made
};

/// Reads @p device for Import: every field past the 50th is written into
/// the 50th (the last one wins), a LF in a text is the grid's CR LF.
ImportText readForImport(QIODevice &device, int fileType, TextEncoding encoding,
                         Progress &progress);

/**
 * Fills @p db as Import makes it: line 1 the field names, every further
 * line a record, M + 2 grid columns for the most separators M (2 to 51);
 * every field a String of 90 pixels; the name from the file name (the nine
 * characters a file name cannot hold become "_"), the date from the file,
 * the path with ".pdb".
 */
void build(ImportText &&text, const Source &source, Database &db);

/// The database name of an imported file: its name without folder and
/// extension, the nine characters "*/:<>?\| replaced by "_".
QString databaseName(const QString &path);

/// A text read for Append.
struct AppendText
{
    DelimitedText::Result read;
    std::vector<RecordGrid::Row> records; ///< the lines that fit, their texts made
    DelimitedText::Mark unappended;       ///< lines read that found no room
};

/**
 * Reads @p device for Append to @p db: every line (the first too) a
 * record, as long as the grid stays below 32000 rows; fields 1, 2 ... from
 * the line, those beyond the database's left out, the texts as split (no
 * LF conversion, no defaults, no check boxes).
 */
AppendText readForAppend(QIODevice &device, int fileType, TextEncoding encoding, const Database &db,
                         Progress &progress);

/// Whether Append asks whether to cut: a line has more fields than the
/// database, or the records would pass 31999.
bool fitQuestionNeeded(const DelimitedText::Count &count, const Database &db);

/// The step that adds the records of @p text at the end of @p db.
EditStep::InsertRecords appendStep(AppendText &&text, const Database &db);

} // namespace TextImport
