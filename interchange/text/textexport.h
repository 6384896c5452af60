#pragma once

#include "interchange/text/textcodec.h"

#include <QString>

class Database;
class Progress;
class QIODevice;

/**
 * Export's writer: the field names and the visible records of a database
 * as delimited text.
 *
 * Each line is Q text Q S ... Q text Q CR LF, for S the file type's
 * separator and Q its quote (a double quote; none for tab files), the text
 * a cell's with every CR removed (a line break becomes LF). Inside a quoted
 * text a double quote is written as two, so that it reads back as one. A
 * tab file's text that holds a tab or begins with a double quote is
 * quoted all the same, since it would not read back otherwise. Records
 * hidden by a filter are left out; the record numbers are not written.
 */
namespace TextExport {

enum class Result
{
    Written,
    Cancelled,
    Failed, ///< the device refused bytes
};

/// Writes to @p device, open for writing; progress goes from 0 to 1000.
Result write(QIODevice &device, const Database &db, int fileType, TextEncoding encoding,
             Progress &progress);

/// One cell as written, without the separator.
QString fieldText(const QString &cell, int fileType);

} // namespace TextExport
