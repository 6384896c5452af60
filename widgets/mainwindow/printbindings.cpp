#include "widgets/mainwindow/printbindings.h"

#include "core/document/document.h"
#include "core/files/databaseshell.h"
#include "core/platform/filedialogs.h"
#include "core/platform/userfeedback.h"
#include "interchange/print/pagepainter.h"
#include "rules/shell/engineservices.h"
#include "widgets/mainwindow/commandhost.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

namespace {

/// What the commands work through, and the window their dialogs show over.
struct Context
{
    const EngineServices &s;
    QWidget &window;
    CommandHost &host;
};

/// Prints on @p printer with the busy cursor, and a progress dialog that can
/// stop a long job.
void printPages(const Context &x, QPrinter &printer)
{
    const Database &db = x.s.document.database();
    printer.setDocName(db.name());
    QProgressDialog progress(QStringLiteral("Printing %1...").arg(db.name()),
                             QStringLiteral("Cancel"), 0, db.recordCount(), &x.window);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    x.s.feedback.setBusy(true);
    const int pages =
        PagePainter::print(printer, db, x.host.programFont(), [&progress, &printer](int lastRow) {
            progress.setValue(lastRow);
            if (!progress.wasCanceled())
                return true;
            printer.abort();
            return false;
        });
    x.s.feedback.setBusy(false);
    // A cancelled PDF file is not left half written.
    if (pages < 0 && printer.outputFormat() == QPrinter::PdfFormat &&
        !printer.outputFileName().isEmpty())
        QFile::remove(printer.outputFileName());
}

void print(const Context &x)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &x.window);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printPages(x, printer);
}

void preview(const Context &x)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, &x.window);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &x.window,
                     [&x](QPrinter *p) { printPages(x, *p); });
    dialog.resize(x.window.size());
    dialog.exec();
}

void exportPdf(const Context &x)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Export as PDF");
    request.filter = QStringLiteral("PDF document (*.pdf)|*.pdf|All Files (*.*)|*.*");
    request.defaultExtension = QStringLiteral("pdf");
    request.initialFolder = x.s.shell.initialDirectory();
    request.proposedName = x.s.document.database().name() + QStringLiteral(".pdf");
    request.refuseReadOnly = true;
    const QString path = x.s.fileDialogs.getSaveFileName(request);
    if (path.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printPages(x, printer);
}

} // namespace

void PrintBindings::bind(const EngineServices &services, QWidget &window, CommandHost &host)
{
    const Context x{services, window, host};
    host.bindCommand(Command::Print, [x] { print(x); });
    host.bindCommand(Command::PrintPreview, [x] { preview(x); });
    host.bindCommand(Command::ExportPdf, [x] { exportPdf(x); });
}
