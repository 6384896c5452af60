#include "core/crypto/blowfish.h"

#include "core/crypto/blowfishtables.h"
#include "randombytes.h"

#include <QByteArray>
#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

struct Vector
{
    const char *key;
    const char *plain;
    const char *cipher;
};

// Eric Young's test vectors for 8-byte keys, as published with the cipher
// by Bruce Schneier. All values are bytes in hexadecimal.
constexpr Vector kVectors[] = {
    {"0000000000000000", "0000000000000000", "4EF997456198DD78"},
    {"FFFFFFFFFFFFFFFF", "FFFFFFFFFFFFFFFF", "51866FD5B85ECB8A"},
    {"3000000000000000", "1000000000000001", "7D856F9A613063F2"},
    {"1111111111111111", "1111111111111111", "2466DD878B963C9D"},
    {"0123456789ABCDEF", "1111111111111111", "61F9C3802281B096"},
    {"1111111111111111", "0123456789ABCDEF", "7D0CC630AFDA1EC7"},
    {"FEDCBA9876543210", "0123456789ABCDEF", "0ACEAB0FC6A0A28D"},
    {"7CA110454A1A6E57", "01A1D6D039776742", "59C68245EB05282B"},
    {"0131D9619DC1376E", "5CD54CA83DEF57DA", "B1B8CC0B250F09A0"},
    {"07A1133E4A0B2686", "0248D43806F67172", "1730E5778BEA1DA4"},
    {"3849674C2602319E", "51454B582DDF440A", "A25E7856CF2651EB"},
    {"04B915BA43FEB5B6", "42FD443059577FA2", "353882B109CE8F1A"},
    {"0113B970FD34F2CE", "059B5E0851CF143A", "48F4D0884C379918"},
    {"0170F175468FB5E6", "0756D8E0774761D2", "432193B78951FC98"},
    {"43297FAD38E373FE", "762514B829BF486A", "13F04154D69D1AE5"},
    {"07A7137045DA2A16", "3BDD119049372802", "2EEDDA93FFD39C79"},
    {"04689104C2FD3B2F", "26955F6835AF609A", "D887E0393C2DA6E3"},
    {"37D06BB516CB7546", "164D5E404F275232", "5F99D04F5B163969"},
    {"1F08260D1AC2465E", "6B056E18759F5CCA", "4A057A3B24D3977B"},
    {"584023641ABA6176", "004BD6EF09176062", "452031C1E4FADA8E"},
    {"025816164629B007", "480D39006EE762F2", "7555AE39F59B87BD"},
    {"49793EBC79B3258F", "437540C8698F3CFA", "53C55F9CB49FC019"},
    {"4FB05E1515AB73A7", "072D43A077075292", "7A8E7BFA937E89A3"},
    {"49E95D6D4CA229BF", "02FE55778117F12A", "CF9C5D7A4986ADB5"},
    {"018310DC409B26D6", "1D9D5C5018F728C2", "D1ABB290658BC778"},
    {"1C587F1C13924FEF", "305532286D6F295A", "55CB3774D13EF201"},
};

QByteArray fromHex(const char *hex)
{
    return QByteArray::fromHex(QByteArray(hex));
}

Blowfish keyed(const QByteArray &key)
{
    Blowfish cipher;
    cipher.setKey(reinterpret_cast<const quint8 *>(key.constData()), key.size());
    return cipher;
}

} // namespace

TEST(Blowfish, tablesStartWithTheDigitsOfPi)
{
    // pi = 3.243F6A88 85A308D3 13198A2E 03707344 ...; the S-boxes continue
    // where the P-array stops.
    EXPECT_EQ(kBlowfishP[0], 0x243F6A88u);
    EXPECT_EQ(kBlowfishP[1], 0x85A308D3u);
    EXPECT_EQ(kBlowfishP[17], 0x8979FB1Bu);
    EXPECT_EQ(kBlowfishS[0][0], 0xD1310BA6u);
    EXPECT_EQ(kBlowfishS[3][255], 0x3AC372E6u);
}

TEST(Blowfish, publishedVectorsForEightByteKeys)
{
    for (const Vector &v : kVectors) {
        const Blowfish cipher = keyed(fromHex(v.key));
        const QByteArray plain = fromHex(v.plain);
        const QByteArray expected = fromHex(v.cipher);

        // As words: the first four bytes are the left half, big-endian.
        quint32 left = plain.mid(0, 4).toHex().toUInt(nullptr, 16);
        quint32 right = plain.mid(4, 4).toHex().toUInt(nullptr, 16);
        cipher.encryptBlock(left, right);
        EXPECT_EQ(left, expected.mid(0, 4).toHex().toUInt(nullptr, 16)) << "key " << v.key;
        EXPECT_EQ(right, expected.mid(4, 4).toHex().toUInt(nullptr, 16)) << "key " << v.key;
        cipher.decryptBlock(left, right);
        EXPECT_EQ(left, plain.mid(0, 4).toHex().toUInt(nullptr, 16)) << "key " << v.key;
        EXPECT_EQ(right, plain.mid(4, 4).toHex().toUInt(nullptr, 16)) << "key " << v.key;

        // As bytes.
        QByteArray data = plain;
        cipher.encryptEcb(data.data(), data.size());
        EXPECT_EQ(data.toHex().toUpper(), QByteArray(v.cipher)) << "key " << v.key;
        cipher.decryptEcb(data.data(), data.size());
        EXPECT_EQ(data, plain) << "key " << v.key;
    }
}

TEST(Blowfish, ecbEnciphersEveryBlockOnItsOwn)
{
    // The same clear block five times (four enciphered together, one alone)
    // gives the same cipher block five times: no chaining. Seven further
    // bytes are no block and stay as they are.
    const Blowfish cipher = keyed(fromHex("FEDCBA9876543210"));
    const QByteArray block = fromHex("0123456789ABCDEF");
    const QByteArray tail = "\x01\x02\x03\x04\x05\x06\x07";
    QByteArray data = block.repeated(5) + tail;
    cipher.encryptEcb(data.data(), data.size());
    EXPECT_EQ(data.toHex().toUpper(), QByteArray("0ACEAB0FC6A0A28D").repeated(5) + tail.toHex());
    cipher.decryptEcb(data.data(), data.size());
    EXPECT_EQ(data, block.repeated(5) + tail);

    // Shorter than a block: nothing changes.
    QByteArray shortData = tail;
    cipher.encryptEcb(shortData.data(), shortData.size());
    EXPECT_EQ(shortData, tail);
}

TEST(Blowfish, keyBytesRepeatCyclically)
{
    // A key shorter than the P-array repeats: 4 bytes act as the same 4 twice.
    const QByteArray plain = fromHex("0123456789ABCDEF");
    QByteArray a = plain;
    QByteArray b = plain;
    keyed(fromHex("0BADF00D")).encryptEcb(a.data(), a.size());
    keyed(fromHex("0BADF00D0BADF00D")).encryptEcb(b.data(), b.size());
    EXPECT_EQ(a, b);
    EXPECT_NE(a, plain);

    // Setting a second key forgets the first.
    Blowfish reused = keyed(fromHex("FFFFFFFFFFFFFFFF"));
    reused.setKey(reinterpret_cast<const quint8 *>(fromHex("0000000000000000").constData()), 8);
    QByteArray zero(8, '\0');
    reused.encryptEcb(zero.data(), zero.size());
    EXPECT_EQ(zero.toHex().toUpper(), "4EF997456198DD78");
}

TEST(Blowfish, randomBuffersRoundTrip)
{
    QRandomGenerator random(20240517);
    for (int i = 0; i < 40; ++i) {
        const QByteArray key = randomBytes(random, 1 + random.bounded(56));
        const QByteArray plain = randomBytes(random, 8 * random.bounded(1, 300));
        const Blowfish cipher = keyed(key);
        QByteArray data = plain;
        cipher.encryptEcb(data.data(), data.size());
        EXPECT_NE(data, plain);
        cipher.decryptEcb(data.data(), data.size());
        EXPECT_EQ(data, plain);
    }
}
