#pragma once

#include <QString>

/**
 * Where SaveDatabaseFile writes: the database's own file, a name asked for
 * in the save dialog, or a copy at a given path. A path is only a path: no
 * text of it has a meaning of its own.
 */
class SaveTarget
{
public:
    enum class Kind
    {
        OwnName, ///< the database's own file, keeping the old one as backup
        Ask,     ///< a name chosen in the save dialog, which becomes the own name
        CopyTo,  ///< a copy at path(): no backup; path and changed flag stay
    };

    static SaveTarget ownName() { return SaveTarget(Kind::OwnName, QString()); }
    static SaveTarget ask() { return SaveTarget(Kind::Ask, QString()); }
    static SaveTarget copyTo(const QString &path) { return SaveTarget(Kind::CopyTo, path); }

    Kind kind() const { return mKind; }
    /// The path of a copy; empty for the other kinds.
    const QString &path() const { return mPath; }

private:
    SaveTarget(Kind kind, const QString &path) : mKind(kind), mPath(path) {}

    Kind mKind;
    QString mPath;
};
