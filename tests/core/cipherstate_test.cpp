#include "core/crypto/cipherstate.h"

#include "core/crypto/blowfish.h"
#include "core/crypto/md5.h"
#include "randombytes.h"

#include <QRandomGenerator>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

QByteArray keyBytes(const std::array<quint8, 8> &key)
{
    return QByteArray(reinterpret_cast<const char *>(key.data()), 8);
}

// The key worked out from scratch: one block of the password, 0x80 if it
// fits, zeros, the bit count at 56..59, one compression, words A and B.
QByteArray keyByHand(const QByteArray &password)
{
    QByteArray block = password.left(64);
    if (block.size() < 64)
        block.append('\x80');
    block.append(64 - block.size(), '\0');
    qToLittleEndian<quint32>(quint32(password.size() * 8), block.data() + 56);
    std::array<quint32, 4> state = Md5::kInitialState;
    Md5::compress(state, reinterpret_cast<const quint8 *>(block.constData()));
    QByteArray key(8, '\0');
    qToLittleEndian<quint32>(state[0], key.data());
    qToLittleEndian<quint32>(state[1], key.data() + 4);
    return key;
}

QByteArray sample(qsizetype length)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < length; ++i)
        bytes.append(char('A' + i % 26));
    return bytes;
}

} // namespace

TEST(CipherState, shortPasswordKeyIsTheStartOfItsMd5)
{
    for (const QByteArray &password : {QByteArray(), QByteArray("a"), QByteArray("secret"),
                                       QByteArray("p\xe4ssw\xf6rd"), sample(54), sample(55)}) {
        EXPECT_EQ(keyBytes(CipherState::CipherKey(password)), Md5::hash(password).left(8))
            << "length " << password.size();
    }
    // "abc": MD5 900150983cd24fb0...
    EXPECT_EQ(keyBytes(CipherState::CipherKey("abc")).toHex(), "900150983cd24fb0");
}

TEST(CipherState, longPasswordKeyUsesOneBlockOnly)
{
    for (qsizetype length : {56, 63, 64, 100, 9000}) {
        const QByteArray password = sample(length);
        const QByteArray key = keyBytes(CipherState::CipherKey(password));
        EXPECT_EQ(key, keyByHand(password)) << "length " << length;
        // Standard MD5 would have gone on to a second block.
        EXPECT_NE(key, Md5::hash(password).left(8)) << "length " << length;
    }

    // Of a 100-byte password, bytes 56..59 are overwritten by the length and
    // bytes from 64 on are never read; bytes 60..63 count.
    const QByteArray password = sample(100);
    const auto key = CipherState::CipherKey(password);
    QByteArray changed = password;
    changed[57] = '#';
    changed[64] = '#';
    changed[99] = '#';
    EXPECT_EQ(CipherState::CipherKey(changed), key);
    changed[60] = '#';
    EXPECT_NE(CipherState::CipherKey(changed), key);
    // The length still counts beyond 64 bytes.
    EXPECT_NE(CipherState::CipherKey(password.left(99)), key);
}

TEST(CipherState, passwordIsTakenInWindows1252)
{
    const QByteArray plain = QByteArray::fromHex("0123456789abcdef0011223344556677");
    const struct
    {
        QString text;
        QByteArray bytes;
    } cases[] = {
        {QString::fromUtf8("pässwörd"), QByteArray("p\xe4ssw\xf6rd")},
        {QString::fromUtf8("5€ Œuvre"), QByteArray("5\x80 \x8cuvre")},
    };
    for (const auto &c : cases) {
        CipherState state;
        EXPECT_FALSE(state.hasKey());
        state.SetCipherKey(c.text);
        EXPECT_TRUE(state.hasKey());
        QByteArray viaState = plain;
        state.EncipherBuffer(viaState, viaState.size());

        const auto key = CipherState::CipherKey(c.bytes);
        Blowfish cipher;
        cipher.setKey(key.data(), 8);
        QByteArray viaBytes = plain;
        cipher.encryptEcb(viaBytes.data(), viaBytes.size());
        EXPECT_EQ(viaState, viaBytes) << c.text.toStdString();
    }
}

TEST(CipherState, encipherPadsToWholeBlocksWithZeros)
{
    CipherState state;
    state.SetCipherKey(QStringLiteral("padding"));
    QRandomGenerator random(1702);

    const QByteArray plain = randomBytes(random, 1702);
    QByteArray buffer = plain;
    EXPECT_EQ(state.EncipherBuffer(buffer, buffer.size()), 1704);
    ASSERT_EQ(buffer.size(), 1704);
    state.DecipherBuffer(buffer.data(), buffer.size());
    EXPECT_EQ(buffer, plain + QByteArray(2, '\0'));

    const QByteArray whole = randomBytes(random, 1704);
    buffer = whole;
    EXPECT_EQ(state.EncipherBuffer(buffer, buffer.size()), 1704);
    EXPECT_EQ(buffer.size(), 1704);
    EXPECT_NE(buffer, whole);
    state.DecipherBuffer(buffer.data(), buffer.size());
    EXPECT_EQ(buffer, whole);

    QByteArray empty;
    EXPECT_EQ(state.EncipherBuffer(empty, 0), 0);
    EXPECT_TRUE(empty.isEmpty());

    // A single byte becomes one block: the byte and seven zeros.
    QByteArray one("x");
    EXPECT_EQ(state.EncipherBuffer(one, 1), 8);
    ASSERT_EQ(one.size(), 8);
    state.DecipherBuffer(one.data(), one.size());
    EXPECT_EQ(one, QByteArray("x") + QByteArray(7, '\0'));
}

TEST(CipherState, decipherLeavesAnIncompleteFinalBlock)
{
    CipherState state;
    state.SetCipherKey(QStringLiteral("tail"));
    QRandomGenerator random(8);
    const QByteArray plain = randomBytes(random, 1704);
    QByteArray enciphered = plain;
    state.EncipherBuffer(enciphered, enciphered.size());

    // One byte short of the last block: that block stays enciphered.
    QByteArray buffer = enciphered;
    state.DecipherBuffer(buffer.data(), 1703);
    EXPECT_EQ(buffer.left(1696), plain.left(1696));
    EXPECT_EQ(buffer.mid(1696), enciphered.mid(1696));
}

TEST(CipherState, randomBuffersRoundTrip)
{
    QRandomGenerator random(42);
    for (int i = 0; i < 20; ++i) {
        CipherState state;
        state.SetCipherKey(QString::fromLatin1(randomBytes(random, random.bounded(1, 40))));
        const QByteArray plain = randomBytes(random, 8 * random.bounded(1, 500));
        QByteArray buffer = plain;
        EXPECT_EQ(state.EncipherBuffer(buffer, buffer.size()), plain.size());
        EXPECT_NE(buffer, plain);
        state.DecipherBuffer(buffer.data(), buffer.size());
        EXPECT_EQ(buffer, plain);
    }
}
