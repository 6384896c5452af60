#include "clirun.h"
#include "rawrun.h"

#include <QFile>

#include <gtest/gtest.h>

#include <dirent.h>
#include <map>

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
