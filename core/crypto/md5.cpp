#include "core/crypto/md5.h"

#include <bit>
#include <cstring>

namespace {

// floor(abs(sin(i + 1)) * 2^32) for step i.
constexpr quint32 kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613, 0xfd469501,
    0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193, 0xa679438e, 0x49b40821,
    0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d, 0x02441453, 0xd8a1e681, 0xe7d3fbc8,
    0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed, 0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a,
    0xfffa3942, 0x8771f681, 0x6d9d6122, 0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70,
    0x289b7ec6, 0xeaa127fa, 0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665,
    0xf4292244, 0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb, 0xeb86d391,
};

// Left rotation of step i, four per round.
constexpr int kShift[4][4] = {{7, 12, 17, 22}, {5, 9, 14, 20}, {4, 11, 16, 23}, {6, 10, 15, 21}};

void storeLe32(quint8 *out, quint32 value)
{
    out[0] = quint8(value);
    out[1] = quint8(value >> 8);
    out[2] = quint8(value >> 16);
    out[3] = quint8(value >> 24);
}

} // namespace

Md5::Md5() : mState(kInitialState), mBuffer{}
{
}

void Md5::compress(std::array<quint32, 4> &state, const quint8 block[64])
{
    // The block is sixteen 32-bit words, each least significant byte first.
    quint32 x[16];
    for (int i = 0; i < 16; ++i) {
        const quint8 *p = block + 4 * i;
        x[i] = quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
    }

    quint32 a = state[0], b = state[1], c = state[2], d = state[3];
    for (int i = 0; i < 64; ++i) {
        const int round = i / 16;
        quint32 f;
        int k;
        switch (round) {
        case 0:
            f = (b & c) | (~b & d);
            k = i;
            break;
        case 1:
            f = (b & d) | (c & ~d);
            k = (5 * i + 1) % 16;
            break;
        case 2:
            f = b ^ c ^ d;
            k = (3 * i + 5) % 16;
            break;
        default:
            f = c ^ (b | ~d);
            k = (7 * i) % 16;
            break;
        }
        const quint32 rotated = std::rotl(a + f + x[k] + kSine[i], kShift[round][i % 4]);
        a = d;
        d = c;
        c = b;
        b = b + rotated;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
}

void Md5::addData(const char *data, qsizetype size)
{
    const auto *in = reinterpret_cast<const quint8 *>(data);
    mLength += quint64(size);
    if (mBuffered > 0) {
        const qsizetype take = qMin<qsizetype>(64 - mBuffered, size);
        std::memcpy(mBuffer.data() + mBuffered, in, size_t(take));
        mBuffered += take;
        in += take;
        size -= take;
        if (mBuffered < 64)
            return;
        compress(mState, mBuffer.data());
        mBuffered = 0;
    }
    for (; size >= 64; in += 64, size -= 64)
        compress(mState, in);
    if (size > 0) {
        std::memcpy(mBuffer.data(), in, size_t(size));
        mBuffered = size;
    }
}

QByteArray Md5::result() const
{
    // Padding: 0x80, zeros up to 56 mod 64, then the length in bits as a
    // 64-bit number, least significant byte first.
    std::array<quint32, 4> state = mState;
    quint8 tail[128] = {};
    std::memcpy(tail, mBuffer.data(), size_t(mBuffered));
    tail[mBuffered] = 0x80;
    const int tailSize = mBuffered < 56 ? 64 : 128;
    const quint64 bits = mLength * 8;
    storeLe32(tail + tailSize - 8, quint32(bits));
    storeLe32(tail + tailSize - 4, quint32(bits >> 32));
    compress(state, tail);
    if (tailSize == 128)
        compress(state, tail + 64);

    QByteArray digest(16, Qt::Uninitialized);
    for (int i = 0; i < 4; ++i)
        storeLe32(reinterpret_cast<quint8 *>(digest.data()) + 4 * i, state[i]);
    return digest;
}

QByteArray Md5::hash(const QByteArray &data)
{
    Md5 md5;
    md5.addData(data.constData(), data.size());
    return md5.result();
}
