#include "core/document/database.h"
#include "interchange/json/jsondump.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

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
