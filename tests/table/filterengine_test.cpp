#include "core/document/database.h"
#include "documentaccess.h"
#include "fixedlocale.h"
#include "numbers/numberseparators.h"
#include "scriptedshell.h"
#include "table/filter/filterengine.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

using ::testing::ElementsAre;

namespace {

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

class Filter : public ::testing::Test
{
protected:
    Filter() : engine(doc, locale, shell)
    {
        saved = NumberSeparators::current();
        NumberSeparators::setCurrent(NumberSeparators::us());
        engine.setModeChangedHandler([this](int mode) { modes.push_back(mode); });
    }
    ~Filter() override { NumberSeparators::setCurrent(saved); }

    /// One record per entry of @p rows, each a list of cell texts; field
    /// types as given (String for the rest).
    void make(std::initializer_list<int> types,
              std::initializer_list<std::initializer_list<const char *>> rows)
    {
        int columns = int(types.size());
        for (const auto &row : rows)
            columns = qMax(columns, int(row.size()));
        db.grid().resize(columns + 1, int(rows.size()) + 1);
        db.grid().showAllRows();
        int k = 1;
        for (int type : types)
            db.field(k++).type = quint8(type);
        int r = 1;
        for (const auto &row : rows) {
            int c = 1;
            for (const char *text : row)
                db.grid().setCell(c++, r, u8(text));
            ++r;
        }
    }

    /// The records left visible, by number.
    std::vector<int> visible() const
    {
        std::vector<int> rows;
        for (int r = 1; r <= db.recordCount(); ++r) {
            if (!engine.IsRowHidden(r))
                rows.push_back(r);
        }
        return rows;
    }
    std::vector<int> heights() const
    {
        std::vector<int> h;
        for (int r = 1; r <= db.recordCount(); ++r)
            h.push_back(db.grid().rowHeight(r));
        return h;
    }

    void simple(int field, const char *text)
    {
        db.filter().field = qint8(field);
        db.filter().text = u8(text);
        engine.ApplyFilter(1);
    }

    /// Condition @p k (1..5) of the advanced filter; @p field is the grid
    /// column, 0 for all fields.
    void condition(int k, int field, const char *text, bool isAnd = false, bool begin = false,
                   bool exclude = false)
    {
        AdvancedFilterSettings &adv = engine.advancedRows();
        const int i = k - 1;
        adv.fields[size_t(i)] = qint8(field - 1);
        adv.texts[size_t(i)] = u8(text);
        const auto set = [&adv](quint16 bit, bool on) {
            adv.options = on ? quint16(adv.options | bit) : quint16(adv.options & ~bit);
        };
        if (i > 0)
            set(AdvancedFilterSettings::andOption(i), isAnd);
        set(AdvancedFilterSettings::beginOption(i), begin);
        set(AdvancedFilterSettings::excludeOption(i), exclude);
    }

    bool match(int row, int field, const char *text, bool mustBegin = false) const
    {
        return engine.MatchCondition(row, field, LocaleService::upperAsciiLetters(u8(text)),
                                     mustBegin);
    }

    Document doc;
    Database &db = DocumentAccess::database(doc);
    FixedLocale locale;
    ScriptedShell shell;
    FilterEngine engine;
    NumberSeparators saved;
    std::vector<int> modes;
};

} // namespace

TEST_F(Filter, startsOffWithIncludeAndWithoutMustBegin)
{
    EXPECT_EQ(engine.filterMode(), 0);
    EXPECT_FALSE(engine.isSimpleChecked());
    EXPECT_FALSE(engine.isAdvancedChecked());
    EXPECT_TRUE(engine.include());
    EXPECT_FALSE(engine.mustBegin());
}

TEST_F(Filter, starMatchesNonEmptyCellsIncludeAndExclude)
{
    make({}, {{"Anna", "x"}, {"", "y"}, {"Bob", ""}, {"", ""}});
    simple(1, "*");
    EXPECT_THAT(visible(), ElementsAre(1, 3));

    engine.setInclude(false);
    engine.ApplyFilter(1);
    EXPECT_THAT(visible(), ElementsAre(2, 4));

    // Over all fields: any non-empty cell.
    engine.setInclude(true);
    simple(0, "*");
    EXPECT_THAT(visible(), ElementsAre(1, 2, 3));

    // Must-begin changes nothing for "*"; a "*" inside a text is a character.
    EXPECT_TRUE(match(1, 1, "*", true));
    EXPECT_FALSE(match(1, 1, "A*"));
}

TEST_F(Filter, greaterThanOnNumberFieldsComparesValues)
{
    using namespace FieldType;
    make({Float, NormalInteger, AutoIncrementInteger}, {{"150", "150", "150"},
                                                        {"100", "100", "100"},
                                                        {"abc", "abc", "abc"},
                                                        {"", "", ""},
                                                        {"99.5", "99", "99"},
                                                        {"1,000.5", "1,000", "1,000"},
                                                        {"-200", "-200", "-200"},
                                                        {"2E2", "2E2", "2E2"}});
    for (int field = 1; field <= 3; ++field) {
        SCOPED_TRACE(field);
        // Strictly greater; text that is no number counts as 0 and is hidden.
        simple(field, ">100");
        EXPECT_THAT(visible(), ElementsAre(1, 6, 8));
        // Spaces and every '<' '>' are dropped from the value.
        simple(field, " > 1 0 0 ");
        EXPECT_THAT(visible(), ElementsAre(1, 6, 8));
        simple(field, "<100");
        EXPECT_THAT(visible(), ElementsAre(3, 4, 5, 7));
        // Non-numbers are 0, so "< 0.5" shows them.
        simple(field, "<0.5");
        EXPECT_THAT(visible(), ElementsAre(3, 4, 7));
        // Both signs: greater-than.
        simple(field, "<>100");
        EXPECT_THAT(visible(), ElementsAre(1, 6, 8));
        // A value that is no number is 0.
        simple(field, ">many");
        EXPECT_THAT(visible(), ElementsAre(1, 2, 5, 6, 8));
    }

    // Exclude shows what does not compare, equal values included.
    engine.setInclude(false);
    simple(1, ">100");
    EXPECT_THAT(visible(), ElementsAre(2, 3, 4, 5, 7));

    // Must-begin plays no part in the comparison.
    EXPECT_TRUE(match(1, 1, ">100", true));
}

TEST_F(Filter, comparisonSignsAreCharactersElsewhere)
{
    using namespace FieldType;
    make({Float, String}, {{"150", "150"}, {"a>100", "x>100y"}, {"200", "<5"}});
    // All fields: the characters >100 are looked for.
    simple(0, ">100");
    EXPECT_THAT(visible(), ElementsAre(2));
    EXPECT_TRUE(match(2, 0, ">100"));
    EXPECT_TRUE(match(2, -1, ">100"));
    EXPECT_FALSE(match(1, -3, ">100"));
    // A String column searches too.
    simple(2, "<5");
    EXPECT_THAT(visible(), ElementsAre(3));
    // A number column without a sign searches for the text.
    simple(1, "50");
    EXPECT_THAT(visible(), ElementsAre(1));
}

TEST_F(Filter, lessThanOnDateFieldsComparesDates)
{
    using namespace FieldType;
    // "12/31/2003" sorts after "1/1/2004" as text but is the earlier day.
    make({CreationDate, NormalDate, ModificationDate}, {{"12/31/2003", "12/31/2003", "12/31/2003"},
                                                        {"1/1/2004", "1/1/2004", "1/1/2004"},
                                                        {"2/1/2004", "2/1/2004", "2/1/2004"},
                                                        {"10/5/1999", "10/5/1999", "10/5/1999"},
                                                        {"not a date", "not a date", "not a date"},
                                                        {"", "", ""}});
    for (int field = 1; field <= 3; ++field) {
        SCOPED_TRACE(field);
        simple(field, "<1/1/2004");
        EXPECT_THAT(visible(), ElementsAre(1, 4));
        simple(field, "> 1/1/2004");
        EXPECT_THAT(visible(), ElementsAre(3));
        // A value that is no date matches nothing.
        simple(field, "<soon");
        EXPECT_THAT(visible(), ElementsAre());
    }
    // ...so Exclude shows everything, and cells that are no date always show.
    engine.setInclude(false);
    simple(1, "<soon");
    EXPECT_THAT(visible(), ElementsAre(1, 2, 3, 4, 5, 6));
    simple(1, "<1/1/2004");
    EXPECT_THAT(visible(), ElementsAre(2, 3, 5, 6));

    // Time fields are not compared.
    db.field(1).type = NormalTime;
    engine.setInclude(true);
    simple(1, "<1/1/2004");
    EXPECT_THAT(visible(), ElementsAre());
}

TEST_F(Filter, mustBeginAndAsciiOnlyUpperCasing)
{
    make({}, {{"Abc"}, {"cAb"}, {"e"}, {"E"}, {"é"}, {"É"}, {"xyz"}});
    EXPECT_TRUE(match(1, 1, "ab", true));
    EXPECT_FALSE(match(2, 1, "ab", true));
    EXPECT_TRUE(match(1, 1, "ab", false));
    EXPECT_TRUE(match(2, 1, "ab", false));

    simple(1, "ab");
    EXPECT_THAT(visible(), ElementsAre(1, 2));
    engine.setMustBegin(true);
    engine.ApplyFilter(1);
    EXPECT_THAT(visible(), ElementsAre(1));
    engine.setMustBegin(false);

    simple(1, "e");
    EXPECT_THAT(visible(), ElementsAre(3, 4));
    simple(1, "E");
    EXPECT_THAT(visible(), ElementsAre(3, 4));
    simple(1, "é");
    EXPECT_THAT(visible(), ElementsAre(5));
    simple(1, "É");
    EXPECT_THAT(visible(), ElementsAre(6));

    // A text longer than the cell, and one ending at the cell's end.
    EXPECT_FALSE(match(7, 1, "xyzz"));
    EXPECT_TRUE(match(7, 1, "YZ"));
    EXPECT_FALSE(match(7, 1, "yz", true));
}

TEST_F(Filter, allFieldsLooksAtEveryColumn)
{
    make({}, {{"a", "b", "needle"}, {"needle", "", ""}, {"x", "y", "z"}});
    simple(0, "needle");
    EXPECT_THAT(visible(), ElementsAre(1, 2));
    // Must-begin applies to each cell on its own.
    EXPECT_TRUE(match(1, 0, "nee", true));
    EXPECT_FALSE(match(1, 0, "eed", true));
    // A column beyond the fields holds nothing.
    EXPECT_FALSE(match(1, 9, "*"));
}

TEST_F(Filter, hiddenRunsShowAsOneLine)
{
    make({}, {{"keep"}, {"drop"}, {"drop"}, {"drop"}, {"keep"}, {"drop"}, {"keep"}});
    simple(1, "keep");
    // Row 2 keeps only its grid line (height 0), rows 3 and 4 take no space.
    EXPECT_THAT(heights(), ElementsAre(22, 0, -1, -1, 22, 0, 22));
    EXPECT_TRUE(engine.IsRowHidden(2));
    EXPECT_TRUE(engine.IsRowHidden(3));
    EXPECT_FALSE(engine.IsRowHidden(5));

    // A run at the top starts with its line too.
    simple(1, "drop");
    EXPECT_THAT(heights(), ElementsAre(0, 22, 22, 22, 0, 22, 0));

    engine.ShowAllRows();
    EXPECT_THAT(heights(), ElementsAre(22, 22, 22, 22, 22, 22, 22));
}

TEST_F(Filter, everyRunStartsFromAllRowsShown)
{
    make({}, {{"a"}, {"b"}, {"ab"}});
    simple(1, "a");
    EXPECT_THAT(visible(), ElementsAre(1, 3));
    // Rows hidden before are evaluated again, not kept hidden.
    simple(1, "b");
    EXPECT_THAT(visible(), ElementsAre(2, 3));
    EXPECT_THAT(heights(), ElementsAre(0, 22, 22));
}

TEST_F(Filter, emptyFilterTextBeepsAndSwitchesOff)
{
    make({}, {{"a"}, {"b"}});
    simple(1, "a");
    EXPECT_THAT(visible(), ElementsAre(1));
    shell.log.clear();
    modes.clear();

    simple(1, "");
    EXPECT_EQ(engine.filterMode(), 0);
    EXPECT_FALSE(engine.isSimpleChecked());
    EXPECT_THAT(visible(), ElementsAre(1, 2));
    EXPECT_EQ(shell.log.count(QStringLiteral("beep")), 1);
    ASSERT_FALSE(modes.empty());
    EXPECT_EQ(modes.back(), 0);
}

TEST_F(Filter, advancedWithoutConditionTextBeepsAndSwitchesOff)
{
    make({}, {{"a"}, {"b"}});
    condition(1, 1, "a");
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(1));
    shell.log.clear();

    engine.advancedRows().texts = {};
    engine.ApplyFilter(2);
    EXPECT_EQ(engine.filterMode(), 0);
    EXPECT_FALSE(engine.isAdvancedChecked());
    EXPECT_THAT(visible(), ElementsAre(1, 2));
    EXPECT_EQ(shell.log.count(QStringLiteral("beep")), 1);
}

TEST_F(Filter, advancedSkipsEmptyConditionsWithTheirOperators)
{
    make({}, {{"x"}, {"y"}, {"xy"}, {"z"}});
    // Condition 1 empty; 2 "x" with AND; 3 "y" with OR: x or y.
    condition(2, 0, "x", /*isAnd=*/true);
    condition(3, 0, "y", /*isAnd=*/false);
    engine.ApplyFilter(2);
    EXPECT_TRUE(engine.isAdvancedChecked());
    EXPECT_THAT(visible(), ElementsAre(1, 2, 3));

    // An empty condition between two keeps the later one's operator.
    engine.advancedRows().texts = {};
    condition(1, 0, "x");
    condition(3, 0, "", /*isAnd=*/false);
    condition(4, 0, "y", /*isAnd=*/true);
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(3));
}

TEST_F(Filter, advancedCombinesLeftToRightWithoutPrecedence)
{
    make({}, {{"a", "", ""}, {"a", "", "c"}, {"", "b", "c"}, {"", "", "c"}, {"a", "b", ""}});
    // 1 OR 2 AND 3 is (1 OR 2) AND 3, not 1 OR (2 AND 3).
    condition(1, 1, "a");
    condition(2, 2, "b", /*isAnd=*/false);
    condition(3, 3, "c", /*isAnd=*/true);
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(2, 3));

    // 1 AND 2 OR 3 is (1 AND 2) OR 3; an OR of two matches still shows.
    condition(2, 2, "b", /*isAnd=*/true);
    condition(3, 3, "c", /*isAnd=*/false);
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(2, 3, 4, 5));
}

TEST_F(Filter, advancedBeginExcludeAndFieldPositions)
{
    using namespace FieldType;
    make({String, Float}, {{"Apple", "5"}, {"pineapple", "50"}, {"Banana", "500"}});
    // Stored field 0 is grid column 1; B flag: must begin.
    condition(1, 1, "app", false, /*begin=*/true);
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(1));
    // E flag inverts the condition.
    condition(1, 1, "app", false, /*begin=*/false, /*exclude=*/true);
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(3));
    // Stored field 1 is column 2, a Float: comparison form.
    condition(1, 2, ">10");
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(2, 3));
    // Stored -1, "All Fields": the characters are searched.
    condition(1, 0, "50");
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(2, 3));
    // Five conditions joined by AND.
    condition(1, 0, "a");
    for (int k = 2; k <= 5; ++k)
        condition(k, 0, "n", /*isAnd=*/true);
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(2, 3));
    condition(5, 2, "<100", /*isAnd=*/true);
    engine.ApplyFilter(2);
    EXPECT_THAT(visible(), ElementsAre(2));
}

TEST_F(Filter, simpleReplacesAdvancedAndCommandsToggle)
{
    make({}, {{"a"}, {"b"}, {"c"}});
    condition(1, 1, "a");
    db.filter().field = 1;
    db.filter().text = QStringLiteral("b");

    engine.toggleAdvancedFilter();
    EXPECT_EQ(engine.filterMode(), 2);
    EXPECT_TRUE(engine.isAdvancedChecked());
    EXPECT_FALSE(engine.isSimpleChecked());
    EXPECT_THAT(visible(), ElementsAre(1));

    engine.ApplyFilter(1);
    EXPECT_EQ(engine.filterMode(), 1);
    EXPECT_TRUE(engine.isSimpleChecked());
    EXPECT_FALSE(engine.isAdvancedChecked());
    EXPECT_THAT(visible(), ElementsAre(2));

    // The Advanced Filter command from simple switches to advanced...
    engine.toggleAdvancedFilter();
    EXPECT_EQ(engine.filterMode(), 2);
    // ...the Filter command from advanced to simple, and again to off.
    engine.toggleSimpleFilter();
    EXPECT_EQ(engine.filterMode(), 1);
    engine.toggleSimpleFilter();
    EXPECT_EQ(engine.filterMode(), 0);
    EXPECT_THAT(visible(), ElementsAre(1, 2, 3));
    EXPECT_THAT(modes, ElementsAre(2, 1, 2, 1, 0));

    // Values that are no mode switch off.
    engine.ApplyFilter(1);
    engine.ApplyFilter(7);
    EXPECT_EQ(engine.filterMode(), 0);
    EXPECT_THAT(visible(), ElementsAre(1, 2, 3));
}

TEST_F(Filter, oneViewEditPerPassUnderTheBusyCursor)
{
    make({}, {{"a"}, {"b"}, {"a"}, {"b"}});
    int notices = 0;
    QObject::connect(&doc, &Document::rowHeightsChanged, [&notices](int, int) { ++notices; });
    const auto pass = [&](const std::function<void()> &run) {
        notices = 0;
        shell.log.clear();
        run();
        EXPECT_EQ(notices, 1);
        EXPECT_EQ(shell.log, QStringList({QStringLiteral("busy"), QStringLiteral("idle")}));
    };
    pass([&] { simple(1, "a"); });
    pass([&] {
        condition(1, 1, "b");
        engine.ApplyFilter(2);
    });
    pass([&] { engine.ApplyFilter(0); });
    // Rows hidden and shown are no change of the database, and no step to undo.
    EXPECT_FALSE(db.isChanged());
    EXPECT_FALSE(doc.canUndo());
}

TEST_F(Filter, emptyDatabase)
{
    make({}, {});
    simple(0, "a");
    EXPECT_EQ(engine.filterMode(), 1);
    condition(1, 0, "a");
    engine.ApplyFilter(2);
    EXPECT_EQ(engine.filterMode(), 2);
    engine.ApplyFilter(0);
    EXPECT_EQ(db.grid().rowHeight(0), RecordGrid::DefaultRowHeight);
}

namespace {

/// Records whose texts tell exact matches from near ones.
const std::initializer_list<std::initializer_list<const char *>> kPeople = {
    {"Smith", "5", "a*"}, {"smith", ">5", ""}, {"Smithson", "5", "*"},
    {"Smith", "15", ""},  {"", "5", "x"},
};

std::string shown(const std::vector<int> &rows)
{
    std::string text;
    for (int r : rows)
        text += std::to_string(r) + " ";
    return text;
}

} // namespace

TEST_F(Filter, byValueShowsTheRecordsHoldingExactlyTheCellsText)
{
    using namespace FieldType;
    make({String, NormalInteger, String}, kPeople);
    struct Case
    {
        const char *what;
        int column;
        int row;
        const char *visible;
        const char *settings; ///< field, text, Include or Exclude as the Filter page shows them
    };
    const Case cases[] = {
        {"a name, its case and no longer name", 1, 1, "1 4 ", "1 Smith include"},
        {"a comparison sign is a character", 2, 2, "2 ", "2 >5 include"},
        {"a number, not the numbers holding it", 2, 1, "1 3 5 ", "2 5 include"},
        {"a star is a character", 3, 3, "3 ", "3 * include"},
        {"an empty cell: the empty ones", 3, 2, "2 4 ", "3 * exclude"},
        {"an empty name", 1, 5, "5 ", "1 * exclude"},
    };
    std::vector<std::string> seen;
    std::vector<std::string> expected;
    for (const Case &c : cases) {
        engine.FilterByValue(c.column, c.row);
        seen.push_back(std::string(c.what) + ": " + shown(visible()) +
                       std::to_string(db.filter().field) + " " + db.filter().text.toStdString() +
                       (engine.include() ? " include" : " exclude") +
                       (engine.mustBegin() ? " must begin" : "") + " mode " +
                       std::to_string(engine.filterMode()));
        expected.push_back(std::string(c.what) + ": " + c.visible + c.settings + " mode 1");
    }
    EXPECT_EQ(seen, expected);
}

// Filtering by a value is a view of the database: one view edit, no undo
// step, no change; Undo takes back the edit before it. The filter keeps
// matching whole cells when switched off and on, until the user chooses
// how the Filter page's text matches.
TEST_F(Filter, byValueIsOneViewEditBesideTheUndoHistory)
{
    using namespace FieldType;
    make({String, NormalInteger, String}, kPeople);
    doc.apply(
        Edit::change(QStringLiteral("typing"), EditStep::Cells{{{1, 5, QStringLiteral("Smith")}}}));
    db.setChanged(false);
    int heightNotices = 0;
    int optionNotices = 0;
    QObject::connect(&doc, &Document::rowHeightsChanged,
                     [&heightNotices](int, int) { ++heightNotices; });
    QObject::connect(&doc, &Document::optionsChanged, [&optionNotices] { ++optionNotices; });
    shell.log.clear();
    std::vector<std::string> seen;
    const auto look = [&](const char *after) {
        seen.push_back(std::string(after) + ": " + shown(visible()) +
                       db.grid().cell(1, 5).toStdString() + "|" + db.filter().text.toStdString() +
                       "|" + doc.undoLabel().toStdString() +
                       (db.isChanged() ? "|changed" : "|unchanged"));
    };
    engine.FilterByValue(1, 1);
    look("by value");
    seen.push_back(std::to_string(heightNotices) + " " + std::to_string(optionNotices) + " " +
                   shell.log.join(QLatin1Char(' ')).toStdString());
    doc.undo();
    look("undo");
    engine.toggleSimpleFilter();
    look("off");
    engine.toggleSimpleFilter();
    look("on");
    engine.setMustBegin(false);
    engine.ApplyFilter(FilterEngine::Simple);
    look("must-begin chosen");
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "by value: 1 4 5 Smith|Smith|typing|unchanged",
                        "1 1 busy idle",
                        "undo: 1 4 5 |Smith||unchanged",
                        "off: 1 2 3 4 5 |Smith||unchanged",
                        "on: 1 4 |Smith||unchanged",
                        "must-begin chosen: 1 2 3 4 |Smith||unchanged",
                    }));
}
