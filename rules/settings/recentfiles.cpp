#include "rules/settings/recentfiles.h"

#include <algorithm>

bool RecentFiles::AddRecentFile(const QString &path)
{
    if (std::find(mEntries.begin(), mEntries.end(), path) != mEntries.end())
        return false;
    std::move_backward(mEntries.begin(), mEntries.end() - 1, mEntries.end());
    mEntries.front() = path;
    return true;
}

QString RecentFiles::entry(int slot) const
{
    if (slot < 1 || slot > slotCount)
        return QString();
    return mEntries[slot - 1];
}

QString RecentFiles::caption(int slot) const
{
    if (slot < 1 || slot > slotCount)
        return QString();
    const QString &path = mEntries[slot - 1];
    const qsizetype folderEnd =
        std::max(path.lastIndexOf(QLatin1Char('/')), path.lastIndexOf(QLatin1Char('\\')));
    QString name = path.mid(folderEnd + 1);
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot >= 0)
        name.truncate(dot);
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1  ").arg(slot) + name;
}
