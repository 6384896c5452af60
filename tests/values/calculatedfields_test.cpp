#include "core/document/database.h"
#include "fixedclock.h"
#include "fixedlocale.h"
#include "numbers/numberseparators.h"
#include "scriptedshell.h"
#include "values/calc/calculatedfields.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

qint32 word(int op, int first, int second, bool firstPrevious = false, bool secondPrevious = false)
{
    return qint32((quint32(first | (firstPrevious ? 0x80 : 0)) << 24) |
                  (quint32(second | (secondPrevious ? 0x80 : 0)) << 16) | quint32(op));
}

class Calc : public ::testing::Test
{
protected:
    Calc() : calc(db, locale, clock, shell)
    {
        saved = NumberSeparators::current();
        NumberSeparators::setCurrent(NumberSeparators::us());
    }
    ~Calc() override { NumberSeparators::setCurrent(saved); }

    /// Fields of the given types and @p records empty records.
    void make(std::initializer_list<int> types, int records)
    {
        db.grid().resize(int(types.size()) + 1, records + 1);
        db.grid().showAllRows();
        int k = 1;
        for (int type : types)
            db.field(k++).type = quint8(type);
    }
    QString cell(int c, int r) const { return db.grid().cell(c, r); }
    void set(int c, int r, const char *text) { db.grid().setCell(c, r, QString::fromUtf8(text)); }
    /// Writes what a computation would change, as the document would.
    void apply(const EditStep::Cells &cells)
    {
        for (const auto &c : cells.changes)
            db.grid().setCell(c.column, c.row, c.text);
    }
    void initialise(int row)
    {
        CalculatedFields::NewRecord record = calc.InitialiseRecord(row);
        for (int k = 1; k < int(record.row.cells.size()); ++k) {
            db.grid().setCell(k, row, record.row.cells[size_t(k)]);
            db.grid().setCheckBox(k, row, record.row.checkBoxes[size_t(k)]);
        }
        for (auto &[slot, def] : record.counters.defs)
            db.field(slot) = def;
    }

    Database db;
    FixedLocale locale{QStringLiteral("d.M.yyyy")};
    FixedClock clock{QDateTime(QDate(2026, 12, 8), QTime(9, 5, 7), Qt::UTC)};
    ScriptedShell shell;
    CalculatedFields calc;
    NumberSeparators saved;
};

} // namespace

TEST_F(Calc, operatorsDecimalsAndDivisionByZero)
{
    using namespace FieldType;
    make({Float, Float, CalcFieldOpField}, 1);
    db.field(3).setting1 = word(4, 0, 1);
    set(1, 1, "1");
    set(2, 1, "3");
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("0.333333333333333"));
    db.field(3).setting2 = 2;
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("0.33"));
    set(2, 1, "0");
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("INF"));
    set(1, 1, "0");
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("INF"));
    set(1, 1, "2.5");
    set(2, 1, "4");
    db.field(3).setting2 = -1;
    db.field(3).setting1 = word(1, 0, 1);
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("7")); // 6.5 to no decimals
    db.field(3).setting2 = 0;
    db.field(3).setting1 = word(2, 0, 1);
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("-1.5"));
    db.field(3).setting1 = word(3, 0, 1);
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("10"));
    // An operator that is not set gives 0.
    db.field(3).setting1 = word(0, 0, 1);
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("0"));
    // Beyond the range of a double.
    db.field(3).setting1 = word(3, 0, 1);
    set(1, 1, "1e308");
    set(2, 1, "10");
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("???"));
}

TEST_F(Calc, constantsAndOperandsThatAreNoNumbers)
{
    using namespace FieldType;
    make({Float, CalcValueOpField, CalcFieldOpValue}, 1);
    db.field(2).setting1 = word(4, 0, 0);
    db.field(2).calcValue1 = 10;
    db.field(3).setting1 = word(2, 0, 0);
    db.field(3).calcValue2 = 0.5;
    set(1, 1, "0");
    EXPECT_EQ(calc.EvaluateCalcField(2, 1), QStringLiteral("INF"));
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("-0.5"));
    set(1, 1, "");
    EXPECT_EQ(calc.EvaluateCalcField(2, 1), QStringLiteral("???"));
    set(1, 1, "x");
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("???"));
    // A reference to a field that is not there.
    db.field(3).setting1 = word(1, 9, 0);
    set(1, 1, "2");
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("???"));
}

TEST_F(Calc, twoStringFieldsAddedAreJoined)
{
    using namespace FieldType;
    make({String, String, CalcFieldOpField}, 1);
    db.field(3).setting1 = word(1, 0, 1);
    set(1, 1, "ab");
    set(2, 1, "cd");
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("abcd"));
    db.field(3).setting1 = word(2, 0, 1);
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("???"));
    set(1, 1, "5");
    set(2, 1, "3");
    EXPECT_EQ(calc.EvaluateCalcField(3, 1), QStringLiteral("2"));
}

TEST_F(Calc, previousRecordReadsTheRowAboveHiddenOrNot)
{
    using namespace FieldType;
    make({Float, CalcFieldOpField}, 5);
    db.field(2).setting1 = word(1, 0, 0, true, false);
    for (int r = 1; r <= 5; ++r)
        db.grid().setCell(1, r, QString::number(r * 10));
    db.grid().setRowHeight(4, 0);
    EXPECT_EQ(calc.EvaluateCalcField(2, 1), QStringLiteral("10")); // 0 + 10
    EXPECT_EQ(calc.EvaluateCalcField(2, 5), QStringLiteral("90")); // 40 + 50
}

TEST_F(Calc, recalculateRowStampsAndReachesEitherSide)
{
    using namespace FieldType;
    // Field 2 uses field 4, which uses field 1: one pass left to right
    // would leave field 2 stale.
    make({Float, CalcFieldOpField, ModificationDate, CalcFieldOpValue, ModificationTime}, 1);
    db.field(2).setting1 = word(3, 3, 3);
    db.field(4).setting1 = word(1, 0, 0);
    db.field(4).calcValue2 = 1;
    set(1, 1, "2");
    apply(calc.RecalculateRow(1));
    EXPECT_EQ(cell(4, 1), QStringLiteral("3"));
    EXPECT_EQ(cell(2, 1), QStringLiteral("9"));
    EXPECT_EQ(cell(3, 1), QStringLiteral("8.12.2026"));
    EXPECT_EQ(cell(5, 1), QStringLiteral("09:05:07"));
}

TEST_F(Calc, initialiseRecordFillsANewRecord)
{
    using namespace FieldType;
    make({String, Boolean, CreationDate, CreationTime, ModificationDate, ModificationTime,
          NormalDate, AutoIncrementInteger, CalcFieldOpField, Float},
         2);
    db.field(1).defaultText = QStringLiteral("dflt");
    db.field(10).defaultText = QStringLiteral("1.5");
    db.field(8).setting1 = 1;
    db.field(8).setting2 = 1;
    db.field(9).setting1 = word(3, 9, 7); // Float default x counter, both to its right or left
    for (int k = 1; k <= 10; ++k)
        db.grid().setCell(k, 2, QStringLiteral("old"));
    initialise(2);
    EXPECT_EQ(cell(1, 2), QStringLiteral("dflt"));
    EXPECT_EQ(cell(2, 2), QStringLiteral("0"));
    EXPECT_TRUE(db.grid().hasCheckBox(2, 2));
    EXPECT_EQ(cell(3, 2), QStringLiteral("8.12.2026"));
    EXPECT_EQ(cell(4, 2), QStringLiteral("09:05:07"));
    EXPECT_EQ(cell(5, 2), QString());
    EXPECT_EQ(cell(6, 2), QString());
    EXPECT_EQ(cell(7, 2), QString());
    EXPECT_EQ(cell(8, 2), QStringLiteral("2"));
    EXPECT_EQ(db.field(8).setting1, 2);
    // Reads the Float field to its right, filled in the same pass.
    EXPECT_EQ(cell(9, 2), QStringLiteral("3"));
    // The counter wraps as 32-bit arithmetic does.
    db.field(8).setting1 = std::numeric_limits<qint32>::max();
    initialise(1);
    EXPECT_EQ(cell(8, 1), QString::number(std::numeric_limits<qint32>::min()));
}

TEST_F(Calc, recalculateAllLeavesStampsAlone)
{
    using namespace FieldType;
    make({CalcFieldOpValue, Float, ModificationDate}, 3);
    db.field(1).setting1 = word(3, 1, 0);
    db.field(1).calcValue2 = 2;
    for (int r = 1; r <= 3; ++r) {
        db.grid().setCell(2, r, QString::number(r));
        db.grid().setCell(3, r, QStringLiteral("stamp"));
    }
    apply(calc.RecalculateAll());
    EXPECT_EQ(cell(1, 1), QStringLiteral("2"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("6"));
    EXPECT_EQ(cell(3, 2), QStringLiteral("stamp"));
}

TEST_F(Calc, columnSum)
{
    using namespace FieldType;
    make({Float, String, CalcFieldOpValue}, 6);
    db.field(3).setting1 = word(3, 0, 0);
    db.field(3).calcValue2 = 2;
    set(1, 1, "1");
    set(1, 2, "x");
    set(1, 3, "2.5");
    set(1, 4, "keep");
    EXPECT_FALSE(calc.ColumnSum(1, 1).has_value()); // nothing above
    // The sum, and the record's calculated cell worked out from it.
    apply(*calc.ColumnSum(1, 4));
    EXPECT_EQ(cell(1, 4), QStringLiteral("3.5"));
    EXPECT_EQ(cell(3, 4), QStringLiteral("7"));
    // Hidden records are skipped.
    db.grid().setRowHeight(3, 0);
    apply(*calc.ColumnSum(1, 5));
    EXPECT_EQ(cell(1, 5), QStringLiteral("4.5"));
    // No number above: nothing to write.
    EXPECT_FALSE(calc.ColumnSum(2, 6).has_value());
    // A protected field only beeps.
    db.field(1).attributes = 0x80;
    EXPECT_FALSE(calc.ColumnSum(1, 6).has_value());
    EXPECT_EQ(shell.log, QStringList({"beep"}));
}

TEST_F(Calc, separatorsInForce)
{
    using namespace FieldType;
    make({Float, CalcFieldOpValue}, 1);
    db.field(2).setting1 = word(3, 0, 0);
    db.field(2).calcValue2 = 2;
    set(1, 1, "3,5");
    NumberSeparators::setCurrent({QLatin1Char(','), QLatin1Char('.')});
    EXPECT_EQ(calc.EvaluateCalcField(2, 1), QStringLiteral("7"));
    db.field(2).calcValue2 = 0.5;
    EXPECT_EQ(calc.EvaluateCalcField(2, 1), QStringLiteral("1,75"));
    NumberSeparators::setCurrent(NumberSeparators::us());
    EXPECT_EQ(calc.EvaluateCalcField(2, 1), QStringLiteral("17.5")); // 35 x 0.5
}
