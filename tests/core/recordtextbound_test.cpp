// Whatever a record list says, reading a file holds record texts of at most
// 8 bytes per file byte plus 64 MiB, reads the file once over, and refuses
// what would need more.

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "pdbbuilder.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

/// A buffer that counts the bytes read from it.
class CountingBuffer : public QBuffer
{
public:
    using QBuffer::QBuffer;
    qint64 bytesRead = 0;

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 n = QBuffer::readData(data, maxSize);
        bytesRead += qMax<qint64>(n, 0);
        return n;
    }
};

/// The record texts spelled out cell by cell, as a save or a dump does: two
/// bytes per character and a 32-byte allocation per non-empty text.
qint64 cellTextBytes(const RecordGrid &grid)
{
    qint64 total = 0;
    for (int r = 1; r < grid.rowCount(); ++r)
        for (int c = 1; c < grid.columnCount(); ++c)
            if (!grid.cell(c, r).isEmpty())
                total += 32 + 2 * qint64(grid.cell(c, r).size());
    return total;
}

/// @p entries record-list entries, all at one record of 50 cells of 4,000
/// characters (200,150 bytes).
QByteArray sharedRecord(int entries, const QByteArray &password)
{
    PdbBuilder b = PdbBuilder::withFields(50);
    b.password = password;
    b.flags = password.isEmpty() ? 0x0001 : 0x0002;
    b.records = {std::vector<QByteArray>(50, QByteArray(4000, 'a'))};
    b.rawRecords.assign(size_t(entries - 1), QByteArray());
    // After the header, the list, the gap and the application-info block
    // (1,702 + 3 bytes, padded to 1,712 when enciphered).
    const quint32 appInfo = password.isEmpty() ? 1705 : 1712;
    b.offsetOverrides.assign(size_t(entries), 78 + 8 * quint32(entries) + 2 + appInfo);
    return b.build();
}

} // namespace

TEST(RecordTextBound, sharedEntriesAreReadWithinTheBoundOrRefused)
{
    // A record costs 50 x (32 + 8,000) bytes: 171 entries sharing it fit
    // beside a file of some 200 KB, 172 do not. 2,000 entries (218 KB) and
    // 65,535 (726 KB) once took 1.7 GB and more than 16 GB.
    const struct
    {
        int entries;
        const char *password;
    } cases[] = {{1, ""},    {2, ""},     {171, ""},     {172, ""},
                 {2000, ""}, {65535, ""}, {3, "secret"}, {2000, "secret"}};
    const qint64 perRecord = 50 * (32 + 8000);
    for (const auto &c : cases) {
        QByteArray file = sharedRecord(c.entries, c.password);
        const qint64 n = file.size();
        CountingBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        ScriptedMessages messages;
        ScriptedPasswords passwords;
        passwords.answers = {QString::fromLatin1(c.password)};
        CipherState cipher;
        Database db;
        const ReadResult result =
            DatabaseReader(messages, passwords, cipher).read(buffer, QStringLiteral("x.pdb"), db);

        // Once over, with a little read-ahead.
        EXPECT_LE(buffer.bytesRead, 2 * n) << c.entries;
        if (c.entries * perRecord > 8 * n + 64 * 1024 * 1024) {
            EXPECT_EQ(result.message, QStringList(QStringLiteral(
                                          "Error: Record list repeats record data beyond the "
                                          "file size")))
                << c.entries;
            continue;
        }
        ASSERT_TRUE(result.ok) << c.entries;
        const RecordGrid &grid = db.grid();
        ASSERT_EQ(grid.recordCount(), c.entries);
        for (int row = 1; row <= c.entries; ++row)
            for (int k = 1; k <= 50; ++k)
                ASSERT_EQ(grid.cell(k, row), QString(4000, u'a')) << row << "," << k;
        EXPECT_EQ(cellTextBytes(grid), c.entries * perRecord);
    }
}
