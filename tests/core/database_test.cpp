#include "core/document/database.h"
#include "core/document/databaseflags.h"

#include <gtest/gtest.h>

TEST(Database, resetGivesTheEmptyDocument)
{
    Database db;
    db.setName(QStringLiteral("x"));
    db.setFlags(0x0402);
    db.setPassword(QStringLiteral("secret"));
    db.setDataWidth(33);
    db.field(4).type = FieldType::Float;
    db.field(4).popupItems = {QStringLiteral("a")};
    db.field(4).lookupLoaded = true;
    db.field(4).lookupDatabase = QStringLiteral("Other");
    db.sortList(3).name = QStringLiteral("Mine");
    db.filterList(2).options = 7;
    db.viewPosition().marker = 4;
    db.sort().keys = {1, 2, 3};
    db.setAutoSizeColumns(true);
    db.ResetDatabase();

    EXPECT_EQ(db.flags(), DatabaseFlags::Empty);
    EXPECT_EQ(db.flags(), 0x0811);
    EXPECT_EQ(db.dataWidth(), 90);
    EXPECT_TRUE(db.name().isEmpty());
    EXPECT_TRUE(db.password().isEmpty());
    EXPECT_FALSE(db.autoSizeColumns());
    EXPECT_EQ(db.sort(), SortSettings{});
    EXPECT_EQ(db.field(4).type, FieldType::String);
    EXPECT_TRUE(db.field(4).popupItems.isEmpty());
    EXPECT_FALSE(db.field(4).lookupLoaded);
    // The lookup texts are left; they only count while the flag is set.
    EXPECT_EQ(db.field(4).lookupDatabase, QStringLiteral("Other"));
    for (int i = 1; i <= 25; ++i) {
        EXPECT_EQ(db.sortList(i).name, QStringLiteral("Unused"));
        EXPECT_EQ(db.filterList(i).name, QStringLiteral("Unused"));
        EXPECT_EQ(db.filterList(i).options, 31);
        EXPECT_EQ(db.filterList(i).fields, (std::array<qint8, 5>{-1, -1, -1, -1, -1}));
    }
    EXPECT_EQ(db.viewPosition().marker, 0);

    // The image: String type words, one field, the marker, widths 90.
    const LoStruc &lo = db.loStruc();
    EXPECT_EQ(lo.bytes().size(), 1702);
    EXPECT_EQ(lo.word(LoStruc::FieldCountOffset), 1);
    EXPECT_EQ(lo.word(LoStruc::MarkerOffset), 0x0240);
    EXPECT_EQ(lo.word(LoStruc::DataWidthOffset), 90);
    for (int k = 1; k <= 50; ++k) {
        EXPECT_EQ(lo.word(LoStruc::typeOffset(k)), 0x0001);
        EXPECT_EQ(lo.word(LoStruc::widthOffset(k)), 90);
    }
    EXPECT_EQ(lo.bytes().left(1050), QByteArray(1050, '\0'));
}

TEST(Database, widthConversionsRoundTripAtEveryScaleOfAtLeastOne)
{
    Database db;
    for (double scale : {1.0, 1.25, 1.5, 20.0 / (56.0 / 3.0), 2.0, 3.7}) {
        db.setWidthScale(scale);
        EXPECT_EQ(db.PixelsToFieldWidth(0), 0);
        for (int w = 0; w <= 300; ++w)
            ASSERT_EQ(db.PixelsToFieldWidth(db.FieldWidthToPixels(w)), w) << scale << " " << w;
    }
}

TEST(Database, widthConversionRulesAtOddScales)
{
    Database db;
    // Halves go to the even neighbour: 0.5 x 5 = 2.5 gives 2, 0.5 x 7 = 3.5 gives 4.
    db.setWidthScale(0.5);
    EXPECT_EQ(db.FieldWidthToPixels(5), 2);
    EXPECT_EQ(db.FieldWidthToPixels(7), 4);
    // The smallest width that reaches the pixels.
    EXPECT_EQ(db.PixelsToFieldWidth(2), 3);
    // A scale of 0 or less counts as 1, so the search always ends.
    for (double scale : {0.0, -2.0}) {
        db.setWidthScale(scale);
        EXPECT_EQ(db.FieldWidthToPixels(40), 40);
        EXPECT_EQ(db.PixelsToFieldWidth(40), 40);
    }
    db.setWidthScale(1.0);
    EXPECT_EQ(db.PixelsToFieldWidth(-5), 0);
    EXPECT_EQ(db.PixelsToFieldWidth(1000000), 1000000);
}

TEST(Database, fileDatesCountFromOneInTheMorningOfNewYear1970)
{
    EXPECT_EQ(Database::dateFromFileSeconds(0), QDateTime(QDate(1970, 1, 1), QTime(1, 0), Qt::UTC));
    EXPECT_EQ(Database::dateFromFileSeconds(-3600),
              QDateTime(QDate(1970, 1, 1), QTime(0, 0), Qt::UTC));
    for (qint32 s : {0, 1, -1, 1000000000, std::numeric_limits<qint32>::min(),
                     std::numeric_limits<qint32>::max()})
        EXPECT_EQ(Database::fileSecondsFromDate(Database::dateFromFileSeconds(s)), s);
    // Truncated toward zero.
    const QDateTime base = Database::dateFromFileSeconds(10);
    EXPECT_EQ(Database::fileSecondsFromDate(base.addMSecs(999)), 10);
    EXPECT_EQ(Database::fileSecondsFromDate(Database::dateFromFileSeconds(-10).addMSecs(-999)),
              -10);
}

TEST(RecordGrid, staysInsideItsTable)
{
    RecordGrid grid;
    grid.resize(3, 4);
    grid.setCell(9, 9, QStringLiteral("z"));
    grid.setCell(0, 1, QStringLiteral("record numbers are never stored"));
    EXPECT_EQ(grid.cell(9, 9), QString());
    EXPECT_EQ(grid.cell(-1, 0), QString());
    EXPECT_EQ(grid.cell(0, 1), QString());
    EXPECT_EQ(RecordGrid::recordNumberText(7), QStringLiteral("0007"));
    EXPECT_EQ(RecordGrid::recordNumberText(32000), QStringLiteral("32000"));
}

namespace {

void fill(Database &db, int fields, int records)
{
    db.grid().resize(fields + 1, records + 1);
    for (int k = 1; k <= fields; ++k) {
        db.grid().setCell(k, 0, QStringLiteral("F%1").arg(k));
        db.grid().setColumnWidth(k, 10 * k);
        db.field(k).type = quint8(k);
        db.field(k).popupItems = {QStringLiteral("p%1").arg(k)};
        for (int r = 1; r <= records; ++r)
            db.grid().setCell(k, r, QStringLiteral("%1/%2").arg(k).arg(r));
    }
}

} // namespace

TEST(Database, resetAndCopyFieldDefinitions)
{
    Database db;
    fill(db, 3, 1);
    db.field(1).lookupLoaded = true;
    db.field(1).locked = true;
    db.field(1).calcValue1 = 4;
    db.CopyFieldDef(1, 3);
    EXPECT_EQ(db.field(3).type, 1);
    EXPECT_TRUE(db.field(3).locked);
    EXPECT_EQ(db.field(3).calcValue1, 4);
    EXPECT_EQ(db.field(3).popupItems, QStringList({"p1"}));
    db.ResetFieldDef(1);
    EXPECT_EQ(db.field(1).type, FieldType::String);
    EXPECT_FALSE(db.field(1).locked);
    EXPECT_FALSE(db.field(1).lookupLoaded);
    EXPECT_TRUE(db.field(1).popupItems.isEmpty());
    EXPECT_EQ(db.field(1).readWidth, -1);
}
