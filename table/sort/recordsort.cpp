#include "table/sort/recordsort.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/document/fieldtype.h"
#include "core/platform/localeservice.h"
#include "core/platform/userfeedback.h"
#include "numbers/numberformat.h"
#include "table/filter/filterengine.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <utility>

namespace {

/// The three converted keys of one record and the record itself.
struct SortRow
{
    std::array<double, 3> keys;
    int record;
};

/// Day numbers count from the date scale's zero point, 30 December 1899,
/// which is also what a text that is no date counts as.
const qint64 ZeroDay = QDate(1899, 12, 30).toJulianDay();

enum class Kind
{
    Absent,
    Date,
    Time,
    Number,
    Text
};

Kind kindOf(const Database &db, int column)
{
    if (column < 1 || column > db.fieldCount())
        return Kind::Absent;
    switch (db.field(column).type) {
    case FieldType::NormalDate:
    case FieldType::CreationDate:
    case FieldType::ModificationDate:
        return Kind::Date;
    case FieldType::NormalTime:
    case FieldType::CreationTime:
    case FieldType::ModificationTime:
        return Kind::Time;
    case FieldType::NormalInteger:
    case FieldType::AutoIncrementInteger:
    case FieldType::Float:
    case FieldType::CalcFieldOpField:
    case FieldType::CalcValueOpField:
    case FieldType::CalcFieldOpValue:
        return Kind::Number;
    default:
        return Kind::Text;
    }
}

/// A value that compares with every other: NaN would compare equal to
/// everything and break the order the partitions rely on.
double ordered(double value)
{
    return std::isnan(value) ? 0.0 : value;
}

/// Fills key @p k of every row with @p value of the texts of @p column,
/// parsing each distinct text once (a column of dates repeats many).
template <typename Value>
void convertEach(const RecordGrid &grid, int column, std::vector<SortRow> &rows, int k, Value value)
{
    QHash<QString, double> known;
    known.reserve(qsizetype(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r) {
        const QString &text = grid.cell(column, int(r) + 1);
        auto it = known.constFind(text);
        if (it == known.constEnd())
            it = known.insert(text, value(text));
        rows[r].keys[size_t(k)] = *it;
    }
}

/// Fills key @p k of every row with the converted texts of @p column.
void convert(const Database &db, int column, const LocaleService &locale,
             std::vector<SortRow> &rows, int k)
{
    const RecordGrid &grid = db.grid();
    const int n = int(rows.size());
    switch (kindOf(db, column)) {
    case Kind::Absent:
        for (SortRow &row : rows)
            row.keys[size_t(k)] = 0.0;
        return;
    case Kind::Date:
        convertEach(grid, column, rows, k, [&locale](const QString &text) {
            const std::optional<QDate> d = locale.parseDate(text);
            return d ? double(d->toJulianDay() - ZeroDay) : 0.0;
        });
        return;
    case Kind::Time:
        convertEach(grid, column, rows, k, [&locale](const QString &text) {
            const std::optional<QTime> t = locale.parseTime(text);
            return t ? t->msecsSinceStartOfDay() / 86400000.0 : 0.0;
        });
        return;
    case Kind::Number:
        for (int r = 1; r <= n; ++r)
            rows[size_t(r - 1)].keys[size_t(k)] = ordered(ParseNumber(grid.cell(column, r)).value);
        return;
    case Kind::Text:
        break;
    }
    // Texts become their rank among the column's distinct texts in the
    // locale's collation; texts the collation holds equal share a rank.
    QHash<QString, int> distinct;
    std::vector<QString> texts;
    for (int r = 1; r <= n; ++r) {
        const QString &text = grid.cell(column, r);
        if (!distinct.contains(text)) {
            distinct.insert(text, 0);
            texts.push_back(text);
        }
    }
    std::sort(texts.begin(), texts.end(),
              [&locale](const QString &a, const QString &b) { return locale.compare(a, b) < 0; });
    int rank = 0;
    for (size_t i = 0; i < texts.size(); ++i) {
        if (i > 0 && locale.compare(texts[i - 1], texts[i]) != 0)
            ++rank;
        distinct[texts[i]] = rank;
    }
    for (int r = 1; r <= n; ++r)
        rows[size_t(r - 1)].keys[size_t(k)] = distinct.value(grid.cell(column, r));
}

/// Whether the keys @p a of the row at @p ia sort before the keys @p b of
/// the row at @p ib: the keys in turn, each in its direction, then the row
/// index, always ascending.
inline bool before(const std::array<double, 3> &a, int ia, const std::array<double, 3> &b, int ib,
                   const std::array<int, 3> &direction)
{
    for (size_t k = 0; k < 3; ++k) {
        const int c = (a[k] < b[k]) ? -1 : (b[k] < a[k] ? 1 : 0);
        if (c != 0)
            return c * direction[k] < 0;
    }
    return ia < ib;
}

/// The QuickSort over the converted rows. The pivot's keys and index are
/// read once per range while rows move; a row is always compared with the
/// index it has now. Because the converted keys order totally, every scan
/// meets a row that stops it inside [lo, hi] (the pivot row on the first
/// pass, the row just exchanged on every later one); the scans are bounded
/// by the range all the same. A range waits on `pending` while an earlier
/// one is sorted, in the order the recursive form takes them.
void quickSort(std::vector<SortRow> &rows, const std::array<int, 3> &direction)
{
    if (rows.size() < 2)
        return;
    std::vector<std::pair<int, int>> pending{{0, int(rows.size()) - 1}};
    while (!pending.empty()) {
        const auto [lo, hi] = pending.back();
        pending.pop_back();
        int i = lo;
        int j = hi;
        const int pivotIndex = lo + (hi - lo) / 2;
        const std::array<double, 3> pivot = rows[size_t(pivotIndex)].keys;
        if (j > i) {
            do {
                while (i < hi && before(rows[size_t(i)].keys, i, pivot, pivotIndex, direction))
                    ++i;
                while (j > lo && before(pivot, pivotIndex, rows[size_t(j)].keys, j, direction))
                    --j;
                if (i <= j) {
                    std::swap(rows[size_t(i)], rows[size_t(j)]);
                    ++i;
                    --j;
                }
            } while (j > i);
        }
        const bool left = j > lo;
        const bool right = i < hi;
        if (left && right && i > j && (j - lo) > (hi - i)) {
            // Apart, the two ranges sort alike in either order: the smaller
            // first keeps the list short.
            pending.emplace_back(lo, j);
            pending.emplace_back(i, hi);
            continue;
        }
        // Sharing a row (i == j), the left range must go first.
        if (right)
            pending.emplace_back(i, hi);
        if (left)
            pending.emplace_back(lo, j);
    }
}

} // namespace

std::vector<int> RecordSort::order(const Database &db, const SortSettings &keys,
                                   const LocaleService &locale)
{
    const int n = db.recordCount();
    std::vector<SortRow> rows(size_t(n), SortRow{});
    for (int r = 1; r <= n; ++r)
        rows[size_t(r - 1)].record = r;
    if (keys.keys[0] == 0 || n < 2) {
        std::vector<int> identity(static_cast<size_t>(n));
        std::iota(identity.begin(), identity.end(), 1);
        return identity;
    }
    std::array<int, 3> direction{};
    for (int k = 0; k < 3; ++k) {
        const int key = keys.keys[size_t(k)];
        direction[size_t(k)] = key < 0 ? -1 : 1;
        convert(db, key < 0 ? -key : key, locale, rows, k);
    }
    quickSort(rows, direction);
    std::vector<int> result(static_cast<size_t>(n));
    for (int r = 0; r < n; ++r)
        result[size_t(r)] = rows[size_t(r)].record;
    return result;
}

bool RecordSort::sortRecords(Document &doc, const SortSettings &keys, FilterEngine &filter,
                             UserFeedback &feedback, const LocaleService &locale,
                             const QString &label)
{
    if (keys.keys[0] == 0)
        return false;
    filter.ApplyFilter(FilterEngine::Off);
    feedback.setBusy(true);
    std::vector<int> sorted = order(doc.database(), keys, locale);
    Edit edit;
    edit.label = label;
    if (doc.database().sort() != keys)
        edit.steps.push_back(EditStep::SortKeys{keys});
    bool moved = false;
    for (size_t i = 0; i < sorted.size() && !moved; ++i)
        moved = sorted[i] != int(i) + 1;
    if (moved)
        edit.steps.push_back(EditStep::PermuteRecords{std::move(sorted)});
    const bool applied = !edit.steps.empty();
    if (applied)
        doc.apply(std::move(edit));
    feedback.setBusy(false);
    return applied;
}

bool RecordSort::sortByColumn(Document &doc, int column, bool reverse, FilterEngine &filter,
                              UserFeedback &feedback, const LocaleService &locale)
{
    if (column < 1 || column > doc.database().fieldCount())
        return false;
    SortSettings keys = doc.database().sort();
    keys.keys[0] = qint8(reverse ? -column : column);
    return sortRecords(doc, keys, filter, feedback, locale);
}
