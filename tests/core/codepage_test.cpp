#include "core/format/codepage.h"

#include <gtest/gtest.h>

TEST(Codepage, everyByteValueRoundTrips)
{
    QByteArray all;
    for (int b = 0; b < 256; ++b)
        all.append(char(b));
    const QString text = Codepage::decode(all);
    ASSERT_EQ(text.size(), 256);
    qsizetype missing = -1;
    EXPECT_EQ(Codepage::encode(text, &missing), all);
    EXPECT_EQ(missing, 0);
}

TEST(Codepage, windows1252Characters)
{
    // The published table's characters at 0x80..0x9F, and the five undefined
    // positions, which keep their own value.
    EXPECT_EQ(Codepage::decode(QByteArray("\x80\x8a\x9f\x81\x8d\x8f\x90\x9d")),
              QString::fromUtf8("\u20ac\u0160\u0178\u0081\u008d\u008f\u0090\u009d"));
    EXPECT_EQ(Codepage::decode(QByteArray("\xe4\xff")), QString::fromUtf8("äÿ"));
    EXPECT_EQ(Codepage::encode(QString::fromUtf8("€™œ")), QByteArray("\x80\x99\x9c"));
}

TEST(Codepage, charactersWithoutAByteBecomeQuestionMarks)
{
    qsizetype missing = 0;
    // A Greek letter, a CJK character and one beyond the BMP (two code units).
    EXPECT_EQ(Codepage::encode(QString::fromUtf8("aκ中😀b"), &missing), QByteArray("a???b"));
    EXPECT_EQ(missing, 3);
    EXPECT_FALSE(Codepage::canEncode(QString::fromUtf8("κ")));
    EXPECT_TRUE(Codepage::canEncode(QString::fromUtf8("Crème brûlée €5")));
    // U+0080 is no Windows-1252 character (0x80 is the euro sign).
    EXPECT_EQ(Codepage::byteFor(0x0080), -1);
}
