#include "core/platform/qt/jpilotsettings.h"
#include "core/platform/qt/palmdesktopsettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
}

void write(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(PalmDesktopSettings, readsAndMarksTheKeysOfAnIniFile)
{
    struct Case
    {
        const char *what;
        QByteArray ini;
        const char *seen; // installed, path, last user, mark
        QByteArray after;
    };
    const QByteArray core = "[Palm Computing\\Pilot Desktop\\Core]\nPath=@/Palm\n";
    const QByteArray prefs = "[Palm Computing\\Pilot Desktop\\Preferences]\nLastUserName=Anna\n";
    const QByteArray manager = "[Palm Computing\\Pilot Desktop\\HotSync Manager]\n";
    const Case cases[] = {
        {"no file", "", "0 |  |  | not installed", "(none)"},
        {"every key", core + prefs + manager + "; a comment\n", "1 | @/Palm | Anna | marked",
         core + prefs + manager + "Install7=1\n; a comment\n"},
        {"a mark already there is set again", manager + "Install7=0\r\nInstall3=1\n",
         "1 |  |  | marked", manager + "Install7=1\nInstall3=1\n"},
        {"no HotSync Manager", core + prefs, "1 | @/Palm | Anna | no manager", core + prefs},
        {"the older root comes first",
         core + "[U.S. Robotics\\Pilot Desktop\\Core]\nPath=@/Pilot\n" +
             "[U.S. Robotics\\Pilot Desktop\\HotSync Manager]\n",
         "1 | @/Pilot |  | marked",
         core + "[U.S. Robotics\\Pilot Desktop\\Core]\nPath=@/Pilot\n" +
             "[U.S. Robotics\\Pilot Desktop\\HotSync Manager]\nInstall7=1\n"},
        {"names in other cases", "[palm computing\\PILOT DESKTOP\\core]\n path = @/p \n",
         "1 | @/p |  | no manager", "[palm computing\\PILOT DESKTOP\\core]\n path = @/p \n"},
        {"long texts are cut",
         "[Palm Computing\\Pilot Desktop\\Preferences]\nLastUserName=" + QByteArray(40, 'n') + "\n",
         "1 |  | nnnnnnnnnnnnnnnnnnnnnnnnnnnnnnn | no manager",
         "[Palm Computing\\Pilot Desktop\\Preferences]\nLastUserName=" + QByteArray(40, 'n') +
             "\n"},
    };
    for (const Case &c : cases) {
        // The desktop's folders, "@", lie in a folder of the test's own.
        QTemporaryDir dir;
        const QByteArray here = dir.path().toUtf8();
        const QString ini = dir.filePath(s("PalmDesktop.ini"));
        if (!c.ini.isEmpty())
            write(ini, QByteArray(c.ini).replace('@', here));
        const auto settings = PalmDesktopSettings::iniFile(ini);
        const char *marks[] = {"marked", "not installed", "no manager"};
        const QString seen = s("%1 | %2 | %3 | %4")
                                 .arg(settings->isInstalled())
                                 .arg(settings->desktopPath(), settings->lastUserName())
                                 .arg(s(marks[int(settings->markInstallFolder({7, {}, s("U")}))]));
        EXPECT_EQ(seen, s(c.seen).replace(QLatin1Char('@'), dir.path())) << c.what;
        EXPECT_EQ(contents(ini), QByteArray(c.after).replace('@', here)) << c.what;
    }
}

TEST(JPilotSettings, oneUserFromThePreferencesAndTheListWrittenOnce)
{
    QTemporaryDir dir;
    const QString home = dir.filePath(s(".jpilot"));
    JPilotSettings jpilot(home);
    EXPECT_FALSE(jpilot.isInstalled());
    EXPECT_EQ(jpilot.ownUsers()->size(), 0u);
    EXPECT_EQ(jpilot.markInstallFolder({}), SyncSoftware::Mark::NotInstalled);

    ASSERT_TRUE(QDir().mkpath(home));
    write(home + s("/jpilot.rc"), "jpilotcss jpilotcss.default\nusername x\nuser Judd Mont\n"
                                  "user_id 4711\nport usb:\n");
    write(home + s("/jpilot.install"), "/tmp/other.prc"); // no line end yet
    ASSERT_TRUE(jpilot.isInstalled());
    const std::vector<SyncUser> users = *jpilot.ownUsers();
    ASSERT_EQ(users, std::vector<SyncUser>({{4711, s("Judd Mont"), s("quillgrid-install")}}));
    EXPECT_EQ(jpilot.lastUserName(), s("Judd Mont"));
    EXPECT_EQ(jpilot.backupFolder(users[0]), home + s("/backup"));
    const QString folder = jpilot.installFolder(users[0]);
    EXPECT_EQ(folder, home + s("/quillgrid-install"));

    EXPECT_EQ(jpilot.markInstallFolder(users[0]), SyncSoftware::Mark::Marked);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    const QString file = folder + s("/Addresses.pdb");
    for (int i = 0; i < 2; ++i)
        EXPECT_TRUE(jpilot.fileInstalled(users[0], file));
    EXPECT_EQ(contents(home + s("/jpilot.install")), "/tmp/other.prc\n" + file.toUtf8() + "\n");
}
