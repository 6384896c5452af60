#include "cli/textcommand.h"

#include "cli/clisession.h"
#include "cli/passwordoptions.h"
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

int usage(Kind kind)
{
    QTextStream err(stderr);
    const char *options = " [--separator comma|semicolon|tab] [--encoding auto|cp1252|utf-8]";
    switch (kind) {
    case Kind::Import:
        err << "usage: quillgrid-cli import IN OUT.pdb" << options << " [--strict]";
        break;
    case Kind::Append:
        err << "usage: quillgrid-cli append DB IN OUT.pdb" << options
            << " [--strict] [--password PW | --password-file PWFILE]";
        break;
    case Kind::Export:
        err << "usage: quillgrid-cli export DB OUT" << options
            << " [--filter simple|advanced] [--begins] [--exclude]"
               " [--password PW | --password-file PWFILE]";
        break;
    }
    err << Qt::endl;
    return 2;
}

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

bool parse(Kind kind, const QStringList &arguments, Options &o, PasswordOptions &passwords)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (kind != Kind::Import) {
            const PasswordOptions::Taken taken = passwords.take(arguments, i);
            if (taken == PasswordOptions::Taken::Bad)
                return false;
            if (taken == PasswordOptions::Taken::Yes)
                continue;
        }
        if (arg == QLatin1String("--separator") && hasValue) {
            o.fileType = TextFileType::fromName(arguments[++i]);
            if (o.fileType == 0)
                return false;
        } else if (arg == QLatin1String("--encoding") && hasValue) {
            if (!TextCodec::fromName(arguments[++i], &o.encoding))
                return false;
        } else if (arg == QLatin1String("--strict") && kind != Kind::Export) {
            o.strict = true;
        } else if (arg == QLatin1String("--filter") && hasValue && kind == Kind::Export) {
            const QString mode = arguments[++i];
            if (mode == QLatin1String("simple"))
                o.filter = FilterEngine::Simple;
            else if (mode == QLatin1String("advanced"))
                o.filter = FilterEngine::Advanced;
            else
                return false;
        } else if (arg == QLatin1String("--begins") && kind == Kind::Export) {
            o.begins = true;
        } else if (arg == QLatin1String("--exclude") && kind == Kind::Export) {
            o.exclude = true;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return false;
        } else {
            o.paths << arg;
        }
    }
    const qsizetype wanted = kind == Kind::Append ? 3 : 2;
    if (o.paths.size() != wanted)
        return false;
    for (const QString &path : std::as_const(o.paths)) {
        if (path.isEmpty())
            return false;
    }
    return true;
}

int run(Kind kind, const QStringList &arguments)
{
    Options o;
    PasswordOptions passwords(false);
    if (!parse(kind, arguments, o, passwords))
        return usage(kind);

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

} // namespace

namespace TextCommand {

int runImport(const QStringList &arguments)
{
    return run(Kind::Import, arguments);
}

int runAppend(const QStringList &arguments)
{
    return run(Kind::Append, arguments);
}

int runExport(const QStringList &arguments)
{
    return run(Kind::Export, arguments);
}

} // namespace TextCommand
