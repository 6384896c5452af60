#pragma once

#include "core/platform/message.h"
#include "core/platform/syncsoftware.h"

#include <QStringList>

#include <memory>
#include <vector>

class FileSystem;
class MessageService;

/**
 * The handheld users of the desktop synchronisation software, read once at
 * start: their IDs, names and folders, the user who synchronised last, and
 * the way to put a file forward for installation on a user's handheld.
 *
 * Several kinds of software may be asked; their users follow one another in
 * the order the software is given. The handheld maker's desktop keeps its
 * users in users.dat in its program folder (UsersDat).
 */
class TUserData
{
public:
    /// @p software is asked in this order; @p files reads users.dat.
    TUserData(std::vector<std::unique_ptr<SyncSoftware>> software, FileSystem &files);
    ~TUserData();

    /// Reads the users, saying nothing. Never fails: at worst no users are
    /// known.
    void Create();
    /**
     * Reads the users. When no software is there at all and @p reportMissing
     * is set, says so through @p messages; an answer "Don't show again"
     * clears @p reportMissing. Never fails: at worst no users are known.
     */
    void Create(MessageService &messages, bool &reportMissing);

    /// The message of software that is not there, offering "Don't show again".
    static Message missingSoftwareMessage();

    /// Whether any of the software was found, with users or without.
    bool softwareFound() const { return mSoftwareFound; }

    /// What one kind of software came to at the last reading.
    struct Found
    {
        QString title;    ///< what it is
        QString location; ///< where its settings were looked for
        bool installed = false;
        QStringList userNames;
        /// The first user's install folder; empty without users.
        QString installFolder;

        bool operator==(const Found &) const = default;
    };
    /// Every kind of software asked, in order, found or not.
    const std::vector<Found> &found() const { return mFound; }
    int UserCount() const { return int(mUsers.size()); }
    int LastUserIndex() const { return mLastUserIndex; }
    /// The program folder of the first software found; empty when none.
    QString DesktopPath() const { return mDesktopPath; }

    /// The field of user @p index; 0 or empty when there is no such user.
    quint16 UserId(int index) const;
    QString UserName(int index) const;
    QString UserFolder(int index) const;
    /// The folder in which the software keeps user @p index's backups;
    /// empty when there is no such user.
    QString BackupFolder(int index) const;
    /// The folder whose files go to user @p index's handheld; empty when
    /// there is no such user.
    QString InstallFolder(int index) const;

    /**
     * Makes user @p index's install folder (an existing one, or a failure,
     * is passed over) and asks the software to install what lies in it.
     * Software gone since the start is reported through @p messages; one
     * without a place for the mark says nothing. True when the mark was
     * made; @p installFolder is the folder.
     */
    bool PrepareInstall(int index, QString *installFolder, MessageService &messages);
    /**
     * Whether the copy may be written at @p target in an install folder:
     * not when @p target is a symbolic link, which would carry the write
     * out of the folder (a shared folder where others may leave one). Says
     * why through @p messages.
     */
    static bool CheckInstallTarget(const QString &target, FileSystem &files,
                                   MessageService &messages);
    /// Tells user @p index's software that @p path lies in the install
    /// folder now; false when it could not note it.
    bool FileInstalled(int index, const QString &path);

private:
    struct Entry
    {
        SyncUser user;
        SyncSoftware *software;
    };
    const Entry *entry(int index) const;

    std::vector<std::unique_ptr<SyncSoftware>> mSoftware;
    FileSystem &mFiles;
    std::vector<Entry> mUsers;
    int mLastUserIndex = 0;
    bool mSoftwareFound = false;
    QString mDesktopPath;
    std::vector<Found> mFound;
};
