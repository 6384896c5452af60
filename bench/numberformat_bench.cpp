#include "numbers/numberformat.h"

#include <benchmark/benchmark.h>

#include <QList>
#include <QString>

#include <random>

namespace {

const NumberSeparators kPoint{QChar(u'.'), QChar(u',')};

/// Cell texts as a number field holds them: prices, counts, measurements.
QList<QString> cellTexts()
{
    return {
        QStringLiteral("42"),
        QStringLiteral("1,234.50"),
        QStringLiteral("-0.001"),
        QStringLiteral("3.14159265358979"),
        QStringLiteral("1.5E-7"),
        QStringLiteral("  12  "),
        QStringLiteral("100000"),
        QStringLiteral("0.25"),
        QStringLiteral("19.99"),
        QStringLiteral("-273.15"),
        QStringLiteral("6.02214076E23"),
        QStringLiteral("7"),
    };
}

/// Values of the same kind, with a share of arbitrary doubles.
QList<double> cellValues()
{
    QList<double> values = {42,  1234.5, -0.001, 3.14159265358979, 1.5e-7,        12,
                            1e5, 0.25,   19.99,  -273.15,          6.02214076e23, 7};
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> spread(-1e6, 1e6);
    for (int i = 0; i < 52; ++i)
        values.append(spread(rng));
    return values;
}

void BM_ParseNumber(benchmark::State &state)
{
    const QList<QString> texts = cellTexts();
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseNumber(texts[i], kPoint));
        if (++i == texts.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseNumber);

void BM_ParseNumberLongText(benchmark::State &state)
{
    const QString text = QStringLiteral("1,234,567,890,123,456,789.0123456789012345678901234");
    for (auto _ : state)
        benchmark::DoNotOptimize(ParseNumber(text, kPoint));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseNumberLongText);

void BM_FormatNumber(benchmark::State &state)
{
    const QList<double> values = cellValues();
    const auto decimals = qint32(state.range(0));
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatNumber(decimals, values[i], kPoint));
        if (++i == values.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatNumber)->Arg(0)->Arg(2)->Arg(-1);

void BM_FormatThenParse(benchmark::State &state)
{
    const QList<double> values = cellValues();
    qsizetype i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseNumber(FormatNumber(0, values[i], kPoint), kPoint));
        if (++i == values.size())
            i = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatThenParse);

} // namespace
