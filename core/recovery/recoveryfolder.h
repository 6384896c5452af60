#pragma once

#include "core/recovery/recoveryrecord.h"

#include <QString>

#include <memory>
#include <vector>

class Database;
class FileSystem;
class QIODevice;

/**
 * The folder of recovery files, one set of files per run of the editor,
 * named by the run's id (sixteen lower-case hex digits):
 *
 *   <id>.lock   held locked by the run for as long as it lives
 *   <id>.pdb    the last recovery write: a complete database file
 *   <id>.json   its companion record (RecoveryRecord)
 *
 * The folder is its owner's alone (rwx------) and every file in it too
 * (rw-------). A record whose lock nobody holds was left by a run that did
 * not end. Every call goes through the FileSystem it is given, and works
 * on the thread that calls it.
 */
class RecoveryFolder
{
public:
    /// A recovery file that a run that did not end left, with its lock,
    /// held until it goes.
    struct Left
    {
        QString id;
        RecoveryRecord record;
        std::shared_ptr<QIODevice> lock;
    };

    RecoveryFolder(FileSystem &files, const QString &folder);

    /// A new id for a run.
    static QString newId();
    static bool isId(const QString &text);

    const QString &folder() const { return mFolder; }
    QString databasePath(const QString &id) const;
    QString recordPath(const QString &id) const;
    QString lockPath(const QString &id) const;

    /// Takes the lock of run @p id, making the folder first; null when it
    /// cannot be had.
    std::unique_ptr<QIODevice> lock(const QString &id);

    /**
     * Writes the recovery file of @p db for run @p id: the database file
     * first, then its record, each through the safe replace, so that a
     * failure at any point leaves the files of the last write or of this
     * one, whole. An enciphered database is written enciphered with its
     * password; one whose "Encrypted" flag and password disagree writes
     * nothing. On failure @p reason says why.
     */
    bool write(const QString &id, const Database &db, const RecoveryRecord &record,
               QString &reason);
    /// Removes the record and the database file of run @p id (the record
    /// first, so that no record outlives its file); with @p lockToo its
    /// lock file as well.
    void remove(const QString &id, bool lockToo);
    /// Takes the recovery files of run @p from as run @p id's.
    bool adopt(const QString &from, const QString &id);

    /// The recovery files left by runs that did not end, most recent first,
    /// each with its lock now held. A record without its database file, an
    /// unreadable record and a lock file with nothing beside it are removed
    /// on the way.
    std::vector<Left> leftovers();

private:
    FileSystem &mFiles;
    QString mFolder;
};
