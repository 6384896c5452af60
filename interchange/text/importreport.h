#pragma once

#include "interchange/text/delimitedtext.h"

#include <QStringList>

/**
 * What import and append tell the user about a text they did not take
 * exactly as it stands: lines not read, quoted texts left open, lines
 * joined or cut, texts cut, bytes left out. Lines are named as a text
 * editor counts them.
 */
namespace ImportReport {

enum class Kind
{
    Import,
    Append,
};

/// One line for each thing @p notes counts; @p fields, the fields a line
/// keeps.
QStringList noteLines(const DelimitedText::Notes &notes, Kind kind, int fields);

/// The format question: its two lines with the notes between them.
QStringList formatQuestion(const DelimitedText::Notes &notes, Kind kind, int fields);

/// The message after an import of @p records records of @p fields fields
/// from @p fileName; empty when the text was taken as it stands. A LF that
/// does not end a line is named only in a file that asks the format
/// question: in a regular file it is a text's line break.
QStringList afterImport(const DelimitedText::Result &read, const QString &fileName, int records,
                        int fields);

/// The message after an append of @p records records from @p fileName to
/// a database of @p fields fields; @p unappended, the lines that found no
/// room. Empty when the text was taken as it stands.
QStringList afterAppend(const DelimitedText::Result &read, const DelimitedText::Mark &unappended,
                        const QString &fileName, int records, int fields);

/// The message when reading stopped at an overlong line.
QStringList lineTooLong(const QString &fileName, qint64 line, Kind kind);

} // namespace ImportReport
