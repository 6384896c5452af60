#include "core/recovery/recoverywriter.h"

#include "core/platform/filesystem.h"
#include "core/recovery/recoveryfolder.h"

#include <QElapsedTimer>

RecoveryWriter::RecoveryWriter(FileSystem &files, const QString &folder, const QString &id)
    : mFiles(files), mFolder(folder), mId(id), mThread([this] { run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard<std::mutex> guard(mMutex);
        mStopping = true;
    }
    mWake.notify_all();
    mThread.join();
}

void RecoveryWriter::setWrittenHandler(std::function<void(const Outcome &)> handler)
{
    std::lock_guard<std::mutex> guard(mMutex);
    mWritten = std::move(handler);
}

void RecoveryWriter::write(Database &&snapshot, const RecoveryRecord &record)
{
    push({Task::Write, std::make_shared<Database>(std::move(snapshot)), record, QString()});
}

void RecoveryWriter::remove()
{
    push({Task::Remove, nullptr, {}, QString()});
}

void RecoveryWriter::adopt(const QString &from)
{
    push({Task::Adopt, nullptr, {}, from});
}

void RecoveryWriter::push(Task &&task)
{
    {
        std::lock_guard<std::mutex> guard(mMutex);
        if (task.kind == Task::Write && !mTasks.empty() && mTasks.back().kind == Task::Write)
            mTasks.pop_back();
        if (task.kind == Task::Remove) {
            while (!mTasks.empty() && mTasks.back().kind == Task::Write)
                mTasks.pop_back();
        }
        mTasks.push_back(std::move(task));
    }
    mWake.notify_all();
}

void RecoveryWriter::waitUntilDone()
{
    std::unique_lock<std::mutex> lock(mMutex);
    mDone.wait(lock, [this] { return mTasks.empty() && !mBusy; });
}

void RecoveryWriter::run()
{
    RecoveryFolder folder(mFiles, mFolder);
    std::unique_lock<std::mutex> lock(mMutex);
    for (;;) {
        mWake.wait(lock, [this] { return mStopping || !mTasks.empty(); });
        if (mTasks.empty())
            return; // stopping, with nothing left to do
        Task task = std::move(mTasks.front());
        mTasks.pop_front();
        mBusy = true;
        const std::function<void(const Outcome &)> written = mWritten;
        lock.unlock();
        Outcome outcome;
        switch (task.kind) {
        case Task::Write: {
            QElapsedTimer timer;
            timer.start();
            outcome.written = folder.write(mId, *task.snapshot, task.record, outcome.reason);
            outcome.micros = timer.nsecsElapsed() / 1000;
            // The copy goes here, not on the window's thread.
            task.snapshot.reset();
            if (written)
                written(outcome);
            break;
        }
        case Task::Remove:
            folder.remove(mId, false);
            break;
        case Task::Adopt:
            folder.adopt(task.from, mId);
            break;
        }
        lock.lock();
        mBusy = false;
        if (mTasks.empty())
            mDone.notify_all();
    }
}
