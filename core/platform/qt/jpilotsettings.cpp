#include "core/platform/qt/jpilotsettings.h"

#include "core/platform/qt/containedfolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr qsizetype MaxUserNameChars = 31;

QStringList linesOf(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QStringList lines;
    while (!f.atEnd()) {
        QString line = QString::fromUtf8(f.readLine());
        while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        lines << line;
    }
    return lines;
}

} // namespace

QString JPilotSettings::defaultFolder()
{
    const QByteArray home = qgetenv("JPILOT_HOME");
    return (home.isEmpty() ? QDir::homePath() : QFile::decodeName(home)) +
           QStringLiteral("/.jpilot");
}

bool JPilotSettings::isInstalled() const
{
    return QFileInfo(mFolder).isDir();
}

std::optional<QString> JPilotSettings::preference(const char *name) const
{
    // "name value": the name ends at the first space.
    const QString wanted = QLatin1String(name);
    for (const QString &line : linesOf(mFolder + QStringLiteral("/jpilot.rc"))) {
        const qsizetype space = line.indexOf(QLatin1Char(' '));
        if (space > 0 && line.left(space) == wanted)
            return line.mid(space + 1);
    }
    return std::nullopt;
}

QString JPilotSettings::lastUserName() const
{
    return preference("user").value_or(QString()).left(MaxUserNameChars);
}

std::optional<std::vector<SyncUser>> JPilotSettings::ownUsers() const
{
    if (!isInstalled())
        return std::vector<SyncUser>();
    SyncUser user;
    // The handheld's user ID is a 32-bit number; the ID names the user here only.
    user.id = quint16(preference("user_id").value_or(QString()).trimmed().toUInt());
    user.name = lastUserName();
    user.folder = QStringLiteral("quillgrid-install");
    return std::vector<SyncUser>{user};
}

QString JPilotSettings::backupFolder(const SyncUser &) const
{
    return mFolder + QStringLiteral("/backup");
}

QString JPilotSettings::installFolder(const SyncUser &user) const
{
    return mFolder + QLatin1Char('/') + user.folder;
}

SyncSoftware::Mark JPilotSettings::markInstallFolder(const SyncUser &user)
{
    if (!isInstalled())
        return Mark::NotInstalled;
    if (!ContainedFolder::within(installFolder(user), mFolder))
        return Mark::Outside;
    QDir().mkpath(installFolder(user));
    // The list names files one by one: see fileInstalled().
    return Mark::Marked;
}

bool JPilotSettings::fileInstalled(const SyncUser &, const QString &path)
{
    const QString listPath = mFolder + QStringLiteral("/jpilot.install");
    const QString absolute = QFileInfo(path).absoluteFilePath();
    // The list holds one path a line: a path with a line break, or any
    // other control character, cannot go into it as one.
    for (const QChar c : absolute) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            return false;
    }
    if (linesOf(listPath).contains(absolute))
        return true;
    QFile list(listPath);
    if (!list.open(QIODevice::Append))
        return false;
    // A list that does not end with a line break gets one first.
    QByteArray line;
    if (list.size() > 0) {
        QFile tail(listPath);
        if (tail.open(QIODevice::ReadOnly) && tail.seek(tail.size() - 1) && tail.read(1) != "\n")
            line += '\n';
    }
    line += QFile::encodeName(absolute) + '\n';
    return list.write(line) == line.size() && list.flush();
}
