#pragma once

#include <QString>

#include <optional>
#include <vector>

/// One handheld user of the synchronisation software.
struct SyncUser
{
    quint16 id = 0; ///< the user's number in the synchronisation software
    QString name;   ///< shown in the user chooser
    QString folder; ///< the user's folder below the desktop path

    bool operator==(const SyncUser &) const = default;
};

/**
 * The desktop synchronisation software that carries databases to the
 * handheld: where it lives, who synchronised last, its users, and how a
 * file is put forward for installation at the next synchronisation.
 *
 * The handheld maker's desktop keeps its users in a file users.dat in its
 * program folder (ownUsers() gives nothing; the caller reads that file);
 * other software may name its users itself.
 */
class SyncSoftware
{
public:
    virtual ~SyncSoftware() = default;

    /// What the software is, as the handheld delivery's set-up lists it.
    virtual QString title() const = 0;
    /// Where its settings are looked for (a file, a folder), as the set-up
    /// shows it.
    virtual QString location() const = 0;
    /// Whether the software's settings are there at all.
    virtual bool isInstalled() const = 0;
    /// The software's program folder; empty when it is not known.
    virtual QString desktopPath() const = 0;
    /// The user who synchronised last; empty when not known.
    virtual QString lastUserName() const = 0;
    /// The users, when the software names them itself; nothing when they are
    /// to be read from users.dat in desktopPath().
    virtual std::optional<std::vector<SyncUser>> ownUsers() const { return std::nullopt; }

    /// The folder in which the software keeps the handheld's backups.
    virtual QString backupFolder(const SyncUser &user) const
    {
        return desktopPath() + QLatin1Char('/') + user.folder + QStringLiteral("/backup");
    }
    /// The folder whose files go to the handheld at the next synchronisation.
    virtual QString installFolder(const SyncUser &user) const
    {
        return desktopPath() + QLatin1Char('/') + user.folder + QStringLiteral("/Install");
    }

    /// What marking a user's install folder came to.
    enum class Mark
    {
        Marked,       ///< the software will look into the folder
        NotInstalled, ///< the software's settings are gone
        NoManager,    ///< the software has no place for the mark
        Outside,      ///< the folder lies outside the software's own: nothing was made
        Missing,      ///< a folder the user chose is not there (a card taken out)
    };
    /// Makes @p user's install folder (an existing one, or a failure to make
    /// it, is passed over), then asks the software to install what lies in
    /// it at the next synchronisation. A folder that resolves outside the
    /// software's own folder (a user's folder named "../../x", or a link
    /// leading away) is neither made nor marked.
    virtual Mark markInstallFolder(const SyncUser &user) = 0;
    /// Tells the software that @p path now lies in @p user's install folder,
    /// for software that lists the files to install one by one; false when
    /// that list could not be written.
    virtual bool fileInstalled(const SyncUser &user, const QString &path) { return true; }
};
