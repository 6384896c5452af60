#pragma once

#include "core/document/limits.h"
#include "interchange/text/textcodec.h"

#include <QByteArrayView>
#include <QString>

#include <vector>

class Progress;
class QIODevice;

/**
 * The reader of delimited text files for import and append: the bytes are
 * read as a stream, cut into lines and each line into fields, and every
 * line is handed on at once with the texts of the fields a database keeps,
 * as a record stores them. Nothing of a line is kept once it has been
 * handed on, and no text is made of a field past those kept: what the
 * reader holds is bounded by the longest line.
 *
 * Lines: a Ctrl-Z (26) ends the file. When the first line end outside a
 * quoted text is a CR (as Windows programs write them), a line ends at a
 * CR, a LF right after it goes with it and any other LF stays in the line.
 * When it is a LF alone (as most programs outside Windows write them), a
 * CR, a CR LF or a LF outside a quoted text ends a line and one inside
 * stays in the text. A line end at the very end of the file starts no
 * further line.
 *
 * Fields: a double quote at the start of a field opens a quoted text, in
 * which separators (and, in a file of LF line ends, line breaks) are text,
 * two double quotes stand for one, and a lone double quote closes it (what
 * follows up to the separator is added as it is). A double quote anywhere
 * else is an ordinary character. A line that ends inside a quoted text
 * loses that last field. In a file of LF line ends, a quoted text that is
 * not closed by the end of the file, or within the longest line, ends at
 * its first line break: the line ends there, without its last field, and
 * the lines after it are read as they stand.
 *
 * Encoding: Windows-1252, or UTF-8 when the file begins with the UTF-8
 * byte-order mark, or, read as Auto, when every byte sequence up to the end
 * (or the Ctrl-Z) is valid UTF-8 and one of them has several bytes. A file
 * that looked like UTF-8 until a sequence that is not is read again from
 * the start as Windows-1252 (a regular file is read again; of a pipe, the
 * first 64 MiB are kept for it, and past them the file stays UTF-8).
 *
 * Bounds, from what a database can hold: a line may have at most
 * MaxLineBytes bytes, and MaxLines lines are read. A longer line stops the
 * reading with nothing taken; past the last line read, the reading stops
 * and says where.
 *
 * Texts: NUL bytes are left out (a record ends a text with one); a text is
 * cut after Limits::MaxCellText characters, as the file stores them (a line
 * break one character). Everything that was not taken as it stands is
 * counted in Notes, with the line where it first happened.
 */
class DelimitedText
{
public:
    /// The longest line read: a record's 50 fields of 4,000 characters,
    /// each character up to three bytes in UTF-8 (a double quote two),
    /// with two quotes and a separator per field, take 600,150 bytes; the
    /// rest is the margin for spaces and empty fields past the 50.
    static constexpr qsizetype MaxLineBytes = 1024 * 1024;
    /// The field names and 32,000 records.
    static constexpr qint64 MaxLines = Limits::MaxRecords + 1;

    struct Settings
    {
        char separator = ',';
        TextEncoding encoding = TextEncoding::Auto;
        /// The fields of a line that are made into texts.
        int keptFields = Limits::MaxFields;
        /// Import: every field past the last kept one is written into it,
        /// the last one winning. Append: they are left out.
        bool lastFieldWins = true;
        /// Import: a LF in a text is the grid's line break (CR LF). Append:
        /// the texts are kept exactly as split.
        bool gridLineBreaks = true;
    };

    /// What the counting pass finds.
    struct Count
    {
        qint64 lines = 0;       ///< MaxLines + 1 when lines were left unread
        int maxSeparators = -1; ///< the most separators in one line; -1 without lines
        bool irregular = false; ///< lines differ in separators, or one ends inside quotes
        bool operator==(const Count &) const = default;
    };

    /// Something that happened `count` times, first in line `line` (as a
    /// text editor counts lines) and field `field` (from 1, where it says).
    struct Mark
    {
        qint64 count = 0;
        qint64 line = 0;
        int field = 0;
        void add(qint64 atLine, int atField = 0, qint64 times = 1)
        {
            if (count == 0) {
                line = atLine;
                field = atField;
            }
            count += times;
        }
        bool operator==(const Mark &) const = default;
    };

    /// Where the text was not taken as it stands.
    struct Notes
    {
        Mark quoteLeftOpen;    ///< a quoted text never closed, ended at its line break
        Mark endedInQuotes;    ///< lines that end inside a quoted text, their last field left out
        Mark joinedLines;      ///< lines that hold a LF that did not end them (CR line ends)
        Mark widerLines;       ///< lines with more fields than are kept
        Mark textsCut;         ///< texts cut after MaxCellText characters
        Mark nulBytes;         ///< NUL bytes left out of texts
        Mark notUtf8;          ///< bytes of a UTF-8 file that are no UTF-8, read as U+FFFD
        qint64 unreadLine = 0; ///< the first line not read (MaxLines were), or 0
        qint64 ctrlZLine = 0;  ///< the line of a Ctrl-Z with more after it, or 0
        bool operator==(const Notes &) const = default;
        bool any() const { return *this != Notes(); }
    };

    /// One line as the reader hands it on.
    struct Line
    {
        qint64 number = 0;  ///< the line of the file it begins on
        int separators = 0; ///< separators outside quoted texts
        bool endsQuoted = false;
        int fields = 0; ///< the fields made (at most keptFields)
        /// Unless wide: the fields' texts as a record stores them (the code
        /// page's bytes, a line break as one LF), each followed by a zero
        /// byte.
        QByteArrayView stored;
        /// A text the stored form cannot hold (a character without a byte,
        /// a line break other than the grid's): the fields are in texts.
        bool wide = false;
        const std::vector<QString> *texts = nullptr;
    };

    /// Takes the lines as they are read.
    class Sink
    {
    public:
        virtual ~Sink() = default;
        virtual void take(const Line &line) = 0;
        /// What was taken is void: the text is read again from its start.
        virtual void restart() = 0;
    };

    enum class Status
    {
        Read,
        Cancelled,
        ReadFailed,  ///< the device failed
        LineTooLong, ///< a line of more than MaxLineBytes: `line` says which
    };

    struct Result
    {
        Status status = Status::Read;
        Count count;
        Notes notes;
        qint64 line = 0;
        TextEncoding encoding = TextEncoding::Cp1252; ///< what the text was read as
    };

    /// Reads @p device to its end (or a bound) and hands every line to
    /// @p sink. Progress goes from 0 to 1000 over the bytes of a file whose
    /// size is known, and is asked every few hundred lines.
    static Result read(QIODevice &device, const Settings &settings, Sink &sink, Progress &progress);

    /// Whether the count asks the format question: irregular, fewer than
    /// two fields, fewer than two lines, more than 52 separators in a line
    /// or more than 32001 lines.
    static bool formatQuestionNeeded(const Count &count);
};
