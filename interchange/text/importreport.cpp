#include "interchange/text/importreport.h"

#include "core/document/limits.h"

namespace {

QString n(qint64 value)
{
    return QString::number(value);
}

/// "1 record", "2 records".
QString counted(qint64 value, const char *one, const char *many)
{
    return n(value) + QLatin1Char(' ') + QLatin1String(value == 1 ? one : many);
}

/// " (7 lines in all)" when it happened more than once.
QString inAll(const DelimitedText::Mark &mark, const QString &what)
{
    if (mark.count < 2)
        return QStringLiteral(".");
    return QStringLiteral(" (%1 %2 in all).").arg(n(mark.count), what);
}

QString lines(const DelimitedText::Mark &mark)
{
    return inAll(mark, QStringLiteral("lines"));
}

/// What the message after the command tells.
DelimitedText::Notes told(const DelimitedText::Result &read)
{
    DelimitedText::Notes notes = read.notes;
    if (!DelimitedText::formatQuestionNeeded(read.count))
        notes.joinedLines = {};
    return notes;
}

} // namespace

namespace ImportReport {

QStringList noteLines(const DelimitedText::Notes &notes, Kind kind, int fields)
{
    QStringList out;
    if (notes.unreadLine > 0) {
        out << QStringLiteral("Line %1 and the lines after it were not read: a database holds "
                              "at most %2 records.")
                   .arg(n(notes.unreadLine), n(Limits::MaxRecords));
    }
    if (const auto &m = notes.quoteLeftOpen; m.count > 0) {
        out << QStringLiteral("Line %1 opens a quoted text (a double quote) that is never closed: "
                              "the line was ended at its own line break without its last field, "
                              "and the lines after it were read as they stand")
                       .arg(n(m.line)) +
                   lines(m);
    }
    if (const auto &m = notes.endedInQuotes; m.count > 0) {
        out << QStringLiteral("Line %1 ends inside a quoted text (a double quote that is not "
                              "closed): its last field was left out")
                       .arg(n(m.line)) +
                   lines(m);
    }
    if (const auto &m = notes.joinedLines; m.count > 0) {
        out << QStringLiteral("Line %1 holds a line feed without a carriage return, which does "
                              "not end a line in a file of CR line ends: the lines it joins "
                              "were read as one")
                       .arg(n(m.line)) +
                   lines(m);
    }
    if (const auto &m = notes.widerLines; m.count > 0) {
        if (kind == Kind::Import) {
            out << QStringLiteral("Line %1 has more than %2 fields: the fields from the %2th on "
                                  "were written into field %2, the last one kept")
                           .arg(n(m.line), n(fields)) +
                       lines(m);
        } else {
            out << QStringLiteral("Line %1 has more fields than the database's %2: the fields "
                                  "after them were left out")
                           .arg(n(m.line), n(fields)) +
                       lines(m);
        }
    }
    if (const auto &m = notes.textsCut; m.count > 0) {
        out << QStringLiteral("Line %1, field %2: a text of more than %3 characters was cut "
                              "to %3")
                       .arg(n(m.line), n(m.field), n(Limits::MaxCellText)) +
                   inAll(m, QStringLiteral("texts"));
    }
    if (const auto &m = notes.nulBytes; m.count > 0) {
        out << QStringLiteral("Line %1: %2 left out of the texts, which cannot hold them (the "
                              "first here).")
                   .arg(n(m.line), counted(m.count, "NUL byte was", "NUL bytes were"));
    }
    if (const auto &m = notes.notUtf8; m.count > 0) {
        out << QStringLiteral("Line %1: %2 not UTF-8 and read as \u201C\uFFFD\u201D (the first "
                              "here).")
                   .arg(n(m.line), counted(m.count, "byte is", "bytes are"));
    }
    if (notes.ctrlZLine > 0) {
        out << QStringLiteral("The file ends at the Ctrl-Z character in line %1: what follows "
                              "it was not read.")
                   .arg(n(notes.ctrlZLine));
    }
    return out;
}

QStringList formatQuestion(const DelimitedText::Notes &notes, Kind kind, int fields)
{
    return QStringList{QStringLiteral("If there is an incorrect import format please try  to "
                                      "change the file type in the import dialog.")}
           << noteLines(notes, kind, fields) << QStringLiteral("Continue?");
}

QStringList afterImport(const DelimitedText::Result &read, const QString &fileName, int records,
                        int fields)
{
    const DelimitedText::Notes notes = told(read);
    if (!notes.any())
        return {};
    return QStringList{QStringLiteral("%1 of %2 were imported from %3; not everything in it "
                                      "was taken as it stands:")
                           .arg(counted(records, "record", "records"),
                                counted(fields, "field", "fields"), fileName)}
           << noteLines(notes, Kind::Import, Limits::MaxFields);
}

QStringList afterAppend(const DelimitedText::Result &read, const DelimitedText::Mark &unappended,
                        const QString &fileName, int records, int fields)
{
    const DelimitedText::Notes notes = told(read);
    if (!notes.any() && unappended.count == 0)
        return {};
    QStringList out{QStringLiteral("%1 appended from %2; not everything in it was taken as "
                                   "it stands:")
                        .arg(counted(records, "record was", "records were"), fileName)};
    if (unappended.count > 0) {
        out << QStringLiteral("Line %1 and the lines after it (%2 in all) were not appended: the "
                              "database holds at most %3 records.")
                   .arg(n(unappended.line), counted(unappended.count, "line", "lines"),
                        n(Limits::MaxRecords - 1));
    }
    return out << noteLines(notes, Kind::Append, fields);
}

QStringList lineTooLong(const QString &fileName, qint64 line, Kind kind)
{
    return {QStringLiteral("Line %1 of %2 has more than %3 bytes without a line end, more than "
                           "a record of %4 fields of %5 characters can take.")
                .arg(n(line), fileName, n(DelimitedText::MaxLineBytes), n(Limits::MaxFields),
                     n(Limits::MaxCellText)),
            kind == Kind::Import ? QStringLiteral("Nothing was imported.")
                                 : QStringLiteral("Nothing was appended.")};
}

} // namespace ImportReport
