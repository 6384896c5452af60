#pragma once

#include <QByteArray>
#include <QRandomGenerator>

/// @p size bytes from @p random.
inline QByteArray randomBytes(QRandomGenerator &random, qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &b : bytes)
        b = char(random.bounded(256));
    return bytes;
}
