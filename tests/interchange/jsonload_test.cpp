#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "interchange/json/jsondump.h"
#include "interchange/json/jsonload.h"
#include "pdbbuilder.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QBuffer>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

#include <functional>

namespace {

/// The image of a database of three fields with a popup, two lists and
/// two records, as the dump writes it.
QJsonObject image()
{
    PdbBuilder b = PdbBuilder::withFields(3);
    b.fields[0].typeCode = 0x40;
    b.fields[2].typeCode = 0x47;
    b.extension = PdbBuilder::strings({PdbBuilder::key("popup", 1),
                                       "p1",
                                       "p2",
                                       PdbBuilder::key("soort", 1),
                                       "S",
                                       "1",
                                       "0",
                                       "0",
                                       PdbBuilder::key("flllt", 1),
                                       "F",
                                       "a",
                                       "-*-",
                                       "-*-",
                                       "-*-",
                                       "-*-",
                                       "31",
                                       "-1",
                                       "-1",
                                       "-1",
                                       "-1",
                                       "-1",
                                       ""});
    b.records = {{"p1", "x", "1"}, {"", "y", "2"}};
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    CipherState cipher;
    QByteArray bytes = b.build();
    QBuffer file(&bytes);
    file.open(QIODevice::ReadOnly);
    Database db;
    db.setWidthScale(1.0);
    EXPECT_TRUE(DatabaseReader(messages, passwords, cipher).read(file, QString(), db).ok);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    JsonDump::write(out, db);
    return QJsonDocument::fromJson(out.data()).object();
}

QJsonArray nested(const char *key, const std::function<void(QJsonArray &)> &change, QJsonObject &o)
{
    QJsonArray array = o[QLatin1String(key)].toArray();
    change(array);
    o[QLatin1String(key)] = array;
    return array;
}

/// Changes member @p member of field @p k (0-based).
std::function<void(QJsonObject &)> fieldSet(int k, const char *member, const QJsonValue &value)
{
    return [=](QJsonObject &o) {
        nested(
            "fields",
            [&](QJsonArray &fields) {
                QJsonObject field = fields[k].toObject();
                field[QLatin1String(member)] = value;
                fields[k] = field;
            },
            o);
    };
}

std::function<void(QJsonObject &)> set(const char *key, const QJsonValue &value)
{
    return [=](QJsonObject &o) { o[QLatin1String(key)] = value; };
}

QJsonArray texts(int n, const QString &text)
{
    QJsonArray array;
    for (int i = 0; i < n; ++i)
        array.append(text);
    return array;
}

struct Outcome
{
    bool ok;
    QString path; ///< of the first fault
    bool operator==(const Outcome &) const = default;
    friend void PrintTo(const Outcome &o, std::ostream *out)
    {
        *out << (o.ok ? "ok " : "refused ") << o.path.toStdString();
    }
};

Outcome load(const QByteArray &document)
{
    QByteArray bytes = document;
    QBuffer in(&bytes);
    in.open(QIODevice::ReadOnly);
    Database db;
    const JsonLoad::Result result = JsonLoad::read(in, db);
    return {result.ok, result.fault.section(QStringLiteral(": "), 0, 0)};
}

} // namespace

// Each document has one fault (or none) and is refused at its path.
TEST(JsonLoad, refusesADocumentAtThePathOfItsFirstFault)
{
    const QJsonObject base = image();
    const QByteArray text = QJsonDocument(base).toJson();
    QString longText(200245, QLatin1Char('x'));
    struct Case
    {
        const char *what;
        std::function<void(QJsonObject &)> change; ///< of the image
        QByteArray raw = {};                       ///< or the whole document
        Outcome outcome = {};
    };
    const std::vector<Case> cases = {
        {"the image as dumped", [](QJsonObject &) {}, {}, {true, ""}},
        {"a minimal document", {}, R"({"fields": [{}], "records": [[""]]})", {true, ""}},
        {"fields given after the records",
         {},
         R"({"records": [["a", "b"]], "fields": [{}, {"name": "B"}]})",
         {true, ""}},
        {"a text beyond the limit of a record", {}, {}, {false, "$.records[0][0]"}},
        {"fields not an array", set("fields", QJsonObject()), {}, {false, "$.fields"}},
        {"a width the file cannot hold",
         fieldSet(1, "width", 300),
         {},
         {false, "$.fields[1].width"}},
        {"a width of 128 unlocked", fieldSet(1, "width", 128), {}, {false, "$.fields[1].width"}},
        {"a type past the sixteen", fieldSet(0, "type", 16), {}, {false, "$.fields[0].type"}},
        {"a type given as a text", fieldSet(0, "type", "0"), {}, {false, "$.fields[0].type"}},
        {"an attribute byte of 1.5",
         fieldSet(0, "attributes", 1.5),
         {},
         {false, "$.fields[0].attributes"}},
        {"a field name of 22 characters",
         fieldSet(2, "name", QString(22, QLatin1Char('n'))),
         {},
         {false, "$.fields[2].name"}},
        {"an empty popup item",
         fieldSet(0, "popup", QJsonArray{"a", ""}),
         {},
         {false, "$.fields[0].popup[1]"}},
        {"a popup item outside Windows-1252",
         fieldSet(0, "popup", QJsonArray{QStringLiteral("\u2713")}),
         {},
         {false, "$.fields[0].popup[0]"}},
        {"popup items beyond what the reader takes of the area",
         fieldSet(0, "popup", texts(2200, QString(500, QLatin1Char('p')))),
         {},
         {false, "$.fields[0].popup[2101]"}},
        {"a calc value as a text",
         fieldSet(2, "calcValue1", "2"),
         {},
         {false, "$.fields[2].calcValue1"}},
        {"an unknown key in a field", fieldSet(2, "colour", 1), {}, {false, "$.fields[2].colour"}},
        {"an unknown key", set("colour", 1), {}, {false, "$.colour"}},
        {"51 fields",
         [](QJsonObject &o) {
             nested(
                 "fields",
                 [](QJsonArray &a) {
                     while (a.size() < 51)
                         a.append(QJsonObject());
                 },
                 o);
         },
         {},
         {false, "$.fields[50]"}},
        {"no fields", set("fields", QJsonArray()), {}, {false, "$.fields"}},
        {"a record short of a text",
         [](QJsonObject &o) {
             nested(
                 "records", [](QJsonArray &a) { a[1] = texts(2, "x"); }, o);
         },
         {},
         {false, "$.records[1]"}},
        {"a number as a cell",
         [](QJsonObject &o) {
             nested(
                 "records",
                 [](QJsonArray &a) {
                     a[0] = QJsonArray{"a", "b", 3};
                 },
                 o);
         },
         {},
         {false, "$.records[0][2]"}},
        {"U+0000 in a cell",
         [](QJsonObject &o) {
             nested(
                 "records",
                 [](QJsonArray &a) {
                     a[0] = QJsonArray{QString(QChar(0)), "b", "c"};
                 },
                 o);
         },
         {},
         {false, "$.records[0][0]"}},
        {"no records", set("records", QJsonArray()), {}, {false, "$.records"}},
        {"no records key",
         [](QJsonObject &o) { o.remove(QLatin1String("records")); },
         {},
         {false, "$"}},
        {"a name of 33 characters",
         set("name", QString(33, QLatin1Char('N'))),
         {},
         {false, "$.name"}},
        {"a data width of 256", set("dataWidth", 256), {}, {false, "$.dataWidth"}},
        {"a data width of -1", set("dataWidth", -1), {}, {false, "$.dataWidth"}},
        {"flags beyond 16 bits", set("flags", 65536), {}, {false, "$.flags"}},
        {"four sort keys", set("sort", QJsonArray{1, 0, 0, 0}), {}, {false, "$.sort[3]"}},
        {"a sort key of 128", set("sort", QJsonArray{128, 0, 0}), {}, {false, "$.sort[0]"}},
        {"a find text of 17 characters",
         set("find", QJsonObject{{"field", 0}, {"text", QString(17, QLatin1Char('f'))}}),
         {},
         {false, "$.find.text"}},
        {"enciphered by one key and not by the other",
         set("encrypted", true),
         {},
         {false, "$.encrypted"}},
        {"a view position past 32 bits",
         set("viewPosition", QJsonArray{2147483648.0, 0, 0, 0}),
         {},
         {false, "$.viewPosition[0]"}},
        {"a date with a fraction", set("modified", 1.5), {}, {false, "$.modified"}},
        {"26 sort lists",
         [](QJsonObject &o) {
             nested(
                 "sortLists", [](QJsonArray &a) { a.append(a[0]); }, o);
         },
         {},
         {false, "$.sortLists[25]"}},
        {"a sort list without a name",
         [](QJsonObject &o) {
             nested(
                 "sortLists",
                 [](QJsonArray &a) {
                     a[3] = QJsonObject{{"name", ""}};
                 },
                 o);
         },
         {},
         {false, "$.sortLists[3].name"}},
        {"a filter condition written as the file's empty one",
         [](QJsonObject &o) {
             nested(
                 "filterLists",
                 [](QJsonArray &a) {
                     QJsonObject list = a[0].toObject();
                     list[QLatin1String("texts")] = QJsonArray{"", "-*-", "", "", ""};
                     a[0] = list;
                 },
                 o);
         },
         {},
         {false, "$.filterLists[0].texts[1]"}},
        {"filter options beyond 16 bits",
         [](QJsonObject &o) {
             nested(
                 "filterLists",
                 [](QJsonArray &a) {
                     a[2] = QJsonObject{{"options", 70000}};
                 },
                 o);
         },
         {},
         {false, "$.filterLists[2].options"}},
        {"spare bytes past the fixed part",
         set("spareBytes", QJsonArray{QJsonObject{{"offset", 1700}, {"hex", "010203"}}}),
         {},
         {false, "$.spareBytes[0].hex"}},
        {"spare bytes of no hex",
         set("spareBytes", QJsonArray{QJsonObject{{"offset", 0}, {"hex", "0g"}}}),
         {},
         {false, "$.spareBytes[0].hex"}},
        {"a spare run without its offset",
         set("spareBytes", QJsonArray{QJsonObject{{"hex", "01"}}}),
         {},
         {false, "$.spareBytes[0]"}},
        {"a key given twice",
         {},
         R"({"fields": [{"name": "A", "type": 0, "name": "B"}], "records": [[""]]})",
         {false, "$.fields[0].name"}},
        {"a key no name could be",
         {},
         R"({"fields": [{}], "we ird\"": 1})",
         {false, "$[\"we ird\\\"\"]"}},
        {"arrays nested deep where a text belongs",
         {},
         "{\"name\": " + QByteArray(100000, '[') + "}",
         {false, "$.name"}},
        {"the document cut short", {}, R"({"fields": [{"name": "A")", {false, "$.fields[0].name"}},
        {"something after the document", {}, text + "{}", {false, "$"}},
        {"an array for a document", {}, "[]", {false, "$"}},
        {"no UTF-8", {}, R"({"name": ")" + QByteArray("\xe9\"}"), {false, "$.name"}},
    };
    for (const Case &c : cases) {
        QByteArray document = c.raw;
        if (c.change) {
            QJsonObject o = base;
            c.change(o);
            document = QJsonDocument(o).toJson();
        } else if (document.isEmpty()) {
            QJsonObject o = base;
            nested(
                "records",
                [&](QJsonArray &a) {
                    a[0] = QJsonArray{longText, "", ""};
                },
                o);
            document = QJsonDocument(o).toJson();
        }
        const Outcome outcome = load(document);
        EXPECT_EQ(outcome, c.outcome) << c.what << ": " << outcome.path.toStdString();
    }
}
