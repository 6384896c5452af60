#include "cli/printcommand.h"

#include "cli/clisession.h"
#include "cli/commandline.h"
#include "cli/sharedoptions.h"
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

/// The editor's program font until the user picks another.
QFont defaultProgramFont()
{
    return QFont(QStringLiteral("MS Sans Serif"), 8);
}

} // namespace

const CommandSyntax &PrintCommand::syntax()
{
    static const CommandSyntax syntax{
        Name,
        QStringLiteral("DB OUT.pdf [--page-size a4|letter] [--password PW | --password-file "
                       "PWFILE]"),
        QStringLiteral("Writes the pages the editor prints, laid out as its Export as PDF lays "
                       "them out in its default program font, as the PDF file OUT.pdf, and "
                       "prints the number of pages. It needs no display. A failure leaves no "
                       "half-written file."),
        {QStringLiteral("DB"), QStringLiteral("OUT.pdf")},
        {QCommandLineOption(QStringLiteral("page-size"),
                            QStringLiteral("the paper: a4 (the default) or letter"),
                            QStringLiteral("a4|letter"))},
        SharedOptions::Passwords,
        run};
    return syntax;
}

int PrintCommand::run(CommandLine &line)
{
    const QString database = line.positionals()[0];
    const QString pdfPath = line.positionals()[1];
    if (database.isEmpty() || pdfPath.isEmpty())
        return line.usageError(QStringLiteral("DB and OUT.pdf must name files"));
    QPageSize::PageSizeId pageSize = QPageSize::A4;
    const QString size = line.value(QStringLiteral("page-size")).value_or(QStringLiteral("a4"));
    if (size == QLatin1String("letter"))
        pageSize = QPageSize::Letter;
    else if (size != QLatin1String("a4"))
        return line.usageError(QStringLiteral("no page size: ") + size);

    CliSession session;
    if (!session.usePasswords(line.passwords()))
        return 1;
    Database db;
    if (!session.readDatabase(database, db))
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
        writer.setPageSize(QPageSize(pageSize));
        pages = PagePainter::print(writer, db, font);
    }
    if (pages < 0) {
        session.printError({pdfPath + QStringLiteral(": the pages could not be painted")});
        return 1;
    }
    LocalFileSystem files;
    QString reason;
    if (!ReplaceFile(files, pdfPath, QString(), pdf.buffer(), reason)) {
        session.printError({pdfPath + QStringLiteral(": ") + reason});
        return 1;
    }
    QTextStream(stdout) << pages << Qt::endl;
    return 0;
}
