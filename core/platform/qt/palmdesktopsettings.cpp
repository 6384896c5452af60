#include "core/platform/qt/palmdesktopsettings.h"

#include "core/platform/qt/containedfolder.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

#ifdef Q_OS_WIN
#include <QSettings>
#endif

namespace {

// The registry keeps LastUserName in 32 bytes and Path in 256, each with
// its terminator.
constexpr qsizetype MaxUserNameChars = 31;
constexpr qsizetype MaxPathChars = 255;

/// Keys kept in an INI file: "[A\B]" opens key A\B, "name=value" lines
/// follow; lines starting with ';' or '#' are comments. The file is read
/// anew for every question, as the registry would answer it.
class IniKeys : public PalmDesktopSettings::Keys
{
public:
    explicit IniKeys(const QString &path) : mPath(path) {}

    bool hasKey(const QString &path) const override
    {
        const QStringList lines = read();
        for (const QString &line : lines) {
            const QString section = sectionOf(line);
            if (same(section, path) ||
                section.startsWith(path + QLatin1Char('\\'), Qt::CaseInsensitive))
                return true;
        }
        return false;
    }

    std::optional<QString> value(const QString &path, const QString &name) const override
    {
        bool inKey = false;
        for (const QString &line : read()) {
            if (isSection(line)) {
                inKey = same(sectionOf(line), path);
                continue;
            }
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            if (inKey && equals > 0 && same(line.left(equals).trimmed(), name))
                return line.mid(equals + 1).trimmed();
        }
        return std::nullopt;
    }

    bool setNumber(const QString &path, const QString &name, quint32 number) override
    {
        QStringList lines = read();
        const QString entry = name + QLatin1Char('=') + QString::number(number);
        qsizetype insertAt = -1;
        bool inKey = false;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString &line = lines[i];
            if (isSection(line)) {
                inKey = same(sectionOf(line), path);
                if (inKey)
                    insertAt = i + 1;
                continue;
            }
            const qsizetype equals = line.indexOf(QLatin1Char('='));
            if (inKey && equals > 0 && same(line.left(equals).trimmed(), name)) {
                lines[i] = entry;
                return write(lines);
            }
        }
        if (insertAt < 0)
            return false;
        lines.insert(insertAt, entry);
        return write(lines);
    }

private:
    static bool isSection(const QString &line)
    {
        const QString t = line.trimmed();
        return t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']'));
    }
    static QString sectionOf(const QString &line)
    {
        const QString t = line.trimmed();
        return isSection(line) ? t.mid(1, t.size() - 2).trimmed() : QString();
    }
    static bool same(const QString &a, const QString &b)
    {
        return a.compare(b, Qt::CaseInsensitive) == 0;
    }

    QStringList read() const
    {
        QFile f(mPath);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
        for (QString &line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
        }
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    bool write(const QStringList &lines) const
    {
        QSaveFile f(mPath);
        if (!f.open(QIODevice::WriteOnly))
            return false;
        f.write((lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
        return f.commit();
    }

    QString mPath;
};

#ifdef Q_OS_WIN
/// The user's registry below HKEY_CURRENT_USER\Software.
class RegistryKeys : public PalmDesktopSettings::Keys
{
public:
    RegistryKeys()
        : mSettings(QStringLiteral("HKEY_CURRENT_USER\\Software"), QSettings::NativeFormat)
    {
    }

    bool hasKey(const QString &path) const override
    {
        const QString key = QString(path).replace(QLatin1Char('\\'), QLatin1Char('/'));
        const qsizetype slash = key.lastIndexOf(QLatin1Char('/'));
        auto &s = const_cast<QSettings &>(mSettings);
        s.beginGroup(slash < 0 ? QString() : key.left(slash));
        const bool found = s.childGroups().contains(key.mid(slash + 1), Qt::CaseInsensitive);
        s.endGroup();
        return found;
    }

    std::optional<QString> value(const QString &path, const QString &name) const override
    {
        const QString key =
            QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')) + QLatin1Char('/') + name;
        if (!mSettings.contains(key))
            return std::nullopt;
        return mSettings.value(key).toString();
    }

    bool setNumber(const QString &path, const QString &name, quint32 number) override
    {
        // QSettings keeps an integer as a REG_DWORD.
        mSettings.setValue(QString(path).replace(QLatin1Char('\\'), QLatin1Char('/')) +
                               QLatin1Char('/') + name,
                           int(number));
        mSettings.sync();
        return mSettings.status() == QSettings::NoError;
    }

private:
    QSettings mSettings;
};
#endif

} // namespace

PalmDesktopSettings::PalmDesktopSettings(std::unique_ptr<Keys> keys, const QString &location)
    : mKeys(std::move(keys)), mLocation(location)
{
}

PalmDesktopSettings::~PalmDesktopSettings() = default;

std::unique_ptr<PalmDesktopSettings> PalmDesktopSettings::iniFile(const QString &iniPath)
{
    return std::make_unique<PalmDesktopSettings>(std::make_unique<IniKeys>(iniPath), iniPath);
}

#ifdef Q_OS_WIN
std::unique_ptr<PalmDesktopSettings> PalmDesktopSettings::registry()
{
    return std::make_unique<PalmDesktopSettings>(std::make_unique<RegistryKeys>(),
                                                 QStringLiteral("HKEY_CURRENT_USER\\Software"));
}
#endif

QString PalmDesktopSettings::title() const
{
    return QStringLiteral("Desktop software settings");
}

QString PalmDesktopSettings::defaultIniPath()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/QGE/PalmDesktop.ini");
}

QString PalmDesktopSettings::root() const
{
    for (const char *name : {"U.S. Robotics", "Palm Computing"}) {
        if (mKeys->hasKey(QLatin1String(name)))
            return QLatin1String(name);
    }
    return {};
}

std::optional<QString> PalmDesktopSettings::text(const QString &key, const QString &name) const
{
    const QString root = this->root();
    if (root.isEmpty())
        return std::nullopt;
    return mKeys->value(root + QLatin1Char('\\') + key, name);
}

bool PalmDesktopSettings::isInstalled() const
{
    return !root().isEmpty();
}

QString PalmDesktopSettings::desktopPath() const
{
    return text(QStringLiteral("Pilot Desktop\\Core"), QStringLiteral("Path"))
        .value_or(QString())
        .left(MaxPathChars);
}

QString PalmDesktopSettings::lastUserName() const
{
    return text(QStringLiteral("Pilot Desktop\\Preferences"), QStringLiteral("LastUserName"))
        .value_or(QString())
        .left(MaxUserNameChars);
}

SyncSoftware::Mark PalmDesktopSettings::markInstallFolder(const SyncUser &user)
{
    // Without a program folder there is no user and nowhere to make one.
    if (!desktopPath().isEmpty()) {
        if (!ContainedFolder::within(installFolder(user), desktopPath()))
            return Mark::Outside;
        QDir().mkpath(installFolder(user));
    }
    // The software may have gone since the start.
    const QString root = this->root();
    if (root.isEmpty())
        return Mark::NotInstalled;
    const QString manager = root + QStringLiteral("\\Pilot Desktop\\HotSync Manager");
    if (!mKeys->hasKey(manager) ||
        !mKeys->setNumber(manager, QStringLiteral("Install") + QString::number(user.id), 1))
        return Mark::NoManager;
    return Mark::Marked;
}
