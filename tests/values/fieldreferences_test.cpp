#include "core/document/database.h"
#include "core/document/fieldmapping.h"
#include "core/document/fieldreferences.h"
#include "core/format/databasewriter.h"
#include "fixedclock.h"
#include "fixedlocale.h"
#include "readfile.h"
#include "scriptedshell.h"
#include "values/calc/calculatedfields.h"

#include <gtest/gtest.h>

#include <map>

namespace {

/// Fields A, B, C, D; C adds A and B of the record above. Every kind of
/// reference names some of them; the third key of sort list 1 names field 7,
/// which is not there.
class References : public ::testing::Test
{
protected:
    References()
    {
        db.grid().resize(5, 3);
        const QStringList cells = {"A", "B", "C", "D", "1", "10", "", "x", "2", "20", "", "y"};
        for (int i = 0; i < cells.size(); ++i)
            db.grid().setCell(i % 4 + 1, i / 4, cells[i]);
        db.field(1).type = db.field(2).type = FieldType::Float;
        db.field(3).type = FieldType::CalcFieldOpField;
        db.field(3).setting1 = qint32((0x00u << 24) | (0x81u << 16) | 1u);
        db.sort().keys = {2, -4, 0};
        db.sortList(1) = {"S", {{-1, 3, 7}}};
        db.filter() = {4, "x"};
        db.setFindField(2);
        db.advancedFilter() = {"F", {"a", "b", "d", "e", ""}, 31, {0, -1, 3, 1, -1}};
        db.filterList(2) = {"G", {"c"}, 31, {2, -1, -1, -1, -1}};
    }

    /// The references written out, each field followed by its text.
    std::string references() const
    {
        const auto calc = quint32(db.field(3).setting1);
        QString s = QStringLiteral("calc %1,%2 |").arg(calc >> 24).arg((calc >> 16) & 0xFF);
        for (const SortSettings &sort : {db.sort(), db.sortList(1).sort})
            s +=
                QStringLiteral(" %1,%2,%3 |").arg(sort.keys[0]).arg(sort.keys[1]).arg(sort.keys[2]);
        s += QStringLiteral(" filter %1%2 | find %3 |")
                 .arg(db.filter().field)
                 .arg(db.filter().text)
                 .arg(db.findField());
        for (int list = 1; list <= 2; ++list) {
            for (size_t c = 0; c < 5; ++c)
                s += QStringLiteral(" %1%2")
                         .arg(db.filterList(list).fields[c])
                         .arg(db.filterList(list).texts[c]);
        }
        return s.toStdString();
    }

    /// Every column's texts by field name, calculated cells recomputed.
    std::map<QString, QStringList> columnsByName()
    {
        for (const auto &c : calc.RecalculateAll().changes)
            db.grid().setCell(c.column, c.row, c.text);
        std::map<QString, QStringList> columns;
        for (int c = 1; c <= db.fieldCount(); ++c)
            columns[db.grid().cell(c, 0)] = {db.grid().cell(c, 1), db.grid().cell(c, 2)};
        return columns;
    }

    Database db;
    FixedLocale locale{QStringLiteral("d.M.yyyy")};
    FixedClock clock;
    ScriptedShell shell;
    CalculatedFields calc{db, locale, clock, shell};
};

} // namespace

TEST_F(References, everyReferenceFollowsItsField)
{
    const std::pair<FieldMapping, const char *> cases[] = {
        {FieldMapping::moved(4, 1, 3), "calc 2,128 | 1,-4,0 | -3,2,7 | filter 4x | find 1 | "
                                       "2a -1b 3d 0e -1 1c -1 -1 -1 -1"},
        {FieldMapping::moved(4, 4, 2), "calc 0,130 | 3,-2,0 | -1,4,7 | filter 2x | find 3 | "
                                       "0a -1b 1d 2e -1 3c -1 -1 -1 -1"},
        {FieldMapping::inserted(4, 2), "calc 0,130 | 3,-5,0 | -1,4,7 | filter 5x | find 3 | "
                                       "0a -1b 4d 2e -1 3c -1 -1 -1 -1"},
        {FieldMapping::inserted(4, 5), "calc 0,129 | 2,-4,0 | -1,3,7 | filter 4x | find 2 | "
                                       "0a -1b 3d 1e -1 2c -1 -1 -1 -1"},
        {FieldMapping::removed(4, 1), "calc 127,128 | 1,-3,0 | 0,2,7 | filter 3x | find 1 | "
                                      "-1 -1b 2d 0e -1 1c -1 -1 -1 -1"},
        {FieldMapping::removed(4, 2), "calc 0,255 | 0,-3,0 | -1,2,7 | filter 3x | find 0 | "
                                      "0a -1b 2d -1 -1 1c -1 -1 -1 -1"},
        {FieldMapping::removed(4, 4), "calc 0,129 | 2,0,0 | -1,3,7 | filter 0 | find 2 | "
                                      "0a -1b -1 1e -1 2c -1 -1 -1 -1"},
    };
    const FieldReferences original = FieldReferences::capture(db);
    for (const auto &[mapping, expected] : cases) {
        FieldReferences::remap(db, mapping);
        EXPECT_EQ(references(), expected);
        original.restore(db);
    }
}

TEST_F(References, movedFieldsCalculateAsBeforeAndMoveBack)
{
    const std::map<QString, QStringList> values = columnsByName();
    ASSERT_EQ(values.at("C"), QStringList({"1", "12"}));
    const FieldReferences original = FieldReferences::capture(db);
    for (int from = 1; from <= 4; ++from) {
        for (int to = 1; to <= 4; ++to) {
            db.grid().moveColumn(from, to);
            db.MoveFieldDef(from, to);
            FieldReferences::remap(db, FieldMapping::moved(4, from, to));
            EXPECT_EQ(columnsByName(), values) << from << " to " << to;
            db.grid().moveColumn(to, from);
            db.MoveFieldDef(to, from);
            FieldReferences::remap(db, FieldMapping::moved(4, to, from));
            EXPECT_TRUE(FieldReferences::capture(db) == original) << from << " to " << to;
        }
    }
}

TEST_F(References, aRemovedOperandStaysMissingInTheFileAndCaptureBringsAllBack)
{
    const std::string before = references();
    const FieldReferences original = FieldReferences::capture(db);
    FieldReferences::remap(db, FieldMapping::removed(4, 2));

    ScriptedMessages messages;
    CipherState cipher;
    Database back;
    ASSERT_TRUE(readFile(DatabaseWriter(messages, cipher).build(db, clock.now()).bytes, back).ok);
    EXPECT_TRUE(FieldReferences::capture(back) == FieldReferences::capture(db));
    EXPECT_EQ(CalculatedFields(back, locale, clock, shell).EvaluateCalcField(3, 2), "???");

    original.restore(db);
    EXPECT_EQ(references(), before);
}
