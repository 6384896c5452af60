#include "core/format/lostruc.h"

#include "core/format/codepage.h"

#include <QtEndian>

LoStruc::LoStruc() : mBytes(Size, '\0')
{
}

LoStruc::LoStruc(const QByteArray &bytes) : mBytes(bytes.left(Size))
{
    if (mBytes.size() < Size)
        mBytes.append(QByteArray(Size - mBytes.size(), '\0'));
}

void LoStruc::clear()
{
    mBytes.fill('\0', Size);
}

quint16 LoStruc::word(int offset) const
{
    return qFromBigEndian<quint16>(mBytes.constData() + offset);
}

void LoStruc::setWord(int offset, quint16 value)
{
    qToBigEndian<quint16>(value, mBytes.data() + offset);
}

qint32 LoStruc::int32(int offset) const
{
    return qFromBigEndian<qint32>(mBytes.constData() + offset);
}

void LoStruc::setInt32(int offset, qint32 value)
{
    qToBigEndian<qint32>(value, mBytes.data() + offset);
}

QString LoStruc::text(int offset, int size) const
{
    const char *start = mBytes.constData() + offset;
    const auto length = qstrnlen(start, uint(size));
    return Codepage::decode(start, qsizetype(length));
}

void LoStruc::setBytes(int offset, const QByteArray &bytes)
{
    const qsizetype n = qMin(bytes.size(), qsizetype(Size - offset));
    std::copy_n(bytes.constData(), n, mBytes.data() + offset);
}
