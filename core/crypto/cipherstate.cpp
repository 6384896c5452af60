#include "core/crypto/cipherstate.h"

#include "core/crypto/md5.h"
#include "core/format/codepage.h"

#include <cstring>

std::array<quint8, 8> CipherState::CipherKey(const QByteArray &passwordBytes)
{
    // One 64-byte block, compressed once from the MD5 initial state:
    //   0..len-1   the password (only its first 64 bytes fit)
    //   len        0x80, when len < 64
    //   ...        zeros
    //   56..59     len * 8, 32 bits, least significant byte first; this
    //              overwrites password bytes of a long password, while
    //              60..63 keep theirs.
    // No second block follows, whatever the length: for up to 55 bytes this
    // is exactly MD5 of the password, beyond that it is not.
    const qsizetype length = passwordBytes.size();
    quint8 block[64] = {};
    std::memcpy(block, passwordBytes.constData(), size_t(qMin<qsizetype>(length, 64)));
    if (length < 64)
        block[length] = 0x80;
    const auto bits = quint32(quint64(length) * 8);
    block[56] = quint8(bits);
    block[57] = quint8(bits >> 8);
    block[58] = quint8(bits >> 16);
    block[59] = quint8(bits >> 24);

    std::array<quint32, 4> state = Md5::kInitialState;
    Md5::compress(state, block);

    // The key: words A and B of the state, each least significant byte first
    // (the first 8 bytes of what would be the digest).
    std::array<quint8, 8> key;
    for (int i = 0; i < 4; ++i) {
        key[i] = quint8(state[0] >> (8 * i));
        key[4 + i] = quint8(state[1] >> (8 * i));
    }
    return key;
}

void CipherState::SetCipherKey(const QString &password)
{
    const std::array<quint8, 8> key = CipherKey(Codepage::encode(password));
    mBlowfish.setKey(key.data(), qsizetype(key.size()));
    mHasKey = true;
}

qsizetype CipherState::EncipherBuffer(QByteArray &buffer, qsizetype length)
{
    Q_ASSERT(length >= 0);
    // Only a buffer too short for the rounded length grows; bytes already
    // there past `length` are enciphered as they are.
    const qsizetype padded = (length + 7) / 8 * 8;
    if (buffer.size() < padded)
        buffer.append(padded - buffer.size(), '\0');
    mBlowfish.encryptEcb(buffer.data(), padded);
    return padded;
}

qsizetype CipherState::EncipherBuffer(char *data, qsizetype length)
{
    const qsizetype padded = (length + 7) / 8 * 8;
    std::memset(data + length, 0, size_t(padded - length));
    mBlowfish.encryptEcb(data, padded);
    return padded;
}

void CipherState::DecipherBuffer(char *data, qsizetype length) const
{
    mBlowfish.decryptEcb(data, length);
}
