#pragma once

#include "core/platform/qt/plaininstallfolder.h"

#include <QStringList>

#include <optional>

class FileSystem;
class TUserData;

/**
 * Handheld delivery as the window shows it: what the start says when no
 * synchronisation software was found, the Install command's hint, and the
 * set-up dialog, which lists what each kind of software came to and sets
 * up a plain install folder (any folder and a user name).
 */
class DeliverySetupRules
{
public:
    /// What the window shows at start about delivery.
    enum class StartNotice
    {
        None,
        Message, ///< the message box of missing desktop software
        Line,    ///< one quiet line on the start page, with the way to the set-up
    };
    /**
     * The message box where the desktop software may be (@p desktopExpected:
     * Windows) and none was found; elsewhere the quiet line while nobody can
     * be installed for. Neither once @p reportMissing is off.
     */
    static StartNotice startNotice(const TUserData &users, bool reportMissing,
                                   bool desktopExpected);
    /// The Install command's hint: why it opens the set-up while nobody can
    /// be installed for.
    static QString installHint(int userCount);
    /// The user to select once the users are read again after a set-up:
    /// the plain folder's user of @p setting when there is one, else
    /// @p otherwise.
    static int selectedUser(const TUserData &users, const PlainInstallFolder::Setting &setting,
                            int otherwise);

    /// The dialog over the users as last read and the plain folder's
    /// setting; the controls start with the setting (a name of
    /// @p defaultUserName when none is set).
    DeliverySetupRules(const TUserData &users, const PlainInstallFolder::Setting &setting,
                       const QString &defaultUserName);

    /// One line per kind of software: what it is, where it was looked for,
    /// and what it came to.
    QStringList foundLines() const;

    /// The plain folder's controls.
    QString folder;
    QString userName;

    /// What OK comes to: the setting to store, or what is wrong.
    struct Result
    {
        std::optional<PlainInstallFolder::Setting> setting;
        QString problem;
    };
    /// The controls as a setting: an empty folder means none; otherwise an
    /// absolute path of a folder that is there (@p files looks) and a user
    /// name without control characters, at most 31 characters kept.
    Result B_OKClick(FileSystem &files) const;

private:
    const TUserData &mUsers;
};
