// What our writer writes reads back to the same database and writes again to
// the same bytes; and a file laid out as the writer lays it out survives a
// read and a write unchanged.

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/codepage.h"
#include "core/format/databasewriter.h"
#include "numbers/numberformat.h"
#include "pdbbuilder.h"
#include "readfile.h"

#include <gtest/gtest.h>

namespace {

const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 30, 15), Qt::UTC);

QByteArray write(const Database &db)
{
    ScriptedMessages messages;
    CipherState cipher;
    const WriteResult r = DatabaseWriter(messages, cipher).build(db, kNow);
    EXPECT_TRUE(r.ok);
    return r.bytes;
}

/// A file with one field of every type and every kind of block, laid out
/// as the writer lays it out.
PdbBuilder everything()
{
    PdbBuilder b;
    b.name = "Everything";
    b.flags = 0x0891;
    b.creationDate = b.modificationDate = Database::fileSecondsFromDate(kNow);
    const quint8 codes[16] = {0x01, 0x02, 0x04, 0x41, 0x49, 0x20, 0x42, 0x50,
                              0x40, 0x51, 0x08, 0x43, 0x10, 0x46, 0x47, 0x48};
    for (int i = 0; i < 16; ++i) {
        PdbBuilder::Field f{
            "Type " + QByteArray::number(i),        codes[i],     quint8(i == 3 ? 0x80 : 0),
            qint16(i % 2 ? -(10 + i) : 20 + 5 * i), i * 1000 - 3, -i};
        b.fields.push_back(f);
    }
    b.fields[13].setting1 = (1 << 24) | (10 << 16) | 3;
    b.dataWidth = 150 | 0xFF00;
    b.sortKeys[0] = -3;
    b.sortKeys[1] = 16;
    b.findField = 1;
    b.findText = "find";
    b.filterField = 2;
    b.filterText = "filter";
    b.reserved = 0x1234;
    b.firstUnlockedField = 2;
    b.patchFixedPart = [](QByteArray &lo) {
        lo[4 * 21 + 15] = 'x';           // after a name's terminator
        lo[40 * 21] = 'y';               // a name slot beyond the fields
        lo[1154 + 2 * 45 + 1] = char(7); // a width beyond the fields
    };
    b.extension = PdbBuilder::strings({"popupi", "one",      "two",
                                       "three",  "popupj",   "Other db",
                                       "Field",  "deflta",   "default text",
                                       "defltk", "12",       "soortb",
                                       "Sorted", "3",        "-1",
                                       "0",      "soorty",   "Last",
                                       "1",      "2",        "3",
                                       "fllltc", "Filtered", "abc",
                                       "-*-",    "-*-",      "x y",
                                       "-*-",    "2015",     "0",
                                       "-1",     "4",        "-1",
                                       "15",     "calv1o",   "2.5",
                                       "calv2p", "-1.25E-7", "pooosa",
                                       "1",      "3",        "2",
                                       "4"}) +
                  QByteArray(3, '\0');
    QByteArray all;
    for (int c = 1; c < 256; ++c) {
        if (c >= 32 || c == '\t' || c == '\n')
            all.append(char(c));
    }
    b.records = {std::vector<QByteArray>(16), std::vector<QByteArray>(16, "value"),
                 std::vector<QByteArray>(16, all)};
    b.records[0][1] = "1";
    b.records[2][1] = "0";
    return b;
}

} // namespace

TEST(RoundTrip, aFileLaidOutAsTheWriterDoesSurvivesUnchanged)
{
    for (bool encrypted : {false, true}) {
        PdbBuilder b = everything();
        if (encrypted) {
            b.flags = (b.flags & ~0x0001) | 0x0002;
            b.password = "round trip";
        }
        const QByteArray file = b.build();
        Database db;
        ASSERT_TRUE(readFile(file, db, QStringLiteral("round trip")).ok);
        const QByteArray again = write(db);
        qsizetype diff = 0;
        while (diff < qMin(again.size(), file.size()) && again[diff] == file[diff])
            ++diff;
        EXPECT_EQ(again, file) << "encrypted " << encrypted << ", first difference at " << diff;
    }
}

TEST(RoundTrip, writtenFilesReadBackAndWriteAgainToTheSameBytes)
{
    Database db;
    ASSERT_TRUE(readFile(everything().build(), db).ok);
    // Texts of every character the grid may hold, control characters too.
    QString all;
    for (int c = 1; c < 256; ++c)
        all.append(QChar(c));
    db.grid().setCell(1, 1, all);
    db.grid().setCell(2, 2, QString::fromUtf8("line one\r\nline two\r\n"));
    db.field(5).defaultText = QString::fromUtf8("Crème brûlée €");
    db.field(6).calcValue1 = 1.0 / 3.0;
    db.grid().setColumnWidth(3, 300);
    for (const QString &password : {QString(), QStringLiteral("pässwörd €")}) {
        db.setPassword(password);
        db.setFlags(password.isEmpty() ? 0x0001 : 0x0002);
        const QByteArray first = write(db);
        Database again;
        ASSERT_TRUE(readFile(first, again, password).ok);
        EXPECT_EQ(write(again), first);
        EXPECT_EQ(again.grid().cell(2, 2), QString::fromUtf8("line one\r\nline two\r\n"));
        EXPECT_EQ(again.field(5).defaultText, QString::fromUtf8("Crème brûlée €"));
        EXPECT_EQ(again.field(6).calcValue1, ParseNumber(FormatNumber(0, 1.0 / 3.0)).value);
        EXPECT_EQ(again.PixelsToFieldWidth(again.grid().columnWidth(3)), 127);
        // Control characters but TAB and LF are dropped; U+0080 to U+009F
        // that the code page lacks come back as "?".
        QString stored;
        for (int c = 1; c < 256; ++c) {
            if (c == '\n')
                stored.append(QStringLiteral("\r\n"));
            else if (c >= 32 || c == '\t')
                stored.append(Codepage::byteFor(char16_t(c)) == c ? QChar(c) : QLatin1Char('?'));
        }
        EXPECT_EQ(again.grid().cell(1, 1), stored);
    }
}
