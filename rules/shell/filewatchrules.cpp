#include "rules/shell/filewatchrules.h"

#include "core/document/document.h"
#include "core/platform/filewatcher.h"
#include "core/platform/messageservice.h"

FileWatchRules::FileWatchRules(Document &doc, FileWatcher &watcher, const OpenServices &services)
    : mDoc(doc), mWatcher(watcher), mServices(services)
{
}

void FileWatchRules::follow()
{
    // Only a file read or saved is watched: a database never saved has none.
    const QString path = mDoc.fileStamp().exists ? mDoc.database().filePath() : QString();
    if (path != mWatched) {
        mWatched = path;
        mIgnored.reset();
        mWatcher.watch(path);
    }
    check();
}

FileWatchRules::State FileWatchRules::check()
{
    const FileStamp &known = mDoc.fileStamp();
    const QString &path = mDoc.database().filePath();
    State state = State::Quiet;
    FileStamp now;
    if (known.exists && !path.isEmpty()) {
        now = mServices.files.status(path).stamp();
        if (!now.exists)
            state = State::Removed;
        else if (now != known)
            state = mDoc.database().isChanged() ? State::BothChanged : State::ChangedOnDisk;
    }
    if (state != State::Quiet && now == mIgnored)
        state = State::Quiet;
    mState = state;
    return state;
}

FileWatchRules::Bar FileWatchRules::bar(State state)
{
    switch (state) {
    case State::Quiet:
        break;
    case State::ChangedOnDisk:
        return {QStringLiteral("Another program changed this file. Reload it to see its changes."),
                true, false, true};
    case State::BothChanged:
        return {QStringLiteral("Another program changed this file, and this window has unsaved "
                               "changes. Saving asks before writing over the other program's."),
                true, false, true};
    case State::Removed:
        return {QStringLiteral("This file was removed or renamed by another program. Save writes "
                               "it back."),
                false, true, true};
    }
    return {};
}

void FileWatchRules::ignore()
{
    mIgnored = mServices.files.status(mDoc.database().filePath()).stamp();
    check();
}

Message FileWatchRules::reloadQuestion()
{
    return {QStringLiteral("Reload"),
            MessageIcon::Warning,
            {QStringLiteral("Reloading the file gives up the unsaved changes of this window."),
             QStringLiteral("Reload it all the same?")},
            MessageButton::Yes | MessageButton::No};
}

Message FileWatchRules::revertQuestion()
{
    return {QStringLiteral("Revert to saved"),
            MessageIcon::Question,
            {QStringLiteral("Give up every change since the file was last saved, and read it "
                            "again?")},
            MessageButton::Yes | MessageButton::No};
}

bool FileWatchRules::reload()
{
    if (mDoc.database().isChanged() &&
        mServices.messages.show(reloadQuestion()) != MessageButton::Yes)
        return false;
    const bool read = ReloadDatabaseFile(mDoc, mServices);
    follow();
    return read;
}

bool FileWatchRules::revert()
{
    if (!mDoc.database().isChanged() || mDoc.database().filePath().isEmpty() ||
        mServices.messages.show(revertQuestion()) != MessageButton::Yes)
        return false;
    const bool read = ReloadDatabaseFile(mDoc, mServices);
    follow();
    return read;
}
