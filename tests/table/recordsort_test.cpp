#include "core/document/database.h"
#include "core/document/fieldtype.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "documentaccess.h"
#include "fixedlocale.h"
#include "numbers/numberformat.h"
#include "numbers/numberseparators.h"
#include "scriptedshell.h"
#include "table/filter/filterengine.h"
#include "table/sort/recordsort.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

/// FixedLocale with times that read back in their own format too.
class TimedLocale : public FixedLocale
{
public:
    std::optional<QTime> parseTime(const QString &text) const override
    {
        const QTime t = QTime::fromString(text, QStringLiteral("HH:mm:ss"));
        return t.isValid() ? std::optional<QTime>(t) : std::nullopt;
    }
};

/// The sort as the handheld's desktop program has always done it, written
/// out plainly: every comparison reads the cells of the rows as they stand
/// now and converts them again. Records are moved as wholes.
class PlainQuickSort
{
public:
    PlainQuickSort(const Database &db, const SortSettings &keys, const LocaleService &locale)
        : mDb(db), mKeys(keys), mLocale(locale)
    {
        for (int r = 1; r <= db.recordCount(); ++r)
            mRows.push_back(r);
    }

    std::vector<int> run()
    {
        if (mKeys.keys[0] != 0 && mRows.size() > 1)
            quickSort(1, int(mRows.size()));
        return mRows;
    }

private:
    struct Tuple
    {
        QString texts[3];
        int index;
    };

    Tuple tuple(int row) const
    {
        Tuple t;
        for (int k = 0; k < 3; ++k) {
            const int column = qAbs(int(mKeys.keys[size_t(k)]));
            t.texts[k] = column == 0 ? QString() : mDb.grid().cell(column, mRows[size_t(row - 1)]);
        }
        t.index = row;
        return t;
    }

    int sign(double a, double b) const { return a < b ? -1 : (a > b ? 1 : 0); }

    int compareKey(int column, const QString &a, const QString &b) const
    {
        if (column == 0 || column > mDb.fieldCount())
            return 0;
        const QDate zero(1899, 12, 30);
        switch (mDb.field(column).type) {
        case FieldType::NormalDate:
        case FieldType::CreationDate:
        case FieldType::ModificationDate: {
            const auto da = mLocale.parseDate(a);
            const auto db = mLocale.parseDate(b);
            return sign(da ? zero.daysTo(*da) : 0.0, db ? zero.daysTo(*db) : 0.0);
        }
        case FieldType::NormalTime:
        case FieldType::CreationTime:
        case FieldType::ModificationTime: {
            const auto ta = mLocale.parseTime(a);
            const auto tb = mLocale.parseTime(b);
            return sign(ta ? ta->msecsSinceStartOfDay() : 0, tb ? tb->msecsSinceStartOfDay() : 0);
        }
        case FieldType::NormalInteger:
        case FieldType::AutoIncrementInteger:
        case FieldType::Float:
        case FieldType::CalcFieldOpField:
        case FieldType::CalcValueOpField:
        case FieldType::CalcFieldOpValue:
            return sign(ParseNumber(a).value, ParseNumber(b).value);
        default: {
            const int c = mLocale.compare(a, b);
            return c < 0 ? -1 : (c > 0 ? 1 : 0);
        }
        }
    }

    bool before(const Tuple &a, const Tuple &b) const
    {
        int sum = 0;
        const int weight[3] = {8, 4, 2};
        for (int k = 0; k < 3; ++k) {
            const int key = mKeys.keys[size_t(k)];
            sum += weight[k] * (key < 0 ? -1 : 1) * compareKey(qAbs(key), a.texts[k], b.texts[k]);
        }
        sum += sign(a.index, b.index);
        return sum < 0;
    }

    void quickSort(int lo, int hi)
    {
        int i = lo;
        int j = hi;
        const Tuple p = tuple((lo + hi) / 2);
        if (j > i) {
            do {
                while (before(tuple(i), p)) {
                    ++i;
                    if (i > hi) {
                        ADD_FAILURE() << "the scan ran past the rows";
                        return;
                    }
                }
                while (before(p, tuple(j))) {
                    --j;
                    if (j < lo) {
                        ADD_FAILURE() << "the scan ran past the rows";
                        return;
                    }
                }
                if (i <= j) {
                    std::swap(mRows[size_t(i - 1)], mRows[size_t(j - 1)]);
                    ++i;
                    --j;
                }
            } while (j > i);
        }
        if (j > lo)
            quickSort(lo, j);
        if (i < hi)
            quickSort(i, hi);
    }

    const Database &mDb;
    SortSettings mKeys;
    const LocaleService &mLocale;
    std::vector<int> mRows;
};

class Sort : public ::testing::Test
{
protected:
    Sort()
    {
        saved = NumberSeparators::current();
        NumberSeparators::setCurrent(NumberSeparators::us());
    }
    ~Sort() override { NumberSeparators::setCurrent(saved); }

    /// Fields of the types given, one record per row of texts.
    void make(Database &db, const std::vector<int> &types,
              const std::vector<std::vector<QString>> &rows)
    {
        db.grid().resize(int(types.size()) + 1, int(rows.size()) + 1);
        db.grid().showAllRows();
        for (size_t k = 0; k < types.size(); ++k)
            db.field(int(k) + 1).type = quint8(types[k]);
        for (size_t r = 0; r < rows.size(); ++r)
            for (size_t c = 0; c < rows[r].size(); ++c)
                db.grid().setCell(int(c) + 1, int(r) + 1, rows[r][c]);
    }

    NumberSeparators saved;
};

} // namespace

TEST_F(Sort, convertedKeysGiveExactlyThePlainSortsOrder)
{
    // Small databases full of equal keys, every kind of field, one to three
    // keys in either direction: the order must be the same to the last of
    // the equal records.
    const QStringList texts = {
        QStringLiteral("b"),          QStringLiteral("B"),        QStringLiteral("a"),
        QStringLiteral(""),           QStringLiteral("10"),       QStringLiteral("9"),
        QStringLiteral("abc"),        QStringLiteral("-1.5"),     QStringLiteral("1/2/2004"),
        QStringLiteral("12/31/1899"), QStringLiteral("13:05:00"), QStringLiteral("08:00:00"),
        QStringLiteral("1,000")};
    const int types[] = {FieldType::String,           FieldType::Boolean,
                         FieldType::NormalDate,       FieldType::NormalTime,
                         FieldType::NormalInteger,    FieldType::Float,
                         FieldType::CalcFieldOpField, FieldType::MultiplePopup};
    TimedLocale locale;
    QRandomGenerator rng(12);
    for (int round = 0; round < 800; ++round) {
        const int fields = 1 + int(rng.bounded(4));
        const int records = int(rng.bounded(40));
        std::vector<int> fieldTypes;
        for (int k = 0; k < fields; ++k)
            fieldTypes.push_back(types[rng.bounded(int(std::size(types)))]);
        // Few distinct values per field, so that many records tie.
        const int variety = 1 + int(rng.bounded(5));
        const int offset = int(rng.bounded(int(texts.size())));
        std::vector<std::vector<QString>> rows(static_cast<size_t>(records));
        for (auto &row : rows)
            for (int k = 0; k < fields; ++k)
                row.push_back(texts[(offset + int(rng.bounded(variety))) % texts.size()]);
        Database db;
        make(db, fieldTypes, rows);
        SortSettings keys;
        const int keyCount = 1 + int(rng.bounded(3));
        for (int k = 0; k < keyCount; ++k) {
            const int field = 1 + int(rng.bounded(fields));
            keys.keys[size_t(k)] = qint8(rng.bounded(2) ? field : -field);
        }
        ASSERT_EQ(RecordSort::order(db, keys, locale), PlainQuickSort(db, keys, locale).run())
            << "round " << round;
    }
}

TEST_F(Sort, ordersByTypeAsTheHandheldProgramDoes)
{
    const QtLocaleService english(QLocale(QLocale::English, QLocale::UnitedStates));
    const FixedLocale fixed;
    struct Case
    {
        const char *what;
        std::vector<int> types;
        std::vector<std::vector<QString>> rows;
        SortSettings keys;
        const LocaleService &locale;
        std::vector<int> order;
    };
    const auto s = [](const char *t) { return QString::fromUtf8(t); };
    const Case cases[] = {
        // Traced by hand through the partitions: the pivot (b, record 2)
        // carries record 4 forward and the two b's behind it change places.
        {"equal records",
         {FieldType::String},
         {{s("b")}, {s("b")}, {s("b")}, {s("a")}},
         {{1, 0, 0}},
         fixed,
         {4, 1, 3, 2}},
        {"a Float field",
         {FieldType::Float},
         {{s("10")}, {s("abc")}, {s("9")}},
         {{1, 0, 0}},
         fixed,
         {2, 3, 1}},
        {"collation, not codes",
         {FieldType::String},
         {{s("b")}, {s("B")}, {s("a")}},
         {{1, 0, 0}},
         english,
         {3, 1, 2}},
        {"codes for a locale that compares them",
         {FieldType::String},
         {{s("b")}, {s("B")}, {s("a")}},
         {{1, 0, 0}},
         fixed,
         {2, 3, 1}},
        {"an empty date first",
         {FieldType::NormalDate},
         {{s("3/1/2004")}, {s("")}, {s("1/2/1990")}},
         {{1, 0, 0}},
         fixed,
         {2, 3, 1}},
        {"reverse with an ascending second key",
         {FieldType::String, FieldType::Float},
         {{s("x"), s("2")}, {s("y"), s("5")}, {s("x"), s("1")}, {s("y"), s("3")}},
         {{-1, 2, 0}},
         fixed,
         {4, 2, 3, 1}},
        {"a first key of 0 sorts nothing",
         {FieldType::Float},
         {{s("3")}, {s("2")}, {s("1")}},
         {{0, 1, 0}},
         fixed,
         {1, 2, 3}},
        {"a key naming no field ties",
         {FieldType::Float},
         {{s("3")}, {s("2")}},
         {{7, 0, 0}},
         fixed,
         {1, 2}},
    };
    for (const Case &c : cases) {
        Database db;
        make(db, c.types, c.rows);
        EXPECT_EQ(RecordSort::order(db, c.keys, c.locale), c.order) << c.what;
    }
}

TEST_F(Sort, isOneUndoableEditThatShowsEveryRecordFirst)
{
    Document doc;
    Database &db = DocumentAccess::database(doc);
    make(db, {FieldType::String, FieldType::String},
         {{QStringLiteral("c"), QStringLiteral("1")},
          {QStringLiteral("a"), QStringLiteral("2")},
          {QStringLiteral("b"), QStringLiteral("3")}});
    db.sort().keys = {0, 2, 0};
    db.filter().text = QStringLiteral("a");
    FixedLocale locale;
    ScriptedShell shell;
    FilterEngine filter(doc, locale, shell);
    filter.ApplyFilter(FilterEngine::Simple);
    const auto state = [&] {
        QStringList s;
        for (int r = 1; r <= db.recordCount(); ++r)
            s << db.grid().cell(1, r) + db.grid().cell(2, r);
        return std::make_tuple(s, db.sort().keys[0], db.sort().keys[1], db.isChanged(),
                               filter.filterMode());
    };

    // No current field: nothing at all changes.
    EXPECT_FALSE(RecordSort::sortByColumn(doc, 0, false, filter, shell, locale));
    EXPECT_EQ(state(), std::make_tuple(QStringList{"c1", "a2", "b3"}, qint8(0), qint8(2), false,
                                       int(FilterEngine::Simple)));

    EXPECT_TRUE(RecordSort::sortByColumn(doc, 1, true, filter, shell, locale));
    EXPECT_EQ(state(), std::make_tuple(QStringList{"c1", "b3", "a2"}, qint8(-1), qint8(2), true,
                                       int(FilterEngine::Off)));
    EXPECT_EQ(doc.undoLabel(), QStringLiteral("sort"));

    doc.undo();
    EXPECT_EQ(state(), std::make_tuple(QStringList{"c1", "a2", "b3"}, qint8(0), qint8(2), false,
                                       int(FilterEngine::Off)));
}
