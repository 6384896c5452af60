#include "cli/textcommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "cli/passwordoptions.h"
#include "cli/sharedoptions.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "core/platform/progress.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "interchange/text/textcommands.h"
#include "interchange/text/textfiletype.h"
#include "table/filter/filterengine.h"

#include <QTextStream>

#include <cstdio>

namespace {

enum class Kind
{
    Import,
    Append,
    Export
};

/// Questions answered OK (or Cancel when strict); everything else as the
/// session answers it.
class Answers : public MessageService
{
public:
    Answers(CliSession &session, bool strict) : mSession(session), mStrict(strict) {}
    MessageButton show(const Message &message) override
    {
        if (message.buttons != (MessageButton::Ok | MessageButton::Cancel))
            return mSession.show(message);
        mSession.printError(message.lines);
        mSession.printError(
            {mStrict ? QStringLiteral("(answered Cancel)") : QStringLiteral("(answered OK)")});
        return mStrict ? MessageButton::Cancel : MessageButton::Ok;
    }

private:
    CliSession &mSession;
    bool mStrict;
};

struct Options
{
    QStringList paths;
    int fileType = TextFileType::Comma;
    TextEncoding encoding = TextEncoding::Auto;
    bool strict = false;
    int filter = FilterEngine::Off;
    bool begins = false;
    bool exclude = false;
};

/// The options of @p line; the fault when one is wrong.
std::optional<QString> parse(CommandLine &line, Options &o)
{
    o.paths = line.positionals();
    for (const QString &path : std::as_const(o.paths)) {
        if (path.isEmpty())
            return QStringLiteral("an empty argument names no file");
    }
    if (const auto separator = line.value(SharedOptions::Separator)) {
        o.fileType = TextFileType::fromName(*separator);
        if (o.fileType == 0)
            return QStringLiteral("no separator: ") + *separator;
    }
    if (const auto encoding = line.value(SharedOptions::Encoding)) {
        if (!TextCodec::fromName(*encoding, &o.encoding))
            return QStringLiteral("no encoding: ") + *encoding;
    }
    o.strict = line.isSet(QStringLiteral("strict"));
    if (const auto mode = line.value(QStringLiteral("filter"))) {
        if (mode == QLatin1String("simple"))
            o.filter = FilterEngine::Simple;
        else if (mode == QLatin1String("advanced"))
            o.filter = FilterEngine::Advanced;
        else
            return QStringLiteral("no filter: ") + *mode;
    }
    o.begins = line.isSet(QStringLiteral("begins"));
    o.exclude = line.isSet(QStringLiteral("exclude"));
    return std::nullopt;
}

int run(Kind kind, CommandLine &line)
{
    Options o;
    if (const std::optional<QString> fault = parse(line, o))
        return line.usageError(*fault);
    PasswordOptions &passwords = line.passwords();

    CliSession session;
    if (!session.usePasswords(passwords))
        return 1;
    Answers answers(session, o.strict);
    LocalFileSystem files;
    NoProgress progress;
    const TextServices services{answers, files, session, progress};

    if (kind == Kind::Import) {
        Document doc;
        Database db;
        if (!TextCommands(doc, services).importFile(o.paths[0], o.fileType, o.encoding, db))
            return 1;
        return session.saveCopy(std::move(db), o.paths[1]) ? 0 : 1;
    }

    Database db;
    if (!session.readDatabase(o.paths[0], db))
        return 1;
    Document doc(std::move(db));
    TextCommands commands(doc, services);
    if (kind == Kind::Append) {
        if (!commands.appendFile(o.paths[1], o.fileType, o.encoding))
            return 1;
        return session.saveCopy(doc, o.paths[2]) ? 0 : 1;
    }

    QtLocaleService locale;
    FilterEngine filter(doc, locale, session);
    filter.setMustBegin(o.begins);
    filter.setInclude(!o.exclude);
    filter.ApplyFilter(o.filter);
    // Writing has no way to tell what a file is; Auto writes the code page.
    const TextEncoding encoding =
        o.encoding == TextEncoding::Auto ? TextEncoding::Cp1252 : o.encoding;
    return commands.exportFile(o.paths[1], o.fileType, encoding) ? 0 : 1;
}

QCommandLineOption strictOption()
{
    return QCommandLineOption(QStringLiteral("strict"),
                              QStringLiteral("answer the questions about the text Cancel: exit "
                                             "with 1 and write nothing (else they are printed "
                                             "and answered OK)"));
}

int runImport(CommandLine &line)
{
    return run(Kind::Import, line);
}

int runAppend(CommandLine &line)
{
    return run(Kind::Append, line);
}

int runExport(CommandLine &line)
{
    return run(Kind::Export, line);
}

} // namespace

namespace TextCommand {

const CommandSyntax &importSyntax()
{
    static const CommandSyntax syntax{
        "import",
        QStringLiteral("IN OUT.pdb [--separator comma|semicolon|tab] [--encoding "
                       "auto|cp1252|utf-8] [--strict]"),
        QStringLiteral("Makes a database of the delimited text file IN (its first line the "
                       "field names) and writes it to OUT.pdb, as the editor's Import does. What "
                       "was not taken as it stands is told on standard error."),
        {QStringLiteral("IN"), QStringLiteral("OUT.pdb")},
        {strictOption()},
        SharedOptions::TextFormat,
        runImport};
    return syntax;
}

const CommandSyntax &appendSyntax()
{
    static const CommandSyntax syntax{
        "append",
        QStringLiteral("DB IN OUT.pdb [--separator ...] [--encoding ...] [--strict] [--password "
                       "PW | --password-file PWFILE]"),
        QStringLiteral("Adds the lines of the delimited text file IN to the records of the "
                       "database DB and writes the result to OUT.pdb, as the editor's Append "
                       "does."),
        {QStringLiteral("DB"), QStringLiteral("IN"), QStringLiteral("OUT.pdb")},
        {strictOption()},
        SharedOptions::TextFormat | SharedOptions::Passwords,
        runAppend};
    return syntax;
}

const CommandSyntax &exportSyntax()
{
    static const CommandSyntax syntax{
        "export",
        QStringLiteral("DB OUT [--separator ...] [--encoding ...] [--filter simple|advanced] "
                       "[--begins] [--exclude] [--password PW | --password-file PWFILE]"),
        QStringLiteral("Writes the field names and the records of the database DB (those the "
                       "filter shows) as delimited text to OUT, keeping a file it replaces as "
                       "its backup (.CS_ for comma, .cs_ for semicolon, .TX_ for tab). Before "
                       "Windows-1252 text gets \"?\" for characters it has no byte for, the "
                       "question is printed and answered Yes."),
        {QStringLiteral("DB"), QStringLiteral("OUT")},
        {QCommandLineOption(QStringLiteral("filter"),
                            QStringLiteral("only the records the file's simple filter or its "
                                           "advanced filter (filter list 1) shows"),
                            QStringLiteral("simple|advanced")),
         QCommandLineOption(QStringLiteral("begins"),
                            QStringLiteral("with the simple filter: the field must begin with "
                                           "the text")),
         QCommandLineOption(QStringLiteral("exclude"),
                            QStringLiteral("with the simple filter: the matches are left out"))},
        SharedOptions::TextFormat | SharedOptions::Passwords,
        runExport};
    return syntax;
}

} // namespace TextCommand
