// The main window's file commands over the largest database: export and
// import of its texts as comma-separated text, saving through the window
// against the writer alone, and the memory of the window measured again
// once all the commands have run.

#include "core/crypto/cipherstate.h"
#include "core/files/savedatabasefile.h"
#include "core/platform/qt/localfilesystem.h"
#include "editormemory.h"
#include "fixedclock.h"
#include "largefiles.h"
#include "openwindow.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "widgets/grid/gridview.h"

#include <QAction>
#include <QFileInfo>

#include <benchmark/benchmark.h>

namespace {

double mebibytes(double bytes)
{
    return bytes / 1048576.0;
}

/// The Export command's file, comma-separated.
QString textPath()
{
    return OpenWindow::instance().scratchPath(QStringLiteral("large.csv"));
}

/// The Export command with the save dialog answering textPath().
bool exportText()
{
    OpenWindow &w = OpenWindow::instance();
    w.dialogs().fileAnswers = {textPath()};
    w.dialogs().chosenFilter = 1; // "Comma Separator (*.CSV)"
    const QDateTime before = QFileInfo(textPath()).lastModified();
    w.form().action(Command::Export)->trigger();
    return w.dialogs().fileAnswers.empty() && QFileInfo(textPath()).lastModified() != before;
}

/// Every record of the open database written as text (no undo).
void BM_Command_ExportText(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    w.form().services().filter.ApplyFilter(FilterEngine::Off);
    for (auto _ : state) {
        if (!exportText()) {
            state.SkipWithError("nothing was exported");
            break;
        }
    }
    const double size = double(QFileInfo(textPath()).size());
    state.SetBytesProcessed(state.iterations() * qint64(size));
    state.counters["text_MiB"] = mebibytes(size);
}

/// That same text imported as a new database in place of the open one,
/// shown in the grid. Import clears the undo history: it has no undo. The
/// large file is opened again after each run, untimed.
void BM_Command_ImportText(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    TMainForm &form = w.form();
    form.services().filter.ApplyFilter(FilterEngine::Off);
    if (!QFileInfo::exists(textPath()) && !exportText()) {
        state.SkipWithError("nothing was exported");
        return;
    }
    int records = 0;
    for (auto _ : state) {
        w.dialogs().fileAnswers = {textPath()};
        w.dialogs().chosenFilter = 1;
        form.action(Command::Import)->trigger();
        form.grid()->repaint();
        state.PauseTiming();
        records = form.services().document.database().recordCount();
        const bool imported =
            form.services().document.database().filePath() != LargeFiles::instance().plainPath;
        w.open();
        state.ResumeTiming();
        if (!imported) {
            state.SkipWithError("nothing was imported");
            break;
        }
    }
    const qint64 size = QFileInfo(textPath()).size();
    state.SetBytesProcessed(state.iterations() * size);
    state.counters["records"] = records;
    state.counters["text_MiB"] = mebibytes(double(size));
}

/// The database's own file from here on is a file of the run's own, given
/// to the window's Save As once; the database is marked changed before
/// each save, as a user saves.
QString savedPath()
{
    OpenWindow &w = OpenWindow::instance();
    const QString path = w.scratchPath(QStringLiteral("saved.pdb"));
    if (w.form().services().document.database().filePath() != path) {
        w.dialogs().fileAnswers = {path};
        w.form().action(Command::SaveAs)->trigger();
    }
    return path;
}

/// SaveDatabaseFile under the database's own name, as the window calls it.
void BM_WriterAlone(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    Document &doc = w.form().services().document;
    const QString path = savedPath();
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    CipherState cipher;
    LocalFileSystem files;
    for (auto _ : state) {
        state.PauseTiming();
        doc.setChanged(true);
        state.ResumeTiming();
        if (!SaveDatabaseFile(doc, SaveTarget::ownName(),
                              {messages, files, shell, shell, clock, cipher}) ||
            doc.database().isChanged()) {
            state.SkipWithError("the save failed");
            break;
        }
    }
    state.counters["file_MiB"] = mebibytes(double(QFileInfo(path).size()));
}

/// The window's Save command: the same save with the window's services,
/// its question about auto-sized widths and its status refresh.
void BM_SaveThroughTheWindow(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    Document &doc = w.form().services().document;
    const QString path = savedPath();
    QAction *save = w.form().action(Command::Save);
    for (auto _ : state) {
        state.PauseTiming();
        doc.setChanged(true);
        state.ResumeTiming();
        save->trigger();
        if (doc.database().isChanged() || doc.database().filePath() != path) {
            state.SkipWithError("the window did not save");
            break;
        }
    }
    state.counters["file_MiB"] = mebibytes(double(QFileInfo(path).size()));
}

/// The memory as BM_EditorMemory measures it, once every command above has
/// run: what the window keeps from them shows in empty_MiB.
void BM_EditorMemoryAfterTheCommands(benchmark::State &state)
{
    measureEditorMemory(state);
}

} // namespace

BENCHMARK(BM_Command_ExportText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_ImportText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriterAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveThroughTheWindow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditorMemoryAfterTheCommands)->Iterations(1)->Unit(benchmark::kMillisecond);
