#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/files/savedatabasefile.h"
#include "documentaccess.h"
#include "fixedclock.h"
#include "memoryfilesystem.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"

#include <gtest/gtest.h>

namespace {

const QString kPath = QStringLiteral("/palm/Addresses.pdb");
const QString kBackup = QStringLiteral("/palm/Addresses.pd_");
const QString kSaveError = QStringLiteral("There was an error in saving the file. This may be "
                                          "caused by an invalid filename or a full or write "
                                          "protected disk.");

class Save : public ::testing::Test
{
protected:
    Save()
    {
        PdbBuilder b = PdbBuilder::withFields(2);
        b.name = "Addresses";
        b.records = {{"Ann", "Paris"}, {"Bob", "Rome"}};
        previous = b.build();
        files.addFile(kPath, previous, 0640);
        EXPECT_TRUE(readFile(previous, db).ok);
        db.setFilePath(kPath);
        db.grid().setCell(2, 2, QStringLiteral("Oslo"));
        db.setChanged(true);
    }

    bool save(const SaveTarget &target = SaveTarget::ownName())
    {
        return SaveDatabaseFile(doc, target, {messages, files, shell, shell, clock, cipher});
    }

    /// No file but the database and its backup is left behind.
    void expectNoTemporaryFiles()
    {
        for (auto it = files.files.cbegin(); it != files.files.cend(); ++it)
            EXPECT_FALSE(it.key().endsWith(QStringLiteral(".tmp"))) << it.key().toStdString();
    }

    QString savedCity(const QString &path)
    {
        Database back;
        EXPECT_TRUE(readFile(files.files.value(path), back).ok);
        return back.grid().cell(2, 2);
    }

    Document doc;
    Database &db = DocumentAccess::database(doc);
    QByteArray previous;
    MemoryFileSystem files;
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    CipherState cipher;
};

} // namespace

TEST_F(Save, ownNameKeepsThePreviousFileAsBackup)
{
    const QDateTime oldDate = db.date();
    ASSERT_TRUE(save());
    EXPECT_EQ(savedCity(kPath), QStringLiteral("Oslo"));
    EXPECT_EQ(files.files.value(kBackup), previous);
    EXPECT_EQ(files.permissions.value(kPath), 0640);
    EXPECT_FALSE(db.isChanged());
    EXPECT_EQ(db.date(), clock.time);
    EXPECT_NE(db.date(), oldDate);
    EXPECT_TRUE(messages.shown.empty());
    expectNoTemporaryFiles();
    EXPECT_EQ(files.files.size(), 2);

    // Saving twice in a row leaves the first save's file as the backup.
    const QByteArray first = files.files.value(kPath);
    db.grid().setCell(2, 2, QStringLiteral("Lima"));
    ASSERT_TRUE(save());
    EXPECT_EQ(files.files.value(kBackup), first);
    EXPECT_EQ(savedCity(kPath), QStringLiteral("Lima"));
}

TEST_F(Save, theNewFileIsCompleteBeforeTheOldOneMoves)
{
    ASSERT_TRUE(save());
    const QStringList &log = files.log;
    ASSERT_EQ(log.size(), 4);
    EXPECT_EQ(log[0], QStringLiteral("create /palm"));
    EXPECT_EQ(log[1], QStringLiteral("flush"));
    EXPECT_EQ(log[2], QStringLiteral("rename /palm/Addresses.pdb -> /palm/Addresses.pd_"));
    EXPECT_TRUE(log[3].startsWith(QStringLiteral("rename /palm/.Addresses.pdb.")));
    EXPECT_TRUE(log[3].endsWith(QStringLiteral(".tmp -> /palm/Addresses.pdb")));
}

TEST_F(Save, aFailureAtAnyStepLeavesThePreviousFile)
{
    // Count the writes, flushes and renames of a good save, then fail each.
    {
        MemoryFileSystem probe;
        probe.addFile(kPath, previous);
        Document copy;
        readFile(previous, DocumentAccess::database(copy));
        DocumentAccess::database(copy).setFilePath(kPath);
        SaveDatabaseFile(copy, SaveTarget::ownName(),
                         {messages, probe, shell, shell, clock, cipher});
        ASSERT_GE(probe.writes(), 1);
        ASSERT_EQ(probe.flushes(), 1);
        ASSERT_EQ(probe.renames(), 2);
        messages.shown.clear();
    }
    struct Failure
    {
        int write, flush, rename;
        qint64 space;
    };
    const Failure failures[] = {{1, 0, 0, -1}, {0, 1, 0, -1},  {0, 0, 1, -1},
                                {0, 0, 2, -1}, {0, 0, 0, 100}, {0, 0, 0, 0}};
    for (const Failure &failure : failures) {
        MemoryFileSystem fs;
        fs.addFile(kPath, previous);
        fs.addFile(kBackup, "old backup");
        fs.failWriteNumber = failure.write;
        fs.failFlushNumber = failure.flush;
        fs.failRenameNumber = failure.rename;
        fs.freeSpace = failure.space;
        messages.shown.clear();
        EXPECT_FALSE(SaveDatabaseFile(doc, SaveTarget::ownName(),
                                      {messages, fs, shell, shell, clock, cipher}));
        EXPECT_EQ(fs.files.value(kPath), previous) << fs.log.join(QLatin1Char('\n')).toStdString();
        for (auto it = fs.files.cbegin(); it != fs.files.cend(); ++it)
            EXPECT_FALSE(it.key().endsWith(QStringLiteral(".tmp")));
        EXPECT_TRUE(db.isChanged());
        ASSERT_EQ(messages.shown.size(), 1u);
        EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Save error"));
        EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
        EXPECT_EQ(messages.shown[0].text(), kSaveError);
    }
}

TEST_F(Save, aReadOnlyFolderChangesNothing)
{
    files.readOnlyFolders.insert(QStringLiteral("/palm"));
    EXPECT_FALSE(save());
    EXPECT_EQ(files.files.value(kPath), previous);
    EXPECT_EQ(files.files.size(), 1);
    EXPECT_TRUE(db.isChanged());
    EXPECT_EQ(messages.shown.at(0).text(), kSaveError);
}

TEST_F(Save, saveAsAsksForTheNameAndTakesItOnlyOnceWritten)
{
    shell.fileAnswers = {QStringLiteral("/palm/Copy.txt")};
    ASSERT_TRUE(save(SaveTarget::ask()));
    ASSERT_EQ(shell.requests.size(), 1u);
    const FileDialogRequest &r = shell.requests[0];
    EXPECT_EQ(r.title, QStringLiteral("Save Listora database"));
    EXPECT_EQ(r.filter, QStringLiteral("Listora database (*.pdb)|*.pdb"));
    EXPECT_EQ(r.defaultExtension, QStringLiteral("pdb"));
    EXPECT_EQ(r.initialFolder, QStringLiteral("/palm"));
    EXPECT_EQ(r.proposedName, QStringLiteral("Addresses"));
    EXPECT_EQ(db.filePath(), QStringLiteral("/palm/Copy.pdb"));
    EXPECT_EQ(savedCity(QStringLiteral("/palm/Copy.pdb")), QStringLiteral("Oslo"));
    EXPECT_FALSE(db.isChanged());
    EXPECT_EQ(files.files.value(kPath), previous);

    // A failed Save as keeps the path, the date and the changed flag.
    db.setChanged(true);
    const QDateTime date = db.date();
    clock.time = clock.time.addDays(1);
    shell.fileAnswers = {QStringLiteral("/nowhere/Other.pdb")};
    EXPECT_FALSE(save(SaveTarget::ask()));
    EXPECT_EQ(db.filePath(), QStringLiteral("/palm/Copy.pdb"));
    EXPECT_EQ(db.date(), date);
    EXPECT_TRUE(db.isChanged());
}

TEST_F(Save, cancelledSaveAsWritesNothing)
{
    EXPECT_FALSE(save(SaveTarget::ask()));
    EXPECT_EQ(files.files.size(), 1);
    EXPECT_TRUE(files.log.isEmpty());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Save, aCopyLeavesPathFlagAndTargetBackupAlone)
{
    files.folders.insert(QStringLiteral("/sync/user/Install"));
    files.addFile(QStringLiteral("/sync/user/Install/Addresses.pdb"), "older copy");
    ASSERT_TRUE(save(SaveTarget::copyTo(QStringLiteral("/sync/user/Install/Addresses.pdb"))));
    EXPECT_EQ(savedCity(QStringLiteral("/sync/user/Install/Addresses.pdb")),
              QStringLiteral("Oslo"));
    EXPECT_FALSE(files.files.contains(QStringLiteral("/sync/user/Install/Addresses.pd_")));
    EXPECT_EQ(db.filePath(), kPath);
    EXPECT_TRUE(db.isChanged());
    EXPECT_EQ(files.files.value(kPath), previous);
}

TEST_F(Save, aLinkIsSavedThroughToItsFile)
{
    files.folders.insert(QStringLiteral("/home"));
    files.links[QStringLiteral("/home/link.pdb")] = kPath;
    db.setFilePath(QStringLiteral("/home/link.pdb"));
    ASSERT_TRUE(save());
    EXPECT_EQ(files.links.value(QStringLiteral("/home/link.pdb")), kPath);
    EXPECT_EQ(savedCity(kPath), QStringLiteral("Oslo"));
    EXPECT_EQ(files.files.value(kBackup), previous);
    EXPECT_EQ(db.filePath(), QStringLiteral("/home/link.pdb"));
}

TEST_F(Save, charactersWithoutAByteAreSavedOnlyIfTheUserAgrees)
{
    db.grid().setCell(1, 2, QString::fromUtf8("Ωmega"));
    messages.answers = {MessageButton::No};
    EXPECT_FALSE(save());
    EXPECT_EQ(files.files.value(kPath), previous);
    ASSERT_EQ(messages.shown.size(), 1u);
    const Message &m = messages.shown[0];
    EXPECT_EQ(m.caption, QStringLiteral("Warning"));
    EXPECT_EQ(m.buttons, MessageButton::Yes | MessageButton::No);
    EXPECT_TRUE(m.lines[0].startsWith(QStringLiteral("1 character")));
    EXPECT_EQ(m.lines[1], QStringLiteral("The first is in record 0002, field \"F1\"."));

    messages.answers = {MessageButton::Yes};
    ASSERT_TRUE(save());
    Database back;
    ASSERT_TRUE(readFile(files.files.value(kPath), back).ok);
    EXPECT_EQ(back.grid().cell(1, 2), QStringLiteral("?mega"));
}

TEST_F(Save, aFlagWithoutPasswordIsNeverWritten)
{
    db.setFlags(0x0002);
    EXPECT_FALSE(save());
    EXPECT_EQ(files.files.value(kPath), previous);
    EXPECT_TRUE(files.log.isEmpty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Save error"));
    EXPECT_TRUE(db.isChanged());
}

TEST(ChangeFileExtension, replacesTheLastExtension)
{
    EXPECT_EQ(ChangeFileExtension(QStringLiteral("/a/Addresses.pdb"), QStringLiteral(".pd_")),
              QStringLiteral("/a/Addresses.pd_"));
    EXPECT_EQ(ChangeFileExtension(QStringLiteral("/a.b/x.y.txt"), QStringLiteral(".pdb")),
              QStringLiteral("/a.b/x.y.pdb"));
    EXPECT_EQ(ChangeFileExtension(QStringLiteral("/a.b/plain"), QStringLiteral(".pdb")),
              QStringLiteral("/a.b/plain.pdb"));
}
