#include "fakesyncsoftware.h"
#include "interchange/hotsync/tuserdata.h"
#include "memoryfilesystem.h"
#include "memorysettingsstore.h"
#include "rules/shell/deliverysetuprules.h"
#include "scriptedmessages.h"

#include <gtest/gtest.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

/// The users of @p software as read at start.
std::unique_ptr<TUserData> readUsers(std::vector<std::unique_ptr<SyncSoftware>> software,
                                     FileSystem &files)
{
    auto users = std::make_unique<TUserData>(std::move(software), files);
    users->Create();
    return users;
}

} // namespace

// Where the desktop software may be, its absence is a message box; where it
// cannot be, the start page says quietly that nobody can be installed for.
// Either only while the preference asks for it.
TEST(DeliverySetupRules, theStartSaysWhatIsMissingAsThePlatformCallsFor)
{
    using Notice = DeliverySetupRules::StartNotice;
    struct Case
    {
        bool installed;
        bool withUsers;
        bool reportMissing;
        bool desktopExpected;
        Notice notice;
    };
    const Case cases[] = {
        {false, false, true, true, Notice::Message}, {false, false, false, true, Notice::None},
        {true, false, true, true, Notice::None},     {true, true, true, true, Notice::None},
        {false, false, true, false, Notice::Line},   {false, false, false, false, Notice::None},
        {true, false, true, false, Notice::Line},    {true, true, true, false, Notice::None},
        {true, true, false, false, Notice::None},
    };
    MemoryFileSystem files;
    std::vector<Notice> results;
    std::vector<Notice> expected;
    for (const Case &c : cases) {
        auto *software = new FakeSyncSoftware;
        software->installed = c.installed;
        software->users =
            c.withUsers ? std::vector<SyncUser>{{1, s("Anna"), s("A")}} : std::vector<SyncUser>();
        std::vector<std::unique_ptr<SyncSoftware>> list;
        list.emplace_back(software);
        const auto users = readUsers(std::move(list), files);
        results.push_back(
            DeliverySetupRules::startNotice(*users, c.reportMissing, c.desktopExpected));
        expected.push_back(c.notice);
    }
    EXPECT_EQ(results, expected);
}

// OK stores a folder that is there, by its full path, with a name fit for
// a user record; an empty folder stores none. Anything else stores nothing.
TEST(DeliverySetupRules, okGivesASettingOnlyForAFolderThatIsThere)
{
    MemoryFileSystem files;
    files.folders = {s("/media/card"), s("/srv/shared folder/pdb"), s("/home/a/emu\nlator")};
    files.addFile(s("/home/a/notes.pdb"), "x");
    const std::pair<const char *, const char *> cases[][2] = {
        {{"/media/card", "Anna"}, {"/media/card", "Anna"}},
        {{" /media/card/ ", " Anna "}, {"/media/card", "Anna"}},
        {{"/media//card/../card", "Anna"}, {"/media/card", "Anna"}},
        {{"/srv/shared folder/pdb", "Bob"}, {"/srv/shared folder/pdb", "Bob"}},
        {{"/home/a/emu\nlator", "Émile"}, {"/home/a/emu\nlator", "Émile"}},
        {{"/media/card", "A name much longer than thirty-one characters"},
         {"/media/card", "A name much longer than thirty-"}},
        {{"", "Anna"}, {"", ""}},
        {{"   ", ""}, {"", ""}},
        {{"media/card", "Anna"}, {"none", ""}},
        {{"/media/gone", "Anna"}, {"none", ""}},
        {{"/home/a/notes.pdb", "Anna"}, {"none", ""}},
        {{"/media/card", "  "}, {"none", ""}},
        {{"/media/card", "Two\tcolumns"}, {"none", ""}},
        {{"/media/card", "Two\nlines"}, {"none", ""}},
    };
    std::vector<std::unique_ptr<SyncSoftware>> none;
    const auto users = readUsers(std::move(none), files);
    QStringList results;
    QStringList expected;
    for (const auto &c : cases) {
        DeliverySetupRules rules(*users, {}, s("login"));
        rules.folder = s(c[0].first);
        rules.userName = s(c[0].second);
        const DeliverySetupRules::Result result = rules.B_OKClick(files);
        // A refusal says why; a setting needs no words.
        results << (result.setting
                        ? result.setting->folder + QLatin1Char('|') + result.setting->userName +
                              QLatin1Char('|') + QString::number(result.problem.isEmpty())
                        : s("none||") + QString::number(result.problem.isEmpty()));
        expected << s(c[1].first) + QLatin1Char('|') + s(c[1].second) + QLatin1Char('|') +
                        QString::number(c[1].first != std::string_view("none"));
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}

// The set-up stores the plain folder in the per-user settings, its users
// list reads it back as the software that follows the desktops, and the
// window selects the user just set up.
TEST(DeliverySetupRules, theStoredFolderBecomesAUserToInstallFor)
{
    MemorySettingsStore settings;
    MemoryFileSystem files;
    auto *desktop = new FakeSyncSoftware;
    desktop->path = s("/palm");
    desktop->users = std::vector<SyncUser>{{3, s("Anna"), s("AnnaB")}};
    std::vector<std::unique_ptr<SyncSoftware>> list;
    list.emplace_back(desktop);
    list.push_back(std::make_unique<PlainInstallFolder>(settings));
    TUserData users(std::move(list), files);
    users.Create();
    const int before = users.UserCount();
    ASSERT_TRUE(PlainInstallFolder::save(settings, {s("/media/card"), s("Carla")}));
    users.Create();
    const PlainInstallFolder::Setting stored = PlainInstallFolder::load(settings);
    const int selected = DeliverySetupRules::selectedUser(users, stored, users.LastUserIndex());
    EXPECT_EQ(std::tuple(before, users.UserCount(), selected, users.UserName(selected),
                         users.InstallFolder(selected), users.BackupFolder(selected),
                         settings.writes),
              std::tuple(1, 2, 1, s("Carla"), s("/media/card"), QString(),
                         QStringList{s("Handheld/InstallFolder=/media/card"),
                                     s("Handheld/InstallUser=Carla")}));
}
