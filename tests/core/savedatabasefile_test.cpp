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
        edit(db);
    }

    /// The previous file, read and edited.
    void edit(Database &d)
    {
        EXPECT_TRUE(readFile(previous, d).ok);
        d.setFilePath(kPath);
        d.grid().setCell(2, 2, QStringLiteral("Oslo"));
        d.setChanged(true);
    }

    bool save(const SaveTarget &target = SaveTarget::ownName())
    {
        return SaveDatabaseFile(doc, target, {messages, files, shell, shell, clock, cipher});
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
    EXPECT_EQ(files.temporaries(), QStringList());
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
    EXPECT_EQ(files.log,
              QStringList({"create /palm", "write", "permissions", "flush",
                           "rename /palm/Addresses.pdb -> /palm/Addresses.pd_",
                           "rename /palm/.qg1.tmp -> /palm/Addresses.pdb", "flush folder /palm"}));
}

TEST_F(Save, aFailureOfAnyCallLeavesCompleteVersionsAndNoTemporaryFile)
{
    const QByteArray older = PdbBuilder::withFields(1).build();
    files.addFile(kBackup, older);
    MemoryFileSystem good = files;
    Document twin;
    edit(DocumentAccess::database(twin));
    ASSERT_TRUE(SaveDatabaseFile(twin, SaveTarget::ownName(),
                                 {messages, good, shell, shell, clock, cipher}));
    const QByteArray saved = good.files.value(kPath);

    struct State
    {
        QByteArray target, backup;
        QStringList temporaries;
        bool changed;
        qsizetype lines;
        bool operator==(const State &) const = default;
    };
    QStringList failedCalls;
    int succeededAt = 0;
    for (int n = 1; !succeededAt && n <= good.calls() + 1; ++n) {
        MemoryFileSystem fs = files;
        fs.failCall = n;
        messages.shown.clear();
        const bool ok = SaveDatabaseFile(doc, SaveTarget::ownName(),
                                         {messages, fs, shell, shell, clock, cipher});
        if (ok) {
            succeededAt = n;
            continue;
        }
        // Only a failed folder flush comes after the names stand.
        const bool named = fs.failed.startsWith(QStringLiteral("flush folder"));
        const State expected{named ? saved : previous, named ? previous : older, {}, true, 2};
        const State actual{fs.files.value(kPath), fs.files.value(kBackup), fs.temporaries(),
                           db.isChanged(),
                           messages.shown.empty() ? 0 : messages.shown[0].lines.size()};
        EXPECT_TRUE(actual == expected) << fs.failed.toStdString();
        failedCalls << fs.failed.left(fs.failed.indexOf(QLatin1Char('/'))).trimmed();
    }
    EXPECT_EQ(succeededAt, good.calls() + 1);
    failedCalls.removeDuplicates();
    EXPECT_EQ(failedCalls,
              QStringList({"create", "write", "permissions", "flush", "rename", "flush folder"}));
}

TEST_F(Save, eachFailureSaysWhyAndARefusalTouchesNothing)
{
    const QString pipe = QStringLiteral("/palm/pipe.pdb");
    struct Case
    {
        const char *name;
        std::function<void(MemoryFileSystem &)> arrange;
        SaveTarget target;
        QString line;
        bool touched;
    };
    const Case cases[] = {
        {"missing folder", [](MemoryFileSystem &) {},
         SaveTarget::copyTo(QStringLiteral("/nowhere/x.pdb")),
         QStringLiteral("/nowhere/x.pdb: No such file or directory"), true},
        {"read-only folder",
         [](MemoryFileSystem &fs) { fs.readOnlyFolders.insert(QStringLiteral("/palm")); },
         SaveTarget::ownName(), kPath + QStringLiteral(": Permission denied"), true},
        {"full disk", [](MemoryFileSystem &fs) { fs.freeSpace = 100; }, SaveTarget::ownName(),
         kPath + QStringLiteral(": No space left on device"), true},
        {"FIFO", [&](MemoryFileSystem &fs) { fs.others.insert(pipe); }, SaveTarget::copyTo(pipe),
         pipe + QStringLiteral(": Not a regular file"), false},
        {"write-protected own file", [](MemoryFileSystem &fs) { fs.permissions[kPath] = 0440; },
         SaveTarget::ownName(), kPath + QStringLiteral(": Read-only file"), false},
    };
    for (const Case &c : cases) {
        MemoryFileSystem fs = files;
        c.arrange(fs);
        const auto before = fs.files;
        messages.shown.clear();
        const bool saved =
            SaveDatabaseFile(doc, c.target, {messages, fs, shell, shell, clock, cipher});
        QStringList shown;
        for (const Message &m : messages.shown)
            shown << m.caption << m.lines;
        EXPECT_EQ(std::tuple(saved, shown, fs.files == before, fs.log.isEmpty(), db.isChanged()),
                  std::tuple(false, QStringList({"Save error", kSaveError, c.line}), true,
                             !c.touched, true))
            << c.name;
    }
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
    EXPECT_TRUE(r.refuseReadOnly);
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

// After a save that could not keep every text, the document holds what the
// file holds (read back by the reader), also after undo and redo; a copy
// leaves the document as it was.
TEST_F(Save, afterASaveTheDocumentHoldsWhatTheFileHolds)
{
    const QString omega = QString::fromUtf8("Ωmega");
    struct Case
    {
        const char *name;
        bool typed; ///< the texts come by an undoable edit, not with the file
        SaveTarget target;
        QString text;  ///< put into record 2, field 1
        QString shown; ///< what the document holds after the save
    };
    const Case cases[] = {
        {"typed, then saved with \"?\"", true, SaveTarget::ownName(), omega,
         QStringLiteral("?mega")},
        {"read so, then saved with \"?\"", false, SaveTarget::ownName(), omega,
         QStringLiteral("?mega")},
        {"a text cut at the handheld's length", true, SaveTarget::ownName(),
         QString(4010, QLatin1Char('a')), QString(4000, QLatin1Char('a'))},
        {"a copy changes nothing", true, SaveTarget::copyTo(QStringLiteral("/palm/Copy.pdb")),
         omega, omega},
    };
    QStringList results;
    QStringList expected;
    for (const Case &c : cases) {
        Document d;
        Database &data = DocumentAccess::database(d);
        edit(data);
        if (c.typed)
            d.apply(Edit::change(QStringLiteral("typing"), EditStep::Cells{{{1, 2, c.text}}}));
        else
            data.grid().setCell(1, 2, c.text);
        messages.answers = {MessageButton::Yes};
        MemoryFileSystem fs = files;
        fs.addFile(QStringLiteral("/palm/Copy.pdb"), previous);
        ASSERT_TRUE(SaveDatabaseFile(d, c.target, {messages, fs, shell, shell, clock, cipher}));
        Database back;
        readFile(fs.files.value(kPath), back);
        const bool same = back.grid().cell(1, 2) == d.database().grid().cell(1, 2);
        QString afterUndoRedo = QStringLiteral("no undo");
        if (d.canUndo()) {
            d.undo();
            d.redo();
            afterUndoRedo = QStringLiteral("%1 changed %2")
                                .arg(d.database().grid().cell(1, 2) == c.shown)
                                .arg(d.database().isChanged());
        }
        results << QStringLiteral("%1: shows it %2, as the file %3, %4")
                       .arg(QString::fromLatin1(c.name))
                       .arg(d.database().grid().cell(1, 2) == c.shown)
                       .arg(same)
                       .arg(afterUndoRedo);
        const bool copy = c.target.kind() == SaveTarget::Kind::CopyTo;
        expected << QStringLiteral("%1: shows it 1, as the file %2, %3")
                        .arg(QString::fromLatin1(c.name))
                        .arg(!copy)
                        .arg(!c.typed ? QStringLiteral("no undo")
                                      : QStringLiteral("1 changed %1").arg(copy));
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
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
