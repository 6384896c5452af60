#include "core/document/limits.h"
#include "documentaccess.h"
#include "gardendocument.h"
#include "memoryclipboard.h"
#include "table/operations/cellcommands.h"
#include "table/operations/clipboardtext.h"
#include "table/operations/recordcommands.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

namespace {

using Direction = CellCommands::Direction;
using Block = ClipboardText::Block;

/// The garden database with the row, column and cell commands over it.
struct Table : GardenDocument
{
    TableServices services() { return {doc, calc, messages, shell, clipboard}; }
    RecordCommands records() { return RecordCommands(services()); }
    CellCommands cells() { return CellCommands(services()); }

    MemoryClipboard clipboard;
};

struct CommandCase
{
    const char *name;
    std::function<void(Table &)> act;
};

} // namespace

TEST(TableCommands, everyCommandIsUndoneAndRedoneToTheByte)
{
    const CommandCase cases[] = {
        {"append row", [](Table &t) { t.records().AppendRecord(); }},
        {"insert row", [](Table &t) { t.records().InsertRecord(2); }},
        {"delete row", [](Table &t) { t.records().DeleteRecord(2, true); }},
        {"append column", [](Table &t) { t.records().AppendField(); }},
        {"insert column", [](Table &t) { t.records().InsertField(2); }},
        {"delete a field others use", [](Table &t) { t.records().DeleteField(2, true); }},
        {"delete the last field", [](Table &t) { t.records().DeleteField(7, true); }},
        {"cut cell", [](Table &t) { t.cells().CutCell(2, 1); }},
        {"paste cell",
         [](Table &t) {
             t.clipboard.contents = QStringLiteral("x\r\ny");
             t.cells().PasteCell(1, 2);
         }},
        {"cut row", [](Table &t) { t.cells().CutRow(1, true); }},
        {"paste row",
         [](Table &t) {
             t.clipboard.contents = QStringLiteral("Ash\t7");
             t.cells().PasteRow(3, true);
         }},
        {"fill up", [](Table &t) { t.cells().Fill(Direction::Up, 2, 4); }},
        {"fill down", [](Table &t) { t.cells().Fill(Direction::Down, 3, 1); }},
        {"fill left", [](Table &t) { t.cells().Fill(Direction::Left, 3, 2); }},
        {"fill right", [](Table &t) { t.cells().Fill(Direction::Right, 1, 2); }},
        {"paste block",
         [](Table &t) {
             t.clipboard.contents = QStringLiteral("a\tb\tc\r\nd\te\tf\r\n");
             t.cells().PasteBlock(1, 3);
         }},
        {"delete block", [](Table &t) { t.cells().ClearBlock(QRect(1, 1, 3, 2)); }},
    };
    for (const CommandCase &c : cases) {
        SCOPED_TRACE(c.name);
        Table t;
        const QByteArray before = t.bytes();
        c.act(t);
        const QByteArray after = t.bytes();
        EXPECT_NE(after, before);
        EXPECT_TRUE(t.doc.database().isChanged());
        t.doc.undo();
        EXPECT_EQ(t.bytes(), before);
        EXPECT_FALSE(t.doc.database().isChanged());
        t.doc.redo();
        EXPECT_EQ(t.bytes(), after);
    }
}

TEST(TableCommands, limitsAndAnswersOfNoLeaveTheDatabaseAsItWas)
{
    struct Case
    {
        const char *name;
        int records; ///< records before, 0: the garden's four
        int fields;  ///< fields before, 0: the garden's seven
        std::function<bool(Table &)> act;
        QString message;
    };
    const QString deleteRow = QStringLiteral("Do you want to delete the selected row?");
    const QString deleteColumn = QStringLiteral("Do you want to delete the selected column?");
    const Case cases[] = {
        {"append at the record limit", Limits::MaxRecords, 0,
         [](Table &t) { return t.records().AppendRecord(); }, Limits::tooManyRecordsMessage()},
        {"insert at the record limit", Limits::MaxRecords, 0,
         [](Table &t) { return t.records().InsertRecord(1); }, Limits::tooManyRecordsMessage()},
        {"append at the field limit", 0, Limits::MaxFields,
         [](Table &t) { return t.records().AppendField(); }, Limits::tooManyFieldsMessage()},
        {"insert at the field limit", 0, Limits::MaxFields,
         [](Table &t) { return t.records().InsertField(3); }, Limits::tooManyFieldsMessage()},
        {"delete the only record", 1, 0, [](Table &t) { return t.records().DeleteRecord(1, true); },
         QStringLiteral("You mustn't delete the first row!")},
        {"delete the only field", 0, 1, [](Table &t) { return t.records().DeleteField(1, true); },
         QStringLiteral("You mustn't delete the first column!")},
        {"delete row, No", 0, 0, [](Table &t) { return t.records().DeleteRecord(2, false); },
         deleteRow},
        {"delete column, No", 0, 0, [](Table &t) { return t.records().DeleteField(2, false); },
         deleteColumn},
        {"cut row, No", 0, 0, [](Table &t) { return t.cells().CutRow(2, false); },
         QStringLiteral("Do you want to cut the selected row?")},
        {"paste row, No", 0, 0, [](Table &t) { return t.cells().PasteRow(2, false); },
         QStringLiteral("Do you want to overwrite the selected row?")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Table t;
        RecordGrid &grid = DocumentAccess::database(t.doc).grid();
        if (c.records > 0) {
            if (c.records > grid.recordCount())
                grid.insertRows(grid.recordCount() + 1,
                                std::vector<RecordGrid::Row>(size_t(c.records - grid.recordCount()),
                                                             RecordGrid::Row{}));
            else
                grid.takeRows(c.records + 1, grid.recordCount() - c.records);
        }
        if (c.fields > 0) {
            while (grid.fieldCount() > c.fields)
                grid.takeColumn(grid.fieldCount());
            while (grid.fieldCount() < c.fields)
                grid.insertColumn(grid.fieldCount() + 1, {});
        }
        t.messages.answers = {MessageButton::No};
        const QByteArray before = t.bytes();
        EXPECT_FALSE(c.act(t));
        ASSERT_EQ(t.messages.shown.size(), 1u);
        EXPECT_EQ(t.messages.shown[0].text(), c.message);
        EXPECT_EQ(t.bytes(), before);
        EXPECT_FALSE(t.doc.canUndo());
    }

    // One record short of the limit, a record can still be appended once.
    Table t;
    RecordGrid &grid = DocumentAccess::database(t.doc).grid();
    grid.insertRows(5, std::vector<RecordGrid::Row>(Limits::MaxRecords - 5, RecordGrid::Row{}));
    EXPECT_TRUE(t.records().AppendRecord());
    EXPECT_FALSE(t.records().AppendRecord());
    EXPECT_EQ(t.doc.database().recordCount(), Limits::MaxRecords);
}

TEST(TableCommands, fieldsTakeTheirDefinitionsAndReferencesAlong)
{
    Table t;
    const FieldDef count = t.doc.database().field(2);
    const FieldDef changed = t.doc.database().field(7);
    t.records().InsertField(2);
    EXPECT_EQ(t.cell(2, 0), QStringLiteral("Field 2"));
    EXPECT_EQ(t.doc.database().grid().columnWidth(2), RecordCommands::NewFieldWidth);
    EXPECT_EQ(t.doc.database().field(2).type, FieldType::String);
    EXPECT_EQ(t.doc.database().field(3).type, count.type);
    // Total (now field 5) still multiplies Count by Cost.
    t.cells().Fill(Direction::Down, 3, 1);
    EXPECT_EQ(t.cell(5, 2), QStringLiteral("1.50"));

    // Without Count, Total names no field; the slot past the new last field
    // keeps the former last field's definition.
    t.records().DeleteField(3, true);
    t.records().DeleteField(2, true);
    EXPECT_EQ(t.calc.EvaluateCalcField(3, 1), QStringLiteral("???"));
    EXPECT_EQ(t.doc.database().field(6).type, changed.type);
    EXPECT_EQ(t.doc.database().field(7).type, changed.type);
}

TEST(TableCommands, textsChangedByACommandKeepTheirRecordsCalculatedCellsCurrent)
{
    struct Case
    {
        const char *name;
        std::function<void(Table &)> act;
        std::map<std::pair<int, int>, QString> expected; ///< (column, row) -> text
    };
    const Case cases[] = {
        {"cut cell restamps",
         [](Table &t) { t.cells().CutCell(2, 1); },
         {{{2, 1}, {}}, {{4, 1}, QStringLiteral("???")}, {{7, 1}, QStringLiteral("8.12.2026")}}},
        {"fill down",
         [](Table &t) { t.cells().Fill(Direction::Down, 2, 1); },
         {{{2, 4}, QStringLiteral("3")}, {{4, 3}, QStringLiteral("6.75")}, {{7, 3}, {}}}},
        {"paste row over fewer fields",
         [](Table &t) {
             t.clipboard.contents = QStringLiteral("Ash\t\t2");
             t.cells().PasteRow(2, true);
         },
         {{{1, 2}, QStringLiteral("Ash")},
          {{2, 2}, {}},
          {{3, 2}, QStringLiteral("2")},
          {{4, 2}, QStringLiteral("???")},
          {{5, 2}, QStringLiteral("0")}}},
        {"cut row empties every cell",
         [](Table &t) {
             t.cells().CutRow(4, true);
             EXPECT_EQ(t.clipboard.contents, QStringLiteral("Oak\t1\t90\t90.00\t1\tTree\t"));
         },
         {{{1, 4}, {}}, {{4, 4}, QStringLiteral("???")}, {{5, 4}, {}}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Table t;
        c.act(t);
        for (const auto &[cell, text] : c.expected)
            EXPECT_EQ(t.cell(cell.first, cell.second), text) << cell.first << "," << cell.second;
    }
}

TEST(TableCommands, aBlockGoesOutAndComesBackThroughVisibleRecords)
{
    Table t;
    // Record 2 hidden by a filter: a block skips it both ways.
    t.doc.apply(Edit::view(EditStep::RowHeights{{{2, 0}}}));
    t.cells().CopyBlock(QRect(1, 1, 3, 3));
    EXPECT_EQ(t.clipboard.contents, QStringLiteral("Rose\t3\t4.00\r\nFern\t\t2.25\r\n"));

    // Pasted at Count, it fills the visible records and Total, being
    // calculated, keeps its text.
    t.clipboard.contents = QStringLiteral("1\t2\t3\r\n4\t5\t6\r\n");
    EXPECT_EQ(t.cells().PasteBlock(2, 3), QRect(2, 3, 3, 2));
    EXPECT_EQ(t.cell(2, 3), QStringLiteral("1"));
    EXPECT_EQ(t.cell(3, 4), QStringLiteral("5"));
    EXPECT_EQ(t.cell(4, 4), QStringLiteral("20.00"));
    EXPECT_EQ(t.cell(4, 3), QStringLiteral("2.00"));
    EXPECT_EQ(t.cell(2, 2), QStringLiteral("10"));
}

// A block longer than the records below the current cell gets the records
// it needs, made as Append Row makes them, in the paste's one undoable
// edit; what does not fit (columns past the last field, lines past the
// record limit) is told in one message.
TEST(TableCommands, aPastedBlockAddsTheRecordsItNeedsAndTellsWhatDidNotFit)
{
    struct Case
    {
        const char *name;
        int records; ///< records before (4: the garden's own)
        QString block;
        QPoint at;
        QString after; ///< records, then the cells of the last record
        QString said;  ///< the message's text
    };
    const Case cases[] = {
        {"two new records, their totals worked out", 4, QStringLiteral("a\t2\t3\r\nb\t4\t5"),
         QPoint(1, 4), QStringLiteral("5: b|4|5|20.00|0||"), QString()},
        {"columns past the last field", 4, QStringLiteral("x\ty\tz\r\n"), QPoint(6, 2),
         QStringLiteral("4: Oak|1|90|90.00|1|Tree|"),
         QStringLiteral("1 column of the pasted block did not fit (past the last field) and "
                        "was left out.")},
        {"lines past the record limit", Limits::MaxRecords - 1,
         QStringLiteral("p\r\nq\r\nr\r\ns\tt\tu\tv\tw\tx\ty\tz\r\n"),
         QPoint(1, Limits::MaxRecords - 1), QStringLiteral("32000: q|||???|0||"),
         QStringLiteral("2 lines of the pasted block did not fit (past the 32000 records a "
                        "database holds) and were left out.")},
    };
    QStringList results;
    QStringList expected;
    for (const Case &c : cases) {
        Table t;
        if (c.records > 4) {
            // Copies of Oak up to the count wanted, at the end.
            Database &db = DocumentAccess::database(t.doc);
            std::vector<RecordGrid::Row> rows(size_t(c.records - 4));
            for (RecordGrid::Row &row : rows) {
                for (int k = 0; k <= db.fieldCount(); ++k)
                    row.cells.push_back(db.grid().cell(k, 4));
                row.height = RecordGrid::VisibleRowHeight;
            }
            db.grid().insertRows(5, std::move(rows));
        }
        const QByteArray before = t.bytes();
        t.clipboard.contents = c.block;
        t.cells().PasteBlock(c.at.x(), c.at.y());
        const int n = t.doc.database().recordCount();
        QStringList last;
        for (int k = 1; k <= t.doc.database().fieldCount(); ++k)
            last << t.cell(k, n);
        QString said;
        for (const Message &m : t.messages.shown)
            said += m.text();
        t.doc.undo();
        results << QStringLiteral("%1 | %2: %3 | %4 | undone %5")
                       .arg(QString::fromLatin1(c.name))
                       .arg(n)
                       .arg(last.join(QLatin1Char('|')), said)
                       .arg(t.bytes() == before);
        expected << QStringLiteral("%1 | %2 | %3 | undone 1")
                        .arg(QString::fromLatin1(c.name), c.after, c.said);
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}

// The records a paste adds are those Append Row would have made one after
// another: counters run on, a "Previous Record" operand reads the new
// record above.
TEST(TableCommands, recordsAPasteAddsAreThoseAppendRowMakes)
{
    const auto arrange = [](Table &t) {
        Database &db = DocumentAccess::database(t.doc);
        FieldDef &count = db.field(2);
        count.type = FieldType::AutoIncrementInteger;
        count.setting1 = 10;
        count.setting2 = 5;
        db.field(4).setting1 = calcWord(3, 2, 2, true); // Count x Count of the record above
    };
    Table pasted;
    arrange(pasted);
    Table appended;
    arrange(appended);
    for (int i = 0; i < 3; ++i)
        appended.records().AppendRecord();
    const QString block = QStringLiteral("a\r\nb\r\nc\r\nd\r\n");
    pasted.clipboard.contents = block;
    appended.clipboard.contents = block;
    pasted.cells().PasteBlock(1, 4);
    appended.cells().PasteBlock(1, 4);
    EXPECT_EQ(pasted.bytes(), appended.bytes());
    EXPECT_EQ(pasted.cell(2, 7), QStringLiteral("25"));
}

TEST(ClipboardText, recordTextsFillFieldsFromTheFirst)
{
    const std::pair<const char *, std::vector<QString>> cases[] = {
        {"x", {QStringLiteral("x")}},
        {"a\t\tc", {QStringLiteral("a"), QString(), QStringLiteral("c")}},
        {"a\tb\tc\td", {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}},
        {"a\t", {QStringLiteral("a")}},
        {"", {}},
    };
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(ClipboardText::PasteRecordText(QString::fromLatin1(text), 3), expected) << text;
}

TEST(ClipboardText, blocksReadAsSpreadsheetsWriteThem)
{
    const auto q = [](const char *s) { return QString::fromLatin1(s); };
    const std::pair<const char *, Block> cases[] = {
        {"a\tb\r\nc\td\r\n", {{q("a"), q("b")}, {q("c"), q("d")}}},
        {"a\tb\nc", {{q("a"), q("b")}, {q("c")}}},
        {"\"x\ty\"\t\"q\"\"q\"\r\n", {{q("x\ty"), q("q\"q")}}},
        {"12\" screen\t\"two\r\nlines\"", {{q("12\" screen"), q("two\r\nlines")}}},
        {"a\r\n\r\nb", {{q("a")}, {q("")}, {q("b")}}},
        {"\t", {{q(""), q("")}}},
        {"", {}},
    };
    for (const auto &[text, expected] : cases) {
        const Block block = ClipboardText::parseBlock(q(text));
        EXPECT_EQ(block, expected) << text;
        // What is written reads back as it was.
        EXPECT_EQ(ClipboardText::parseBlock(ClipboardText::blockText(block)), block) << text;
    }
}
