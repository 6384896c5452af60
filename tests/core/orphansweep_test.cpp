#include "core/platform/qt/localfilesystem.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

/// A child process that starts a save into @p folder (its hidden file made
/// and half written) and waits there to be killed; its hidden file's name.
pid_t startSave(const QString &folder, QString *temporary)
{
    int ready[2];
    if (::pipe(ready) != 0)
        return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ready[0]);
        LocalFileSystem files;
        QString path;
        std::unique_ptr<QIODevice> file = files.createTemporary(folder, &path);
        if (file)
            file->write(QByteArray(1 << 20, 'x'));
        const QByteArray name = QFile::encodeName(QFileInfo(path).fileName()) + '\n';
        if (::write(ready[1], name.constData(), size_t(name.size())) != name.size())
            ::_exit(1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char name[64] = {};
    const ssize_t n = ::read(ready[0], name, sizeof name - 1);
    ::close(ready[0]);
    *temporary = QString::fromLatin1(name, n > 0 ? n - 1 : 0);
    return pid;
}

} // namespace

// A save killed with SIGKILL cannot remove its hidden file; the next save
// into the folder does. A live save's file is locked and stays; names that
// are not ours, and what is no regular file, are left alone.
TEST(OrphanSweep, theNextSaveRemovesWhatKilledSavesLeftAndNothingElse)
{
    QTemporaryDir dir;
    const QString folder = dir.path();
    const auto make = [&](const char *name) {
        QFile f(dir.filePath(QString::fromLatin1(name)));
        f.open(QIODevice::WriteOnly);
        f.write("x");
    };
    make(".qg0badf00d.tmp");  // an orphan of an earlier run
    make(".qg0BADF00D.tmp");  // not our name: ours are in lower case
    make(".qgnothex0.tmp");   // not our name
    make(".qg0badf00d.tmp~"); // not our name
    make("Data.pdb");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral(".qg00000001.tmp"))), 0600),
              0);
    ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("Data.pdb")),
                            dir.filePath(QStringLiteral(".qg00000002.tmp"))));

    QString live;
    const pid_t pid = startSave(folder, &live);
    ASSERT_GT(pid, 0);
    QString killed;
    const pid_t other = startSave(folder, &killed);
    ASSERT_GT(other, 0);
    ::kill(other, SIGKILL);
    ::waitpid(other, nullptr, 0);

    // A save now, while the first child is still saving.
    LocalFileSystem files;
    QString own;
    std::unique_ptr<QIODevice> file = files.createTemporary(folder, &own);
    ASSERT_TRUE(file);
    QStringList whileLive = namesIn(folder);
    whileLive.removeOne(QFileInfo(own).fileName());
    files.remove(own);
    file.reset();

    // Then once the first child is killed too.
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    file = files.createTemporary(folder, &own);
    ASSERT_TRUE(file);
    QStringList afterKill = namesIn(folder);
    afterKill.removeOne(QFileInfo(own).fileName());
    files.remove(own);

    QStringList kept = {".qg00000001.tmp",  ".qg00000002.tmp", ".qg0BADF00D.tmp",
                        ".qg0badf00d.tmp~", ".qgnothex0.tmp",  "Data.pdb"};
    QStringList keptWithLive = kept;
    keptWithLive << live;
    keptWithLive.sort();
    EXPECT_EQ(std::tuple(whileLive, afterKill), std::tuple(keptWithLive, kept));
}
