#pragma once

#include <QStringList>

/**
 * How a reader ended: success, or failure with the lines of its message. A
 * failure with no message is one the user chose (a cancelled password).
 */
struct ReadResult
{
    bool ok = false;
    QStringList message;

    static ReadResult success() { return {true, {}}; }
    static ReadResult failure(const QStringList &lines) { return {false, lines}; }
    static ReadResult failure(const QString &line) { return {false, {line}}; }
    static ReadResult cancelled() { return {false, {}}; }
};
