#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/progress.h"
#include "interchange/text/textcommands.h"
#include "memoryfilesystem.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"

#include <gtest/gtest.h>

namespace {

/// Field names Name, Note; records Anna / "Ωmega", hidden Ж / x, Bob / plain.
Database greek()
{
    Database db;
    db.grid().resize(3, 4);
    db.grid().showAllRows();
    const char *texts[4][2] = {
        {"Name", "Note"}, {"Anna", "\u03a9mega"}, {"\u0416", "x"}, {"Bob", "plain"}};
    for (int r = 0; r < 4; ++r) {
        for (int k = 0; k < 2; ++k)
            db.grid().setCell(k + 1, r, QString::fromUtf8(texts[r][k]));
    }
    db.grid().setRowHeight(2, 0); // record 2 hidden: not exported, not counted
    return db;
}

} // namespace

// The export dialog offers each file type in UTF-8 too, written with its
// byte-order mark and remembered as the choice for next time. In
// Windows-1252, texts it has no byte for are exported as "?" only after a
// question that counts the cells; No writes nothing.
TEST(ExportEncoding, utf8TypesKeepEveryCharacterAndWindows1252AsksFirst)
{
    struct Case
    {
        const char *name;
        int chosen; ///< the file type picked in the dialog
        MessageButton answer;
        QByteArray written; ///< nothing: no file
        const char *asked;  ///< the question's first line, up to its ";"
    };
    const Case cases[] = {
        {"comma, UTF-8", 4, MessageButton::None,
         "\xef\xbb\xbf\"Name\",\"Note\"\r\n\"Anna\",\"\xce\xa9mega\"\r\n\"Bob\",\"plain\"\r\n", ""},
        {"tab, UTF-8", 6, MessageButton::None,
         "\xef\xbb\xbfName\tNote\r\nAnna\t\xce\xa9mega\r\nBob\tplain\r\n", ""},
        {"semicolon, Windows-1252, agreed", 2, MessageButton::Yes,
         "\"Name\";\"Note\"\r\n\"Anna\";\"?mega\"\r\n\"Bob\";\"plain\"\r\n",
         "1 cell holds characters that Windows-1252 has no byte for"},
        {"comma, Windows-1252, refused",
         1,
         MessageButton::No,
         {},
         "1 cell holds characters that Windows-1252 has no byte for"},
    };
    QStringList results;
    QStringList expected;
    for (const Case &c : cases) {
        MemoryFileSystem fs;
        fs.folders.insert(QStringLiteral("/data"));
        ScriptedMessages messages;
        if (c.answer != MessageButton::None)
            messages.answers = {c.answer};
        ScriptedShell shell;
        shell.chosenFilter = c.chosen;
        shell.fileAnswers = {QStringLiteral("/data/out.txt")};
        NoProgress progress;
        Document doc(greek());
        TextCommands commands(doc, {messages, fs, shell, progress});
        commands.Export(shell);
        const QString asked =
            messages.shown.empty()
                ? QString()
                : messages.shown.front().lines.value(0).section(QLatin1Char(';'), 0, 0) +
                      QLatin1Char('|') + messages.shown.front().lines.value(1);
        results << QStringLiteral("%1: remembers %2, wrote %3, asked \"%4\"")
                       .arg(QString::fromLatin1(c.name))
                       .arg(commands.exportFileType())
                       .arg(QString::fromUtf8(
                           fs.files.value(QStringLiteral("/data/out.txt"), "nothing")
                               .toPercentEncoding()))
                       .arg(asked);
        expected << QStringLiteral("%1: remembers %2, wrote %3, asked \"%4\"")
                        .arg(QString::fromLatin1(c.name))
                        .arg(c.chosen)
                        .arg(QString::fromUtf8(
                            (c.written.isEmpty() ? QByteArray("nothing") : c.written)
                                .toPercentEncoding()))
                        .arg(*c.asked ? QString::fromUtf8(c.asked) +
                                            QStringLiteral("|The first is in record 0001, field "
                                                           "\"Note\".")
                                      : QString());
    }
    EXPECT_EQ(results.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
}
