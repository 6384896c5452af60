#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/files/savedatabasefile.h"
#include "core/platform/qt/localfilesystem.h"
#include "documentaccess.h"
#include "fixedclock.h"
#include "pdbbuilder.h"
#include "readfile.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString &path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

} // namespace

TEST(LocalFileSystem, savesOnTheRealDisk)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Real.pdb"));
    PdbBuilder b = PdbBuilder::withFields(1);
    b.records = {{"first"}};
    const QByteArray previous = b.build();
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(previous);
    }
    ASSERT_TRUE(
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    // Through a link in another folder.
    QDir(dir.path()).mkdir(QStringLiteral("links"));
    const QString link = dir.filePath(QStringLiteral("links/Link.pdb"));
    ASSERT_TRUE(QFile::link(path, link));

    Document doc;
    Database &db = DocumentAccess::database(doc);
    ASSERT_TRUE(readFile(previous, db).ok);
    db.setFilePath(link);
    db.grid().setCell(1, 1, QStringLiteral("second"));
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    CipherState cipher;
    LocalFileSystem files;
    ASSERT_TRUE(SaveDatabaseFile(doc, SaveTarget::ownName(),
                                 {messages, files, shell, shell, clock, cipher}));

    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(contents(dir.filePath(QStringLiteral("Real.pd_"))), previous);
    Database back;
    ASSERT_TRUE(readFile(contents(path), back).ok);
    EXPECT_EQ(back.grid().cell(1, 1), QStringLiteral("second"));
    // The saved file keeps the permissions of the one it replaced (0640).
    const QFile::Permissions kept = QFile::permissions(path);
    EXPECT_TRUE(kept & QFile::ReadGroup);
    EXPECT_FALSE(kept & QFile::WriteGroup);
    EXPECT_FALSE(kept & QFile::ReadOther);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    // A copy to a new file gets the permissions new files get.
    const mode_t mask = ::umask(022);
    const QString copy = dir.filePath(QStringLiteral("Copy.pdb"));
    ASSERT_TRUE(SaveDatabaseFile(doc, SaveTarget::copyTo(copy),
                                 {messages, files, shell, shell, clock, cipher}));
    ::umask(mask);
    EXPECT_TRUE(QFile::permissions(copy) & QFile::ReadOther);
    EXPECT_EQ(db.filePath(), link);

    // A folder that is not there: the error, and nothing left behind.
    EXPECT_FALSE(SaveDatabaseFile(doc,
                                  SaveTarget::copyTo(dir.filePath(QStringLiteral("none/x.pdb"))),
                                  {messages, files, shell, shell, clock, cipher}));
    EXPECT_EQ(messages.shown.back().caption, QStringLiteral("Save error"));
    EXPECT_TRUE(messages.shown.size() == 1);
}

TEST(LocalFileSystem, aTemporaryFileIsPrivateUntilItTakesTheTargetsPermissionsAndOwner)
{
    QTemporaryDir dir;
    // Only a privileged process may give a file to another owner.
    const uid_t other = ::geteuid() == 0 ? 65534 : ::geteuid();
    const struct
    {
        const char *name;
        int mode; ///< of the target (-1: none), and so of the file once it matches
        uid_t owner;
    } cases[] = {{"Group.pdb", 0640, ::geteuid()}, {"Other.pdb", 0604, other}, {"New.pdb", -1, 0}};
    const mode_t mask = ::umask(022);
    for (const auto &c : cases) {
        const QByteArray target = QFile::encodeName(dir.filePath(QString::fromLatin1(c.name)));
        if (c.mode >= 0) {
            QFile(QString::fromLocal8Bit(target)).open(QIODevice::WriteOnly);
            ASSERT_EQ(::chmod(target, mode_t(c.mode)) | ::chown(target, c.owner, gid_t(-1)), 0);
        }
        LocalFileSystem files;
        QString temporary;
        std::unique_ptr<QIODevice> file = files.createTemporary(dir.path(), &temporary);
        ASSERT_TRUE(file);
        struct stat created = {}, matched = {};
        ::stat(QFile::encodeName(temporary), &created);
        ASSERT_TRUE(files.matchPermissions(*file, QString::fromLocal8Bit(target)));
        ::stat(QFile::encodeName(temporary), &matched);
        const auto result =
            std::tuple(created.st_mode & 0777, QFileInfo(temporary).fileName().size(),
                       matched.st_mode & 0777, matched.st_uid);
        EXPECT_EQ(result, std::tuple(0600u, 15, c.mode >= 0 ? unsigned(c.mode) : 0644u,
                                     c.mode >= 0 ? c.owner : ::geteuid()))
            << c.name;
        files.remove(temporary);
    }
    ::umask(mask);
}

TEST(LocalFileSystemDeathTest, anInterruptionRemovesTheFileBeingWrittenAndNothingElse)
{
    for (const int signal : {SIGINT, SIGTERM}) {
        for (const bool renamed : {false, true}) {
            QTemporaryDir dir;
            const QString target = dir.filePath(QStringLiteral("Done.pdb"));
            EXPECT_EXIT(
                {
                    LocalFileSystem files;
                    QString temporary;
                    std::unique_ptr<QIODevice> file = files.createTemporary(dir.path(), &temporary);
                    file->write("half");
                    file->close();
                    if (renamed)
                        files.rename(temporary, target);
                    ::raise(signal);
                },
                ::testing::KilledBySignal(signal), "");
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                      renamed ? QStringList({"Done.pdb"}) : QStringList());
        }
    }
}
