#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "interchange/json/jsondump.h"
#include "pdbbuilder.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <functional>

// The written image against QJsonDocument's own Indented layout of the same
// values, the records put in as one array built from the grid's cells.
TEST(JsonDump, writesWhatQJsonDocumentLaysOut)
{
    struct Case
    {
        const char *name;
        int fields;
        std::vector<QStringList> records;    // set as texts
        std::vector<QByteArray> stored = {}; // or as the file stores them
    };
    QString controls;
    for (char16_t c = 1; c < 0x20; ++c)
        controls += QChar(c);
    QString many;
    for (int i = 0; i < 300; ++i)
        many += QStringLiteral("record %1 \"quoted\" caf\u00e9 \\ tab\t").arg(i);
    std::vector<QStringList> manyRecords(400, {many.left(150), many.right(90), many.mid(3, 7)});
    const std::vector<Case> cases = {
        {"quotes and backslashes", 3, {{"\"", "a\\b", "\\\"/\\\\\""}}},
        {"control characters", 4, {{controls, "CR LF\r\nLF\nCR\r", QString(QChar(0)), "\x7f"}}},
        {"beyond Latin-1",
         5,
         {{QString::fromUtf8("caf\u00e9 \u20ac \u0080\u009f\u00a0\u00ff"),
           QString::fromUtf8("\u65e5\u672c \U0001F600 \uffff"),
           QString(QChar(0xd800)) + QStringLiteral("x") + QChar(0xdc00),
           QStringLiteral("y") + QChar(0xd83d), QString(20000, QChar(0x20ac))}}},
        {"empty records and cells", 3, {{"", "", ""}, {"a", "", ""}, {"", "", ""}, {"", "", "z"}}},
        {"no records", 2, {}},
        {"no fields", 0, {{}, {}}},
        {"records over many chunks", 3, manyRecords},
        {"records as read from a file",
         3,
         {},
         {QByteArray("caf\xe9\nbar\0\x80\x9f\x01\x1f\0\"\\", 16), QByteArray("\0\0", 2),
          QByteArray("only one")}},
    };
    for (const Case &c : cases) {
        Database db;
        db.setName(QStringLiteral("Tricky \"\\\t"));
        const int rows = 1 + int(c.records.size() + c.stored.size());
        db.grid().resize(c.fields + 1, rows);
        for (int k = 1; k <= c.fields; ++k)
            db.grid().setCell(k, 0, QStringLiteral("F\u00e9\n%1").arg(k));
        for (int r = 1; r <= int(c.records.size()); ++r) {
            const QStringList &texts = c.records[size_t(r - 1)];
            db.grid().setRecordTexts(r, std::vector<QString>(texts.begin(), texts.end()));
        }
        for (int i = 0; i < int(c.stored.size()); ++i)
            db.grid().setStoredTexts(int(c.records.size()) + 1 + i, c.stored[size_t(i)].constData(),
                                     c.stored[size_t(i)].size());

        QJsonArray records;
        for (int r = 1; r < rows; ++r) {
            QJsonArray record;
            for (int k = 1; k <= c.fields; ++k)
                record.append(db.grid().cell(k, r));
            records.append(record);
        }
        QJsonObject root = JsonDump::withoutRecords(db);
        root[QLatin1String("records")] = records;

        QBuffer written;
        written.open(QIODevice::WriteOnly);
        EXPECT_TRUE(JsonDump::write(written, db)) << c.name;
        EXPECT_EQ(written.data().toStdString(),
                  QJsonDocument(root).toJson(QJsonDocument::Indented).toStdString())
            << c.name;
    }
}

// The bytes of the fixed part that no other key gives, against the layout
// the builder wrote: the rest of each name slot, the slots past the last
// field, the reserved word.
TEST(JsonDump, givesTheSpareBytesOfTheFixedPart)
{
    // The builder stores width 90 (00 5a) for each slot past the last
    // field, from slot 4 on (offset 1154 + 2 * 3).
    QByteArray widths;
    for (int k = 4; k <= 50; ++k)
        widths += k < 50 ? "5a00" : "5a";
    const QJsonObject unusedWidths{{"offset", 1161}, {"hex", QString::fromLatin1(widths)}};
    struct Case
    {
        const char *what;
        std::function<void(PdbBuilder &)> change;
        QJsonArray spare;
    };
    const std::vector<Case> cases = {
        {"three fields", [](PdbBuilder &) {}, {unusedWidths}},
        {"the reserved word",
         [](PdbBuilder &b) { b.reserved = 0xBEEF; },
         {unusedWidths, QJsonObject{{"offset", 1298}, {"hex", "beef"}}}},
        {"bytes after a name's zero byte, a gap of eight zeros, more",
         [](PdbBuilder &b) {
             b.patchFixedPart = [](QByteArray &lo) {
                 lo.replace(3, 2, "xy");      // after "F1" and its zero byte
                 lo.replace(14, 1, "z");      // eight zero bytes later: a new run
                 lo.replace(21 + 3, 1, "\1"); // in the next slot
             };
         },
         {QJsonObject{{"offset", 3}, {"hex", "7879"}}, QJsonObject{{"offset", 14}, {"hex", "7a"}},
          QJsonObject{{"offset", 24}, {"hex", "01"}}, unusedWidths}},
        {"a name that fills its slot leaves nothing",
         [](PdbBuilder &b) {
             b.patchFixedPart = [](QByteArray &lo) { lo.replace(0, 21, QByteArray(21, 'n')); };
         },
         {unusedWidths}},
        {"a name and width past the last field",
         [](PdbBuilder &b) {
             b.patchFixedPart = [](QByteArray &lo) {
                 lo.replace(3 * 21, 3, "old");
                 lo.replace(1154 + 2 * 3, 2, QByteArray("\xff\xd8", 2));
             };
         },
         {QJsonObject{{"offset", 63}, {"hex", "6f6c64"}},
          QJsonObject{{"offset", 1160}, {"hex", QString::fromLatin1("ffd8" + widths.mid(2))}}}},
    };
    for (const Case &c : cases) {
        PdbBuilder b = PdbBuilder::withFields(3);
        c.change(b);
        QByteArray bytes = b.build();
        QBuffer file(&bytes);
        file.open(QIODevice::ReadOnly);
        ScriptedMessages messages;
        ScriptedPasswords passwords;
        CipherState cipher;
        Database db;
        db.setWidthScale(1.0);
        ASSERT_TRUE(DatabaseReader(messages, passwords, cipher).read(file, QString(), db).ok);
        EXPECT_EQ(JsonDump::withoutRecords(db)[QLatin1String("spareBytes")].toArray(), c.spare)
            << c.what;
    }
}
