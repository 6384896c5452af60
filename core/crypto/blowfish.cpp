#include "core/crypto/blowfish.h"

#include "core/crypto/blowfishtables.h"

#include <cstring>

namespace {

// A block on disk: bytes 0-3 are the left word, 4-7 the right word, each
// most significant byte first.
inline quint32 loadBe32(const char *p)
{
    const auto *b = reinterpret_cast<const quint8 *>(p);
    return quint32(b[0]) << 24 | quint32(b[1]) << 16 | quint32(b[2]) << 8 | quint32(b[3]);
}

inline void storeBe32(char *p, quint32 value)
{
    auto *b = reinterpret_cast<quint8 *>(p);
    b[0] = quint8(value >> 24);
    b[1] = quint8(value >> 16);
    b[2] = quint8(value >> 8);
    b[3] = quint8(value);
}

} // namespace

Blowfish::Blowfish()
{
    std::memcpy(mP, kBlowfishP, sizeof mP);
    std::memcpy(mS, kBlowfishS, sizeof mS);
}

inline quint32 Blowfish::round(quint32 x) const
{
    // F(x) = ((S0[a] + S1[b]) ^ S2[c]) + S3[d], where a is the most
    // significant byte of x and d the least.
    return ((mS[0][x >> 24] + mS[1][(x >> 16) & 0xFF]) ^ mS[2][(x >> 8) & 0xFF]) + mS[3][x & 0xFF];
}

void Blowfish::encryptBlock(quint32 &left, quint32 &right) const
{
    // Two rounds an iteration, so the halves never need swapping.
    quint32 l = left ^ mP[0];
    quint32 r = right;
    for (int i = 1; i < 17; i += 2) {
        r ^= round(l) ^ mP[i];
        l ^= round(r) ^ mP[i + 1];
    }
    left = r ^ mP[17];
    right = l;
}

void Blowfish::decryptBlock(quint32 &left, quint32 &right) const
{
    quint32 l = left ^ mP[17];
    quint32 r = right;
    for (int i = 16; i > 0; i -= 2) {
        r ^= round(l) ^ mP[i];
        l ^= round(r) ^ mP[i - 1];
    }
    left = r ^ mP[0];
    right = l;
}

void Blowfish::setKey(const quint8 *key, qsizetype length)
{
    std::memcpy(mS, kBlowfishS, sizeof mS);
    // Each P word takes the next four key bytes, first byte most significant,
    // the key repeating as often as needed.
    qsizetype k = 0;
    for (int i = 0; i < 18; ++i) {
        quint32 word = 0;
        for (int j = 0; j < 4; ++j) {
            word = word << 8 | (length > 0 ? key[k] : 0);
            if (++k >= length)
                k = 0;
        }
        mP[i] = kBlowfishP[i] ^ word;
    }

    // A zero block, enciphered again and again, replaces the P-array and then
    // the S-boxes two words at a time.
    quint32 l = 0;
    quint32 r = 0;
    for (int i = 0; i < 18; i += 2) {
        encryptBlock(l, r);
        mP[i] = l;
        mP[i + 1] = r;
    }
    for (auto &box : mS) {
        for (int i = 0; i < 256; i += 2) {
            encryptBlock(l, r);
            box[i] = l;
            box[i + 1] = r;
        }
    }
}

// ECB blocks stand alone, so four go through their rounds together: each
// round of one block waits on the one before it, and the processor works on
// the other three meanwhile.

void Blowfish::encryptEcb(char *data, qsizetype size) const
{
    char *const end = data + (size - size % 8);
    for (; end - data >= 32; data += 32) {
        quint32 l[4], r[4];
        for (int b = 0; b < 4; ++b) {
            l[b] = loadBe32(data + 8 * b) ^ mP[0];
            r[b] = loadBe32(data + 8 * b + 4);
        }
        for (int i = 1; i < 17; i += 2) {
            for (int b = 0; b < 4; ++b)
                r[b] ^= round(l[b]) ^ mP[i];
            for (int b = 0; b < 4; ++b)
                l[b] ^= round(r[b]) ^ mP[i + 1];
        }
        for (int b = 0; b < 4; ++b) {
            storeBe32(data + 8 * b, r[b] ^ mP[17]);
            storeBe32(data + 8 * b + 4, l[b]);
        }
    }
    for (; data < end; data += 8) {
        quint32 l = loadBe32(data);
        quint32 r = loadBe32(data + 4);
        encryptBlock(l, r);
        storeBe32(data, l);
        storeBe32(data + 4, r);
    }
}

void Blowfish::decryptEcb(char *data, qsizetype size) const
{
    char *const end = data + (size - size % 8);
    for (; end - data >= 32; data += 32) {
        quint32 l[4], r[4];
        for (int b = 0; b < 4; ++b) {
            l[b] = loadBe32(data + 8 * b) ^ mP[17];
            r[b] = loadBe32(data + 8 * b + 4);
        }
        for (int i = 16; i > 0; i -= 2) {
            for (int b = 0; b < 4; ++b)
                r[b] ^= round(l[b]) ^ mP[i];
            for (int b = 0; b < 4; ++b)
                l[b] ^= round(r[b]) ^ mP[i - 1];
        }
        for (int b = 0; b < 4; ++b) {
            storeBe32(data + 8 * b, r[b] ^ mP[0]);
            storeBe32(data + 8 * b + 4, l[b]);
        }
    }
    for (; data < end; data += 8) {
        quint32 l = loadBe32(data);
        quint32 r = loadBe32(data + 4);
        decryptBlock(l, r);
        storeBe32(data, l);
        storeBe32(data + 4, r);
    }
}
