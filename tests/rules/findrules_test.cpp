#include "core/document/database.h"
#include "core/document/limits.h"
#include "core/platform/progress.h"
#include "documentaccess.h"
#include "fixedlocale.h"
#include "numbers/numberseparators.h"
#include "rules/find/findformrules.h"
#include "rules/find/replaceformrules.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "table/filter/filterengine.h"

#include <gtest/gtest.h>

namespace {

/// Records x / ab / ab in one field "Name"; the simple filter on "x"
/// hides records 2 and 3.
struct FilteredDocument
{
    FilteredDocument() : filter(doc, locale, shell)
    {
        Database &db = DocumentAccess::database(doc);
        db.grid().resize(2, 4);
        db.grid().showAllRows();
        db.grid().setCell(1, 0, QStringLiteral("Name"));
        db.grid().setCell(1, 1, QStringLiteral("x"));
        db.grid().setCell(1, 2, QStringLiteral("ab"));
        db.grid().setCell(1, 3, QStringLiteral("ab"));
        db.filter().text = QStringLiteral("x");
        db.setFindField(1);
        db.setFindText(QStringLiteral("b"));
        filter.ApplyFilter(FilterEngine::Simple);
    }

    /// What the user sees after a step: the current cell (column*10+row),
    /// the last message, the filter mode.
    QString seen()
    {
        QString s =
            QStringLiteral("%1 %2").arg(current.x() * 10 + current.y()).arg(filter.filterMode());
        if (!messages.shown.empty())
            s += QLatin1Char(' ') + messages.shown.back().caption + QLatin1Char(':') +
                 messages.shown.back().text();
        messages.shown.clear();
        return s;
    }

    Document doc;
    FixedLocale locale;
    ScriptedShell shell;
    ScriptedMessages messages;
    NoProgress progress;
    FilterEngine filter;
    QPoint current{1, 1};
    std::function<void(int, int)> makeCurrent = [this](int c, int r) {
        // A hidden record is never made current.
        EXPECT_FALSE(filter.IsRowHidden(r));
        current = QPoint(c, r);
    };
};

} // namespace

TEST(FindFormRules, matchesInHiddenRecordsSwitchTheFilterOff)
{
    FilteredDocument f;
    FindFormRules rules(
        f.doc, f.filter, f.messages, f.shell, f.progress, [&f] { return f.current.y(); },
        f.makeCurrent);
    EXPECT_TRUE(rules.findNext()); // nothing found yet: the dialog shows
    const FindFormRules::Controls shown = rules.showFind();
    EXPECT_EQ(std::make_tuple(shown.fieldIndex, shown.text, shown.fromStart),
              std::make_tuple(1, QStringLiteral("b"), true));

    QStringList seen;
    rules.find({0, QStringLiteral("AB"), false, false});
    seen << f.seen();
    EXPECT_FALSE(rules.findNext());
    seen << f.seen();
    EXPECT_FALSE(rules.findNext());
    seen << f.seen();
    EXPECT_TRUE(rules.findNext());
    EXPECT_EQ(seen, QStringList({QStringLiteral("12 0"), QStringLiteral("13 0"),
                                 QStringLiteral("13 0 Find error:Search text not found.")}));
    // The dialog's field and text are kept with the database, unchanged.
    EXPECT_EQ(std::make_tuple(f.doc.database().findField(), f.doc.database().findText(),
                              f.doc.database().isChanged()),
              std::make_tuple(0, QStringLiteral("AB"), false));
}

TEST(ReplaceFormRules, replacesIntoHiddenRecordsAndNeverInAReadOnlyDatabase)
{
    FilteredDocument f;
    ReplaceFormRules rules(f.doc, f.locale, f.filter, f.shell, f.progress, f.makeCurrent);
    rules.show();
    const ReplaceFormRules::Controls controls{0, QStringLiteral("b"), QStringLiteral("c")};

    DocumentAccess::database(f.doc).setReadOnly(true);
    EXPECT_FALSE(rules.canReplace());
    EXPECT_FALSE(rules.press(ReplaceStep::ReplaceAll, controls).closeDialog);
    EXPECT_EQ(f.doc.database().grid().cell(1, 2), QStringLiteral("ab"));
    DocumentAccess::database(f.doc).setReadOnly(false);

    const ReplaceFormRules::Result result = rules.press(ReplaceStep::ReplaceAll, controls);
    EXPECT_TRUE(result.closeDialog);
    EXPECT_FALSE(result.message);
    EXPECT_EQ(f.seen(), QStringLiteral("13 0"));
    EXPECT_EQ(f.doc.database().grid().cell(1, 3), QStringLiteral("ac"));

    rules.show();
    const ReplaceFormRules::Result none = rules.press(ReplaceStep::FindNext, controls);
    EXPECT_TRUE(none.closeDialog);
    ASSERT_TRUE(none.message);
    EXPECT_EQ(none.message->caption + none.message->text(),
              QStringLiteral("ReplaceFind text not found."));
}

// Replacements left out (the cell would outgrow the handheld) are told
// after the press, whether the dialog closes or stays.
TEST(ReplaceFormRules, saysHowManyReplacementsWereLeftOut)
{
    struct Case
    {
        ReplaceStep::Mode last;
        const char *count; ///< as the message gives it; empty for no message
        bool closed;
    };
    const Case cases[] = {
        {ReplaceStep::ReplaceAll, "2 replacements", true},
        {ReplaceStep::Replace, "1 replacement", false},
        {ReplaceStep::FindNext, "", false},
    };
    QStringList results;
    QStringList expected;
    for (const Case &c : cases) {
        FilteredDocument f;
        // Full already: each of its two matches would make it longer.
        DocumentAccess::database(f.doc).grid().setCell(
            1, 2, QString(Limits::MaxCellText - 2, QLatin1Char('c')) + QStringLiteral("bb"));
        ReplaceFormRules rules(f.doc, f.locale, f.filter, f.shell, f.progress, f.makeCurrent);
        rules.show();
        const ReplaceFormRules::Controls controls{1, QStringLiteral("b"), QStringLiteral("bb")};
        rules.press(ReplaceStep::FindNext, controls);
        const ReplaceFormRules::Result result = rules.press(c.last, controls);
        const QString said = result.message
                                 ? result.message->caption + QLatin1Char(':') +
                                       result.message->text().section(QLatin1Char(':'), 0, 0)
                                 : QString();
        results << QStringLiteral("%1 %2").arg(said).arg(result.closeDialog);
        expected << QStringLiteral("%1 %2")
                        .arg(*c.count ? QStringLiteral("Replace:") + QString::fromLatin1(c.count) +
                                            (c.closed ? QStringLiteral(" were skipped")
                                                      : QStringLiteral(" was skipped"))
                                      : QString())
                        .arg(c.closed);
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}

// Replace All says what it did in the status bar, its count grouped the
// program's way; one that finds nothing says so in its message alone.
TEST(ReplaceFormRules, replaceAllSaysHowManyItReplaced)
{
    struct Case
    {
        int records; ///< each holding "abb"
        NumberSeparators separators;
        const char *find;
        const char *word;
    };
    const NumberSeparators comma{QChar(u','), QChar(u'.')};
    const Case cases[] = {
        {600, NumberSeparators::us(), "b", "1,200 replaced"},
        {600, comma, "b", "1.200 replaced"},
        {1, NumberSeparators::us(), "ab", "1 replaced"},
        {3, NumberSeparators::us(), "q", ""},
    };
    const NumberSeparators saved = NumberSeparators::current();
    QStringList words;
    QStringList expected;
    for (const Case &c : cases) {
        NumberSeparators::setCurrent(c.separators);
        FilteredDocument f;
        Database &db = DocumentAccess::database(f.doc);
        db.grid().resize(2, c.records + 1);
        db.grid().showAllRows();
        for (int r = 1; r <= c.records; ++r)
            db.grid().setCell(1, r, QStringLiteral("abb"));
        ReplaceFormRules rules(f.doc, f.locale, f.filter, f.shell, f.progress, f.makeCurrent);
        rules.show();
        words << rules
                     .press(ReplaceStep::ReplaceAll,
                            {0, QString::fromLatin1(c.find), QStringLiteral("c")})
                     .closingWord;
        expected << QString::fromLatin1(c.word);
    }
    NumberSeparators::setCurrent(saved);
    EXPECT_EQ(words, expected);
}
