#pragma once

#include "core/format/lostruc.h"

#include <QByteArray>
#include <QDateTime>
#include <QStringList>

#include <vector>

class ByteSink;
class CipherState;
class Database;
class MessageService;
class RecordTexts;

/// Where cell texts held characters that the file's code page cannot keep
/// (they were written as "?").
struct Unmappable
{
    qsizetype count = 0;
    int firstRecord = 0; ///< grid row of the first
    int firstField = 0;  ///< grid column of the first
};

/// What the writer made: the file's bytes, the fixed part they hold and the
/// characters it had to replace; or the lines of the message that says why
/// nothing was made.
struct WriteResult
{
    bool ok = false;
    QStringList message;
    QByteArray bytes;
    LoStruc image;
    Unmappable unmappable;
    /// The records (grid rows) holding a text the file does not give back
    /// as it is: a character without a byte, a control character left out,
    /// a text cut at the handheld's length.
    std::vector<int> alteredRecords;
};

/**
 * Lays out a Database as a database file, in memory.
 *
 * The file is the header, the record list, the two-byte gap, the fixed part
 * of the application-info block with its extension area, and the records,
 * each enciphered and padded with zero bytes when the database is enciphered.
 * The writer enforces the handheld's limits: a cell text over 4000 characters
 * is cut and a record over 10,000 bytes is written all the same, each after a
 * warning through the MessageService. It changes nothing in the Database: the
 * caller stores the date and the image once the file is safely on disk.
 */
class DatabaseWriter
{
public:
    DatabaseWriter(MessageService &messages, CipherState &cipher);

    /// The file of @p db as saved at @p now. Fails, with nothing made, when
    /// the database's "Encrypted" flag and its password disagree, since
    /// either file would be unreadable.
    WriteResult build(const Database &db, const QDateTime &now);

    /// A cell text as the file keeps it, read back: what a record's cell
    /// holds once saved and opened again.
    static QString storedText(const QString &text);
    /// The fixed part of the file of @p db: @p base with every value the
    /// database keeps written over it. The bytes no value covers (the rest
    /// of a name slot after its name, the slots past the last field, the
    /// reserved word) stay as @p base has them; build() passes the image
    /// the database was read with.
    static LoStruc fixedPart(const Database &db, LoStruc base);
    /// The extension area of the file of @p db, its end marker included.
    static QByteArray extensionArea(const Database &db);

private:
    /// Appends the records to @p out, each right after the one before, and
    /// patches their offsets into the record list.
    /// False, with the message set, when the records would pass what the
    /// record list's 32-bit places can address.
    bool writeRecords(QByteArray &out, const Database &db, WriteResult &result);
    /// Writes @p texts' stored bytes after the length words just made
    /// room for; false when they cannot go in as they are.
    bool writeStored(ByteSink &sink, const RecordTexts *texts, int f);
    /// Reports a record over the size limit and enciphers it.
    void finishRecord(ByteSink &sink, qsizetype start, int r, bool encrypt);

    MessageService &mMessages;
    CipherState &mCipher;
};
