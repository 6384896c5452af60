// The commands of the main window over the largest database, each with the
// grid brought up to date: argument 0 times the command, argument 1 its
// undo (the other half runs with the clock stopped). The floors beside them
// are the least the same change costs without the command's own work.

#include "core/platform/progress.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "largefiles.h"
#include "openwindow.h"
#include "rules/find/replaceformrules.h"
#include "rules/properties/propertiesformrules.h"
#include "table/filter/filterengine.h"
#include "table/find/findsearch.h"
#include "table/operations/cellcommands.h"
#include "table/operations/clipboardtext.h"
#include "table/sort/recordsort.h"
#include "widgets/grid/gridview.h"
#include "widgets/grid/recordgridmodel.h"
#include "widgets/mainwindow/mainformpropertiesshell.h"

#include <QAction>
#include <QElapsedTimer>

#include <functional>

#include <benchmark/benchmark.h>

namespace {

/// One run of @p command and of @p undo, each followed by a repaint of the
/// grid; @p prepare (the user's click, a dialog opening) is never timed.
/// @p command says whether it did what it should.
void timeCommandOrUndo(benchmark::State &state, const std::function<void()> &prepare,
                       const std::function<bool()> &command, const std::function<void()> &undo)
{
    GridView *grid = OpenWindow::instance().form().grid();
    const bool timeUndo = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        prepare();
        if (!timeUndo)
            state.ResumeTiming();
        const bool done = command();
        grid->repaint();
        if (!timeUndo)
            state.PauseTiming();
        if (!done) {
            state.ResumeTiming();
            state.SkipWithError("the command did nothing");
            break;
        }
        if (timeUndo)
            state.ResumeTiming();
        undo();
        grid->repaint();
        if (!timeUndo)
            state.ResumeTiming();
    }
}

/// A command at cell (@p column, @p row) that leaves an undo step named
/// @p label, and the window's Undo; the confirmations are off.
void commandAndUndo(benchmark::State &state, int column, int row, const QString &label,
                    const std::function<void()> &run)
{
    TMainForm &form = OpenWindow::instance().form();
    form.services().preferences.expertMode = true;
    Document &doc = form.services().document;
    timeCommandOrUndo(
        state, [&] { form.grid()->setCurrentCell(column, row); },
        [&] {
            run();
            return doc.undoLabel() == label;
        },
        [&] { form.action(Command::Undo)->trigger(); });
    if (!state.error_occurred() && doc.redoLabel() != label)
        state.SkipWithError("the undo did not run");
    form.services().preferences.expertMode = false;
}

void trigger(Command command)
{
    OpenWindow::instance().form().action(command)->trigger();
}

void BM_Command_InsertRecord(benchmark::State &state)
{
    // The database has the most records there may be: one makes room.
    Document &doc = OpenWindow::instance().form().services().document;
    doc.apply(
        Edit::change(QStringLiteral("room"), EditStep::RemoveRecords{LargeFiles::Records, 1}));
    commandAndUndo(state, 25, 16000, QStringLiteral("insert row"),
                   [] { trigger(Command::InsertRow); });
    doc.undo();
}

void BM_Command_DeleteRecord(benchmark::State &state)
{
    commandAndUndo(state, 25, 16000, QStringLiteral("delete row"),
                   [] { trigger(Command::DeleteRow); });
}

void BM_Command_InsertField(benchmark::State &state)
{
    // The database has the most fields there may be: one makes room.
    Document &doc = OpenWindow::instance().form().services().document;
    doc.apply(Edit::change(QStringLiteral("room"), EditStep::RemoveField{LargeFiles::Fields, {}}));
    commandAndUndo(state, 25, 16000, QStringLiteral("insert column"),
                   [] { trigger(Command::InsertColumn); });
    doc.undo();
}

void BM_Command_DeleteField(benchmark::State &state)
{
    commandAndUndo(state, 25, 16000, QStringLiteral("delete column"),
                   [] { trigger(Command::DeleteColumn); });
}

void BM_Command_FillDownWholeColumn(benchmark::State &state)
{
    commandAndUndo(state, 25, 1, QStringLiteral("fill down"), [] { trigger(Command::FillDown); });
}

/// A block of 1,000 records by 10 fields pasted from the clipboard.
void BM_Command_PasteBlock(benchmark::State &state)
{
    ClipboardText::Block block(1000, std::vector<QString>(10));
    for (size_t r = 0; r < block.size(); ++r) {
        for (size_t c = 0; c < 10; ++c)
            block[r][c] = QStringLiteral("pasted %1.%2").arg(r).arg(c);
    }
    TMainForm &form = OpenWindow::instance().form();
    form.services().clipboard.setText(ClipboardText::blockText(block));
    commandAndUndo(state, 20, 16000, QStringLiteral("paste"),
                   [&form] { CellCommands(form.services().table()).PasteBlock(20, 16000); });
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

const SortSettings kThreeKeys{{1, -4, 2}};

/// All records by a text, a date descending and an integer.
void BM_Command_SortThreeKeys(benchmark::State &state)
{
    TMainForm &form = OpenWindow::instance().form();
    typeNumberAndDateFields(form.services().document);
    commandAndUndo(state, 1, 16000, QStringLiteral("sort"), [&form] {
        RecordSort::sortRecords(form.services().document, kThreeKeys, form.services().filter,
                                form.services().feedback, form.services().locale);
    });
}

/// The floor of the sort: the same new order applied without sorting.
void BM_Floor_SortPermutationAlone(benchmark::State &state)
{
    TMainForm &form = OpenWindow::instance().form();
    typeNumberAndDateFields(form.services().document);
    const std::vector<int> order =
        RecordSort::order(form.services().document.database(), kThreeKeys, form.services().locale);
    commandAndUndo(state, 1, 16000, QStringLiteral("sort"), [&form, &order] {
        form.services().document.apply(
            Edit::change(QStringLiteral("sort"), EditStep::PermuteRecords{order}));
    });
}

/// The order alone, for the share of the sort in BM_Command_SortThreeKeys.
void BM_Floor_SortOrderAlone(benchmark::State &state)
{
    TMainForm &form = OpenWindow::instance().form();
    typeNumberAndDateFields(form.services().document);
    for (auto _ : state)
        benchmark::DoNotOptimize(RecordSort::order(form.services().document.database(), kThreeKeys,
                                                   form.services().locale));
}

/// Replace All of the Replace dialog over every one of the 1.6 million
/// cells, case-insensitive (each cell upper-cased by the locale), replacing
/// about one cell in twelve.
void BM_Command_ReplaceAllEveryField(benchmark::State &state)
{
    TMainForm &form = OpenWindow::instance().form();
    const EngineServices &s = form.services();
    NoProgress progress;
    ReplaceFormRules rules(
        s.document, s.locale, s.filter, s.feedback, progress,
        [&form](int column, int row) {
            form.grid()->setCurrentCell(column, row);
            form.grid()->bringCellIntoView(column, row);
        },
        &s.calculations);
    ReplaceFormRules::Controls controls = rules.show();
    controls.fieldIndex = 0;
    controls.findText = QStringLiteral("rosemary");
    controls.replaceText = QStringLiteral("thyme");
    controls.mustBegin = false;
    controls.matchCase = false;
    // The dialog opens afresh each time: with the last run's final match
    // still selected, Replace All would replace from there on alone.
    commandAndUndo(state, 1, 1, QStringLiteral("replace all"), [&] {
        rules.show();
        rules.press(ReplaceStep::ReplaceAll, controls);
    });
}

/// Progress that never shows and notes the longest time between two looks
/// at Cancel (from the start to the first look included): how long a user's
/// cancel waits at most.
class GapProgress : public Progress
{
public:
    void start(const QString &) override { mClock.start(); }
    bool advance(int) override
    {
        longestNs = qMax(longestNs, mClock.nsecsElapsed());
        mClock.start();
        ++reports;
        return true;
    }
    void finish() override {}

    qint64 longestNs = 0;
    int reports = 0;

private:
    QElapsedTimer mClock;
};

/// Replace All of @p find by @p replace over every field (the case must
/// match when @p matchCase), its progress watched: the longest wait a
/// cancel would have, and what the status bar says, beside the time.
void replaceAllWatched(benchmark::State &state, const QString &find, const QString &replace,
                       bool matchCase)
{
    TMainForm &form = OpenWindow::instance().form();
    const EngineServices &s = form.services();
    GapProgress progress;
    ReplaceFormRules rules(
        s.document, s.locale, s.filter, s.feedback, progress, [](int, int) {}, &s.calculations);
    const ReplaceFormRules::Controls controls{0, find, replace, false, matchCase};
    QString word;
    commandAndUndo(state, 1, 1, QStringLiteral("replace all"), [&] {
        rules.show();
        progress.longestNs = 0;
        progress.reports = 0;
        word = rules.press(ReplaceStep::ReplaceAll, controls).closingWord;
    });
    state.SetLabel(word.toStdString());
    state.counters["reports"] = progress.reports;
    state.counters["longest_wait_ms"] = double(progress.longestNs) / 1e6;
}

/// Replace All of a word about one cell in twelve holds, case ignored.
void BM_Watched_ReplaceAllWord(benchmark::State &state)
{
    replaceAllWatched(state, QStringLiteral("rosemary"), QStringLiteral("thyme"), false);
}

/// Replace All of a letter most cells hold, often several times: the
/// replacements are most of the work.
void BM_Watched_ReplaceAllLetter(benchmark::State &state)
{
    replaceAllWatched(state, QStringLiteral("e"), QStringLiteral("E"), true);
}

/// Find of a text no cell holds, over every field, its progress watched.
void BM_Watched_FindNoMatch(benchmark::State &state)
{
    const Database &db = OpenWindow::instance().form().services().document.database();
    GapProgress progress;
    for (auto _ : state) {
        progress.start(QString());
        progress.longestNs = 0;
        progress.reports = 0;
        FindSearch search;
        if (search.run(db, {0, QStringLiteral("zeppelin")}, 0, &progress))
            state.SkipWithError("found the unfindable");
    }
    state.counters["reports"] = progress.reports;
    state.counters["longest_wait_ms"] = double(progress.longestNs) / 1e6;
}

/// The floor of Replace All: the Find dialog's search over every cell
/// without a match (a to z upper-cased, no locale).
void BM_Floor_FindNoMatch(benchmark::State &state)
{
    OpenWindow &w = OpenWindow::instance();
    for (auto _ : state) {
        if (!FindSearch::allMatches(w.form().services().document.database(),
                                    {0, QStringLiteral("zeppelin")})
                 .empty())
            state.SkipWithError("found the unfindable");
    }
}

int shownRecords(const Database &db)
{
    int shown = 0;
    for (int r = 1; r <= db.recordCount(); ++r)
        shown += db.grid().isRowHidden(r) ? 0 : 1;
    return shown;
}

/// A filter command of the toolbar switched on (argument 0) and off again
/// (argument 1), once @p settings has stored its conditions as the
/// Properties dialog's OK does; the filter is a view and has no undo.
void filterOnAndOff(benchmark::State &state, Command command, FilterEngine::Mode mode,
                    EditStep::Step settings)
{
    TMainForm &form = OpenWindow::instance().form();
    Document &doc = form.services().document;
    doc.apply(Edit::change(QStringLiteral("filter settings"), std::move(settings)));
    form.grid()->setCurrentCell(1, 1);
    timeCommandOrUndo(
        state, [] {},
        [&] {
            trigger(command);
            return form.services().filter.filterMode() == mode;
        },
        [&] { trigger(command); });
    trigger(command);
    state.counters["shown"] = shownRecords(doc.database());
    trigger(command);
    doc.undo();
}

/// Every field searched for a pair of words about one record in twenty
/// holds.
void BM_Command_SimpleFilter(benchmark::State &state)
{
    DatabaseOptions options =
        DatabaseOptions::of(OpenWindow::instance().form().services().document.database());
    options.filter.field = 0;
    options.filter.text = QStringLiteral("spare rosemary");
    filterOnAndOff(state, Command::Filter, FilterEngine::Simple, EditStep::Options{options});
}

/// The first field beginning with "apple" or the sixth holding "rosemary",
/// and some field holding "pending": about one record in eight.
void BM_Command_AdvancedFilter(benchmark::State &state)
{
    SavedFilterList list;
    list.name = QStringLiteral("bench");
    list.texts = {QStringLiteral("apple"), QStringLiteral("rosemary"), QStringLiteral("pending")};
    list.fields = {0, 5, -1, -1, -1};
    list.options =
        quint16(AdvancedFilterSettings::BaseOption | AdvancedFilterSettings::beginOption(0) |
                AdvancedFilterSettings::andOption(2));
    filterOnAndOff(state, Command::AdvancedFilter, FilterEngine::Advanced,
                   EditStep::NamedLists{{}, {{1, list}}});
}

/// OK of the Properties dialog after the type of field @p column was
/// changed to @p type on its Field page; opening the dialog and picking
/// the type are not timed.
void propertiesTypeChange(benchmark::State &state, int column, int type)
{
    TMainForm &form = OpenWindow::instance().form();
    MainFormPropertiesShell shell(form);
    const EngineServices &s = form.services();
    PropertiesFormRules rules({s.document, s.calculations, s.filter, s.messages, s.passwords,
                               s.locale, s.feedback, s.preferences, shell});
    Document &doc = form.services().document;
    const int before = doc.database().field(column).type;
    timeCommandOrUndo(
        state,
        [&] {
            form.grid()->setCurrentCell(column, 16000);
            rules.FormShow(column);
            rules.C_FieldTypeChange(type);
        },
        [&] {
            return rules.B_OKClick() && doc.undoLabel() == QStringLiteral("properties") &&
                   doc.database().field(column).type == type;
        },
        [&] { form.action(Command::Undo)->trigger(); });
    if (doc.database().field(column).type != before)
        state.SkipWithError("the undo left the new type");
}

/// A field of words made Boolean: every cell becomes 0 with a check box.
void BM_Command_PropertiesTypeToBoolean(benchmark::State &state)
{
    propertiesTypeChange(state, 1, FieldType::Boolean);
}

/// A field of numbers made Integer: the definition alone changes.
void BM_Command_PropertiesTypeToInteger(benchmark::State &state)
{
    propertiesTypeChange(state, 8, FieldType::NormalInteger);
}

} // namespace

BENCHMARK(BM_Command_InsertRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_DeleteRecord)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_InsertField)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_DeleteField)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_FillDownWholeColumn)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_PasteBlock)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_SortThreeKeys)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_SortPermutationAlone)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_SortOrderAlone)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_ReplaceAllEveryField)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Floor_FindNoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Watched_ReplaceAllWord)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Watched_ReplaceAllLetter)->Arg(0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Watched_FindNoMatch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_SimpleFilter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_AdvancedFilter)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_PropertiesTypeToBoolean)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Command_PropertiesTypeToInteger)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
