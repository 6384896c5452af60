#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "core/format/extensionarea.h"
#include "numbers/numberseparators.h"
#include "pdbbuilder.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

using K = PdbBuilder;

/// Reads a 30-field file whose extension area is @p area, as it stands.
class AreaRead
{
public:
    explicit AreaRead(const QByteArray &area)
    {
        PdbBuilder b = PdbBuilder::withFields(30);
        b.extension = area;
        b.records = {std::vector<QByteArray>(30)};
        QByteArray file = b.build();
        QBuffer buffer(&file);
        buffer.open(QIODevice::ReadOnly);
        ScriptedMessages messages;
        ScriptedPasswords passwords;
        CipherState cipher;
        ok = DatabaseReader(messages, passwords, cipher).read(buffer, QString(), db).ok;
    }

    Database db;
    bool ok = false;
};

QStringList list(std::initializer_list<const char *> items)
{
    QStringList out;
    for (const char *s : items)
        out << QString::fromLatin1(s);
    return out;
}

} // namespace

TEST(ExtensionArea, popupsDefaultsAndBlockLetters)
{
    AreaRead read(K::strings({"stray", K::key("popup", 1), "one", "two", K::key("deflt", 1), "d1",
                              "d2", "popupB", "far", K::key("popup", 1), "three", ""}));
    ASSERT_TRUE(read.ok);
    // Values before the first key are skipped; popup values append; the
    // last default counts; 'B' addresses field 28.
    EXPECT_EQ(read.db.field(1).popupItems, list({"one", "two", "three"}));
    EXPECT_EQ(read.db.field(1).defaultText, QStringLiteral("d2"));
    EXPECT_EQ(read.db.field(28).popupItems, list({"far"}));
    EXPECT_EQ(ExtensionArea::blockNumber('B'), 28);
    EXPECT_EQ(ExtensionArea::blockNumber('a'), 1);
    EXPECT_EQ(ExtensionArea::blockNumber('z'), 26);
    for (int k = 1; k <= 50; ++k)
        EXPECT_EQ(ExtensionArea::blockNumber(uchar(ExtensionArea::blockLetter(k))), k);
}

TEST(ExtensionArea, sortGroupsTakeTheirStringsByPosition)
{
    AreaRead read(K::strings({K::key("soort", 1), "By name", "2", "-1", "0",
                              // a second group for the same list, then a group whose
                              // strings look like keys and numbers that are not
                              "Again", "3", "x", "-2", K::key("soort", 2), "Named", "popupa",
                              "deflta", "5", ""}));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.db.sortList(1).name, QStringLiteral("Again"));
    EXPECT_EQ(read.db.sortList(1).sort.keys, (std::array<qint8, 3>{3, 0, -2}));
    EXPECT_EQ(read.db.sortList(2).name, QStringLiteral("Named"));
    EXPECT_EQ(read.db.sortList(2).sort.keys, (std::array<qint8, 3>{0, 0, 5}));
    EXPECT_TRUE(read.db.field(1).popupItems.isEmpty());
    EXPECT_EQ(read.db.sortList(3).name, QStringLiteral("Unused"));
}

TEST(ExtensionArea, filterGroupsAndTheEmptyConditionMark)
{
    AreaRead read(K::strings({K::key("flllt", 3), "Mine", "abc", "-*-", "-*-", "-*-", "z", "1055",
                              "0", "-1", "4", "-1", "49", K::key("deflt", 2), "after", ""}));
    ASSERT_TRUE(read.ok);
    const SavedFilterList &f = read.db.filterList(3);
    EXPECT_EQ(f.name, QStringLiteral("Mine"));
    EXPECT_EQ(f.texts[0], QStringLiteral("abc"));
    EXPECT_TRUE(f.texts[1].isEmpty());
    EXPECT_EQ(f.texts[4], QStringLiteral("z"));
    EXPECT_EQ(f.options, 1055);
    EXPECT_EQ(f.fields, (std::array<qint8, 5>{0, -1, 4, -1, 49}));
    EXPECT_EQ(read.db.field(2).defaultText, QStringLiteral("after"));
}

TEST(ExtensionArea, anEmptyStringEndsTheWholeArea)
{
    // In place of the second condition text: everything after is ignored.
    AreaRead read(K::strings(
        {K::key("flllt", 1), "Cut", "first", "", "-*-", K::key("deflt", 1), "ignored", ""}));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.db.filterList(1).name, QStringLiteral("Cut"));
    EXPECT_EQ(read.db.filterList(1).texts[0], QStringLiteral("first"));
    EXPECT_TRUE(read.db.field(1).defaultText.isEmpty());
}

TEST(ExtensionArea, anAreaStartingWithZerosHoldsNothing)
{
    AreaRead read(QByteArray(4, '\0') + K::strings({K::key("deflt", 1), "x", ""}));
    ASSERT_TRUE(read.ok);
    EXPECT_TRUE(read.db.field(1).defaultText.isEmpty());
}

TEST(ExtensionArea, viewPositionKeepsThePreviousValueWhenUnreadable)
{
    AreaRead read(K::strings({K::key("pooos", 1), "1", "7", "3", "2", "5", "oops", "9", "x", ""}));
    ASSERT_TRUE(read.ok);
    const ViewPosition &vp = read.db.viewPosition();
    EXPECT_EQ(vp.marker, 5);
    EXPECT_EQ(vp.currentRecord, 7);
    EXPECT_EQ(vp.visibleRecord, 9);
    EXPECT_EQ(vp.visibleField, 2);
}

TEST(ExtensionArea, calcValuesReadWhicheverSeparatorWroteThem)
{
    const NumberSeparators saved = NumberSeparators::current();
    for (const NumberSeparators &sep : {NumberSeparators{QLatin1Char('.'), QLatin1Char(',')},
                                        NumberSeparators{QLatin1Char(','), QLatin1Char('.')}}) {
        NumberSeparators::setCurrent(sep);
        AreaRead read(K::strings({K::key("calv1", 1), "2,5", K::key("calv2", 1), "-1.25E3",
                                  K::key("calv1", 2), "10", K::key("calv2", 2), "junk", ""}));
        ASSERT_TRUE(read.ok);
        EXPECT_DOUBLE_EQ(read.db.field(1).calcValue1, 2.5);
        EXPECT_DOUBLE_EQ(read.db.field(1).calcValue2, -1250.0);
        EXPECT_DOUBLE_EQ(read.db.field(2).calcValue1, 10.0);
        EXPECT_DOUBLE_EQ(read.db.field(2).calcValue2, 0.0);
    }
    NumberSeparators::setCurrent(saved);
}

TEST(ExtensionArea, blocksOutOfRangeAreSkipped)
{
    // Sort list 52 and field 0 do not exist; their values must land nowhere,
    // and the skipped sort groups still count their strings out.
    QByteArray field0 = "popup";
    field0.append(char(38));
    AreaRead read(K::strings(
        {"soortZ", "name", "deflta", "x", "y", field0, "lost", K::key("deflt", 1), "kept", ""}));
    ASSERT_TRUE(read.ok);
    EXPECT_EQ(read.db.field(1).defaultText, QStringLiteral("kept"));
    for (int i = 1; i <= 25; ++i)
        EXPECT_EQ(read.db.sortList(i).name, QStringLiteral("Unused"));
}

TEST(ExtensionArea, anAreaWithoutItsEndStopsAtTheEndOfTheData)
{
    // The file ends inside the area.
    PdbBuilder b = PdbBuilder::withFields(1);
    b.extension = K::key("popup", 1) + '\0' + "last item without end";
    QByteArray file = b.build();
    QBuffer buffer(&file);
    buffer.open(QIODevice::ReadOnly);
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    CipherState cipher;
    Database db;
    ASSERT_TRUE(DatabaseReader(messages, passwords, cipher).read(buffer, QString(), db).ok);
    EXPECT_EQ(db.field(1).popupItems, list({"last item without end"}));
}
