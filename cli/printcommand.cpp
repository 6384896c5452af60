#include "cli/printcommand.h"

#include "cli/clisession.h"
#include "cli/passwordoptions.h"
#include "core/document/database.h"
#include "core/files/savedatabasefile.h"
#include "core/platform/qt/localfilesystem.h"
#include "interchange/print/pagepainter.h"

#include <QBuffer>
#include <QFontMetrics>
#include <QPageSize>
#include <QPdfWriter>
#include <QTextStream>

#include <cstdio>

namespace {

int usage()
{
    QTextStream(stderr) << "usage: quillgrid-cli print DB OUT.pdf [--page-size a4|letter] "
                           "[--password PW | --password-file PWFILE]"
                        << Qt::endl;
    return 2;
}

struct Options
{
    QString database;
    QString pdf;
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    PasswordOptions passwords{false};
};

/// The options of @p arguments; nothing on a usage error.
std::optional<Options> parse(const QStringList &arguments)
{
    Options options;
    QStringList paths;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const PasswordOptions::Taken taken = options.passwords.take(arguments, i);
        if (taken == PasswordOptions::Taken::Bad)
            return std::nullopt;
        if (taken == PasswordOptions::Taken::Yes)
            continue;
        if (arg == QLatin1String("--page-size") && i + 1 < arguments.size()) {
            const QString size = arguments[++i];
            if (size == QLatin1String("a4"))
                options.pageSize = QPageSize::A4;
            else if (size == QLatin1String("letter"))
                options.pageSize = QPageSize::Letter;
            else
                return std::nullopt;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return std::nullopt;
        } else {
            paths << arg;
        }
    }
    if (paths.size() != 2 || paths[0].isEmpty() || paths[1].isEmpty())
        return std::nullopt;
    options.database = paths[0];
    options.pdf = paths[1];
    return options;
}

/// The editor's program font until the user picks another.
QFont defaultProgramFont()
{
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

} // namespace

int PrintCommand::run(const QStringList &arguments)
{
    std::optional<Options> options = parse(arguments);
    if (!options)
        return usage();

    CliSession session;
    if (!session.usePasswords(options->passwords))
        return 1;
    Database db;
    if (!session.readDatabase(options->database, db))
        return 1;
    // Columns as wide as the editor shows them in its program font: a
    // field's width unit is the width of "0000" over 56/3 pixels.
    const QFont font = defaultProgramFont();
    db.setWidthScale(QFontMetrics(font).horizontalAdvance(QStringLiteral("0000")) / (56.0 / 3.0));
    for (int c = 1; c <= db.fieldCount(); ++c)
        db.grid().setColumnWidth(c, db.FieldWidthToPixels(db.field(c).readWidth));

    // The file is made in memory and then saved as a database is, so that
    // a failure leaves no half-written file and a file it replaces whole.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    int pages = 0;
    {
        QPdfWriter writer(&pdf);
        writer.setCreator(QStringLiteral("quillgrid-cli"));
        writer.setTitle(db.name());
        // As the printer's PDF output of the editor: 1200 dots an inch, the
        // paper's edges less 10 points.
        writer.setResolution(1200);
        writer.setPageSize(QPageSize(options->pageSize));
        pages = PagePainter::print(writer, db, font);
    }
    if (pages < 0) {
        session.printError({options->pdf + QStringLiteral(": the pages could not be painted")});
        return 1;
    }
    LocalFileSystem files;
    QString reason;
    if (!ReplaceFile(files, options->pdf, QString(), pdf.buffer(), reason)) {
        session.printError({options->pdf + QStringLiteral(": ") + reason});
        return 1;
    }
    QTextStream(stdout) << pages << Qt::endl;
    return 0;
}
