// A full recalculation of the largest database: 32,000 records whose four
// calculated fields read numbers, constants, the record above and each other.

#include "core/document/database.h"
#include "fixedclock.h"
#include "fixedlocale.h"
#include "numbers/numberseparators.h"
#include "scriptedshell.h"
#include "values/calc/calculatedfields.h"

#include <QRandomGenerator>

#include <benchmark/benchmark.h>

namespace {

constexpr int Records = 32000;

qint32 word(int op, int first, int second, bool previous = false)
{
    return qint32((quint32(first | (previous ? 0x80 : 0)) << 24) | (quint32(second) << 16) |
                  quint32(op));
}

void BM_RecalculateAll(benchmark::State &state)
{
    NumberSeparators::setCurrent(NumberSeparators::us());
    Database db;
    RecordGrid &grid = db.grid();
    // Quantity, price, and the calculated fields after them.
    grid.resize(8, Records + 1);
    db.field(1).type = FieldType::NormalInteger;
    db.field(2).type = FieldType::Float;
    db.field(3).type = FieldType::String;
    db.field(4).type = FieldType::CalcFieldOpField; // quantity x price
    db.field(4).setting1 = word(3, 0, 1);
    db.field(4).setting2 = 2;
    db.field(5).type = FieldType::CalcFieldOpValue; // total with tax
    db.field(5).setting1 = word(3, 3, 0);
    db.field(5).calcValue2 = 1.19;
    db.field(5).setting2 = 2;
    db.field(6).type = FieldType::CalcFieldOpField; // running: total + previous running
    db.field(6).setting1 = word(1, 4, 5 | 0x80);
    db.field(7).type = FieldType::CalcValueOpField; // share of 1000
    db.field(7).setting1 = word(4, 0, 4);
    db.field(7).calcValue1 = 1000;
    QRandomGenerator rng(42);
    for (int r = 1; r <= Records; ++r) {
        grid.setCell(1, r, QString::number(rng.bounded(1, 50)));
        grid.setCell(2, r, QString::number(rng.bounded(100000) / 100.0, 'f', 2));
        grid.setCell(3, r, QStringLiteral("item"));
    }
    FixedLocale locale{QStringLiteral("yyyy-MM-dd")};
    FixedClock clock;
    ScriptedShell shell;
    CalculatedFields calc(db, locale, clock, shell);
    for (auto _ : state)
        calc.RecalculateAll();
    state.SetItemsProcessed(state.iterations() * Records * 4);
}

} // namespace

BENCHMARK(BM_RecalculateAll)->Unit(benchmark::kMillisecond);
