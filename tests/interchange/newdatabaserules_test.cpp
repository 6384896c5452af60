#include "core/document/database.h"
#include "interchange/newdatabase/newdatabaserules.h"

#include <gtest/gtest.h>

namespace {

using Choices = NewDatabaseRules::Choices;

QString failure(const Choices &c)
{
    const auto m = NewDatabaseRules::check(c);
    if (!m)
        return QString();
    EXPECT_EQ(m->caption, QStringLiteral("Error"));
    EXPECT_EQ(m->icon, MessageIcon::Error);
    return m->text();
}

} // namespace

TEST(NewDatabaseRules, checksInTheirOrder)
{
    Choices c;
    EXPECT_EQ(failure(c), QString());
    c.name = QString(31, QLatin1Char('n'));
    c.rows = QStringLiteral("0");
    EXPECT_EQ(failure(c), QStringLiteral("Please use 1 - 30 characters for the database name."));
    c.name = QString();
    EXPECT_EQ(failure(c), QStringLiteral("Please use 1 - 30 characters for the database name."));
    c.name = QString(30, QLatin1Char('n'));
    EXPECT_EQ(failure(c), QStringLiteral("Please use 1 - 32000 rows."));
    c.rows = QStringLiteral("32001");
    EXPECT_EQ(failure(c), QStringLiteral("Please use 1 - 32000 rows."));
    c.rows = QString();
    EXPECT_EQ(failure(c), QStringLiteral("Please use a numerical value."));
    c.rows = QStringLiteral("32000");
    c.columns = QStringLiteral("51");
    EXPECT_EQ(failure(c), QStringLiteral("Please use 1 - 50 columns."));
    c.columns = QStringLiteral("x");
    EXPECT_EQ(failure(c), QStringLiteral("Please use a numerical value."));
    c.columns = QStringLiteral("50");
    c.width = QStringLiteral("0");
    EXPECT_EQ(failure(c), QStringLiteral("Please use 1 - 300 for the field width."));
    c.width = QStringLiteral("301");
    EXPECT_EQ(failure(c), QStringLiteral("Please use 1 - 300 for the field width."));
    c.width = QStringLiteral("1.5");
    EXPECT_EQ(failure(c), QStringLiteral("Please use a numerical value."));
    c.width = QStringLiteral("300");
    EXPECT_EQ(failure(c), QString());
}

TEST(NewDatabaseRules, createsTheDatabaseOfTheChoices)
{
    Database db;
    db.field(3).defaultText = QStringLiteral("left over");
    const QDateTime now(QDate(2026, 12, 8), QTime(9, 0), Qt::UTC);
    NewDatabaseRules::create(db, Choices{}, now, QStringLiteral("/work/here"));
    EXPECT_EQ(db.name(), QStringLiteral("New"));
    EXPECT_EQ(db.flags(), 0x0811);
    EXPECT_EQ(db.date(), now);
    EXPECT_EQ(db.filePath(), QStringLiteral("/work/here/New.pdb"));
    EXPECT_FALSE(db.isChanged());
    EXPECT_EQ(db.fieldCount(), 5);
    EXPECT_EQ(db.recordCount(), 10);
    EXPECT_EQ(db.grid().cell(1, 0), QStringLiteral("Field 1"));
    EXPECT_EQ(db.grid().cell(5, 0), QStringLiteral("Field 5"));
    EXPECT_EQ(db.grid().cell(3, 4), QString());
    EXPECT_EQ(db.PixelsToFieldWidth(db.grid().columnWidth(2)), 60);
    EXPECT_TRUE(db.field(3).defaultText.isEmpty());
    EXPECT_EQ(db.field(1).type, FieldType::String);

    Choices boolean;
    boolean.type = FieldType::Boolean;
    boolean.name = QStringLiteral("a/b:c");
    NewDatabaseRules::create(db, boolean, now, QStringLiteral("/w"));
    EXPECT_EQ(db.name(), QStringLiteral("a/b:c"));
    EXPECT_EQ(db.filePath(), QStringLiteral("/w/a_b_c.pdb"));
    for (int k = 1; k <= 5; ++k) {
        EXPECT_EQ(db.grid().cell(k, 7), QStringLiteral("0"));
        EXPECT_TRUE(db.grid().hasCheckBox(k, 7));
    }
}

TEST(NewDatabaseRules, typesByIndexOrDialogText)
{
    EXPECT_EQ(NewDatabaseRules::typeTexts().size(), 16);
    EXPECT_EQ(NewDatabaseRules::typeFromText(QStringLiteral("11")), 11);
    EXPECT_EQ(NewDatabaseRules::typeFromText(QStringLiteral("Normal PopUp")), 8);
    EXPECT_EQ(NewDatabaseRules::typeFromText(QStringLiteral("float")), 12);
    EXPECT_EQ(NewDatabaseRules::typeFromText(QStringLiteral("Modification Time")), 7);
    EXPECT_EQ(NewDatabaseRules::typeFromText(QStringLiteral("16")), -1);
    EXPECT_EQ(NewDatabaseRules::typeFromText(QStringLiteral("Text")), -1);
    EXPECT_EQ(NewDatabaseRules::fileNameFor(QStringLiteral("\"*/:<>?\\|x"), QStringLiteral("/f")),
              QStringLiteral("/f/_________x.pdb"));
}
