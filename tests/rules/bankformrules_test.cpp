#include "core/document/document.h"
#include "core/document/fieldtype.h"
#include "documentaccess.h"
#include "fixedclock.h"
#include "fixedlocale.h"
#include "rules/celleditor/bankformrules.h"
#include "scriptedshell.h"
#include "values/calc/calculatedfields.h"

#include <gtest/gtest.h>

namespace {

using Controls = BankFormRules::Controls;
using Kind = BankFormRules::PickerKind;

/// A document of one record per test case, its fields as each case needs,
/// with the services the rules work through.
struct Editor
{
    Document doc;
    FixedLocale locale;
    FixedClock clock; // 12/8/2026 10:30:15
    ScriptedShell feedback;
    CalculatedFields calc{doc.database(), locale, clock, feedback};
    BankFormRules rules{doc, calc, locale, clock};

    Database &db() { return DocumentAccess::database(doc); }
    /// Fields of @p types named F1, F2 ...; @p records empty records.
    void layout(std::initializer_list<int> types, int records = 1)
    {
        db().grid().resize(int(types.size()) + 1, records + 1);
        int column = 1;
        for (int type : types) {
            db().field(column).type = quint8(type);
            db().grid().setCell(column, 0, QStringLiteral("F%1").arg(column));
            ++column;
        }
    }
    QStringList row(int r)
    {
        QStringList texts;
        for (int c = 1; c <= db().fieldCount(); ++c)
            texts << db().grid().cell(c, r);
        return texts;
    }
};

} // namespace

TEST(BankFormRules, opensWithTheLabelAndTheInputAidOfEachFieldType)
{
    enum Aid
    {
        None,
        Box,
        Date,
        Time,
        List
    };
    struct Case
    {
        int type;
        const char *cell;
        const char *label; // null: the label stays hidden
        Aid aid;
        bool ticked;
    };
    const Case cases[] = {
        {FieldType::String, "text", "String", None, false},
        {FieldType::Boolean, "yes", nullptr, Box, true},
        {FieldType::Boolean, "", nullptr, Box, true},
        {FieldType::Boolean, "0", nullptr, Box, false},
        {FieldType::NormalDate, "1/5/2025", "Normal Date", Date, false},
        {FieldType::CreationDate, "", "Creation Date", Date, false},
        {FieldType::ModificationDate, "", "Modification Date", Date, false},
        {FieldType::NormalTime, "08:00:00", "Normal Time", Time, false},
        {FieldType::CreationTime, "", "Creation Time", Time, false},
        {FieldType::ModificationTime, "", "Modification Time", Time, false},
        {FieldType::NormalPopup, "red", "Popup", List, false},
        {FieldType::MultiplePopup, "red", "Multiple Popup", List, false},
        {FieldType::NormalInteger, "12", "Normal Integer", None, false},
        {FieldType::AutoIncrementInteger, "7", "Auto-Increment Integer  Start: 5 Inc: -2", None,
         false},
        {FieldType::Float, "1.5", "Float", None, false},
        {FieldType::CalcFieldOpField, "3", nullptr, None, false},
        {FieldType::CalcValueOpField, "3", nullptr, None, false},
        {FieldType::CalcFieldOpValue, "3", nullptr, None, false},
    };
    for (const Case &c : cases) {
        Editor e;
        e.layout({c.type});
        e.db().field(1).setting1 = 5;
        e.db().field(1).setting2 = -2;
        e.db().field(1).popupItems = {QStringLiteral("red"), QStringLiteral("blue")};
        e.db().grid().setCell(1, 1, QString::fromUtf8(c.cell));
        e.rules.FormShow(1, 1);

        Controls want;
        want.frameCaption = QStringLiteral(" Row:  0001    Col:  F1 ");
        want.editorText = QString::fromUtf8(c.cell);
        want.popupText = QStringLiteral("Select Popup Item");
        if (c.label) {
            want.labelText = QString::fromUtf8(c.label);
            want.labelVisible = true;
        }
        want.booleanChecked = c.ticked;
        want.booleanVisible = want.booleanEnabled = c.aid == Box;
        want.pickerKind = c.aid == Time ? Kind::Time : Kind::Date;
        if (c.aid == Date || c.aid == Time)
            want.pickerValue = e.clock.time; // today or now, never the cell's value
        want.pickerVisible = want.pickerEnabled = c.aid == Date || c.aid == Time;
        if (c.aid == List) {
            want.popupItems = e.db().field(1).popupItems;
            want.popupIndex = 0;
        }
        want.popupVisible = want.popupEnabled = c.aid == List;
        want.caretAtEnd = c.type == FieldType::MultiplePopup;
        EXPECT_EQ(e.rules.controls(), want) << "type " << c.type << " cell " << c.cell;

        // Closing brings back the design state, whatever was shown.
        e.rules.FormClose();
        Controls design = want;
        design.labelVisible = design.booleanVisible = design.booleanEnabled = false;
        design.popupVisible = design.popupEnabled = design.pickerVisible = false;
        design.pickerEnabled = false;
        design.popupIndex = -1;
        EXPECT_EQ(e.rules.controls(), design) << "type " << c.type;
    }
}

TEST(BankFormRules, inputAidsWriteTheTextBox)
{
    struct Case
    {
        int type;
        int setting1;
        const char *cell;
        std::function<void(BankFormRules &)> act;
        const char *text;
    };
    const auto chooseBlue = [](BankFormRules &r) { r.CB_PopupChange(1); };
    const QDateTime picked(QDate(2024, 2, 29), QTime(23, 5, 9), Qt::UTC);
    const Case cases[] = {
        {FieldType::MultiplePopup, 1, "red", chooseBlue, "red,blue"},
        {FieldType::MultiplePopup, 0, "red", chooseBlue, "red blue"},
        {FieldType::MultiplePopup, 2, "red", chooseBlue, "red\r\nblue"},
        {FieldType::MultiplePopup, 3, "red", chooseBlue, "redblue"},
        {FieldType::MultiplePopup, 1, "", chooseBlue, "blue"},
        {FieldType::NormalPopup, 1, "red", chooseBlue, "blue"},
        {FieldType::Boolean, 0, "yes", [](BankFormRules &r) { r.CB_BooleanMouseUp(false); }, "0"},
        {FieldType::Boolean, 0, "0", [](BankFormRules &r) { r.CB_BooleanMouseUp(true); }, "1"},
        {FieldType::NormalDate, 0, "1/5/2025",
         [&](BankFormRules &r) { r.DateTimePicker1Change(picked); }, "2/29/2024"},
        {FieldType::ModificationTime, 0, "",
         [&](BankFormRules &r) { r.DateTimePicker1Change(picked); }, "23:05:09"},
    };
    for (const Case &c : cases) {
        Editor e;
        e.layout({c.type});
        e.db().field(1).setting1 = c.setting1;
        e.db().field(1).popupItems = {QStringLiteral("red"), QStringLiteral("blue")};
        e.db().grid().setCell(1, 1, QString::fromUtf8(c.cell));
        e.rules.FormShow(1, 1);
        c.act(e.rules);
        EXPECT_EQ(e.rules.controls().editorText, QString::fromUtf8(c.text))
            << "type " << c.type << " setting " << c.setting1 << " cell " << c.cell;
        // The aids never write the cell themselves.
        EXPECT_EQ(e.db().grid().cell(1, 1), QString::fromUtf8(c.cell));
    }
}

TEST(BankFormRules, okStoresOneUndoableEditRestampedBeforeTheNewText)
{
    // F1 text, F2 modification date, F3 modification time, F4 float,
    // F5 = F4 + F4.
    struct Case
    {
        int column;
        const char *typed;
        QStringList stored; // empty: nothing changes
    };
    const QStringList before = {QStringLiteral("old"), QStringLiteral("1/1/2020"),
                                QStringLiteral("09:00:00"), QStringLiteral("1.5"),
                                QStringLiteral("3")};
    const Case cases[] = {
        {1, "old", {}},
        {1, "new", {"new", "12/8/2026", "10:30:15", "1.5", "3"}},
        {2, "2/3/2021", {"old", "2/3/2021", "10:30:15", "1.5", "3"}},
        {4, "2", {"old", "12/8/2026", "10:30:15", "2", "4"}},
        // Typed into a calculated cell, the text is still what it gets.
        {5, "x", {"old", "12/8/2026", "10:30:15", "1.5", "x"}},
    };
    for (const Case &c : cases) {
        Editor e;
        e.layout({FieldType::String, FieldType::ModificationDate, FieldType::ModificationTime,
                  FieldType::Float, FieldType::CalcFieldOpField});
        e.db().field(5).setting1 = (3 << 24) | (3 << 16) | 1;
        for (int k = 1; k <= 5; ++k)
            e.db().grid().setCell(k, 1, before.at(k - 1));
        e.rules.FormShow(c.column, 1);
        e.rules.setEditorText(QString::fromUtf8(c.typed));
        EXPECT_EQ(e.rules.B_Edit_okClick(), !c.stored.isEmpty()) << c.column << c.typed;
        e.rules.FormClose();

        EXPECT_EQ(e.row(1), c.stored.isEmpty() ? before : c.stored) << c.column << c.typed;
        EXPECT_EQ(e.db().isChanged(), !c.stored.isEmpty());
        EXPECT_EQ(e.doc.canUndo(), !c.stored.isEmpty());
        if (!c.stored.isEmpty()) {
            EXPECT_EQ(e.doc.undoLabel(), QStringLiteral("Edit cell"));
            e.doc.undo();
            EXPECT_EQ(e.row(1), before);
            EXPECT_FALSE(e.db().isChanged());
        }
    }
}

TEST(BankFormRules, closingWithoutOkStoresNothing)
{
    Editor e;
    e.layout({FieldType::String, FieldType::ModificationDate}, 12);
    e.db().grid().setCell(1, 0, QStringLiteral("Name"));
    e.db().grid().setCell(1, 12, QStringLiteral("Ann"));
    e.rules.FormShow(1, 12);
    EXPECT_EQ(e.rules.controls().frameCaption, QStringLiteral(" Row:  0012    Col:  Name "));
    e.rules.setEditorText(QStringLiteral("Bo"));
    e.rules.FormClose(); // Cancel, Escape or the close box
    EXPECT_EQ(e.row(12), QStringList({QStringLiteral("Ann"), QString()}));
    EXPECT_FALSE(e.db().isChanged());
    EXPECT_FALSE(e.doc.canUndo());

    // A read-only database keeps its texts even if OK is reached.
    e.db().setReadOnly(true);
    e.rules.FormShow(1, 12);
    e.rules.setEditorText(QStringLiteral("Bo"));
    EXPECT_FALSE(e.rules.B_Edit_okClick());
    EXPECT_EQ(e.db().grid().cell(1, 12), QStringLiteral("Ann"));
}

TEST(BankFormRules, typingAndPastingStopAtTheLengthLimit)
{
    struct Case
    {
        int length;
        int selected;
        const char *insert;
        const char *fits;
    };
    const Case cases[] = {
        {0, 0, "abc", "abc"}, {3999, 0, "abc", "ab"}, {3999, 0, "\r\nx", "\r\n"},
        {4000, 0, "\nx", ""}, {4001, 0, "a", ""},     {4001, 1, "ab", "a"},
        {6000, 0, "a", ""},   {6000, 3000, "a", "a"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(BankFormRules::fitInsertion(c.length, c.selected, QString::fromUtf8(c.insert)),
                  QString::fromUtf8(c.fits))
            << c.length << " " << c.selected << " " << c.insert;
}
