#include "core/platform/qt/containedfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

namespace ContainedFolder {

namespace {

/// @p path as the system would take it: its longest beginning that is
/// there resolved by the system (links, then ".."), the rest as it is;
/// empty when the rest holds "." or "..", or the path is not absolute.
QString resolved(const QString &path)
{
    if (!QDir::isAbsolutePath(path))
        return QString();
    const QStringList parts = path.split(QLatin1Char('/'));
    const auto beginning = [&parts](qsizetype count) {
        const QString start = parts.mid(0, count).join(QLatin1Char('/'));
        return start.isEmpty() ? QStringLiteral("/") : start;
    };
    qsizetype there = 1;
    while (there < parts.size() && QFileInfo::exists(beginning(there + 1)))
        ++there;
    QString result = QFileInfo(beginning(there)).canonicalFilePath();
    if (result == QLatin1String("/"))
        result.clear();
    for (qsizetype i = there; i < parts.size(); ++i) {
        if (parts[i].isEmpty())
            continue;
        if (parts[i] == QLatin1String(".") || parts[i] == QLatin1String(".."))
            return QString();
        result += QLatin1Char('/') + parts[i];
    }
    return result.isEmpty() ? QStringLiteral("/") : result;
}

} // namespace

bool within(const QString &folder, const QString &root)
{
    const QString top = resolved(root);
    const QString inner = resolved(folder);
    if (top.isEmpty() || inner.isEmpty())
        return false;
    return inner == top || inner.startsWith(top + QLatin1Char('/')) || top == QLatin1String("/");
}

} // namespace ContainedFolder
