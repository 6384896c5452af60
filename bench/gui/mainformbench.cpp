// The main window with the largest database open: what a person waits for
// while browsing (a repaint of the grid, the status refresh of every 100 ms,
// a jump to the last record), and opening the file through the window
// against the reader's own time. The commands and the file commands of the
// window have benchmarks of their own beside this one; main() is here.

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/recordgrid.h"
#include "core/files/opendatabasefile.h"
#include "core/format/databasereader.h"
#include "core/platform/qt/localfilesystem.h"
#include "editormemory.h"
#include "largefiles.h"
#include "openwindow.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"
#include "scriptedshell.h"
#include "widgets/grid/gridview.h"
#include "widgets/grid/recordgridmodel.h"

#include <QAction>
#include <QApplication>

#include <functional>

#include <benchmark/benchmark.h>

namespace {

/// The memory of a window that has run nothing yet; filebench.cpp measures
/// it again after the commands.
void BM_EditorMemory(benchmark::State &state)
{
    measureEditorMemory(state);
}

void BM_ReaderAlone(benchmark::State &state)
{
    const QString path = LargeFiles::instance().plainPath;
    ScriptedMessages messages;
    Database db;
    for (auto _ : state) {
        ScriptedPasswords passwords;
        CipherState cipher;
        LocalFileSystem files;
        auto file = files.openForReading(path);
        if (!DatabaseReader(messages, passwords, cipher).read(*file, path, db).ok)
            state.SkipWithError("the file did not read");
    }
}

void BM_OpenCommandWithoutWindow(benchmark::State &state)
{
    const QString path = LargeFiles::instance().plainPath;
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    LocalFileSystem files;
    ScriptedShell shell;
    CipherState cipher;
    Document doc;
    for (auto _ : state)
        OpenDatabaseFile(doc, path, {messages, passwords, files, shell, shell, shell, cipher});
    if (doc.database().recordCount() != LargeFiles::Records)
        state.SkipWithError("the file did not open");
}

void BM_OpenThroughTheWindow(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    for (auto _ : state)
        w.open();
    if (w.form().services().document.database().recordCount() != LargeFiles::Records)
        state.SkipWithError("the file did not open");
}

void BM_RepaintVisibleGrid(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    GridView *grid = w.form().grid();
    grid->setCurrentCell(1, 1);
    for (auto _ : state)
        grid->repaint();
}

void BM_StatusRefresh(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    for (auto _ : state) {
        w.form().UpdateStatus();
        QApplication::processEvents();
    }
}

void BM_JumpToLastRecordAndBack(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    GridView *grid = w.form().grid();
    const int last = w.form().services().document.database().recordCount();
    bool atEnd = false;
    for (auto _ : state) {
        atEnd = !atEnd;
        const int row = atEnd ? last : 1;
        grid->setCurrentCell(25, row);
        grid->bringCellIntoView(25, row);
        grid->repaint();
    }
}

void BM_HideAndShowEveryRow(benchmark::State &state)
{
    // The view's side of a filter that hides every record and of switching
    // it off again.
    OpenWindow &w = OpenWindow::instance();
    Document &doc = w.form().services().document;
    const int records = doc.database().recordCount();
    EditStep::RowHeights hide;
    EditStep::RowHeights show;
    for (int row = 1; row <= records; ++row) {
        hide.heights.emplace_back(row, row == 1 ? 0 : -1);
        show.heights.emplace_back(row, RecordGrid::VisibleRowHeight);
    }
    for (auto _ : state) {
        doc.apply(Edit::view(hide));
        doc.apply(Edit::view(show));
    }
}

/// One edit through the window's document, with the view brought up to date
/// (a repaint of what shows), and its undo: each iteration is two edits.
/// BM_RepaintNewTexts is the floor for the painting: a screenful of texts
/// the view has not drawn before.
void editAndUndo(benchmark::State &state, const std::function<Edit()> &edit)
{
    OpenWindow &w = OpenWindow::instance();
    Document &doc = w.form().services().document;
    GridView *grid = w.form().grid();
    grid->setCurrentCell(25, 16000);
    grid->bringCellIntoView(25, 16000);
    // Argument 1: each edit is painted at once; 0: the view only hears of
    // it (and would paint at the next event loop turn).
    const bool paint = state.range(0) != 0;
    for (auto _ : state) {
        doc.apply(edit());
        if (paint)
            grid->repaint();
        doc.undo();
        if (paint)
            grid->repaint();
    }
}

void BM_RepaintNewTexts(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    GridView *grid = w.form().grid();
    int row = 1000;
    for (auto _ : state) {
        row = row >= 30000 ? 1000 : row + 97;
        grid->setCurrentCell(25, row);
        grid->scrollTo(grid->gridModel()->index(row - 1, 24), QAbstractItemView::PositionAtTop);
        grid->repaint();
    }
}

void BM_DragRecordFirstToLast(benchmark::State &state)
{
    editAndUndo(state, [] {
        return Edit::change(QStringLiteral("move record"),
                            EditStep::MoveRecord{1, LargeFiles::Records});
    });
}

void BM_DragFieldFirstToLast(benchmark::State &state)
{
    editAndUndo(state, [] {
        return Edit::change(QStringLiteral("move field"),
                            EditStep::MoveField{1, LargeFiles::Fields});
    });
}

void BM_CellEdit(benchmark::State &state)
{
    editAndUndo(state, [] {
        EditStep::Cells cells;
        cells.changes.push_back({25, 16000, QStringLiteral("typed")});
        return Edit::change(QStringLiteral("typing"), std::move(cells));
    });
}

void BM_AutoSizeOnAndOff(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    QAction *autoSizing = w.form().action(Command::AutoSizing);
    for (auto _ : state) {
        autoSizing->trigger();
        autoSizing->trigger();
    }
}

} // namespace

BENCHMARK(BM_EditorMemory)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReaderAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCommandWithoutWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenThroughTheWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintVisibleGrid)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StatusRefresh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_JumpToLastRecordAndBack)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HideAndShowEveryRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RepaintNewTexts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragRecordFirstToLast)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragFieldFirstToLast)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CellEdit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoSizeOnAndOff)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    OpenWindow::release();
    benchmark::Shutdown();
    return 0;
}
