#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasewriter.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "scriptedmessages.h"

#include <QtEndian>

#include <gtest/gtest.h>

namespace {

const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 30, 15), Qt::UTC);

quint16 word(const QByteArray &b, qsizetype offset)
{
    return qFromBigEndian<quint16>(b.constData() + offset);
}

quint32 longAt(const QByteArray &b, qsizetype offset)
{
    return qFromBigEndian<quint32>(b.constData() + offset);
}

/// A database of @p fields String fields and @p records empty records.
void makeDatabase(Database &db, int fields, int records)
{
    db.ResetDatabase();
    db.setName(QStringLiteral("Test"));
    db.grid().resize(fields + 1, records + 1);
    for (int k = 1; k <= fields; ++k) {
        db.grid().setCell(k, 0, QStringLiteral("F%1").arg(k));
        db.grid().setColumnWidth(k, db.FieldWidthToPixels(60));
    }
}

struct Write
{
    ScriptedMessages messages;
    CipherState cipher;
    WriteResult build(const Database &db)
    {
        return DatabaseWriter(messages, cipher).build(db, kNow);
    }
};

} // namespace

TEST(DatabaseWriter, oneFieldAndOneEmptyRecord)
{
    Database db;
    makeDatabase(db, 1, 1);
    Write w;
    const WriteResult r = w.build(db);
    ASSERT_TRUE(r.ok);
    const QByteArray &b = r.bytes;
    const int ext = 3;
    ASSERT_EQ(b.size(), 78 + 8 + 2 + 1702 + ext + 3);
    EXPECT_EQ(b.left(5), QByteArray("Test\0", 5));
    EXPECT_EQ(word(b, 32), 0x0008);
    EXPECT_EQ(word(b, 34), 0x0811);
    const qint32 seconds = Database::fileSecondsFromDate(kNow);
    EXPECT_EQ(qint32(longAt(b, 36)), seconds);
    EXPECT_EQ(qint32(longAt(b, 40)), seconds);
    EXPECT_EQ(longAt(b, 44), 0u);
    EXPECT_EQ(longAt(b, 48), 0u);
    EXPECT_EQ(longAt(b, 52), 78u + 8 + 2);
    EXPECT_EQ(longAt(b, 56), 0u);
    EXPECT_EQ(b.mid(60, 8), QByteArray("Lx5DLxr5"));
    EXPECT_EQ(longAt(b, 68), 0u);
    EXPECT_EQ(longAt(b, 72), 0u);
    EXPECT_EQ(word(b, 76), 1);
    EXPECT_EQ(longAt(b, 78), 78u + 8 + 2 + 1702 + ext);
    EXPECT_EQ(longAt(b, 82), 0u);
    EXPECT_EQ(word(b, 86), 0);
    EXPECT_EQ(b.mid(78 + 8 + 2 + 1702, ext), QByteArray(3, '\0'));
    EXPECT_EQ(b.right(3), QByteArray("\x00\x01\x00", 3));
    EXPECT_TRUE(w.messages.shown.empty());
}

TEST(DatabaseWriter, cellTextsAsStored)
{
    Database db;
    makeDatabase(db, 4, 1);
    db.grid().setCell(1, 1, QStringLiteral("x\r\ny"));
    db.grid().setCell(2, 1, QString::fromUtf8("a\tb\x01\x1f\u00e9\u20ac"));
    db.grid().setCell(3, 1, QString(4005, QLatin1Char('z')));
    db.grid().setCell(4, 1, QStringLiteral("last"));
    Write w;
    const WriteResult r = w.build(db);
    ASSERT_TRUE(r.ok);
    const QByteArray record = r.bytes.mid(longAt(r.bytes, 78));
    EXPECT_EQ(word(record, 0), 4);
    EXPECT_EQ(word(record, 2), 6);
    EXPECT_EQ(word(record, 4), 4001);
    EXPECT_EQ(word(record, 6), 5);
    EXPECT_EQ(record.mid(8, 4), QByteArray("x\ny\0", 4));
    EXPECT_EQ(record.mid(12, 6), QByteArray("a\tb\xe9\x80\0", 6));
    EXPECT_EQ(record.mid(18, 4001), QByteArray(4000, 'z') + '\0');
    EXPECT_EQ(record.mid(18 + 4001), QByteArray("last\0", 5));
    ASSERT_EQ(w.messages.shown.size(), 1u);
    const Message &m = w.messages.shown[0];
    EXPECT_EQ(m.caption, QStringLiteral("Listora limitation"));
    EXPECT_EQ(m.icon, MessageIcon::Warning);
    EXPECT_EQ(m.text(), QStringLiteral("Record 1 shorten by 5 bytes."));
    // The cell itself keeps its text.
    EXPECT_EQ(db.grid().cell(3, 1).size(), 4005);
}

TEST(DatabaseWriter, warnsOfRecordsOverTenThousandBytesAndWritesThem)
{
    Database db;
    makeDatabase(db, 3, 12);
    for (int k = 1; k <= 3; ++k)
        db.grid().setCell(k, 12, QString(3990, QLatin1Char('a')));
    db.grid().setCell(1, 5, QString(4037, QLatin1Char('b')));
    Write w;
    const WriteResult r = w.build(db);
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(w.messages.shown.size(), 2u);
    EXPECT_EQ(w.messages.shown[0].text(), QStringLiteral("Record 5 shorten by 37 bytes."));
    // 6 bytes of lengths, 3 x 3991 of texts: 11979 bytes.
    EXPECT_EQ(w.messages.shown[1].text(),
              QStringLiteral("Record 12 contains 1979 too much bytes."));
    const QByteArray last = r.bytes.mid(longAt(r.bytes, 78 + 8 * 11));
    EXPECT_EQ(last.size(), 11979);
}

TEST(DatabaseWriter, fixedPartValues)
{
    Database db;
    makeDatabase(db, 3, 1);
    db.field(1).locked = true;
    db.grid().setColumnWidth(1, 40);
    db.grid().setColumnWidth(2, 200); // wider than the handheld keeps
    db.field(3).type = FieldType::AutoIncrementInteger;
    db.field(3).attributes = 0x81;
    db.field(3).setting1 = -7;
    db.field(3).setting2 = 70000;
    db.field(9).setting1 = 5; // a slot beyond the field count
    db.setFindText(QStringLiteral("seventeen chars!!"));
    db.filter().text = QStringLiteral("flt");
    db.filter().field = -1;
    db.setFindField(2);
    db.sort().keys = {-3, 1, 0};
    db.setDataWidth(150);
    db.setFirstUnlockedField(3); // beyond the last field: written as 0
    Write w;
    const WriteResult r = w.build(db);
    ASSERT_TRUE(r.ok);
    const QByteArray lo = r.bytes.mid(78 + 8 + 2, 1702);
    EXPECT_EQ(lo, r.image.bytes());
    EXPECT_EQ(lo.left(3), QByteArray("F1\0", 3));
    EXPECT_EQ(word(lo, 1150), 3);
    EXPECT_EQ(word(lo, 1152), 0x0240);
    EXPECT_EQ(word(lo, 1154), 0xFFD8); // locked, 40 units
    EXPECT_EQ(word(lo, 1156), 127);
    EXPECT_EQ(word(lo, 1158), 60);
    EXPECT_EQ(word(lo, 1050 + 4), 0x8143);
    EXPECT_EQ(qint32(longAt(lo, 1302 + 8)), -7);
    EXPECT_EQ(qint32(longAt(lo, 1502 + 8)), 70000);
    EXPECT_EQ(qint32(longAt(lo, 1302 + 32)), 5);
    EXPECT_EQ(word(lo, 1050 + 2 * 20), 0x0001);
    EXPECT_EQ(lo.mid(1266, 16), QByteArray("seventeen chars") + '\0');
    EXPECT_EQ(lo.mid(1282, 16), QByteArray("flt") + QByteArray(13, '\0'));
    EXPECT_EQ(word(lo, 1264), 0xFFFF);
    EXPECT_EQ(word(lo, 1262), 2);
    EXPECT_EQ(word(lo, 1256), 0xFFFD);
    EXPECT_EQ(word(lo, 1258), 1);
    EXPECT_EQ(word(lo, 1254), 0xFF96); // 150 as a signed byte, sign-extended
    EXPECT_EQ(word(lo, 1300), 0);
    // The database itself is not touched.
    EXPECT_EQ(db.loStruc().word(LoStruc::FieldCountOffset), 1);
}

TEST(DatabaseWriter, untouchedWidthsSurviveAWidthScaleBelowOne)
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.fields[0].width = 37;
    b.fields[1].width = -14;
    Database db;
    db.setWidthScale(18.0 / (56.0 / 3.0));
    ASSERT_TRUE(readFile(b.build(), db).ok);
    Write w;
    const WriteResult r = w.build(db);
    EXPECT_EQ(word(r.bytes, 78 + 8 + 2 + 1154), 37);
    EXPECT_EQ(qint16(word(r.bytes, 78 + 8 + 2 + 1156)), -14);
    // A column someone resized takes the width of its pixels.
    db.grid().setColumnWidth(1, 50);
    EXPECT_EQ(word(w.build(db).bytes, 78 + 8 + 2 + 1154), db.PixelsToFieldWidth(50));
}

TEST(DatabaseWriter, extensionAreaInItsOrder)
{
    Database db;
    makeDatabase(db, 3, 1);
    db.field(2).popupItems = {QStringLiteral("red"), QString(), QStringLiteral("blue")};
    db.field(1).defaultText = QStringLiteral("dflt");
    db.field(3).lookupLoaded = true;
    db.field(3).lookupDatabase = QStringLiteral("Other");
    db.field(3).lookupField = QStringLiteral("Town");
    db.field(3).popupItems = {QStringLiteral("loaded value")};
    db.field(1).calcValue1 = 2.5;
    db.field(3).calcValue2 = -1e-7;
    db.sortList(2).name = QStringLiteral("By name");
    db.sortList(2).sort.keys = {2, -1, 0};
    db.sortList(3).sort.keys = {1, 1, 1}; // still "Unused": not written
    db.filterList(2).name = QStringLiteral("F");
    db.filterList(2).texts = {QStringLiteral("a"), QString(), QString(), QString(),
                              QStringLiteral("e")};
    db.filterList(2).options = 0xFFFF;
    db.filterList(2).fields = {0, -1, 4, -1, 49};
    db.viewPosition() = {1, 2, 3, 4};
    Write w;
    const WriteResult r = w.build(db);
    ASSERT_TRUE(r.ok);
    const QByteArray area =
        r.bytes.mid(78 + 8 + 2 + 1702, longAt(r.bytes, 78) - (78 + 8 + 2 + 1702));
    const QByteArray expected =
        PdbBuilder::strings({"popupb", "red",    "blue",    "popupc", "Other", "Town",   "deflta",
                             "dflt",   "soortb", "By name", "2",      "-1",    "0",      "fllltb",
                             "F",      "a",      "-*-",     "-*-",    "-*-",   "e",      "65535",
                             "0",      "-1",     "4",       "-1",     "49",    "calv1a", "2.5",
                             "calv2c", "-1E-7",  "pooosa",  "1",      "2",     "3",      "4"}) +
        QByteArray(3, '\0');
    EXPECT_EQ(area, expected);
}

TEST(DatabaseWriter, refusesAFlagAndAPasswordThatDisagree)
{
    Database db;
    makeDatabase(db, 1, 1);
    db.setFlags(0x0002);
    Write w;
    WriteResult r = w.build(db);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.bytes.isEmpty());
    EXPECT_FALSE(r.message.isEmpty());
    db.setFlags(0x0001);
    db.setPassword(QStringLiteral("secret"));
    r = w.build(db);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.isEmpty());
}

TEST(DatabaseWriter, enciphersTheApplicationInfoAndEveryRecordOnTheirOwn)
{
    Database db;
    makeDatabase(db, 2, 3);
    db.setFlags(0x0002);
    db.setPassword(QStringLiteral("sesame!"));
    db.grid().setCell(1, 2, QStringLiteral("hidden text"));
    Write w;
    const WriteResult r = w.build(db);
    ASSERT_TRUE(r.ok);
    const QByteArray &b = r.bytes;
    // 1702 + 3 bytes pad to 1712; each record of 6 bytes pads to 8, the one
    // of 17 bytes to 24.
    const quint32 first = longAt(b, 78);
    EXPECT_EQ(first, 78u + 24 + 2 + 1712);
    EXPECT_EQ(longAt(b, 86), first + 8);
    EXPECT_EQ(longAt(b, 94), first + 8 + 24);
    EXPECT_EQ(quint32(b.size()), first + 8 + 24 + 8);
    EXPECT_FALSE(b.contains("hidden"));
    // Deciphered, the pad bytes are zero.
    CipherState cipher;
    cipher.SetCipherKey(QStringLiteral("sesame!"));
    QByteArray unit = b.mid(first + 8, 24);
    cipher.DecipherBuffer(unit.data(), unit.size());
    EXPECT_EQ(unit, QByteArray("\x00\x0c\x00\x01hidden text\0\0", 17) + QByteArray(7, '\0'));
    Database back;
    ASSERT_TRUE(readFile(b, back, QStringLiteral("sesame!")).ok);
    EXPECT_EQ(back.grid().cell(1, 2), QStringLiteral("hidden text"));
}

TEST(DatabaseWriter, countsCharactersTheFileCannotKeep)
{
    Database db;
    makeDatabase(db, 3, 4);
    Write w;
    EXPECT_EQ(w.build(db).unmappable.count, 0);
    db.grid().setCell(2, 3, QString::fromUtf8("κα😀"));
    db.grid().setCell(1, 4, QString::fromUtf8("中"));
    const WriteResult r = w.build(db);
    EXPECT_EQ(r.unmappable.count, 4);
    EXPECT_EQ(r.unmappable.firstRecord, 3);
    EXPECT_EQ(r.unmappable.firstField, 2);
    EXPECT_TRUE(r.bytes.contains(QByteArray("???\0", 4)));
}

TEST(DatabaseWriter, aLockedColumnKeepsTheWidthOf128)
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.fields[0].width = -128;
    b.fields[1].width = 127;
    Database db;
    ASSERT_TRUE(readFile(b.build(), db).ok);
    db.grid().setColumnWidth(2, 500);
    Write w;
    const QByteArray bytes = w.build(db).bytes;
    EXPECT_EQ(word(bytes, 78 + 8 + 2 + 1154), 0xFF80);
    EXPECT_EQ(word(bytes, 78 + 8 + 2 + 1156), 127);
}

TEST(DatabaseWriter, refusesWhatNoFileCanHold)
{
    Database db;
    db.grid().resize(1, 2); // no field
    Write w;
    WriteResult r = w.build(db);
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.message.isEmpty());
    makeDatabase(db, 51, 1);
    EXPECT_FALSE(w.build(db).ok);
    makeDatabase(db, 1, 65536);
    EXPECT_FALSE(w.build(db).ok);
    // A foreign file may hold more than the handheld's 32,000 records.
    makeDatabase(db, 1, 40000);
    r = w.build(db);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(word(r.bytes, 76), 40000);
}
