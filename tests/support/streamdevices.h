#pragma once

#include <QByteArray>
#include <QIODevice>

#include <cstring>
#include <vector>

/**
 * Sources that are read as pipes are: sequential, with no size and no way
 * back. PieceDevice hands out given bytes a few at a time, in pieces of
 * the sizes it cycles through; EndlessDevice repeats a pattern for ever, as
 * /dev/zero or a FIFO that a program keeps feeding, and counts what it gave.
 */
class PieceDevice : public QIODevice
{
public:
    PieceDevice(QByteArray bytes, std::vector<qint64> pieces)
        : mBytes(std::move(bytes)), mPieces(std::move(pieces))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 piece = mPieces.empty() ? maxSize : mPieces[mNext++ % mPieces.size()];
        const qint64 n = qMin(qMin(piece, maxSize), qint64(mBytes.size()) - mAt);
        std::memcpy(data, mBytes.constData() + mAt, size_t(n));
        mAt += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray mBytes;
    std::vector<qint64> mPieces;
    size_t mNext = 0;
    qint64 mAt = 0;
};

class EndlessDevice : public QIODevice
{
public:
    /// @p prefix once, then @p pattern for ever.
    explicit EndlessDevice(QByteArray pattern, QByteArray prefix = {})
        : mPrefix(std::move(prefix)), mPattern(std::move(pattern))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }
    qint64 given() const { return mGiven; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        const qint64 p = mPrefix.size();
        for (qint64 i = 0, at = mGiven; i < maxSize; ++i, ++at)
            data[i] =
                at < p ? mPrefix[qsizetype(at)] : mPattern[qsizetype((at - p) % mPattern.size())];
        mGiven += maxSize;
        return maxSize;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray mPrefix;
    QByteArray mPattern;
    qint64 mGiven = 0;
};
