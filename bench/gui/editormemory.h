#pragma once

// The memory of the main window: the allocator's bytes in use with the
// window empty and with the largest database open.

#include "largefiles.h"
#include "openwindow.h"
#include "widgets/grid/gridview.h"

#include <QAction>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <malloc.h>

/// The allocator's bytes in use, small blocks and mapped ones alike.
inline double bytesInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks) + double(info.hblkhd);
}

/// Closes the database (the window empty), then opens the large file and
/// shows it; held_per_file is what opening added, per byte of the file.
inline void measureEditorMemory(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    TMainForm &form = w.form();
    const double file = double(QFileInfo(LargeFiles::instance().plainPath).size());
    double empty = 0;
    double open = 0;
    double mapped = 0;
    for (auto _ : state) {
        form.services().document.setChanged(false);
        form.action(Command::Close)->trigger();
        QApplication::processEvents();
        form.repaint();
        if (form.isDatabaseOpen()) {
            state.SkipWithError("the window did not close the database");
            break;
        }
        empty = bytesInUse();
        w.open();
        form.grid()->setCurrentCell(25, 16000);
        form.grid()->repaint();
        QApplication::processEvents();
        open = bytesInUse();
        mapped = double(mallinfo2().hblkhd);
    }
    const double mebibyte = 1048576.0;
    state.counters["empty_MiB"] = empty / mebibyte;
    state.counters["open_MiB"] = open / mebibyte;
    state.counters["open_mapped_MiB"] = mapped / mebibyte;
    state.counters["file_MiB"] = file / mebibyte;
    state.counters["held_per_file"] = (open - empty) / file;
}
