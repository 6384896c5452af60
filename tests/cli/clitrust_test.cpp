#include "clirun.h"
#include "rawrun.h"
#include "tmpfsmount.h"

#include <QFile>

#include <gtest/gtest.h>

#include <csignal>
#include <dirent.h>
#include <map>
#include <sys/stat.h>
#include <thread>

namespace {

/// Every name in @p folder, as its bytes, with what the file holds.
std::map<QByteArray, QByteArray> snapshot(const QByteArray &folder)
{
    std::map<QByteArray, QByteArray> files;
    DIR *d = ::opendir(folder.constData());
    while (dirent *e = d ? ::readdir(d) : nullptr) {
        const QByteArray name(e->d_name);
        if (name == "." || name == "..")
            continue;
        QFile f(QFile::decodeName(folder + '/' + name));
        files[name] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
    }
    if (d)
        ::closedir(d);
    return files;
}

} // namespace

// A name that is no UTF-8 would decode to U+FFFD, which names another file:
// the tool refuses it before any file is read or written. A name that is
// valid UTF-8 reaches the disk as given.
TEST_F(Cli, namesThatAreNoUtf8AreRefused)
{
    write("base.pdb", sample().build());
    const QByteArray other = "\xef\xbf\xbd\xef\xbf\xbd.pdb"; // two U+FFFD
    write(other.constData(), "an unrelated file");
    const QByteArray folder = QFile::encodeName(dir.path());
    const QByteArray cli = QG_CLI_PATH;
    struct Case
    {
        QByteArrayList arguments;
        int exitCode;
        QByteArray written; ///< the name a run adds to the folder, if any
    };
    const Case cases[] = {
        {{"copy", "base.pdb", "\xfe\xfe.pdb"}, 2, {}},
        {{"dump", "\xfe\xfe.pdb"}, 2, {}},
        {{"copy", "\xfe\xfe.pdb", "copy.pdb"}, 2, {}},
        {{"export", "base.pdb", "caf\xe9.csv"}, 2, {}},
        {{"copy", "base.pdb", "caf\xc3\xa9.pdb"}, 0, "caf\xc3\xa9.pdb"},
    };
    const std::map<QByteArray, QByteArray> before = snapshot(folder);
    QStringList results;
    QStringList expected;
    for (const Case &c : cases) {
        const RawRun run = runRaw(cli, c.arguments, folder);
        std::map<QByteArray, QByteArray> after = snapshot(folder);
        const bool wrote = !c.written.isEmpty() && after.count(c.written) == 1;
        if (wrote) {
            QFile::remove(QFile::decodeName(folder + '/' + c.written));
            after.erase(c.written);
        }
        const QString what = QString::fromUtf8(c.arguments.join(' ').toPercentEncoding(" ."));
        results << QStringLiteral("%1: exit %2, wrote %3, stderr names the bytes %4, otherwise "
                                  "as before %5")
                       .arg(what)
                       .arg(run.exitCode)
                       .arg(wrote)
                       .arg(run.exitCode == 0 || run.err.contains("\\x"))
                       .arg(after == before);
        expected << QStringLiteral("%1: exit %2, wrote %3, stderr names the bytes 1, "
                                   "otherwise as before 1")
                        .arg(what)
                        .arg(c.exitCode)
                        .arg(!c.written.isEmpty());
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}

namespace {

/// Feeds @p bytes into the FIFO @p path once a reader has opened it (given
/// up after ten seconds), then, with @p endless, the same bytes again until
/// the reader goes; closes it.
std::thread feedFifo(const QByteArray &path, const QByteArray &bytes, bool endless)
{
    return std::thread([path, bytes, endless] {
        int fd = -1;
        for (int i = 0; i < 1000 && fd < 0; ++i) {
            fd = ::open(path.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
            if (fd < 0)
                ::usleep(10000);
        }
        if (fd < 0)
            return;
        ::fcntl(fd, F_SETFL, 0);
        do {
            if (::write(fd, bytes.constData(), size_t(bytes.size())) < 0)
                break;
        } while (endless);
        ::close(fd);
    });
}

} // namespace

// A password file is a file or a pipe, read to its first line end or the
// end of its input and no further than a password can be: a device, a
// folder, an endless line or a pipe that never sends a line end neither
// hang nor grow.
TEST_F(Cli, passwordFilesAreReadWithinBounds)
{
    ::signal(SIGPIPE, SIG_IGN);
    write("base.pdb", sample().build());
    write("plain.txt", "secretpw\r\nsecond line\n");
    write("long.txt", QByteArray(65, 'p') + '\n');
    write("utf8.txt", QByteArray("\xc3\xa9").repeated(64) + '\n'); // 64 characters, 128 bytes
    const QByteArray fifo = QFile::encodeName(dir.filePath(QStringLiteral("pipe")));
    ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
    struct Case
    {
        const char *file;
        QByteArray fed; ///< what a writer feeds the FIFO, for "pipe"
        bool endless;
        const char *said; ///< on standard error; empty when the copy is enciphered
        QString password; ///< the copy's
    };
    const Case cases[] = {
        {"plain.txt", {}, false, "", QStringLiteral("secretpw")},
        {"utf8.txt", {}, false, "", QString(64, QChar(0xe9))},
        {"pipe", "secretpw", false, "", QStringLiteral("secretpw")},
        {"pipe", "pipedpw\nrest", false, "", QStringLiteral("pipedpw")},
        {"/dev/zero", {}, false, "/dev/zero: not a regular file or a pipe", {}},
        {".", {}, false, ".: not a regular file or a pipe", {}},
        {"missing.txt", {}, false, "missing.txt: No such file or directory", {}},
        {"long.txt", {}, false, "long.txt: the password is longer than the 64 characters", {}},
        {"pipe", "x", true, "pipe: the password is longer than the 64 characters", {}},
    };
    QStringList results;
    QStringList expected;
    for (const Case &c : cases) {
        const QString out = dir.filePath(QStringLiteral("out.pdb"));
        QFile::remove(out);
        std::thread writer;
        if (!c.fed.isEmpty())
            writer = feedFifo(fifo, c.fed, c.endless);
        const CliRun run = runCli({QStringLiteral("copy"), QStringLiteral("base.pdb"), out,
                                   QStringLiteral("--encrypt-file"), QString::fromUtf8(c.file)},
                                  dir.path());
        if (writer.joinable())
            writer.join();
        const bool opens =
            !c.password.isEmpty() &&
            runCli({QStringLiteral("dump"), out, QStringLiteral("--password"), c.password})
                    .exitCode == 0;
        const QString said = QString::fromUtf8(c.said);
        results << QStringLiteral("%1: exit %2, says it %3, opens with its password %4")
                       .arg(QString::fromUtf8(c.file))
                       .arg(run.exitCode)
                       .arg(said.isEmpty() ? run.err.isEmpty() : run.err.contains(said))
                       .arg(opens);
        expected << QStringLiteral("%1: exit %2, says it 1, opens with its password %3")
                        .arg(QString::fromUtf8(c.file))
                        .arg(said.isEmpty() ? 0 : 1)
                        .arg(said.isEmpty());
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}

// Replace keeps its count on standard output and says on standard error
// how many replacements it left out, and why.
TEST_F(Cli, replaceSaysWhatItSkipped)
{
    PdbBuilder b = PdbBuilder::withFields(1);
    b.records = {{QByteArray("aaaaa") + QByteArray(3995, 'z')}, {"a"}, {"a a"}};
    const QString in = write("in.pdb", b.build());
    const QString out = dir.filePath(QStringLiteral("out.pdb"));
    const CliRun run =
        runCli({QStringLiteral("replace"), in, out, QStringLiteral("--find"), QStringLiteral("a"),
                QStringLiteral("--with"), QStringLiteral("aa")});
    const QStringList errors = run.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(std::tuple(run.exitCode, run.out, errors.size(),
                         errors.value(0).contains(QStringLiteral("5 replacements were skipped"))),
              std::tuple(0, QByteArray("3\n"), 1, true));
}

// Onto a full disk every command that writes names the file and the
// system's reason, and leaves nothing behind.
TEST_F(Cli, writesOntoAFullDiskSayWhy)
{
    TmpfsMount disk(16 * 1024);
    if (!disk.mounted()) {
        GTEST_SKIP() << disk.why().toStdString();
    }
    const QString big = dir.filePath(QStringLiteral("big.pdb"));
    ASSERT_EQ(runCli({QStringLiteral("new"), big, QStringLiteral("--name"), QStringLiteral("Big"),
                      QStringLiteral("--records"), QStringLiteral("2000"),
                      QStringLiteral("--fields"), QStringLiteral("20")})
                  .exitCode,
              0);
    QByteArray csv = "A,B\r\n";
    for (int i = 0; i < 2000; ++i)
        csv += "some text,more text\r\n";
    const QString text = write("big.csv", csv);
    const QString out = disk.filePath(QStringLiteral("out.pdb"));
    const QStringList commands[] = {
        {QStringLiteral("copy"), big, out},
        {QStringLiteral("import"), text, out},
        {QStringLiteral("new"), out, QStringLiteral("--name"), QStringLiteral("X"),
         QStringLiteral("--records"), QStringLiteral("2000"), QStringLiteral("--fields"),
         QStringLiteral("20")},
        {QStringLiteral("export"), big, out},
    };
    QStringList results;
    QStringList expected;
    for (const QStringList &arguments : commands) {
        const CliRun run = runCli(arguments);
        const QStringList left =
            QDir(disk.folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        results << QStringLiteral("%1: exit %2, says why %3, left %4")
                       .arg(arguments[0])
                       .arg(run.exitCode)
                       .arg(run.err.contains(out + QStringLiteral(": No space left on device")))
                       .arg(left.join(QLatin1Char(' ')));
        expected << QStringLiteral("%1: exit 1, says why 1, left ").arg(arguments[0]);
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}
