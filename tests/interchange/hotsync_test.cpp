#include "fakesyncsoftware.h"
#include "interchange/hotsync/tuserdata.h"
#include "interchange/hotsync/usersdat.h"
#include "memoryfilesystem.h"
#include "scriptedmessages.h"

#include <gtest/gtest.h>

namespace {

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

// users.dat laid out from its table: the count, 12 bytes not read, then
// the records with the gaps given for each.
QByteArray header(quint8 count)
{
    return QByteArray(1, char(count)) + QByteArray(12, '\x55');
}

QByteArray record(quint16 id, const QByteArray &name, const QByteArray &folder,
                  const QByteArray &gap = QByteArray())
{
    QByteArray r;
    r += char(id & 0xFF);
    r += char(id >> 8);
    r += "\x09\x09"; // not read
    r += char(name.size());
    r += name;
    r += char(folder.size());
    r += folder;
    r += '\x01'; // read and ignored: not the start of a gap's end
    return r + gap;
}

const QByteArray End("\x01\x80", 2);

struct UsersDatCase
{
    const char *what;
    QByteArray bytes;
    const char *lastUser;
    std::vector<SyncUser> users;
    int lastIndex;
};

TEST(UsersDat, readsCompleteRecordsAcrossTheGaps)
{
    const SyncUser anna{0x0203, s("Anna"), s("AnnaB")};
    const SyncUser bob{7, s("Bob"), s("BobF")};
    const SyncUser anna2{9, s("Anna"), s("Other")};
    const QByteArray annaRec = record(0x0203, "Anna", "AnnaB");
    const QByteArray bobRec = record(7, "Bob", "BobF");
    const QByteArray longName(40, 'n');
    const UsersDatCase cases[] = {
        {"no users", header(0) + annaRec, "Anna", {}, 0},
        {"an empty file", QByteArray(), "", {}, 0},
        {"two users, a gap of other bytes",
         header(2) + annaRec + "\x00\x80\x02" + End + bobRec,
         "Bob",
         {anna, bob},
         1},
        {"a lone 0x01 does not end the gap",
         header(2) + annaRec + QByteArray("\x01\x05", 2) + End + bobRec,
         "",
         {anna, bob},
         0},
        {"the byte after a 0x01 is no 0x01 of its own",
         header(2) + annaRec + QByteArray("\x01\x01\x80", 3) + End + bobRec,
         "",
         {anna, bob},
         0},
        {"equal names: the last wins",
         header(3) + annaRec + End + bobRec + End + record(9, "Anna", "Other"),
         "Anna",
         {anna, bob, anna2},
         2},
        {"no last user name: the first", header(2) + annaRec + End + bobRec, "", {anna, bob}, 0},
        {"names are compared exactly", header(2) + annaRec + End + bobRec, "bob", {anna, bob}, 0},
        {"the file ends inside a record",
         header(2) + annaRec + End + bobRec.left(8),
         "Bob",
         {anna},
         0},
        {"the gap never ends", header(2) + annaRec + "\x01\x7F\x00", "", {anna}, 0},
        {"more users said than there are", header(3) + annaRec + End + bobRec, "", {anna, bob}, 0},
        {"names keep 31 characters",
         header(1) + record(1, longName, "F"),
         "",
         {{1, QString(31, QLatin1Char('n')), s("F")}},
         0},
        {"names are Windows-1252",
         header(1) + record(1, "J\xF6rg", "F\x80"),
         "J\xC3\xB6rg",
         {{1, s("J\xC3\xB6rg"), s("F\xE2\x82\xAC")}},
         0},
    };
    for (const UsersDatCase &c : cases) {
        const UsersDat::UserList expected{c.users, c.lastIndex};
        EXPECT_EQ(UsersDat::read(c.bytes, s(c.lastUser)), expected) << c.what;
    }
}

struct Fixture
{
    MemoryFileSystem files;
    ScriptedMessages messages;
    FakeSyncSoftware *desktop = new FakeSyncSoftware;
    FakeSyncSoftware *other = new FakeSyncSoftware;
    std::unique_ptr<TUserData> data;

    Fixture()
    {
        desktop->path = s("/palm");
        desktop->lastUser = s("Bob");
        other->users = std::vector<SyncUser>{{4711, s("Judd"), s("ours")}};
        files.files[s("/palm/users.dat")] =
            header(2) + record(3, "Anna", "AnnaB") + End + record(7, "Bob", "BobF");
        std::vector<std::unique_ptr<SyncSoftware>> software;
        software.emplace_back(desktop);
        software.emplace_back(other);
        data = std::make_unique<TUserData>(std::move(software), files);
    }
};

TEST(TUserData, usersOfEverySoftwareFollowOneAnother)
{
    Fixture f;
    bool report = true;
    f.data->Create(f.messages, report);
    EXPECT_TRUE(f.messages.shown.empty());
    ASSERT_EQ(f.data->UserCount(), 3);
    EXPECT_EQ(f.data->LastUserIndex(), 1);
    EXPECT_EQ(f.data->DesktopPath(), s("/palm"));
    const QStringList seen = {
        f.data->UserName(0),     f.data->UserFolder(1), QString::number(f.data->UserId(2)),
        f.data->BackupFolder(1), f.data->UserName(3),   f.data->UserName(-1)};
    EXPECT_EQ(seen, QStringList({s("Anna"), s("BobF"), s("4711"), s("/palm/BobF/backup"), QString(),
                                 QString()}));
}

TEST(TUserData, softwareThatIsNotThereIsReportedOnlyWhenAsked)
{
    for (const bool report : {true, false}) {
        Fixture f;
        f.desktop->installed = false;
        f.other->installed = false;
        f.messages.answers = {MessageButton::DontShowAgain};
        bool reportMissing = report;
        f.data->Create(f.messages, reportMissing);
        EXPECT_EQ(f.messages.shown.size(), report ? 1u : 0u);
        EXPECT_FALSE(reportMissing);
        EXPECT_EQ(f.data->UserCount(), 0);
    }
}

} // namespace
