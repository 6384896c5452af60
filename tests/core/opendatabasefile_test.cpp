#include "core/crypto/cipherstate.h"
#include "core/document/document.h"
#include "core/files/opendatabasefile.h"
#include "memoryfilesystem.h"
#include "pdbbuilder.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"
#include "scriptedshell.h"

#include <gtest/gtest.h>

namespace {

class OpenCommand : public ::testing::Test
{
protected:
    OpenCommand()
    {
        PdbBuilder b = PdbBuilder::withFields(3);
        b.name = "Books";
        b.records = {{"a", "b", "c"}, {"d", "e", "f"}, {"g", "h", "i"}};
        files.files[QStringLiteral("/home/u/books.pdb")] = b.build();
    }

    bool open(const QString &path)
    {
        return OpenDatabaseFile(doc, path,
                                {messages, passwords, files, shell, shell, shell, cipher});
    }

    Document doc;
    const Database &db = doc.database();
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    MemoryFileSystem files;
    ScriptedShell shell;
    CipherState cipher;
};

} // namespace

TEST_F(OpenCommand, opensAFileInItsOrder)
{
    ASSERT_TRUE(open(QStringLiteral("/home/u/books.pdb")));
    // The view position of a file without one still makes record 1 current.
    EXPECT_EQ(shell.log, QStringList({"confirm", "dir path /home/u", "busy", "idle", "setup closed",
                                      "setup open", "focus", "current 1", "show 1,1"}));
    EXPECT_EQ(db.name(), QStringLiteral("Books"));
}

TEST_F(OpenCommand, keepingUnsavedChangesStopsEverything)
{
    shell.discard = false;
    EXPECT_FALSE(open(QStringLiteral("/home/u/books.pdb")));
    EXPECT_EQ(shell.log, QStringList({"confirm"}));
}

TEST_F(OpenCommand, anEmptyPathAsksWithTheOpenDialog)
{
    shell.initialDir = QStringLiteral("/home/u/palm");
    shell.fileAnswers = {QStringLiteral("/home/u/books.pdb")};
    ASSERT_TRUE(open(QString()));
    ASSERT_EQ(shell.requests.size(), 1u);
    const FileDialogRequest &r = shell.requests[0];
    EXPECT_EQ(r.title, QStringLiteral("Open Listora database"));
    EXPECT_EQ(r.filter, QStringLiteral("Listora database (*.pdb)|*.pdb|All Files (*.*)|*.*"));
    EXPECT_EQ(r.defaultExtension, QStringLiteral("pdb"));
    EXPECT_EQ(r.initialFolder, QStringLiteral("/home/u/palm"));
    EXPECT_EQ(shell.log.mid(0, 7),
              QStringList({"confirm", "open dialog", "clear initial dir", "dir path /home/u",
                           "busy", "idle", "recent /home/u/books.pdb"}));
}

TEST_F(OpenCommand, cancelledDialogOpensNothing)
{
    EXPECT_FALSE(open(QString()));
    EXPECT_EQ(shell.log, QStringList({"confirm", "open dialog"}));
}

TEST_F(OpenCommand, aFileThatCannotBeOpenedLeavesThePreviousDatabase)
{
    ASSERT_TRUE(open(QStringLiteral("/home/u/books.pdb")));
    shell.log.clear();
    EXPECT_FALSE(open(QStringLiteral("/home/u/missing.pdb")));
    EXPECT_EQ(shell.log, QStringList({"confirm"}));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Error);
    EXPECT_EQ(messages.shown[0].text(),
              QStringLiteral("There was an error opening the file. This may caused by an invalid "
                             "filename or path, or the file may be in use by another "
                             "application."));
    EXPECT_EQ(db.name(), QStringLiteral("Books"));
}

TEST_F(OpenCommand, aFailedReadKeepsTheOpenDatabaseAndTheRecentFiles)
{
    ASSERT_TRUE(open(QStringLiteral("/home/u/books.pdb")));
    shell.log.clear();
    files.files[QStringLiteral("/x/bad.pdb")] = QByteArray(100, 'x');
    shell.fileAnswers = {QStringLiteral("/x/bad.pdb")};
    EXPECT_FALSE(open(QString()));
    EXPECT_EQ(shell.log, QStringList({"confirm", "open dialog", "clear initial dir", "dir path /x",
                                      "busy", "idle"}));
    EXPECT_EQ(db.name(), QStringLiteral("Books"));
    EXPECT_EQ(db.recordCount(), 3);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Error"));
    EXPECT_EQ(messages.shown[0].text(), QStringLiteral("Sorry, this is not a Listora database."));
}

TEST_F(OpenCommand, aCancelledPasswordEndsSilently)
{
    PdbBuilder b = PdbBuilder::withFields(1);
    b.flags = 0x0002;
    b.password = "sesame!";
    files.files[QStringLiteral("/x/secret.pdb")] = b.build();
    ASSERT_TRUE(open(QStringLiteral("/home/u/books.pdb")));
    EXPECT_FALSE(open(QStringLiteral("/x/secret.pdb")));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(shell.log.last(), QStringLiteral("idle"));
    EXPECT_EQ(db.name(), QStringLiteral("Books"));
}

TEST_F(OpenCommand, filterAndViewPositionFollowTheFile)
{
    PdbBuilder b = PdbBuilder::withFields(4);
    b.flags = 0x0081;
    b.records = std::vector<std::vector<QByteArray>>(5, std::vector<QByteArray>(4));
    b.extension = PdbBuilder::strings({PdbBuilder::key("pooos", 1), "1", "2", "3", "1", ""});
    files.files[QStringLiteral("/x/view.pdb")] = b.build();
    ASSERT_TRUE(open(QStringLiteral("/x/view.pdb")));
    EXPECT_EQ(shell.log.mid(7), QStringList({"filter", "current 3", "show 2,4"}));
}

TEST_F(OpenCommand, aViewPositionOutsideTheTableIsIgnored)
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.records = {{"a", "b"}};
    b.extension = PdbBuilder::strings({PdbBuilder::key("pooos", 1), "1", "5", "9", "7", ""});
    files.files[QStringLiteral("/x/view.pdb")] = b.build();
    ASSERT_TRUE(open(QStringLiteral("/x/view.pdb")));
    EXPECT_EQ(shell.log.last(), QStringLiteral("focus"));
    EXPECT_FALSE(shell.log.contains(QStringLiteral("current 6")));
}
