#include "table/filter/filterengine.h"

#include "core/document/advancedfiltersettings.h"
#include "core/document/database.h"
#include "core/document/databaseoptions.h"
#include "core/document/document.h"
#include "core/platform/localeservice.h"
#include "core/platform/userfeedback.h"
#include "numbers/numberformat.h"

#include <QDate>
#include <QStringView>

#include <array>
#include <optional>

namespace {

/// The filters' upper-casing of one character: a to z only.
inline char16_t upperAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

/// Whether @p upperText occurs in the upper-cased @p cell (at its start when
/// @p atStart), without building the upper-cased copy. An empty text occurs
/// at the start of every cell.
bool occursIn(QStringView cell, QStringView upperText, bool atStart)
{
    const qsizetype n = upperText.size();
    if (n == 0)
        return true;
    if (cell.size() < n)
        return false;
    const char16_t *c = cell.utf16();
    const char16_t *t = upperText.utf16();
    const auto matchesAt = [&](qsizetype at) {
        for (qsizetype j = 1; j < n; ++j) {
            if (upperAscii(c[at + j]) != t[j])
                return false;
        }
        return true;
    };
    if (atStart)
        return upperAscii(c[0]) == t[0] && matchesAt(0);
    const qsizetype last = cell.size() - n;
    for (qsizetype i = 0; i <= last; ++i) {
        if (upperAscii(c[i]) == t[0] && matchesAt(i))
            return true;
    }
    return false;
}

bool isDateType(int type)
{
    return type == FieldType::NormalDate || type == FieldType::CreationDate ||
           type == FieldType::ModificationDate;
}

bool isNumberType(int type)
{
    return type == FieldType::NormalInteger || type == FieldType::AutoIncrementInteger ||
           type == FieldType::Float;
}

/// A number for the comparison form: a text that is no number counts as 0.
double comparisonNumber(QStringView text)
{
    const ParsedNumber n = ParseNumber(text);
    return n.ok ? n.value : 0.0;
}

} // namespace

/// One condition, with what does not depend on the record worked out once.
struct FilterEngine::Condition
{
    enum Kind
    {
        Search,        ///< the text inside the cell
        NonEmpty,      ///< "*"
        Whole,         ///< exactly the text, the whole cell
        CompareDate,   ///< "<" or ">" on a date column
        CompareNumber, ///< "<" or ">" on a number column
    };

    Kind kind = Search;
    int firstColumn = 1;
    int lastColumn = 0;
    QString text;
    bool mustBegin = false;
    bool greater = false;
    std::optional<QDate> date; ///< the value of a date comparison; none: no match
    double number = 0.0;       ///< the value of a number comparison
};

FilterEngine::FilterEngine(Document &doc, LocaleService &locale, UserFeedback &feedback)
    : mDoc(doc), mDb(doc.database()), mLocale(locale), mFeedback(feedback)
{
    loadAdvancedRows();
    const auto follow = [this] {
        if (mDb.advancedFilter() != mLoadedList)
            loadAdvancedRows();
    };
    mConnections = {
        QObject::connect(&doc, &Document::replaced,
                         [this] {
                             mWholeCell.reset();
                             loadAdvancedRows();
                         }),
        QObject::connect(&doc, &Document::optionsChanged, follow),
        QObject::connect(&doc, &Document::fieldMoved, follow),
        QObject::connect(&doc, &Document::fieldInserted, follow),
        QObject::connect(&doc, &Document::fieldRemoved, follow),
    };
}

FilterEngine::~FilterEngine()
{
    for (const QMetaObject::Connection &c : mConnections)
        QObject::disconnect(c);
}

void FilterEngine::ApplyFilter(int mode)
{
    mMode = (mode == Simple || mode == Advanced) ? mode : Off;
    if (mModeChanged)
        mModeChanged(mMode);
    switch (mMode) {
    case Simple:
        SimpleFilter();
        break;
    case Advanced:
        AdvancedFilter();
        break;
    default:
        ShowAllRows();
        break;
    }
}

void FilterEngine::toggleSimpleFilter()
{
    ApplyFilter(mMode == Simple ? Off : Simple);
}

void FilterEngine::toggleAdvancedFilter()
{
    ApplyFilter(mMode == Advanced ? Off : Advanced);
}

void FilterEngine::ShowAllRows()
{
    mFeedback.setBusy(true);
    showAllRowHeights();
    mFeedback.setBusy(false);
}

void FilterEngine::showAllRowHeights()
{
    applyHidden({});
}

EditStep::RowHeights FilterEngine::heightsStep(const std::vector<bool> &hidden) const
{
    // Each run of hidden rows shows as one line: its first row.
    const RecordGrid &grid = mDb.grid();
    EditStep::RowHeights step;
    const int records = mDb.recordCount();
    for (int r = 1; r <= records; ++r) {
        int height = RecordGrid::VisibleRowHeight;
        if (!hidden.empty() && hidden[size_t(r)])
            height = r > 1 && hidden[size_t(r - 1)] ? NoSpaceRowHeight : LineRowHeight;
        if (grid.rowHeight(r) != height)
            step.heights.emplace_back(r, height);
    }
    return step;
}

void FilterEngine::applyHidden(const std::vector<bool> &hidden)
{
    EditStep::RowHeights step = heightsStep(hidden);
    if (!step.heights.empty())
        mDoc.apply(Edit::view(std::move(step)));
}

std::vector<bool> FilterEngine::hiddenBy(const Condition &condition) const
{
    const int records = mDb.recordCount();
    std::vector<bool> hidden(size_t(records) + 1, false);
    for (int r = 1; r <= records; ++r)
        hidden[size_t(r)] = matches(condition, r) != mInclude;
    return hidden;
}

bool FilterEngine::IsRowHidden(int row) const
{
    return mDb.grid().isRowHidden(row);
}

FilterEngine::Condition FilterEngine::prepare(int field, const QString &upperText,
                                              bool mustBegin) const
{
    Condition condition;
    condition.text = upperText;
    condition.mustBegin = mustBegin;
    const int fields = mDb.fieldCount();
    if (field > 0) {
        condition.firstColumn = field;
        condition.lastColumn = field;
    } else {
        condition.firstColumn = 1;
        condition.lastColumn = fields;
    }

    if (upperText == QLatin1String("*"))
        condition.kind = Condition::NonEmpty;

    // Values are compared only in one column of a date or number type. A
    // column beyond the fields holds no cells and no type.
    const bool single = field > 0;
    const int type =
        single && field <= fields ? int(mDb.field(field).type) : int(FieldType::String);
    const bool hasLess = upperText.contains(QLatin1Char('<'));
    const bool hasGreater = upperText.contains(QLatin1Char('>'));
    if (single && (hasLess || hasGreater) && (isDateType(type) || isNumberType(type))) {
        QString value = upperText;
        value.remove(QLatin1Char(' '));
        value.remove(QLatin1Char('<'));
        value.remove(QLatin1Char('>'));
        condition.greater = hasGreater;
        if (isDateType(type)) {
            condition.kind = Condition::CompareDate;
            condition.date = mLocale.parseDate(value);
        } else {
            condition.kind = Condition::CompareNumber;
            condition.number = comparisonNumber(value);
        }
    }
    return condition;
}

bool FilterEngine::matches(const Condition &condition, int row) const
{
    const RecordGrid &grid = mDb.grid();
    switch (condition.kind) {
    case Condition::CompareDate: {
        if (!condition.date)
            return false;
        const QString u = LocaleService::upperAsciiLetters(grid.cell(condition.firstColumn, row));
        const std::optional<QDate> date = mLocale.parseDate(u);
        if (!date)
            return false;
        return condition.greater ? *date > *condition.date : *date < *condition.date;
    }
    case Condition::CompareNumber: {
        const QString u = LocaleService::upperAsciiLetters(grid.cell(condition.firstColumn, row));
        const double number = comparisonNumber(u);
        return condition.greater ? number > condition.number : number < condition.number;
    }
    case Condition::NonEmpty:
        for (int c = condition.firstColumn; c <= condition.lastColumn; ++c) {
            if (!grid.isCellEmpty(c, row))
                return true;
        }
        return false;
    case Condition::Whole: {
        thread_local QString cell;
        grid.cellInto(condition.firstColumn, row, cell);
        return cell == condition.text;
    }
    case Condition::Search: {
        thread_local QString cell; // one string reused for every cell
        for (int c = condition.firstColumn; c <= condition.lastColumn; ++c) {
            grid.cellInto(c, row, cell);
            if (occursIn(cell, condition.text, condition.mustBegin))
                return true;
        }
        return false;
    }
    }
    return false;
}

bool FilterEngine::MatchCondition(int row, int field, const QString &upperText,
                                  bool mustBegin) const
{
    return matches(prepare(field, upperText, mustBegin), row);
}

void FilterEngine::SimpleFilter()
{
    const FilterSettings &filter = mDb.filter();
    if (filter.text.isEmpty()) {
        mFeedback.beep();
        ApplyFilter(Off);
        return;
    }

    mFeedback.setBusy(true);
    Condition condition;
    if (matchesWholeCells()) {
        condition.kind = Condition::Whole;
        condition.firstColumn = condition.lastColumn = filter.field;
        condition.text = filter.text;
    } else {
        condition =
            prepare(filter.field, LocaleService::upperAsciiLetters(filter.text), mMustBegin);
    }
    applyHidden(hiddenBy(condition));
    mFeedback.setBusy(false);
}

bool FilterEngine::matchesWholeCells() const
{
    const FilterSettings &filter = mDb.filter();
    return mWholeCell && *mWholeCell == filter && filter.field >= 1 &&
           filter.field <= mDb.fieldCount();
}

void FilterEngine::FilterByValue(int column, int row)
{
    Q_ASSERT(column >= 1 && column <= mDb.fieldCount());
    Q_ASSERT(row >= 1 && row <= mDb.recordCount());
    const QString value = mDb.grid().cell(column, row);
    DatabaseOptions options = DatabaseOptions::of(mDb);
    options.filter.field = qint8(column);
    options.filter.text = value.isEmpty() ? QStringLiteral("*") : value;
    mMustBegin = false;
    mInclude = !value.isEmpty();
    mWholeCell.reset();
    if (!value.isEmpty())
        mWholeCell = options.filter;

    mMode = Simple;
    if (mModeChanged)
        mModeChanged(mMode);
    mFeedback.setBusy(true);
    Condition condition = prepare(column, options.filter.text, false);
    if (mWholeCell) {
        condition.kind = Condition::Whole;
        condition.text = value;
    }
    Edit edit;
    edit.kind = Edit::View;
    if (!(options == DatabaseOptions::of(mDb)))
        edit.steps.emplace_back(EditStep::Options{options});
    if (EditStep::RowHeights heights = heightsStep(hiddenBy(condition)); !heights.heights.empty())
        edit.steps.emplace_back(std::move(heights));
    if (!edit.steps.empty())
        mDoc.apply(std::move(edit));
    mFeedback.setBusy(false);
}

void FilterEngine::loadAdvancedRows()
{
    mRows = mDb.advancedFilter();
    mLoadedList = mRows;
}

void FilterEngine::AdvancedFilter()
{
    const AdvancedFilterSettings &settings = mRows;

    struct Step
    {
        Condition condition;
        bool exclude;
        bool isAnd;
    };
    std::array<Step, 5> steps;
    int stepCount = 0;
    for (int k = 0; k < 5; ++k) {
        const QString &text = settings.texts[size_t(k)];
        if (text.isEmpty())
            continue;
        // The chooser position: stored -1 is "All Fields", k - 1 field k.
        const int field = int(settings.fields[size_t(k)]) + 1;
        const bool begin = settings.options & AdvancedFilterSettings::beginOption(k);
        Step &step = steps[size_t(stepCount++)];
        step.condition = prepare(field, LocaleService::upperAsciiLetters(text), begin);
        step.exclude = settings.options & AdvancedFilterSettings::excludeOption(k);
        step.isAnd = k > 0 && (settings.options & AdvancedFilterSettings::andOption(k));
    }

    // Without any condition text there is nothing to filter by.
    if (stepCount == 0) {
        mFeedback.beep();
        ApplyFilter(Off);
        return;
    }

    mFeedback.setBusy(true);
    const int records = mDb.recordCount();
    std::vector<bool> hidden(size_t(records) + 1, false);
    for (int r = 1; r <= records; ++r) {
        // Left to right without precedence; the first condition with text
        // starts the chain whatever its operator.
        int v = -1;
        for (int i = 0; i < stepCount; ++i) {
            const Step &step = steps[size_t(i)];
            const int res = matches(step.condition, r) != step.exclude ? 1 : 0;
            if (v == -1)
                v = res;
            else if (step.isAnd)
                v *= res;
            else
                v += res;
        }
        hidden[size_t(r)] = v == 0;
    }
    applyHidden(hidden);
    mFeedback.setBusy(false);
}
