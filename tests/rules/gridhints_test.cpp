#include "core/document/database.h"
#include "core/document/fieldtype.h"
#include "rules/grid/gridhints.h"
#include "scriptedmessages.h"

#include <gtest/gtest.h>

namespace {

const NumberSeparators Us = NumberSeparators::us();

/// A database of one field per type in @p types and @p records visible records.
void make(Database &db, std::initializer_list<int> types, int records)
{
    db.grid().resize(int(types.size()) + 1, records + 1);
    db.grid().showAllRows();
    int k = 1;
    for (int type : types)
        db.field(k++).type = quint8(type);
}

void fill(Database &db, int column, std::initializer_list<const char *> texts)
{
    int row = 1;
    for (const char *t : texts)
        db.grid().setCell(column, row++, QString::fromUtf8(t));
}

} // namespace

TEST(GridHints, recordCountSaysRecordForNoneAndOne)
{
    Database db;
    make(db, {FieldType::String}, 3);
    EXPECT_EQ(GridHints::cellHint(db, 0, 0), QStringLiteral("3 Records"));
    // A filter hides rows with height 0 (the first of a run) or less.
    db.grid().setRowHeight(2, 0);
    EXPECT_EQ(GridHints::cellHint(db, 0, 0), QStringLiteral("2 Records"));
    db.grid().setRowHeight(3, -1);
    EXPECT_EQ(GridHints::cellHint(db, 0, 0), QStringLiteral("1 Record"));
    db.grid().setRowHeight(1, 0);
    EXPECT_EQ(GridHints::cellHint(db, 0, 0), QStringLiteral("0 Record"));
    db.grid().setRowHeight(3, 5); // any positive height is visible
    EXPECT_EQ(GridHints::cellHint(db, 0, 0), QStringLiteral("1 Record"));

    Database empty;
    make(empty, {FieldType::String}, 0);
    EXPECT_EQ(GridHints::recordCountHint(empty.grid()), QStringLiteral("0 Record"));
}

TEST(GridHints, eachTypeNamesItselfInTheHint)
{
    Database db;
    make(db,
         {FieldType::String, FieldType::NormalDate, FieldType::CreationDate,
          FieldType::ModificationDate, FieldType::NormalTime, FieldType::CreationTime,
          FieldType::ModificationTime, FieldType::CalcFieldOpField, FieldType::CalcValueOpField,
          FieldType::CalcFieldOpValue},
         2);
    const char *expected[] = {"String",
                              "Normal Date",
                              "Creation Date",
                              "Modification Date",
                              "Normal Time",
                              "Creation Time",
                              "Modification Time",
                              "Calc  <field><op><field>",
                              "Calc  <value><op><field>",
                              "Calc  <field><op><value>"};
    for (int c = 1; c <= 10; ++c)
        EXPECT_EQ(GridHints::cellHint(db, c, 0), QString::fromUtf8(expected[c - 1])) << c;

    // Only field names have hints.
    EXPECT_EQ(GridHints::cellHint(db, 1, 1), QString());
    EXPECT_EQ(GridHints::cellHint(db, 0, 1), QString());
    EXPECT_EQ(GridHints::cellHint(db, 11, 0), QString());
    EXPECT_EQ(GridHints::fieldHint(db, 0), QString());
}

TEST(GridHints, booleanCountsExactOnesAndZerosOfVisibleRecords)
{
    Database db;
    make(db, {FieldType::Boolean}, 7);
    fill(db, 1, {"1", "0", "", "yes", " 1", "1", "0"});
    db.grid().setRowHeight(6, 0);
    db.grid().setRowHeight(7, -1);
    EXPECT_EQ(GridHints::cellHint(db, 1, 0), QStringLiteral("Boolean\rChecked: 1   Unchecked: 1"));
}

TEST(GridHints, popupsCountTheirItems)
{
    Database db;
    make(db, {FieldType::NormalPopup, FieldType::MultiplePopup}, 1);
    db.field(1).popupItems = {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
    EXPECT_EQ(GridHints::cellHint(db, 1, 0), QStringLiteral("Normal Popup\r3 Item(s)"));
    EXPECT_EQ(GridHints::cellHint(db, 2, 0), QStringLiteral("Multiple Popup\r0 Item(s)"));
}

TEST(GridHints, numberColumnsSumAndAverageOverVisibleRecords)
{
    Database db;
    make(db, {FieldType::Float, FieldType::NormalInteger, FieldType::AutoIncrementInteger}, 4);
    // An empty cell counts toward the average but adds nothing; a hidden
    // record counts for neither.
    fill(db, 1, {"1.5", "", "2.5", "100"});
    fill(db, 2, {"1,000", "abc", "-4", "7"});
    db.grid().setRowHeight(4, 0);
    EXPECT_EQ(GridHints::fieldHint(db, 1, Us),
              QStringLiteral("Float\rTotal: 4\rAverage: 1.33333333333333"));
    EXPECT_EQ(GridHints::fieldHint(db, 2, Us),
              QStringLiteral("Normal Integer\rTotal: 996\rAverage: 332"));
    EXPECT_EQ(GridHints::fieldHint(db, 3, Us),
              QStringLiteral("Auto-increment Integer\rTotal: 0\rAverage: 0"));

    // No visible record: no average.
    for (int row = 1; row <= 4; ++row)
        db.grid().setRowHeight(row, -1);
    EXPECT_EQ(GridHints::fieldHint(db, 1, Us), QStringLiteral("Float\rTotal: 0"));

    // Numbers are read and written with the separators in force.
    db.grid().showAllRows();
    fill(db, 1, {"1.000,5", "0,5", "", ""});
    EXPECT_EQ(GridHints::columnStatistics(db.grid(), 1, {u',', u'.'}),
              QStringLiteral("Total: 1001\rAverage: 250,25"));
}

TEST(GridHints, readOnlyFieldsSayItLast)
{
    Database db;
    make(db, {FieldType::Float, FieldType::String, FieldType::NormalPopup}, 1);
    fill(db, 1, {"3"});
    for (int k = 1; k <= 3; ++k)
        db.field(k).attributes = FieldDef::ReadOnlyAttribute;
    db.field(3).popupItems = {QStringLiteral("x")};
    EXPECT_EQ(GridHints::fieldHint(db, 1, Us),
              QStringLiteral("Float\rTotal: 3\rAverage: 3\rRead only"));
    EXPECT_EQ(GridHints::fieldHint(db, 2, Us), QStringLiteral("String\rRead only"));
    EXPECT_EQ(GridHints::fieldHint(db, 3, Us),
              QStringLiteral("Normal Popup\r1 Item(s)\rRead only"));
    // A database's read-only flag is no field attribute.
    db.field(2).attributes = 0;
    db.setReadOnly(true);
    EXPECT_EQ(GridHints::fieldHint(db, 2, Us), QStringLiteral("String"));
}

TEST(GridHints, editingIsRefusedForProtectedFieldsAndReadOnlyDatabases)
{
    Database db;
    make(db, {FieldType::String, FieldType::Boolean, FieldType::String, FieldType::Float}, 2);
    db.field(3).attributes = 0x80 | 0x01;
    db.field(4).attributes = 0x7F; // every other attribute bit leaves the field editable

    EXPECT_TRUE(GridHints::mayEditCell(db, 1, 1));
    EXPECT_TRUE(GridHints::mayEditCell(db, 2, 2)); // a check box may be toggled
    EXPECT_FALSE(GridHints::mayEditCell(db, 3, 1));
    EXPECT_TRUE(GridHints::mayEditCell(db, 4, 2));
    // Headers and cells outside the table are never edited.
    EXPECT_FALSE(GridHints::mayEditCell(db, 1, 0));
    EXPECT_FALSE(GridHints::mayEditCell(db, 0, 1));
    EXPECT_FALSE(GridHints::mayEditCell(db, 5, 1));
    EXPECT_FALSE(GridHints::mayEditCell(db, 1, 3));

    // The cell editor opens for editable cells except check boxes.
    EXPECT_TRUE(GridHints::mayOpenCellEditor(db, 1, 1));
    EXPECT_FALSE(GridHints::mayOpenCellEditor(db, 2, 1));
    EXPECT_FALSE(GridHints::mayOpenCellEditor(db, 3, 1));
    EXPECT_FALSE(GridHints::mayOpenCellEditor(db, 1, 0));
    EXPECT_FALSE(GridHints::mayOpenCellEditor(db, 0, 1));

    db.setReadOnly(true);
    for (int c = 1; c <= 4; ++c) {
        EXPECT_FALSE(GridHints::mayEditCell(db, c, 1)) << c;
        EXPECT_FALSE(GridHints::mayOpenCellEditor(db, c, 1)) << c;
    }
}

TEST(GridHints, shortTextOptionCutsLongEditsWithOneMessage)
{
    Database db;
    make(db, {FieldType::String, FieldType::String, FieldType::NormalPopup, FieldType::String}, 1);
    db.field(1).setting1 = 1;
    db.field(2).setting1 = 0;
    db.field(3).setting1 = 1; // the option belongs to String fields only
    db.field(4).setting1 = 2;
    const QString long300 = QString(200, u'a') + QString(100, u'b');

    ScriptedMessages messages;
    EXPECT_EQ(GridHints::limitEditedText(db, 1, long300, messages),
              QString(200, u'a') + QString(50, u'b'));
    ASSERT_EQ(messages.shown.size(), 1u);
    const Message &m = messages.shown.front();
    EXPECT_EQ(m.caption, QStringLiteral("Information"));
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_EQ(m.buttons, MessageButtons(MessageButton::Ok));
    EXPECT_EQ(m.lines,
              QStringList({QStringLiteral("The 250 character limitation made for some other "
                                          "PC/Mac side application is enabled and the text is "
                                          "shorten."),
                           QStringLiteral("This setting is unnecessary in Quillgrid and you need "
                                          "not worry about to disable it. [see "
                                          "Menu->Edit->Properties->Field]!")}));

    // At the limit, below it and in every other field: untouched, no message.
    const QString exactly250(250, u'c');
    EXPECT_EQ(GridHints::limitEditedText(db, 1, exactly250, messages), exactly250);
    EXPECT_EQ(GridHints::limitEditedText(db, 1, QString(20, u'd'), messages), QString(20, u'd'));
    for (int c : {2, 3, 4})
        EXPECT_EQ(GridHints::limitEditedText(db, c, long300, messages), long300) << c;
    EXPECT_EQ(messages.shown.size(), 1u);
}
