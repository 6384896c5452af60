#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/fieldtype.h"
#include "core/document/recordgrid.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/textmeasurer.h"
#include "documentaccess.h"
#include "fixedclock.h"
#include "memoryfilesystem.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "rules/grid/celledit.h"
#include "rules/grid/columnautosize.h"
#include "rules/grid/columnrescale.h"
#include "rules/grid/popupinsertion.h"
#include "rules/shell/commandtable.h"
#include "rules/shell/saveflow.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "values/calc/calculatedfields.h"

#include <gtest/gtest.h>

namespace {

/// Seven pixels a character, as a fixed-pitch font would measure.
class FixedPitch : public TextMeasurer
{
public:
    int textWidth(const QString &text) const override
    {
        ++calls;
        return 7 * int(text.size());
    }
    mutable int calls = 0;
};

QString repeated(char c, int n)
{
    return QString(n, QLatin1Char(c));
}

} // namespace

TEST(ColumnAutoSize, measuresFirstLinesIncludingTheNameAndGivesTheWidthsBack)
{
    Document doc;
    Database &db = DocumentAccess::database(doc);
    db.grid().resize(4, 4);
    const int before[] = {0, 33, 120, 61};
    for (int c = 1; c <= 3; ++c)
        db.grid().setColumnWidth(c, before[c]);
    db.grid().setCell(1, 0, QStringLiteral("Name"));
    db.grid().setCell(1, 1, QStringLiteral("Ann"));
    db.grid().setCell(1, 2, QStringLiteral("Bo\r\nA much longer second line"));
    db.grid().setCell(2, 0, QStringLiteral("Longest field name"));
    db.grid().setCell(2, 3, QStringLiteral("x"));
    db.grid().setCell(3, 0, QString());
    db.grid().setCell(3, 2, repeated('w', 60)); // 420 pixels of text

    FixedPitch measure;
    ColumnAutoSize autoSize(doc, measure);
    EXPECT_FALSE(autoSize.isOn());
    autoSize.AutoSizeColumns(true);
    EXPECT_TRUE(autoSize.isOn());
    EXPECT_TRUE(db.autoSizeColumns());
    EXPECT_EQ(db.grid().columnWidth(1), 4 * 7 + 5); // "Name"; the cell's first line is "Bo"
    EXPECT_EQ(db.grid().columnWidth(2), 18 * 7 + 5);
    EXPECT_EQ(db.grid().columnWidth(3), ColumnAutoSize::MaxPixels);

    // Sizing a second time keeps the new widths as the ones to give back:
    // the widths of the moment are always what switching on keeps.
    autoSize.AutoSizeColumns(false);
    for (int c = 1; c <= 3; ++c)
        EXPECT_EQ(db.grid().columnWidth(c), before[c]) << c;
    EXPECT_FALSE(db.autoSizeColumns());

    // Off while off leaves the widths alone.
    db.grid().setColumnWidth(1, 77);
    autoSize.AutoSizeColumns(false);
    EXPECT_EQ(db.grid().columnWidth(1), 77);
}

TEST(ColumnAutoSize, everyTextCountsHoweverItIsSpelledOrBroken)
{
    // Narrow letters, as a proportional font has them: a long text of them
    // may still be narrower than a short wide one, and the other way round.
    class Proportional : public TextMeasurer
    {
    public:
        int textWidth(const QString &text) const override
        {
            int width = 0;
            for (QChar c : text)
                width += c == QLatin1Char('i') ? 3 : 9;
            return width;
        }
    };
    Document doc;
    Database &db = DocumentAccess::database(doc);
    db.grid().resize(2, 6);
    db.grid().setCell(1, 1, QStringLiteral("WWW"));                  // 27
    db.grid().setCell(1, 2, repeated('i', 8));                       // 24
    db.grid().setCell(1, 3, repeated('i', 10));                      // 30
    db.grid().setCell(1, 4, QStringLiteral("WW\nWWWWWWWWWWWWWWWW")); // a bare line feed ends it too
    db.grid().setCell(1, 5, QStringLiteral("WWW"));
    Proportional measure;
    EXPECT_EQ(ColumnAutoSize::fittingWidth(db, measure, 1), 30 + 5);
}

TEST(ColumnRescale, scalesPixelWidthsHalvesToEvenWithoutMarkingChanged)
{
    Document doc;
    Database &db = DocumentAccess::database(doc);
    db.grid().resize(4, 2);
    db.grid().setColumnWidth(1, 10); // 10 * 1.25 = 12.5 -> 12
    db.grid().setColumnWidth(2, 14); // 17.5 -> 18
    db.grid().setColumnWidth(3, 60); // 75
    db.setChanged(false);
    const std::vector<int> before = fieldColumnWidths(db);
    ASSERT_EQ(before.size(), 3u);
    // What the grid did to the widths meanwhile does not count.
    db.grid().setColumnWidth(3, 1);
    RescaleColumnWidths(doc, before, 4.0, 5.0);
    EXPECT_EQ(db.grid().columnWidth(1), 12);
    EXPECT_EQ(db.grid().columnWidth(2), 18);
    EXPECT_EQ(db.grid().columnWidth(3), 75);
    EXPECT_FALSE(db.isChanged());
    RescaleColumnWidths(doc, fieldColumnWidths(db), 0.0, 5.0);
    EXPECT_EQ(db.grid().columnWidth(3), 75);
}

namespace {

TEST(ColumnRescale, columnsNobodyResizedKeepTheirUnitsThroughAnyFontChange)
{
    // Pixels per unit of fonts whose "0000" is 16 to 28 pixels wide.
    const double scales[] = {16 / (56.0 / 3), 20 / (56.0 / 3), 23 / (56.0 / 3), 28 / (56.0 / 3)};
    for (double from : scales) {
        for (double to : scales) {
            Document doc;
            Database &db = DocumentAccess::database(doc);
            // Fifty fields of 1 to 295 units.
            db.grid().resize(51, 1);
            db.setWidthScale(from);
            for (int k = 1; k <= 50; ++k) {
                db.field(k).readWidth = 6 * k - 5;
                db.grid().setColumnWidth(k, db.FieldWidthToPixels(6 * k - 5));
            }
            const std::vector<int> before = fieldColumnWidths(db);
            db.setWidthScale(to);
            RescaleColumnWidths(doc, before, from, to);
            int kept = 0;
            for (int k = 1; k <= 50; ++k)
                kept += db.grid().columnWidth(k) == db.FieldWidthToPixels(6 * k - 5);
            EXPECT_EQ(kept, 50) << from << " to " << to;
        }
    }
}

const QString kPath = QStringLiteral("/palm/Plants.pdb");

class SaveFlowTest : public ::testing::Test
{
protected:
    SaveFlowTest()
    {
        PdbBuilder b = PdbBuilder::withFields(2);
        b.name = "Plants";
        b.records = {{"Rosemary", "Herb garden"}, {"Oak", "Park"}};
        b.fields[0].width = 40;
        b.fields[1].width = 50;
        files.addFile(kPath, b.build(), 0644);
        EXPECT_TRUE(readFile(files.files.value(kPath), db).ok);
        db.setFilePath(kPath);
        db.setChanged(true);
    }

    bool save(ShellQuestions::SaveVariant variant = ShellQuestions::SaveVariant::Save)
    {
        return SaveFlow(doc, autoSize, expert, variant,
                        {messages, files, shell, shell, clock, cipher});
    }

    /// The stored widths of the two fields in the file on disk.
    std::pair<int, int> savedWidths(const QString &path = kPath)
    {
        Database back;
        EXPECT_TRUE(readFile(files.files.value(path), back).ok);
        return {back.grid().columnWidth(1), back.grid().columnWidth(2)};
    }

    Document doc;
    Database &db = DocumentAccess::database(doc);
    FixedPitch measure;
    ColumnAutoSize autoSize{doc, measure};
    bool expert = false;
    MemoryFileSystem files;
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    CipherState cipher;
};

} // namespace

TEST_F(SaveFlowTest, withoutAutoSizeNothingIsAsked)
{
    EXPECT_TRUE(save());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(db.isChanged());
}

TEST_F(SaveFlowTest, cancelSavesNothingAndLeavesAutoSizeOn)
{
    autoSize.AutoSizeColumns(true);
    const QByteArray before = files.files.value(kPath);
    messages.answers = {MessageButton::Cancel};
    EXPECT_FALSE(save());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(messages.shown[0].lines.at(0),
              QStringLiteral("The column width is changed by auto-width and could be unsuitable "
                             "for your handheld display."));
    EXPECT_EQ(messages.shown[0].lines.at(1),
              QStringLiteral("Do you prefer to save the file with the prevouis width settings?"));
    EXPECT_EQ(files.files.value(kPath), before);
    EXPECT_TRUE(autoSize.isOn());
    EXPECT_TRUE(db.isChanged());
}

TEST_F(SaveFlowTest, yesSavesTheWidthsFromBeforeAutoSizing)
{
    autoSize.AutoSizeColumns(true);
    const int sized = db.grid().columnWidth(2);
    EXPECT_EQ(sized, 11 * 7 + 5);
    messages.answers = {MessageButton::Yes};
    EXPECT_TRUE(save());
    EXPECT_EQ(savedWidths(), std::make_pair(40, 50));
    EXPECT_TRUE(autoSize.isOn());
    EXPECT_EQ(db.grid().columnWidth(2), sized);
    autoSize.AutoSizeColumns(false);
    EXPECT_EQ(db.grid().columnWidth(2), 50);
}

TEST_F(SaveFlowTest, noSavesTheAutoSizedWidthsAndKeepsThemToGiveBack)
{
    autoSize.AutoSizeColumns(true);
    messages.answers = {MessageButton::No};
    EXPECT_TRUE(save());
    EXPECT_EQ(savedWidths(), std::make_pair(8 * 7 + 5, 11 * 7 + 5));
    EXPECT_TRUE(autoSize.isOn());
    // Switching on again after the save kept the auto-sized widths.
    autoSize.AutoSizeColumns(false);
    EXPECT_EQ(db.grid().columnWidth(2), 11 * 7 + 5);
}

TEST_F(SaveFlowTest, expertModeSavesTheAutoSizedWidthsWithoutAsking)
{
    expert = true;
    autoSize.AutoSizeColumns(true);
    EXPECT_TRUE(save());
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(savedWidths().second, 11 * 7 + 5);
}

TEST_F(SaveFlowTest, saveAsAsksInItsOwnWordsAndThenForTheName)
{
    autoSize.AutoSizeColumns(true);
    messages.answers = {MessageButton::Yes};
    shell.fileAnswers = {QStringLiteral("/palm/Copy")};
    EXPECT_TRUE(save(ShellQuestions::SaveVariant::SaveAs));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].lines.at(0),
              QStringLiteral("The column width is changed by auto-width and could be unsuitable "
                             "for the handheld display."));
    EXPECT_EQ(savedWidths(QStringLiteral("/palm/Copy.pdb")), std::make_pair(40, 50));
    EXPECT_EQ(db.filePath(), QStringLiteral("/palm/Copy.pdb"));
}

TEST(PopupInsertion, listsPopupItemsAndWritesTheWholeText)
{
    Document doc;
    Database &db = DocumentAccess::database(doc);
    db.grid().resize(4, 3);
    db.grid().showAllRows();
    db.field(1).type = FieldType::String;
    db.field(2).type = FieldType::MultiplePopup;
    db.field(2).popupItems = {QStringLiteral("R&D"), QStringLiteral("Sales")};
    db.field(3).type = FieldType::NormalPopup;

    EXPECT_FALSE(PopupInsertion::menuItems(db, 1).has_value());
    ASSERT_TRUE(PopupInsertion::menuItems(db, 2).has_value());
    EXPECT_EQ(*PopupInsertion::menuItems(db, 2), db.field(2).popupItems);
    ASSERT_TRUE(PopupInsertion::menuItems(db, 3).has_value()); // shown, with no entries
    EXPECT_TRUE(PopupInsertion::menuItems(db, 3)->isEmpty());
    EXPECT_FALSE(PopupInsertion::menuItems(db, 0).has_value());
    EXPECT_FALSE(PopupInsertion::menuItems(db, 4).has_value());

    QtLocaleService locale{QLocale::c()};
    FixedClock clock;
    ScriptedShell feedback;
    CalculatedFields calc{db, locale, clock, feedback};
    db.grid().setCell(2, 1, QStringLiteral("Sales"));
    EXPECT_TRUE(
        CellEdit::storeText(doc, calc, 2, 1, QStringLiteral("R&D"), QStringLiteral("popup item")));
    EXPECT_EQ(db.grid().cell(2, 1), QStringLiteral("R&D")); // replaced, not extended
    EXPECT_TRUE(db.isChanged());

    db.setChanged(false);
    db.field(2).attributes = FieldDef::ReadOnlyAttribute;
    EXPECT_FALSE(CellEdit::storeText(doc, calc, 2, 2, QStringLiteral("Sales"),
                                     QStringLiteral("popup item")));
    EXPECT_EQ(db.grid().cell(2, 2), QString());
    EXPECT_FALSE(db.isChanged());
}

TEST(CommandTable, contextMenuRunsMainMenuCommands)
{
    QStringList captions;
    int separators = 0;
    for (const CommandTable::ContextEntry &e : CommandTable::contextMenu()) {
        captions << QLatin1String(e.caption);
        separators += e.separatorAfter;
        // Each runs a command the main menu has.
        EXPECT_EQ(CommandTable::entry(e.command).command, e.command);
    }
    EXPECT_EQ(captions.first(), QStringLiteral("&Edit cell"));
    EXPECT_EQ(captions.size(), 18);
    EXPECT_EQ(separators, 5);
}

TEST(CellEdit, editsOnlyWhatMayChangeAndMarksTheDatabase)
{
    Document doc;
    Database &db = DocumentAccess::database(doc);
    db.grid().resize(3, 3);
    db.field(1).type = FieldType::String;
    db.field(1).setting1 = 1; // kept under 250 characters
    db.field(2).type = FieldType::Boolean;
    QtLocaleService locale{QLocale::c()};
    FixedClock clock;
    ScriptedShell feedback;
    ScriptedMessages messages;
    CalculatedFields calc{db, locale, clock, feedback};
    db.grid().setCell(1, 1, QStringLiteral("same"));

    EXPECT_TRUE(CellEdit::editInPlace(doc, calc, messages, 1, 1, QStringLiteral("same")));
    EXPECT_FALSE(db.isChanged());

    EXPECT_TRUE(CellEdit::editInPlace(doc, calc, messages, 1, 2, repeated('x', 300)));
    EXPECT_EQ(db.grid().cell(1, 2), repeated('x', 250));
    EXPECT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(db.isChanged());

    db.setChanged(false);
    EXPECT_TRUE(CellEdit::setChecked(doc, calc, 2, 1, true));
    EXPECT_EQ(db.grid().cell(2, 1), QStringLiteral("1"));
    EXPECT_TRUE(db.isChanged());
    EXPECT_TRUE(CellEdit::setChecked(doc, calc, 2, 1, false));
    EXPECT_EQ(db.grid().cell(2, 1), QStringLiteral("0"));

    // Outside the records, a protected field, a read-only database.
    EXPECT_FALSE(
        CellEdit::storeText(doc, calc, 1, 0, QStringLiteral("name"), QStringLiteral("popup item")));
    EXPECT_FALSE(CellEdit::storeText(doc, calc, 3, 1, QStringLiteral("no field"),
                                     QStringLiteral("popup item")));
    db.field(2).attributes = FieldDef::ReadOnlyAttribute;
    EXPECT_FALSE(CellEdit::setChecked(doc, calc, 2, 1, true));
    db.setReadOnly(true);
    EXPECT_FALSE(CellEdit::editInPlace(doc, calc, messages, 1, 1, QStringLiteral("new")));
    EXPECT_EQ(db.grid().cell(1, 1), QStringLiteral("same"));
    EXPECT_EQ(db.grid().cell(0, 1), QString());
}
