#include "core/crypto/cipherstate.h"
#include "core/document/databaseoptions.h"
#include "core/document/document.h"
#include "core/format/databasewriter.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "scriptedmessages.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

const QDateTime kNow(QDate(2026, 12, 8), QTime(10, 30, 15), Qt::UTC);

/// Three fields and three records, read from bytes laid out by hand.
struct Table
{
    Table()
    {
        PdbBuilder b = PdbBuilder::withFields(3);
        b.records = {{"Rose", "3", "x"}, {"Tulip", "10", "y"}, {"Fern", "", "z"}};
        Database db;
        EXPECT_TRUE(readFile(b.build(), db).ok);
        doc.replace(std::move(db));
    }

    const Database &db() const { return doc.database(); }

    QByteArray bytes()
    {
        const WriteResult r = DatabaseWriter(messages, cipher).build(db(), kNow);
        EXPECT_TRUE(r.ok);
        return r.bytes;
    }

    Document doc;
    ScriptedMessages messages;
    CipherState cipher;
};

/// What an edit left behind: whether the file would be the same bytes,
/// whether there is something to undo, and the changed flag.
struct Left
{
    bool sameBytes;
    bool undoStep;
    bool changed;

    bool operator==(const Left &) const = default;
};

void PrintTo(const Left &l, std::ostream *os)
{
    *os << "{sameBytes " << l.sameBytes << ", undoStep " << l.undoStep << ", changed " << l.changed
        << "}";
}

struct StepCase
{
    const char *name;
    std::function<Edit(const Database &)> edit;
};

Edit change(EditStep::Step step)
{
    return Edit::change(QStringLiteral("test"), std::move(step));
}

} // namespace

// A step that names what the database does not hold stops a debug build
// (the sanitizer build the tests run in); a release build leaves it out,
// and an edit of nothing else changes nothing and marks nothing.
TEST(EditSteps, aStepOutsideTheDatabaseFailsLoudlyAndChangesNothing)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const StepCase cases[] = {
        {"a cell right of the last field",
         [](const Database &) {
             return change(EditStep::Cells{{{4, 1, QStringLiteral("x")}}});
         }},
        {"a cell below the last record",
         [](const Database &) {
             return change(EditStep::Cells{{{1, 4, QStringLiteral("x")}}});
         }},
        {"a check box on the field names",
         [](const Database &) {
             return change(EditStep::CheckBoxes{{{1, 0, true}}});
         }},
        {"records put in past the end",
         [](const Database &) {
             return change(EditStep::InsertRecords{5, std::vector<RecordGrid::Row>(1)});
         }},
        {"records taken out past the end",
         [](const Database &) {
             return change(EditStep::RemoveRecords{3, 2});
         }},
        {"a negative count of records",
         [](const Database &) {
             return change(EditStep::RemoveRecords{2, -1});
         }},
        {"a record moved past the end",
         [](const Database &) {
             return change(EditStep::MoveRecord{1, 4});
         }},
        {"an order naming a record twice",
         [](const Database &) {
             return change(EditStep::PermuteRecords{{1, 1, 2}});
         }},
        {"an order too short",
         [](const Database &) {
             return change(EditStep::PermuteRecords{{2, 1}});
         }},
        {"the height of no record",
         [](const Database &) {
             return change(EditStep::RowHeights{{{4, 0}}});
         }},
        {"a field moved from nowhere",
         [](const Database &) {
             return change(EditStep::MoveField{0, 2});
         }},
        {"a field put in past the end",
         [](const Database &db) {
             return change(EditStep::InsertField{5, {}, db.field(1), std::nullopt});
         }},
        {"a field taken out past the end",
         [](const Database &) {
             return change(EditStep::RemoveField{4, std::nullopt});
         }},
        {"a definition past the last slot",
         [](const Database &db) {
             return change(EditStep::FieldDefs{{{52, db.field(1)}}});
         }},
        {"the width of no field",
         [](const Database &) {
             return change(EditStep::ColumnWidths{{{4, 50}}});
         }},
        {"a sort list past the 25th",
         [](const Database &db) {
             return change(EditStep::NamedLists{{{26, db.sortList(1)}}, {}});
         }},
        {"a password that was never kept",
         [](const Database &) {
             return change(EditStep::Password{QString(), 3});
         }},
    };
    for (const StepCase &c : cases) {
        SCOPED_TRACE(c.name);
        Table t;
        const QByteArray before = t.bytes();
        EXPECT_DEBUG_DEATH(t.doc.apply(c.edit(t.db())), "a step names");
        EXPECT_EQ((Left{t.bytes() == before, t.doc.canUndo(), t.db().isChanged()}),
                  (Left{true, false, false}));
    }
}

// An edit whose steps change nothing leaves no undo step; a change command
// still marks the database changed (a fill from the last record, Cut cell
// on an empty cell, a column border dragged back where it began).
TEST(EditSteps, anEditThatChangesNothingLeavesNoUndoStep)
{
    struct Case
    {
        const char *name;
        std::function<void(Document &)> act;
        Left left;
    };
    const auto apply = [](EditStep::Step step) {
        return [step = std::move(step)](Document &doc) { doc.apply(change(step)); };
    };
    const auto current = [](std::function<EditStep::Step(const Database &)> make) {
        return [make](Document &doc) { doc.apply(change(make(doc.database()))); };
    };
    const auto drag = [](bool endWhereItBegan) {
        return [endWhereItBegan](Document &doc) {
            std::vector<int> widths{130, 140};
            if (endWhereItBegan)
                widths.push_back(doc.database().grid().columnWidth(2));
            for (int w : widths) {
                Edit e =
                    Edit::change(QStringLiteral("column width"), EditStep::ColumnWidths{{{2, w}}});
                e.mergeKey = 2;
                doc.apply(std::move(e));
            }
            doc.endMerge();
        };
    };
    const Left unchanged{true, false, true};
    const Case cases[] = {
        {"no cells", apply(EditStep::Cells{}), unchanged},
        {"a cell's own text", apply(EditStep::Cells{{{1, 2, QStringLiteral("Tulip")}}}), unchanged},
        {"a check box as it is", current([](const Database &db) {
             return EditStep::CheckBoxes{{{1, 1, db.grid().hasCheckBox(1, 1)}}};
         }),
         unchanged},
        {"no records put in", apply(EditStep::InsertRecords{4, {}}), unchanged},
        {"no records taken out", apply(EditStep::RemoveRecords{2, 0}), unchanged},
        {"a record moved onto itself", apply(EditStep::MoveRecord{2, 2}), unchanged},
        {"the order as it is", apply(EditStep::PermuteRecords{{1, 2, 3}}), unchanged},
        {"a height as it is", current([](const Database &db) {
             return EditStep::RowHeights{{{3, db.grid().rowHeight(3)}}};
         }),
         unchanged},
        {"a field moved onto itself", apply(EditStep::MoveField{3, 3}), unchanged},
        {"a definition as it is", current([](const Database &db) {
             return EditStep::FieldDefs{{{2, db.field(2)}}};
         }),
         unchanged},
        {"a width as it is", current([](const Database &db) {
             return EditStep::ColumnWidths{{{2, db.grid().columnWidth(2)}}};
         }),
         unchanged},
        {"the sort keys as they are",
         current([](const Database &db) { return EditStep::SortKeys{db.sort()}; }), unchanged},
        {"the find settings as they are", current([](const Database &db) {
             return EditStep::FindSettings{db.findField(), db.findText()};
         }),
         unchanged},
        {"the options as they are",
         current([](const Database &db) { return EditStep::Options{DatabaseOptions::of(db)}; }),
         unchanged},
        {"a list as it is", current([](const Database &db) {
             return EditStep::NamedLists{{{1, db.sortList(1)}}, {{2, db.filterList(2)}}};
         }),
         unchanged},
        {"the same password", apply(EditStep::Password{QString()}), unchanged},
        {"a view edit of the scale as it is",
         [](Document &doc) {
             doc.apply(Edit::view(EditStep::ViewOptions{doc.database().widthScale(),
                                                        doc.database().autoSizeColumns()}));
         },
         {true, false, false}},
        {"a drag that ends where it began", drag(true), unchanged},
        {"a drag that ends elsewhere", drag(false), {false, true, true}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Table t;
        const QByteArray before = t.bytes();
        c.act(t.doc);
        EXPECT_EQ((Left{t.bytes() == before, t.doc.canUndo(), t.db().isChanged()}), c.left);
    }
}
