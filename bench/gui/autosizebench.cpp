// Auto-sizing every column of the largest database (1.6 million texts)
// through the window, against its floor in the same run: the widest first
// line of each column found by adding up its characters' widths from a
// table of the code page's 256 bytes, row by row, as little as any
// auto-size must do.

#include "core/format/codepage.h"
#include "largefiles.h"
#include "openwindow.h"
#include "widgets/grid/gridview.h"

#include <QAction>
#include <QFontMetricsF>

#include <array>
#include <cmath>

#include <benchmark/benchmark.h>

namespace {

void BM_AutoSizeFloor(benchmark::State &state)
{
    TMainForm &form = OpenWindow::instance().form();
    const RecordGrid &grid = form.services().document.database().grid();
    std::array<int, 256> widths{};
    const QFontMetricsF metrics(form.programFont());
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        widths[size_t(b)] =
            int(std::lround(metrics.horizontalAdvance(Codepage::decode(&byte, 1).at(0)) * 64));
    }
    const int fields = grid.fieldCount();
    std::vector<qint64> widest(size_t(fields) + 1);
    for (auto _ : state) {
        std::fill(widest.begin(), widest.end(), 0);
        for (int r = 0; r < grid.rowCount(); ++r) {
            for (int c = 1; c <= fields; ++c) {
                const char *bytes = nullptr;
                qsizetype size = 0;
                if (!grid.storedCell(c, r, &bytes, &size))
                    continue;
                qint64 sum = 0;
                for (qsizetype i = 0; i < size && bytes[i] != '\n' && bytes[i] != '\r'; ++i)
                    sum += widths[static_cast<unsigned char>(bytes[i])];
                widest[size_t(c)] = std::max(widest[size_t(c)], sum);
            }
        }
        benchmark::DoNotOptimize(widest.data());
    }
    state.counters["cells"] = double(grid.rowCount()) * fields;
}

/// Auto-size switched on through the window, the grid repainted after it;
/// switching it off again is not timed.
void BM_AutoSizeOn(benchmark::State &state)
{
    TMainForm &form = OpenWindow::instance().form();
    QAction *autoSizing = form.action(Command::AutoSizing);
    if (autoSizing->isChecked())
        autoSizing->trigger();
    for (auto _ : state) {
        autoSizing->trigger();
        form.grid()->repaint();
        state.PauseTiming();
        if (!form.services().document.database().autoSizeColumns())
            state.SkipWithError("auto-size did not come on");
        autoSizing->trigger();
        form.grid()->repaint();
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(BM_AutoSizeFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoSizeOn)->Unit(benchmark::kMillisecond);
