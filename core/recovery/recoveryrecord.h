#pragma once

#include "core/platform/filesystem.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>

/**
 * The companion record of a recovery file: which file the changes belong
 * to, that file as it was when it was opened (or last saved), and when the
 * recovery file was written. Kept beside the recovery file as a small JSON
 * object; it holds no text of the database.
 */
struct RecoveryRecord
{
    /// The largest record read back: anything larger is no record of ours.
    static constexpr qsizetype MaxBytes = 64 * 1024;

    QString originalPath; ///< empty for a database never saved
    FileStamp original;   ///< the file when it was opened or last saved
    QDateTime written;    ///< the recovery write, in UTC
    bool enciphered = false;
    QString databaseName;
    /// The records holding a text the recovery file could not keep as it
    /// was typed (a character without a byte in the code page, a text cut
    /// at the handheld's length), counted by the write: restored, they hold
    /// what the file holds, and the question says so.
    int alteredRecords = 0;

    QByteArray toBytes() const;
    /// The record in @p bytes; nothing when they are no record of ours.
    static std::optional<RecoveryRecord> fromBytes(const QByteArray &bytes);

    bool operator==(const RecoveryRecord &) const = default;
};
