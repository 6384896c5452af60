#include "core/crypto/cipherstate.h"
#include "core/document/document.h"
#include "core/format/databasewriter.h"
#include "gardendocument.h"
#include "numbers/numberseparators.h"
#include "rules/grid/celledit.h"
#include "values/calc/calculatedfields.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

struct EditCase
{
    const char *name;
    QString label;
    std::function<void(GardenDocument &)> act;
};

Edit changeOf(const QString &label, EditStep::Step step)
{
    return Edit::change(label, std::move(step));
}

} // namespace

TEST(Document, everyEditIsUndoneAndRedoneToTheByte)
{
    const EditCase cases[] = {
        {"typing", QStringLiteral("typing"),
         [](GardenDocument &f) {
             CellEdit::editInPlace(f.doc, f.calc, f.messages, 2, 1, QStringLiteral("5"));
         }},
        {"check box", QStringLiteral("check box"),
         [](GardenDocument &f) { CellEdit::setChecked(f.doc, f.calc, 5, 2, true); }},
        {"popup item", QStringLiteral("popup item"),
         [](GardenDocument &f) {
             CellEdit::storeText(f.doc, f.calc, 6, 3, QStringLiteral("Fern"),
                                 QStringLiteral("popup item"));
         }},
        {"column sum", QStringLiteral("column sum"),
         [](GardenDocument &f) { CellEdit::sumColumn(f.doc, f.calc, 2, 3); }},
        {"column width", QStringLiteral("column width"),
         [](GardenDocument &f) {
             f.doc.apply(
                 changeOf(QStringLiteral("column width"), EditStep::ColumnWidths{{{3, 140}}}));
         }},
        {"move field", QStringLiteral("move field"),
         [](GardenDocument &f) {
             f.doc.apply(changeOf(QStringLiteral("move field"), EditStep::MoveField{6, 1}));
         }},
        {"move record", QStringLiteral("move record"),
         [](GardenDocument &f) {
             f.doc.apply(changeOf(QStringLiteral("move record"), EditStep::MoveRecord{4, 1}));
         }},
        {"sort", QStringLiteral("sort"),
         [](GardenDocument &f) {
             f.doc.apply(changeOf(QStringLiteral("sort"), EditStep::PermuteRecords{{3, 1, 4, 2}}));
         }},
        {"insert record", QStringLiteral("insert row"),
         [](GardenDocument &f) {
             CalculatedFields::NewRecord r = f.calc.InitialiseRecord(2);
             Edit e = changeOf(QStringLiteral("insert row"), EditStep::InsertRecords{2, {}});
             std::get<EditStep::InsertRecords>(e.steps[0]).rows.push_back(std::move(r.row));
             f.doc.apply(std::move(e));
         }},
        {"delete records", QStringLiteral("delete row"),
         [](GardenDocument &f) {
             f.doc.apply(changeOf(QStringLiteral("delete row"), EditStep::RemoveRecords{2, 2}));
         }},
        {"field definition", QStringLiteral("properties"),
         [](GardenDocument &f) {
             FieldDef def = f.doc.database().field(2);
             def.defaultText = QStringLiteral("1");
             def.attributes = FieldDef::ReadOnlyAttribute;
             f.doc.apply(changeOf(QStringLiteral("properties"), EditStep::FieldDefs{{{2, def}}}));
         }},
    };
    for (const EditCase &c : cases) {
        SCOPED_TRACE(c.name);
        GardenDocument f;
        const QByteArray before = f.bytes();
        c.act(f);
        const QByteArray after = f.bytes();
        EXPECT_NE(after, before);
        EXPECT_TRUE(f.doc.database().isChanged());
        EXPECT_EQ(f.doc.undoLabel(), c.label);

        f.doc.undo();
        EXPECT_EQ(f.bytes(), before);
        EXPECT_FALSE(f.doc.database().isChanged());
        EXPECT_FALSE(f.doc.canUndo());
        f.doc.redo();
        EXPECT_EQ(f.bytes(), after);
        EXPECT_TRUE(f.doc.database().isChanged());
        f.doc.undo();
        EXPECT_EQ(f.bytes(), before);
    }
}

TEST(Document, aRecordsCalculatedCellsFollowEveryEditOfItsTexts)
{
    GardenDocument f;
    // Typing restamps the record; a sum and a check box do not.
    CellEdit::editInPlace(f.doc, f.calc, f.messages, 2, 1, QStringLiteral("5"));
    EXPECT_EQ(f.cell(4, 1), QStringLiteral("20.00"));
    EXPECT_EQ(f.cell(7, 1), QStringLiteral("8.12.2026"));
    CellEdit::sumColumn(f.doc, f.calc, 2, 3);
    EXPECT_EQ(f.cell(2, 3), QStringLiteral("15"));
    EXPECT_EQ(f.cell(4, 3), QStringLiteral("33.75"));
    EXPECT_EQ(f.cell(7, 3), QString());
}

TEST(Document, theSavedStateIsWhereTheChangedFlagClears)
{
    GardenDocument f;
    const auto type = [&](const char *text) {
        CellEdit::editInPlace(f.doc, f.calc, f.messages, 1, 1, QString::fromLatin1(text));
    };
    type("a");
    type("b");
    f.doc.markSaved(kNow, f.doc.database().loStruc(), QStringLiteral("/data/file.pdb"));
    EXPECT_FALSE(f.doc.database().isChanged());
    type("c");
    f.doc.undo();
    EXPECT_FALSE(f.doc.database().isChanged());
    f.doc.undo();
    EXPECT_TRUE(f.doc.database().isChanged());
    f.doc.redo();
    EXPECT_FALSE(f.doc.database().isChanged());
    // A new edit drops the redo step that led away from the saved state.
    f.doc.undo();
    type("d");
    f.doc.undo();
    EXPECT_TRUE(f.doc.database().isChanged());
    // A view edit changes nothing that undo knows of.
    f.doc.apply(Edit::view(EditStep::RowHeights{{{2, 0}}}));
    EXPECT_EQ(f.doc.undoLabel(), QStringLiteral("typing"));
    EXPECT_EQ(f.doc.database().grid().rowHeight(2), 0);
}

TEST(Document, theHistoryIsBoundedAndDragsMerge)
{
    GardenDocument f;
    f.doc.history().setLimits(3, 1 << 20);
    for (int i = 0; i < 5; ++i)
        CellEdit::editInPlace(f.doc, f.calc, f.messages, 1, 1, QString::number(i));
    int undone = 0;
    while (f.doc.canUndo()) {
        f.doc.undo();
        ++undone;
    }
    EXPECT_EQ(undone, 3);
    EXPECT_EQ(f.cell(1, 1), QStringLiteral("1"));
    EXPECT_TRUE(f.doc.database().isChanged()); // the saved state fell out

    // Bytes: one huge step stays, the older ones go.
    f.doc.history().setLimits(100, 4096);
    CellEdit::editInPlace(f.doc, f.calc, f.messages, 1, 2, QString(100, QLatin1Char('x')));
    CellEdit::editInPlace(f.doc, f.calc, f.messages, 1, 2, QString(4000, QLatin1Char('y')));
    EXPECT_LE(f.doc.history().size(), 2);
    EXPECT_LE(f.doc.history().bytes(), 4096 + 16000);

    // The widths a drag passes through are one step.
    const int width = f.doc.database().grid().columnWidth(3);
    for (int w : {100, 110, 120}) {
        Edit e = Edit::change(QStringLiteral("column width"), EditStep::ColumnWidths{{{3, w}}});
        e.mergeKey = 3;
        f.doc.apply(std::move(e));
    }
    f.doc.endMerge();
    f.doc.undo();
    EXPECT_EQ(f.doc.database().grid().columnWidth(3), width);
}

TEST(Document, referencesFollowAMovedField)
{
    // Total keeps multiplying Count by Cost wherever they go.
    GardenDocument f;
    f.doc.apply(Edit::change(QStringLiteral("move field"), EditStep::MoveField{3, 1}));
    f.doc.apply(Edit::change(QStringLiteral("move field"), EditStep::MoveField{7, 2}));
    ASSERT_EQ(f.cell(3, 0), QStringLiteral("Name"));
    ASSERT_EQ(f.cell(4, 0), QStringLiteral("Count"));
    CellEdit::editInPlace(f.doc, f.calc, f.messages, 4, 1, QStringLiteral("5"));
    EXPECT_EQ(f.cell(5, 1), QStringLiteral("20.00"));
    EXPECT_EQ(f.calc.EvaluateCalcField(5, 4), QStringLiteral("90.00"));
}
