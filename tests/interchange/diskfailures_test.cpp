#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/files/savedatabasefile.h"
#include "core/platform/progress.h"
#include "core/platform/qt/localfilesystem.h"
#include "fixedclock.h"
#include "interchange/text/textcommands.h"
#include "interchange/text/textfiletype.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"
#include "tmpfsmount.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

/// One field and @p records records of 1,000 characters each.
Database sizeable(int records)
{
    Database db;
    db.grid().resize(2, records + 1);
    db.grid().showAllRows();
    db.grid().setCell(1, 0, QStringLiteral("Text"));
    for (int r = 1; r <= records; ++r)
        db.grid().setCell(1, r, QString(1000, QLatin1Char('a' + r % 26)));
    return db;
}

/// Saves or exports a database to real files and keeps what was said.
struct RealDisk
{
    explicit RealDisk(Database &&db) : doc(std::move(db)) {}

    bool save(const QString &path)
    {
        return SaveDatabaseFile(doc, SaveTarget::copyTo(path),
                                {messages, files, shell, shell, clock, cipher});
    }
    bool exportTo(const QString &path)
    {
        return commands.exportFile(path, TextFileType::Comma, TextEncoding::Cp1252);
    }
    /// The last line of the last message: the file and the reason.
    QString said() const
    {
        return messages.shown.empty() ? QString() : messages.shown.back().lines.last();
    }

    Document doc;
    LocalFileSystem files;
    ScriptedMessages messages;
    ScriptedShell shell;
    FixedClock clock;
    CipherState cipher;
    NoProgress progress;
    TextCommands commands{doc, {messages, files, shell, progress}};
};

QStringList namesIn(const QString &folder)
{
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

// A full disk and a read-only file system, for real: each failure names the
// file and the system's reason, and leaves the folder as it was.
TEST(DiskFailures, fullAndReadOnlyFileSystemsSayWhy)
{
    struct Case
    {
        const char *name;
        bool exportText; ///< export rather than save
        bool readOnly;   ///< a read-only file system rather than a full one
        bool existing;   ///< the target is there before
        const char *reason;
    };
    const Case cases[] = {
        {"save, full", false, false, false, "No space left on device"},
        {"export, full", true, false, false, "No space left on device"},
        {"save over a file, full", false, false, true, "No space left on device"},
        {"save, read-only", false, true, false, "Read-only file system"},
        {"save over a file, read-only", false, true, true, "Read-only file system"},
        {"export over a file, read-only", true, true, true, "Read-only file system"},
    };
    QStringList results;
    QStringList expected;
    for (const Case &c : cases) {
        TmpfsMount disk(64 * 1024);
        if (!disk.mounted()) {
            GTEST_SKIP() << disk.why().toStdString();
        }
        const QString target = disk.filePath(QStringLiteral("Target.pdb"));
        if (c.existing) {
            QFile f(target);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("previous");
        }
        if (c.readOnly) {
            ASSERT_TRUE(disk.makeReadOnly());
        }
        const QStringList before = namesIn(disk.folder());
        RealDisk run(sizeable(c.readOnly ? 2 : 200));
        const bool done = c.exportText ? run.exportTo(target) : run.save(target);
        results << QStringLiteral("%1: %2, \"%3\", folder as before %4")
                       .arg(QString::fromLatin1(c.name))
                       .arg(done)
                       .arg(run.said())
                       .arg(namesIn(disk.folder()) == before);
        expected << QStringLiteral("%1: 0, \"%2: %3\", folder as before 1")
                        .arg(QString::fromLatin1(c.name), target, QString::fromLatin1(c.reason));
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}

// What is no regular file is never exported over, and the message says so;
// a symbolic link is written through to the file it names, whose backup
// goes beside it, as a save does.
TEST(DiskFailures, exportRefusesWhatIsNoFileAndWritesThroughALink)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("pipe.csv"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath(QStringLiteral("folder.csv"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.csv")));
    const QString real = dir.filePath(QStringLiteral("real/Data.CSV"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("real")));
    {
        QFile f(real);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("previous");
    }
    const QString link = dir.filePath(QStringLiteral("Link.CSV"));
    ASSERT_TRUE(QFile::link(real, link));

    struct Case
    {
        QString target;
        QString said; ///< the message's last line; empty when exported
    };
    const Case cases[] = {
        {fifo, fifo + QStringLiteral(": Not a regular file")},
        {folder, folder + QStringLiteral(": Is a directory")},
        {QStringLiteral("/dev/null"), QStringLiteral("/dev/null: Not a regular file")},
        {link, QString()},
    };
    QStringList results;
    QStringList expected;
    for (const Case &c : cases) {
        RealDisk run(sizeable(1));
        run.doc.apply(Edit::change(QStringLiteral("typing"),
                                   EditStep::Cells{{{1, 1, QStringLiteral("new")}}}));
        const bool done = run.exportTo(c.target);
        results << QStringLiteral("%1: %2 \"%3\"").arg(c.target).arg(done).arg(run.said());
        expected << QStringLiteral("%1: %2 \"%3\"").arg(c.target).arg(c.said.isEmpty()).arg(c.said);
    }
    const auto contents = [](const QString &path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(none)");
    };
    results << QStringLiteral("link %1, file \"%2\", backup \"%3\", %4")
                   .arg(
                       QFileInfo(link).symLinkTarget(), QString::fromLatin1(contents(real)),
                       QString::fromLatin1(contents(dir.filePath(QStringLiteral("real/Data.CS_")))))
                   .arg(namesIn(dir.path()).join(QLatin1Char(' ')));
    expected << QStringLiteral("link %1, file \"\"Text\"\r\n\"new\"\r\n\", backup \"previous\", "
                               "Link.CSV folder.csv pipe.csv real")
                    .arg(real);
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}
