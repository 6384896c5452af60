#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <array>

/**
 * The MD5 message digest of RFC 1321. Feed data with addData(), any number of
 * times, then take the 16-byte digest with result().
 */
class Md5
{
public:
    /// Words A, B, C, D before the first block.
    static constexpr std::array<quint32, 4> kInitialState = {0x67452301, 0xEFCDAB89, 0x98BADCFE,
                                                             0x10325476};

    Md5();

    /// Appends @p size bytes to the message.
    void addData(const char *data, qsizetype size);

    /// The digest of everything added so far: A, B, C, D, each least
    /// significant byte first. Further data may be added afterwards.
    QByteArray result() const;

    /// The digest of @p data.
    static QByteArray hash(const QByteArray &data);

    /// One compression of the 64-byte @p block into @p state, without padding.
    static void compress(std::array<quint32, 4> &state, const quint8 block[64]);

private:
    std::array<quint32, 4> mState;
    std::array<quint8, 64> mBuffer;
    qsizetype mBuffered = 0; // bytes waiting in mBuffer
    quint64 mLength = 0;     // message length in bytes
};
