// The main window with the largest database open: what a person waits for
// while browsing (a repaint of the grid, the status refresh of every 100 ms,
// a jump to the last record), and opening the file through the window
// against the reader's own time.

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/recordgrid.h"
#include "core/files/opendatabasefile.h"
#include "core/format/databasereader.h"
#include "core/platform/qt/localfilesystem.h"
#include "largefiles.h"
#include "memorysettingsstore.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"
#include "scriptedshell.h"
#include "table/find/findsearch.h"
#include "table/find/replacestep.h"
#include "table/operations/cellcommands.h"
#include "table/operations/clipboardtext.h"
#include "table/sort/recordsort.h"
#include "ui/widgets/grid/gridview.h"
#include "ui/widgets/grid/recordgridmodel.h"
#include "ui/widgets/mainwindow/tmainform.h"

#include <QAction>
#include <QApplication>

#include <functional>

#include <benchmark/benchmark.h>

namespace {

class OpenWindow
{
public:
    static OpenWindow &instance()
    {
        if (!sInstance)
            sInstance.reset(new OpenWindow);
        return *sInstance;
    }
    /// The window goes before the application object does.
    static void release() { sInstance.reset(); }

    TMainForm &form() { return *mForm; }

    /// Opens the large plain file and lets the window settle.
    void open()
    {
        mForm->OpenDatabaseFile(LargeFiles::instance().plainPath);
        QApplication::processEvents();
    }

private:
    OpenWindow()
    {
        TMainForm::Overrides overrides;
        overrides.messages = &mMessages;
        mForm = std::make_unique<TMainForm>(mSettings, overrides);
        mForm->resize(1280, 960);
        mForm->show();
        QApplication::processEvents();
        open();
    }

    static inline std::unique_ptr<OpenWindow> sInstance;
    MemorySettingsStore mSettings;
    ScriptedMessages mMessages;
    std::unique_ptr<TMainForm> mForm;
};

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
    if (w.form().database().recordCount() != LargeFiles::Records)
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
    const int last = w.form().database().recordCount();
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
    Document &doc = w.form().document();
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
    Document &doc = w.form().document();
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

/// A command of the main window at cell (@p column, @p row) and its undo,
/// as editAndUndo() measures an edit; the confirmations are off.
void commandAndUndo(benchmark::State &state, int column, int row, const QString &label,
                    const std::function<void()> &run)
{
    OpenWindow &w = OpenWindow::instance();
    w.form().mutablePreferences().expertMode = true;
    Document &doc = w.form().document();
    GridView *grid = w.form().grid();
    const bool paint = state.range(0) != 0;
    for (auto _ : state) {
        grid->setCurrentCell(column, row);
        run();
        if (doc.undoLabel() != label) {
            state.SkipWithError((QStringLiteral("the command did not apply: ") + doc.undoLabel())
                                    .toUtf8()
                                    .constData());
            break;
        }
        if (paint)
            grid->repaint();
        doc.undo();
        if (paint)
            grid->repaint();
    }
    w.form().mutablePreferences().expertMode = false;
}

void BM_InsertRecord(benchmark::State &state)
{
    // The database has the most records there may be: one makes room.
    Document &doc = OpenWindow::instance().form().document();
    doc.apply(
        Edit::change(QStringLiteral("room"), EditStep::RemoveRecords{LargeFiles::Records, 1}));
    commandAndUndo(state, 25, 16000, QStringLiteral("insert row"),
                   [] { OpenWindow::instance().form().action(Command::InsertRow)->trigger(); });
    doc.undo();
}

void BM_DeleteRecord(benchmark::State &state)
{
    commandAndUndo(state, 25, 16000, QStringLiteral("delete row"),
                   [] { OpenWindow::instance().form().action(Command::DeleteRow)->trigger(); });
}

void BM_InsertField(benchmark::State &state)
{
    // The database has the most fields there may be: one makes room.
    Document &doc = OpenWindow::instance().form().document();
    doc.apply(Edit::change(QStringLiteral("room"), EditStep::RemoveField{LargeFiles::Fields, {}}));
    commandAndUndo(state, 25, 16000, QStringLiteral("insert column"),
                   [] { OpenWindow::instance().form().action(Command::InsertColumn)->trigger(); });
    doc.undo();
}

void BM_DeleteField(benchmark::State &state)
{
    commandAndUndo(state, 25, 16000, QStringLiteral("delete column"),
                   [] { OpenWindow::instance().form().action(Command::DeleteColumn)->trigger(); });
}

void BM_FillDownWholeColumn(benchmark::State &state)
{
    commandAndUndo(state, 25, 1, QStringLiteral("fill down"),
                   [] { OpenWindow::instance().form().action(Command::FillDown)->trigger(); });
}

/// A block of 1,000 records by 10 fields pasted from the clipboard.
void BM_PasteBlock(benchmark::State &state)
{
    ClipboardText::Block block(1000, std::vector<QString>(10));
    for (size_t r = 0; r < block.size(); ++r) {
        for (size_t c = 0; c < 10; ++c)
            block[r][c] = QStringLiteral("pasted %1.%2").arg(r).arg(c);
    }
    TMainForm &form = OpenWindow::instance().form();
    form.clipboard().setText(ClipboardText::blockText(block));
    commandAndUndo(state, 20, 16000, QStringLiteral("paste"), [&form] {
        CellCommands({form.document(), form.calculations(), form.messages(), form.feedback(),
                      form.clipboard()})
            .PasteBlock(20, 16000);
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

/// The large file's fields 2, 3 and 4 hold integers, amounts and dates
/// (day/month/year); the sorts read them as such.
void typeNumberAndDateFields(Document &doc)
{
    if (doc.database().field(4).type == FieldType::NormalDate)
        return;
    EditStep::FieldDefs defs;
    const int types[] = {FieldType::NormalInteger, FieldType::Float, FieldType::NormalDate};
    for (int k = 2; k <= 4; ++k) {
        FieldDef def = doc.database().field(k);
        def.type = quint8(types[k - 2]);
        defs.defs.emplace_back(k, def);
    }
    doc.apply(Edit::view(std::move(defs)));
}

/// Sorting all records by a text, a date descending and an integer, with
/// the view brought up to date (the undo that follows is not timed).
void BM_SortThreeKeys(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    TMainForm &form = w.form();
    Document &doc = form.document();
    typeNumberAndDateFields(doc);
    GridView *grid = form.grid();
    grid->setCurrentCell(1, 16000);
    const SortSettings keys{{1, -4, 2}};
    for (auto _ : state) {
        if (!RecordSort::sortRecords(doc, keys, form.filter(), form.feedback(), form.locale()))
            state.SkipWithError("nothing was sorted");
        grid->repaint();
        state.PauseTiming();
        doc.undo();
        grid->repaint();
        state.ResumeTiming();
    }
}

/// The floor of BM_SortThreeKeys: the same new order applied with the view
/// brought up to date, without sorting.
void BM_SortFloorPermutationAlone(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    TMainForm &form = w.form();
    Document &doc = form.document();
    typeNumberAndDateFields(doc);
    GridView *grid = form.grid();
    grid->setCurrentCell(1, 16000);
    const std::vector<int> order =
        RecordSort::order(doc.database(), SortSettings{{1, -4, 2}}, form.locale());
    for (auto _ : state) {
        doc.apply(Edit::change(QStringLiteral("sort"), EditStep::PermuteRecords{order}));
        grid->repaint();
        state.PauseTiming();
        doc.undo();
        grid->repaint();
        state.ResumeTiming();
    }
}

/// The order alone, for the share of the sort in BM_SortThreeKeys.
void BM_SortOrderAlone(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    TMainForm &form = w.form();
    typeNumberAndDateFields(form.document());
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            RecordSort::order(form.database(), SortSettings{{1, -4, 2}}, form.locale()));
    }
}

/// Replace All over every one of the 1.6 million cells, upper-cased by the
/// locale, replacing about one cell in twelve (the undo is not timed).
void BM_ReplaceAllEveryField(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    TMainForm &form = w.form();
    Document &doc = form.document();
    // Argument 1: "Case must match", so nothing is upper-cased.
    const bool matchCase = state.range(0) != 0;
    int replaced = 0;
    for (auto _ : state) {
        ReplaceStep step(doc, form.locale());
        replaced = step.run(ReplaceStep::ReplaceAll, {0, QStringLiteral("rosemary"),
                                                      QStringLiteral("thyme"), false, matchCase})
                       .replacements;
        form.grid()->repaint();
        state.PauseTiming();
        doc.undo();
        form.grid()->repaint();
        state.ResumeTiming();
    }
    state.counters["replaced"] = replaced;
}

/// The floor of Replace All: the Find dialog's search over every cell
/// without a match (a to z upper-cased, no locale).
void BM_FindFloorNoMatch(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    for (auto _ : state) {
        if (!FindSearch::allMatches(w.form().database(), {0, QStringLiteral("zeppelin")}).empty())
            state.SkipWithError("found the unfindable");
    }
}

} // namespace

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
BENCHMARK(BM_InsertRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_InsertField)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DeleteField)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FillDownWholeColumn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PasteBlock)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AutoSizeOnAndOff)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortThreeKeys)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortFloorPermutationAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SortOrderAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReplaceAllEveryField)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FindFloorNoMatch)->Unit(benchmark::kMillisecond);

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
