// Feeds arbitrary bytes to the database reader. Whatever a file says, the
// reader must neither read nor write out of bounds nor allocate without a
// bound, and what it accepts must make a consistent grid whose record texts,
// every cell counted on its own, stay within the bound that the file's size
// sets. Every file it accepts is written, read back and written again: the
// second file must be the first, byte for byte.

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "core/format/databasewriter.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QBuffer>

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);

    ScriptedMessages messages;
    // The messages are answered Retry, Retry, then Cancel: the warning takes
    // an answer and ignores it, an unknown field type goes on or gives up.
    messages.answers = {MessageButton::Retry, MessageButton::Retry, MessageButton::Cancel};
    ScriptedPasswords passwords;
    passwords.answers = {QStringLiteral("fuzzing"), QStringLiteral("secret")};
    CipherState cipher;
    Database db;
    const ReadResult result =
        DatabaseReader(messages, passwords, cipher).read(buffer, QStringLiteral("fuzz.pdb"), db);
    if (result.ok) {
        const RecordGrid &grid = db.grid();
        if (grid.columnCount() < 2 || grid.columnCount() > 51 || grid.rowCount() < 2)
            std::abort();
        // A cell holds at most one record's bytes, with a CR added per LF;
        // all of them together at most what the file's size allows.
        qint64 held = 0;
        for (int r = 0; r < grid.rowCount(); ++r) {
            for (int c = 0; c < grid.columnCount(); ++c) {
                if (grid.cell(c, r).size() > 2 * DatabaseReader::MaxRecordSpan)
                    std::abort();
                if (r > 0)
                    held += DatabaseReader::heldTextBytes(grid.cell(c, r));
            }
        }
        if (held > DatabaseReader::maxRecordTextBytes(qint64(size)))
            std::abort();

        const QDateTime now(QDate(2026, 12, 8), QTime(12, 0), Qt::UTC);
        // A file whose flag and password disagree cannot come from reading.
        const WriteResult first = DatabaseWriter(messages, cipher).build(db, now);
        if (!first.ok)
            std::abort();
        QByteArray written = first.bytes;
        QBuffer again(&written);
        again.open(QIODevice::ReadOnly);
        ScriptedPasswords samePassword;
        samePassword.answers = {db.password()};
        Database back;
        ScriptedMessages retry;
        retry.answers = {MessageButton::Retry, MessageButton::Retry};
        if (!DatabaseReader(retry, samePassword, cipher)
                 .read(again, QStringLiteral("again.pdb"), back)
                 .ok)
            std::abort();
        const WriteResult second = DatabaseWriter(messages, cipher).build(back, now);
        if (!second.ok || second.bytes != first.bytes)
            std::abort();
    }
    return 0;
}
