#include "clirun.h"
#include "fifofeeder.h"

#include <QRegularExpression>

#include <csignal>

TEST_F(Cli, textWithoutEndIsReadToABound)
{
    std::signal(SIGPIPE, SIG_IGN);
    QByteArray swallowing = "Name,Town\n\"Smith,Oslo\n";
    for (int i = 0; i < 5000; ++i)
        swallowing += "a,b\n";
    const QString base = write("base.pdb", sample().build());
    const QString out = dir.filePath(QStringLiteral("out.pdb"));
    struct Told
    {
        int exitCode;
        bool namesTheLine; ///< standard error names the line expected
        int records;       ///< of the file written; -1 when none is
        bool operator==(const Told &) const = default;
    };
    const struct
    {
        const char *what;
        QStringList arguments; ///< IN stands for the source
        QByteArray fifo;       ///< what a FIFO as the source is fed with for ever
        QString source;        ///< otherwise the source
        QString line;          ///< what standard error names
        Told told;
    } cases[] = {
        {"import of /dev/zero",
         {"import", "IN", out},
         {},
         QStringLiteral("/dev/zero"),
         QStringLiteral("Line 1 of zero"),
         {1, true, -1}},
        {"append of /dev/zero",
         {"append", base, "IN", out},
         {},
         QStringLiteral("/dev/zero"),
         QStringLiteral("Line 1 of zero"),
         {1, true, -1}},
        {"a FIFO fed lines for ever",
         {"import", "IN", out},
         "a,b\n",
         {},
         QStringLiteral("Line 32002 "),
         {0, true, 32000}},
        {"a FIFO fed commas for ever",
         {"import", "IN", out},
         ",",
         {},
         QStringLiteral("Line 1 "),
         {1, true, -1}},
        {"a FIFO fed xy, for ever",
         {"import", "IN", out},
         "xy,",
         {},
         QStringLiteral("Line 1 "),
         {1, true, -1}},
        {"a quote never closed in a file of LF lines",
         {"import", "IN", out},
         {},
         write("quote.csv", swallowing),
         QStringLiteral("Line 2 "),
         {0, true, 5001}},
        {"the same, strict",
         {"import", "IN", out, "--strict"},
         {},
         write("quote.csv", swallowing),
         QStringLiteral("Line 2 "),
         {1, true, -1}},
        {"NUL bytes",
         {"import", "IN", out},
         {},
         write("nul.csv", QByteArray("a,b\r\nc\0d,e\r\n", 12)),
         QStringLiteral("Line 2:"),
         {0, true, 1}},
    };
    for (const auto &c : cases) {
        QFile::remove(out);
        QString source = c.source;
        std::unique_ptr<FifoFeeder> feeder;
        if (!c.fifo.isEmpty()) {
            source = dir.filePath(QStringLiteral("fifo"));
            QFile::remove(source);
            feeder = std::make_unique<FifoFeeder>(source, c.fifo);
        }
        QStringList arguments = c.arguments;
        arguments.replaceInStrings(QRegularExpression(QStringLiteral("^IN$")), source);
        const CliRun run = runCli(arguments);
        feeder.reset();
        int records = -1;
        if (QFile::exists(out)) {
            const CliRun dump = runCli({QStringLiteral("dump"), out});
            records = int(QJsonDocument::fromJson(dump.out).object()["records"].toArray().size());
        }
        const Told told{run.exitCode, run.err.contains(c.line), records};
        EXPECT_EQ(told, c.told) << c.what << ": " << run.err.toStdString();
    }
}
