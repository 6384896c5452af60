#include "cancellingprogress.h"
#include "core/document/database.h"
#include "core/document/limits.h"
#include "documentaccess.h"
#include "fixedlocale.h"
#include "gardendocument.h"
#include "table/find/findsearch.h"
#include "table/find/replacestep.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <vector>

namespace {

QString u8(const char *text)
{
    return QString::fromUtf8(text);
}

/// One record per row of texts, in fields named F1, F2, ...
void make(Database &db, const std::vector<std::vector<QString>> &rows)
{
    const int fields = rows.empty() ? 0 : int(rows.front().size());
    db.grid().resize(fields + 1, int(rows.size()) + 1);
    db.grid().showAllRows();
    for (int k = 1; k <= fields; ++k)
        db.grid().setCell(k, 0, QStringLiteral("F%1").arg(k));
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            db.grid().setCell(int(c) + 1, int(r) + 1, rows[r][c]);
}

std::vector<std::vector<QString>> texts(const Database &db)
{
    std::vector<std::vector<QString>> rows;
    for (int r = 1; r <= db.recordCount(); ++r) {
        rows.emplace_back();
        for (int c = 1; c <= db.fieldCount(); ++c)
            rows.back().push_back(db.grid().cell(c, r));
    }
    return rows;
}

} // namespace

TEST(FindSearch, goesRecordByRecordAndFieldByField)
{
    struct Case
    {
        const char *what;
        std::vector<std::vector<QString>> rows;
        FindSearch::Query query;
        int currentRow;
        /// Each run's match until the search runs off the end.
        std::vector<QPoint> matches;
    };
    const Case cases[] = {
        {"anywhere in the cell",
         {{u8("ABCx"), u8("xABCx")}, {u8("abc"), u8("")}},
         {0, u8("abc"), false, true},
         0,
         {{1, 1}, {2, 1}, {1, 2}}},
        {"at the start", {{u8("ABCx"), u8("xABCx")}}, {0, u8("abc"), true, true}, 0, {{1, 1}}},
        {"one field",
         {{u8("ab"), u8("ab")}, {u8("ab"), u8("ab")}},
         {2, u8("ab"), false, true},
         0,
         {{2, 1}, {2, 2}}},
        {"below the current record",
         {{u8("ab")}, {u8("ab")}, {u8("ab")}},
         {0, u8("ab"), false, false},
         2,
         {{1, 3}}},
        {"from the last record", {{u8("ab")}, {u8("ab")}}, {0, u8("ab"), false, false}, 2, {}},
        {"field 3 after field 2",
         {{u8("x"), u8("x"), u8("x")}},
         {0, u8("x"), false, true},
         0,
         {{1, 1}, {2, 1}, {3, 1}}},
        {"only a to z are upper-cased",
         {{u8("müller")}, {u8("É")}, {u8("é")}},
         {0, u8("é"), false, true},
         0,
         {{1, 3}}},
        {"MÜLLER is not müller", {{u8("müller")}}, {0, u8("MÜLLER"), false, true}, 0, {}},
        {"an empty text never matches", {{u8("a")}}, {0, u8(""), false, true}, 0, {}},
        {"a field the database lacks", {{u8("a")}}, {4, u8("a"), false, true}, 0, {}},
    };
    for (const Case &c : cases) {
        Database db;
        make(db, c.rows);
        FindSearch search;
        std::vector<QPoint> found;
        while (const auto match = search.run(db, c.query, c.currentRow))
            found.push_back(*match);
        EXPECT_EQ(found, c.matches) << c.what;
        EXPECT_FALSE(search.isActive()) << c.what;
    }
}

TEST(ReplaceStep, modesAsTheButtonsUseThem)
{
    using M = ReplaceStep::Mode;
    struct Case
    {
        const char *what;
        std::vector<std::vector<QString>> rows;
        ReplaceStep::Query query;
        std::vector<M> presses;
        std::vector<std::vector<QString>> after;
        /// Of the last press: the current cell (none: (0,0)), closed, not found.
        QPoint current;
        bool closed;
        bool notFound;
        int skipped = 0; ///< replacements not made
    };
    const QString full(Limits::MaxCellText, QLatin1Char('x'));
    const QString almost = u8("a-") + QString(Limits::MaxCellText - 3, QLatin1Char('x'));
    const Case cases[] = {
        {"every occurrence, then the next record",
         {{u8("cat and cat")}, {u8("cat")}},
         {0, u8("cat"), u8("dog")},
         {M::ReplaceAll},
         {{u8("dog and dog")}, {u8("dog")}},
         {1, 2},
         true,
         false},
        {"a replacement holding the find text ends",
         {{u8("cat cat")}},
         {0, u8("cat"), u8("catcat")},
         {M::ReplaceAll},
         {{u8("catcat catcat")}},
         {1, 1},
         true,
         false},
        {"field by field, each from the first record",
         {{u8("a"), u8("a")}, {u8("a"), u8("b")}},
         {0, u8("a"), u8("z")},
         {M::Replace, M::Replace, M::Replace},
         {{u8("z"), u8("a")}, {u8("z"), u8("b")}},
         {2, 1},
         false,
         false},
        {"the first press only selects",
         {{u8("cat")}},
         {0, u8("cat"), u8("x")},
         {M::Replace},
         {{u8("cat")}},
         {1, 1},
         false,
         false},
        {"an empty replacement deletes",
         {{u8("a-b-")}},
         {0, u8("-"), u8("")},
         {M::ReplaceAll},
         {{u8("ab")}},
         {1, 1},
         true,
         false},
        {"the locale's upper-casing",
         {{u8("müller")}},
         {0, u8("MÜLLER"), u8("M")},
         {M::ReplaceAll},
         {{u8("M")}},
         {1, 1},
         true,
         false},
        {"case must match",
         {{u8("müller")}},
         {0, u8("MÜLLER"), u8("M"), false, true},
         {M::ReplaceAll},
         {{u8("müller")}},
         {0, 0},
         true,
         true},
        {"an ß upper-cased to SS is replaced whole",
         {{u8("Straße 1")}},
         {0, u8("strasse"), u8("Road")},
         {M::ReplaceAll},
         {{u8("Road 1")}},
         {1, 1},
         true,
         false},
        {"must begin, with an empty replacement",
         {{u8("catcat"), u8("xcat")}},
         {0, u8("cat"), u8(""), true},
         {M::ReplaceAll},
         {{u8(""), u8("xcat")}},
         {1, 1},
         true,
         false},
        {"Find Next moves on to the next record of the field",
         {{u8("a a")}, {u8("a")}},
         {1, u8("a"), u8("b")},
         {M::FindNext, M::FindNext},
         {{u8("a a")}, {u8("a")}},
         {1, 2},
         false,
         false},
        {"nothing to find",
         {{u8("a")}},
         {0, u8("q"), u8("b")},
         {M::FindNext},
         {{u8("a")}},
         {0, 0},
         true,
         true},
        {"an empty find text finds nothing",
         {{u8("a")}},
         {0, u8(""), u8("b")},
         {M::ReplaceAll},
         {{u8("a")}},
         {0, 0},
         true,
         true},
        {"no cell beyond the handheld's length, and each one left out counted",
         {{full}},
         {0, u8("x"), u8("yy")},
         {M::ReplaceAll},
         {{full}},
         {1, 1},
         true,
         false,
         Limits::MaxCellText},
        {"a cell filled up to the handheld's length, the rest counted",
         {{almost}, {u8("-")}},
         {0, u8("-"), u8("--")},
         {M::ReplaceAll},
         {{u8("a--") + almost.mid(2)}, {u8("--")}},
         {1, 2},
         true,
         false,
         0},
        {"Replace counts the one it leaves out",
         {{full}},
         {0, u8("x"), u8("yy")},
         {M::Replace, M::Replace},
         {{full}},
         {1, 1},
         false,
         false,
         1},
    };
    for (const Case &c : cases) {
        Document doc;
        make(DocumentAccess::database(doc), c.rows);
        FixedLocale locale;
        ReplaceStep step(doc, locale);
        ReplaceStep::Outcome outcome;
        for (M mode : c.presses)
            outcome = step.run(mode, c.query);
        EXPECT_EQ(texts(doc.database()), c.after) << c.what;
        EXPECT_EQ(outcome.current.value_or(QPoint(0, 0)), c.current) << c.what;
        EXPECT_EQ(outcome.closeDialog, c.closed) << c.what;
        EXPECT_EQ(outcome.notFound, c.notFound) << c.what;
        EXPECT_EQ(outcome.skipped, c.skipped) << c.what;
    }
}

TEST(ReplaceStep, replaceAllIsOneEditThatUndoGivesBackExactly)
{
    Document doc;
    Database &db = DocumentAccess::database(doc);
    make(db, {{u8("Cat\r\ncat"), u8("CAT")}, {u8("concat"), u8("dog")}});
    db.grid().setRowHeight(2, 0);
    const auto before = texts(db);
    FixedLocale locale;
    ReplaceStep step(doc, locale);
    const ReplaceStep::Outcome outcome =
        step.run(ReplaceStep::ReplaceAll, {0, u8("cat"), u8("cow")});
    EXPECT_EQ(texts(db), (std::vector<std::vector<QString>>{{u8("cow\r\ncow"), u8("cow")},
                                                            {u8("concow"), u8("dog")}}));
    EXPECT_EQ(outcome.replacements, 4);
    EXPECT_TRUE(outcome.inHiddenRecord);
    EXPECT_EQ(doc.undoLabel(), QStringLiteral("replace all"));
    doc.undo();
    EXPECT_EQ(texts(db), before);
    EXPECT_FALSE(doc.canUndo());
}

namespace {

/// A locale whose i upper-cases to a dotted capital I, as in Turkish.
class DottedILocale : public FixedLocale
{
public:
    QString toUpper(const QString &s) const override
    {
        QString out = s;
        out.replace(QLatin1Char('i'), QChar(0x0130));
        return out.toUpper();
    }
};

} // namespace

TEST(ReplaceStep, replaceAllEndsAsPressingReplaceUntilTheDialogCloses)
{
    // Replace All picks out the matching cells record by record before it
    // visits them in its order; pressing Replace over and over tests every
    // cell in turn. Both must leave the same texts and the same last match.
    const QStringList pieces = {u8("a"),  u8("A"), u8("i"), u8("I"), u8("ß"),
                                u8("ss"), u8("é"), u8("x"), u8(" "), u8("")};
    const QStringList finds = {u8("a"), u8("ss"), u8("I"), u8("xa"), u8("é"), u8("SS")};
    FixedLocale fixed;
    DottedILocale dotted;
    QRandomGenerator rng(5);
    for (int round = 0; round < 400; ++round) {
        std::vector<std::vector<QString>> rows(rng.bounded(1, 6));
        const int fields = rng.bounded(1, 4);
        for (auto &row : rows) {
            for (int c = 0; c < fields; ++c) {
                QString text;
                for (int k = rng.bounded(5); k > 0; --k)
                    text += pieces[rng.bounded(int(pieces.size()))];
                row.push_back(text);
            }
        }
        const ReplaceStep::Query query{
            int(rng.bounded(fields + 1)), finds[rng.bounded(int(finds.size()))],
            pieces[rng.bounded(int(pieces.size()))], rng.bounded(4) == 0, rng.bounded(3) == 0};
        const LocaleService &locale =
            rng.bounded(2) ? static_cast<const LocaleService &>(dotted) : fixed;
        Document all;
        Document pressed;
        make(DocumentAccess::database(all), rows);
        make(DocumentAccess::database(pressed), rows);
        ReplaceStep allStep(all, locale);
        ReplaceStep pressStep(pressed, locale);
        const ReplaceStep::Outcome a = allStep.run(ReplaceStep::ReplaceAll, query);
        ReplaceStep::Outcome p;
        std::optional<QPoint> lastMatch;
        do {
            p = pressStep.run(ReplaceStep::Replace, query);
            if (p.current)
                lastMatch = p.current;
        } while (!p.closeDialog);
        ASSERT_EQ(texts(all.database()), texts(pressed.database())) << "round " << round;
        ASSERT_EQ(a.current, lastMatch) << "round " << round;
        ASSERT_EQ(a.notFound, p.notFound) << "round " << round;
    }
}

TEST(ReplaceStep, recordsKeepTheirCalculatedCellsCurrent)
{
    // Total multiplies Count by Cost; the stamps stay as they were.
    GardenDocument g;
    ReplaceStep step(g.doc, g.locale, &g.calc);
    ReplaceStep::Query query;
    query.field = 2;
    query.findText = QStringLiteral("10");
    query.replaceText = QStringLiteral("20");
    step.run(ReplaceStep::ReplaceAll, query);
    EXPECT_EQ(g.cell(4, 2), QStringLiteral("10.00"));
    EXPECT_EQ(g.cell(7, 2), QString());
}

// The user may cancel a search that takes long. Replace All then changes
// nothing, wherever it was (its first look at every cell, or its
// replacements), and the match selected before stays selected: the next
// press goes on from there as if the cancelled one had not been.
TEST(ReplaceStep, aCancelledPressChangesNothing)
{
    using M = ReplaceStep::Mode;
    // 2,000 records of three fields, every cell holding the find text
    // twice: several reports in the first look and in the replacements.
    std::vector<std::vector<QString>> rows(2000, {u8("cat cat"), u8("a cat"), u8("cat")});
    rows[1500][2] = u8("dog");
    std::vector<std::vector<QString>> replaced = rows;
    int replacedCount = 0;
    for (auto &row : replaced) {
        for (QString &cell : row) {
            replacedCount += int(cell.count(u8("cat")));
            cell.replace(u8("cat"), u8("cow"));
        }
    }
    // The first match (1, 1) selected before, then Replace: the first
    // "cat" of record 1 becomes "cow".
    std::vector<std::vector<QString>> onlyFirst = rows;
    onlyFirst[0][0] = u8("cow cat");
    struct Case
    {
        const char *what;
        M mode;
        int cancelAt; ///< the report the user cancels at; 0: never
    };
    const Case cases[] = {
        {"Replace All at its first report", M::ReplaceAll, 1},
        {"Replace All in its first look", M::ReplaceAll, 5},
        {"Replace All in its replacements", M::ReplaceAll, 8},
        {"Replace All as it would apply", M::ReplaceAll, 9},
        {"Replace All to the end", M::ReplaceAll, 0},
        {"Find Next far from its match", M::FindNext, 1},
    };
    std::vector<std::string> seen;
    std::vector<std::string> expected;
    const auto describe = [&](const Document &doc, const ReplaceStep::Outcome &out,
                              const std::vector<std::vector<QString>> &texts) {
        return std::string(doc.database().isChanged() ? "changed" : "unchanged") + " " +
               doc.undoLabel().toStdString() + " " + std::to_string(out.replacements) +
               (out.cancelled ? " cancelled " : " done ") +
               (texts == ::texts(doc.database()) ? "as expected" : "other texts");
    };
    for (const Case &c : cases) {
        Document doc;
        make(DocumentAccess::database(doc), rows);
        FixedLocale locale;
        ReplaceStep step(doc, locale);
        CancellingProgress progress;
        progress.at = c.cancelAt;
        const ReplaceStep::Query query{0, u8("cat"), u8("cow")};
        step.run(M::FindNext, query);
        ReplaceStep::Query far = query;
        far.findText = u8("dog"); // one match near the end: a long way to go
        const ReplaceStep::Outcome out =
            step.run(c.mode, c.mode == M::FindNext ? far : query, &progress);
        const bool cancelled = c.cancelAt != 0;
        seen.push_back(c.what + std::string(": ") +
                       describe(doc, out, cancelled ? rows : replaced));
        expected.push_back(c.what + std::string(": ") +
                           (cancelled ? "unchanged  0 cancelled as expected"
                                      : "changed replace all " + std::to_string(replacedCount) +
                                            " done as expected"));
        if (!cancelled)
            continue;
        // The selection is the one from before: Replace replaces it.
        const ReplaceStep::Outcome next = step.run(M::Replace, query);
        seen.push_back(c.what + std::string(", then Replace: ") + describe(doc, next, onlyFirst) +
                       " " + std::to_string(progress.reports >= c.cancelAt));
        expected.push_back(c.what + std::string(", then Replace: changed replace 1 done as "
                                                "expected 1"));
    }
    EXPECT_EQ(seen, expected);
}

// A Find the user cancels finds nothing and keeps its place: Find next
// then goes on from the last match as before.
TEST(FindSearch, aCancelledSearchKeepsItsPlace)
{
    std::vector<std::vector<QString>> rows(3000, {u8("x")});
    rows[0][0] = u8("needle");
    rows[2999][0] = u8("needle");
    Database db;
    make(db, rows);
    FindSearch search;
    const FindSearch::Query query{0, u8("needle"), false, true};
    CancellingProgress progress;
    progress.at = 3;
    std::vector<std::string> runs;
    const auto run = [&](Progress *p) {
        const std::optional<QPoint> match = search.run(db, query, 0, p);
        runs.push_back((match ? std::to_string(match->y()) : std::string("none")) +
                       (search.wasCancelled() ? " cancelled" : "") +
                       (search.isActive() ? " active" : ""));
    };
    run(nullptr);
    run(&progress);
    run(&progress); // reported from the start again; the user lets it be
    run(nullptr);
    EXPECT_EQ(runs, (std::vector<std::string>{"1 active", "none cancelled active", "3000 active",
                                              "none"}));
}
