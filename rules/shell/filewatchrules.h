#pragma once

#include "core/files/opendatabasefile.h"
#include "core/platform/filesystem.h"
#include "core/platform/message.h"

#include <QString>

#include <optional>

class Document;
class FileWatcher;

/**
 * What the window shows about the database's own file when another
 * program changes it: a bar above the grid that says so, with what can be
 * done. The file is looked at when the watcher says something happened,
 * when the window gets the focus back and before every save (which asks
 * before writing over another program's changes: SaveDatabaseFile).
 */
class FileWatchRules
{
public:
    enum class State
    {
        Quiet,         ///< the file is as it was read or saved, or the user said to ignore it
        ChangedOnDisk, ///< another program changed it; the database has no unsaved changes
        BothChanged,   ///< another program changed it, and so did the user
        Removed,       ///< it was removed or renamed away
    };

    /// What the bar shows: its text and which buttons.
    struct Bar
    {
        QString text;
        bool reload = false;
        bool save = false;
        bool ignore = false;
        bool operator==(const Bar &) const = default;
    };

    FileWatchRules(Document &doc, FileWatcher &watcher, const OpenServices &services);

    /// After the database was replaced or saved: watches its own file.
    void follow();
    /// Looks at the file again; returns what the bar shows.
    State check();
    State state() const { return mState; }
    static Bar bar(State state);

    /// Ignore: the bar goes until the file changes once more. A save still
    /// asks before writing over the other program's changes.
    void ignore();
    /// Reads the file again in place of the database, asking first when
    /// that gives up unsaved changes. Returns whether it was read.
    bool reload();
    /// "Revert to saved": asks, then reads the file again.
    bool revert();

    static Message reloadQuestion();
    static Message revertQuestion();

private:
    Document &mDoc;
    FileWatcher &mWatcher;
    OpenServices mServices;
    QString mWatched;
    std::optional<FileStamp> mIgnored;
    State mState = State::Quiet;
};
