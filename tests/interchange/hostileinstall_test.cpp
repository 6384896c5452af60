#include "core/platform/qt/containedfolder.h"
#include "core/platform/qt/jpilotsettings.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/qt/palmdesktopsettings.h"
#include "interchange/hotsync/tuserdata.h"
#include "scriptedmessages.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

/// users.dat as the desktop lays it out: the count, 12 bytes not read,
/// then per user its ID, 2 bytes, the name and the folder each after its
/// length, one byte, and the end of the gap (0x01 0x80).
QByteArray usersDat(const std::vector<std::pair<QByteArray, QByteArray>> &users)
{
    QByteArray bytes = QByteArray(1, char(users.size())) + QByteArray(12, '\0');
    quint16 id = 1;
    for (const auto &[name, folder] : users) {
        bytes += char(id++);
        bytes += QByteArray("\0\0\0", 3);
        bytes += char(name.size()) + name + char(folder.size()) + folder;
        bytes += QByteArray("\0\x01\x80", 3);
    }
    return bytes;
}

QStringList everythingBelow(const QString &folder)
{
    QStringList found;
    QDir dir(folder);
    for (const QString &name :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name)) {
        found << name;
        if (QFileInfo(dir.filePath(name)).isDir() && !QFileInfo(dir.filePath(name)).isSymLink()) {
            for (const QString &inner : everythingBelow(dir.filePath(name)))
                found << name + QLatin1Char('/') + inner;
        }
    }
    return found;
}

} // namespace

// A folder resolves where the system would take it: its links followed and
// its ".." walked, where they exist; what is still to be made may hold
// neither.
TEST(ContainedFolder, aFolderIsInsideOnlyWhereTheSystemResolvesItSo)
{
    QTemporaryDir dir;
    const QString root = dir.filePath(QStringLiteral("Palm"));
    ASSERT_TRUE(QDir().mkpath(root + QStringLiteral("/Anna")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("elsewhere"))));
    ASSERT_TRUE(
        QFile::link(dir.filePath(QStringLiteral("elsewhere")), root + QStringLiteral("/Away")));
    ASSERT_TRUE(QFile::link(root + QStringLiteral("/Anna"), root + QStringLiteral("/Near")));
    const std::pair<const char *, bool> cases[] = {
        {"/Anna/Install", true},
        {"/New/Install", true},
        {"", true},
        {"/Anna/../Bob/Install", true},
        {"/Near/Install", true},
        {"/../../../tmp/x/Install", false},
        {"/../Palm2/Install", false},
        {"/Away/Install", false},
        {"/New/../../x", false},
        {"/New/./x", false},
    };
    // A desktop folder not made yet holds what will be made below it.
    EXPECT_TRUE(ContainedFolder::within(root + QStringLiteral("/Later/Anna/Install"),
                                        root + QStringLiteral("/Later")));
    QStringList results;
    QStringList expected;
    for (const auto &[tail, inside] : cases) {
        results << QString::fromLatin1(tail) + QLatin1Char(' ') +
                       QString::number(
                           ContainedFolder::within(root + QString::fromLatin1(tail), root));
        expected << QString::fromLatin1(tail) + QLatin1Char(' ') + QString::number(inside);
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}

// A users.dat whose folder names lead out of the desktop folder: Install
// refuses the user by name and makes nothing, anywhere; the others are
// served as before.
TEST(HostileUsers, anInstallFolderOutsideTheDesktopFolderIsRefused)
{
    QTemporaryDir dir;
    const QString desktop = dir.filePath(QStringLiteral("Palm"));
    ASSERT_TRUE(QDir().mkpath(desktop));
    ASSERT_TRUE(QFile::link(dir.path(), desktop + QStringLiteral("/Up")));
    write(desktop + QStringLiteral("/users.dat"),
          usersDat({{"Anna", "Anna"}, {"Mallory", "../../x"}, {"Link", "Up/y"}}));
    const QString ini = dir.filePath(QStringLiteral("PalmDesktop.ini"));
    const QByteArray settings =
        "[Palm Computing\\Pilot Desktop\\Core]\nPath=" + QFile::encodeName(desktop) +
        "\n[Palm Computing\\Pilot Desktop\\HotSync Manager]\n";
    write(ini, settings);
    std::vector<std::unique_ptr<SyncSoftware>> software;
    software.push_back(PalmDesktopSettings::iniFile(ini));
    LocalFileSystem files;
    TUserData users(std::move(software), files);
    ScriptedMessages messages;
    bool report = false;
    users.Create(messages, report);
    ASSERT_EQ(users.UserCount(), 3);
    const QStringList before = everythingBelow(dir.path());

    QStringList results;
    for (int i = 0; i < 3; ++i) {
        messages.shown.clear();
        QString folder;
        const bool marked = users.PrepareInstall(i, &folder, messages);
        results << QStringLiteral("%1: %2 %3")
                       .arg(users.UserName(i))
                       .arg(marked)
                       .arg(messages.shown.empty() ? QString()
                                                   : messages.shown.front().lines.first());
    }
    const QString refused = QStringLiteral("0 The install folder of the handheld user \"%1\" lies "
                                           "outside the folder of the synchronisation software, "
                                           "so nothing was installed:");
    EXPECT_EQ(results, QStringList({QStringLiteral("Anna: 1 "),
                                    QStringLiteral("Mallory: ") + refused.arg("Mallory"),
                                    QStringLiteral("Link: ") + refused.arg("Link")}));
    QStringList after = everythingBelow(dir.path());
    QStringList made = before;
    made << QStringLiteral("Palm/Anna") << QStringLiteral("Palm/Anna/Install");
    after.sort();
    made.sort();
    EXPECT_EQ(after, made);
    EXPECT_EQ(contents(ini), settings + "Install1=1\n");
}

// J-Pilot's list takes one line per file: a path with a line break is
// never written into it.
TEST(HostileUsers, jpilotsListNeverTakesALineBreak)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(QStringLiteral(".jpilot"));
    ASSERT_TRUE(QDir().mkpath(home));
    write(home + QStringLiteral("/jpilot.rc"), "user Judd\nuser_id 7\n");
    JPilotSettings jpilot(home);
    const SyncUser user = jpilot.ownUsers()->front();
    ASSERT_EQ(jpilot.markInstallFolder(user), SyncSoftware::Mark::Marked);
    const QString folder = jpilot.installFolder(user);
    const bool broken = jpilot.fileInstalled(user, folder + QStringLiteral("/two\nlines.pdb"));
    const bool plain = jpilot.fileInstalled(user, folder + QStringLiteral("/one line.pdb"));
    EXPECT_EQ(std::tuple(broken, plain, contents(home + QStringLiteral("/jpilot.install"))),
              std::tuple(false, true, QFile::encodeName(folder) + "/one line.pdb\n"));
}
