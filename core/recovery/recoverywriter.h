#pragma once

#include "core/document/database.h"
#include "core/recovery/recoveryrecord.h"

#include <QString>

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

class FileSystem;

/**
 * Writes a run's recovery files on a thread of its own, so that the
 * window's thread only hands over a copy of the database. Work is done in
 * the order given; a write waiting behind another gives way to a newer
 * write, and a removal drops the writes waiting before it, so that no
 * write lands after the removal asked for later.
 */
class RecoveryWriter
{
public:
    /// What one write did.
    struct Outcome
    {
        bool written = false;
        QString reason;    ///< why not
        qint64 micros = 0; ///< the write's time on the writer's thread
    };

    /// Works in @p folder as run @p id through @p files, which the
    /// writer's thread alone uses from now on, and which outlives it.
    RecoveryWriter(FileSystem &files, const QString &folder, const QString &id);
    /// Finishes what was asked, then ends the thread.
    ~RecoveryWriter();

    /// Writes @p snapshot and its @p record.
    void write(Database &&snapshot, const RecoveryRecord &record);
    /// Removes the run's recovery files.
    void remove();
    /// Takes the recovery files run @p from left as the run's own.
    void adopt(const QString &from);
    /// Returns once everything asked before has been done.
    void waitUntilDone();
    /// Called on the writer's thread after each write.
    void setWrittenHandler(std::function<void(const Outcome &)> handler);

private:
    struct Task
    {
        enum Kind
        {
            Write,
            Remove,
            Adopt
        } kind;
        std::shared_ptr<Database> snapshot;
        RecoveryRecord record;
        QString from;
    };

    void push(Task &&task);
    void run();

    FileSystem &mFiles;
    QString mFolder;
    QString mId;
    std::function<void(const Outcome &)> mWritten;

    std::mutex mMutex;
    std::condition_variable mWake;
    std::condition_variable mDone;
    std::deque<Task> mTasks;
    bool mBusy = false;
    bool mStopping = false;
    std::thread mThread;
};
