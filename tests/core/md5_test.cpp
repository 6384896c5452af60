#include "core/crypto/md5.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

QByteArray hexDigest(const QByteArray &data)
{
    return Md5::hash(data).toHex();
}

QByteArray repeated(char c, qsizetype count)
{
    return QByteArray(count, c);
}

} // namespace

TEST(Md5, rfc1321TestSuite)
{
    // The test suite at the end of RFC 1321.
    EXPECT_EQ(hexDigest(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(hexDigest("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(hexDigest("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(hexDigest("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(hexDigest("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(hexDigest("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(hexDigest("1234567890123456789012345678901234567890"
                        "1234567890123456789012345678901234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5, lengthsAroundTheBlockBoundaries)
{
    // Digests from md5sum. 55 bytes leave just room for the padding in one
    // block; 56 to 63 need a second block.
    struct Case
    {
        qsizetype length;
        const char *digest;
    };
    const Case cases[] = {
        {55, "c932e1b1a97de537d13e0dddd96da42b"},  {56, "266ea7b18061f04ebe140d63ce648567"},
        {63, "7b7cb022759a9f373ef24bf92c05204f"},  {64, "40bfc24c764552cb38083a62855664aa"},
        {65, "4f8d62f3cf50e436dfe277c67b321fbc"},  {119, "4e20e3261348598d351ffb929cec1624"},
        {120, "c976bc0861b17fcb68af3c74b7e12f7a"}, {128, "d54e2c26b7f6d2bb0fe3d3b7ad28a2d1"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(hexDigest(repeated('q', c.length)), c.digest) << "length " << c.length;
}

TEST(Md5, pieceByPieceGivesTheSameDigest)
{
    // 0x00..0xFF four times, then "xyz"; digest from md5sum.
    QByteArray data;
    for (int i = 0; i < 1024; ++i)
        data.append(char(i & 0xFF));
    data.append("xyz");
    const QByteArray expected = "e2301d76c2219cb28dfe5f06cb60d53d";
    EXPECT_EQ(hexDigest(data), expected);

    for (qsizetype piece : {1, 3, 7, 63, 64, 65, 200}) {
        Md5 md5;
        for (qsizetype at = 0; at < data.size(); at += piece)
            md5.addData(data.constData() + at, qMin(piece, data.size() - at));
        EXPECT_EQ(md5.result().toHex(), expected) << "pieces of " << piece;
    }

    // A million 'a's: the classic long message.
    Md5 md5;
    const QByteArray thousand = repeated('a', 1000);
    for (int i = 0; i < 1000; ++i)
        md5.addData(thousand.constData(), thousand.size());
    EXPECT_EQ(md5.result().toHex(), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(Md5, compressOfAHandPaddedBlockIsTheDigest)
{
    // "abc", 0x80, zeros, then the bit length 24 little-endian at 56.
    quint8 block[64] = {};
    std::memcpy(block, "abc", 3);
    block[3] = 0x80;
    block[56] = 24;
    std::array<quint32, 4> state = Md5::kInitialState;
    Md5::compress(state, block);
    EXPECT_EQ(state[0], 0x98500190u); // digest bytes 90 01 50 98
    EXPECT_EQ(state[1], 0xb04fd23cu);
    EXPECT_EQ(state[2], 0x7d3f96d6u);
    EXPECT_EQ(state[3], 0x727fe128u);
}
