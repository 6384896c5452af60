#include "widgets/mainwindow/printbindings.h"

#include "core/platform/filedialogs.h"
#include "widgets/mainwindow/tmainform.h"
#include "widgets/platform/tableprinter.h"

#include <QFile>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>

namespace {

/// Prints on @p printer with the busy cursor, and a progress dialog that can
/// stop a long job.
void printPages(TMainForm &form, QPrinter &printer)
{
    const Database &db = form.database();
    printer.setDocName(db.name());
    QProgressDialog progress(QStringLiteral("Printing %1...").arg(db.name()),
                             QStringLiteral("Cancel"), 0, db.recordCount(), &form);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(500);
    form.feedback().setBusy(true);
    const int pages =
        TablePrinter::print(printer, db, form.programFont(), [&progress, &printer](int lastRow) {
            progress.setValue(lastRow);
            if (!progress.wasCanceled())
                return true;
            printer.abort();
            return false;
        });
    form.feedback().setBusy(false);
    // A cancelled PDF file is not left half written.
    if (pages < 0 && printer.outputFormat() == QPrinter::PdfFormat &&
        !printer.outputFileName().isEmpty())
        QFile::remove(printer.outputFileName());
}

void print(TMainForm &form)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, &form);
    if (dialog.exec() != QDialog::Accepted)
        return;
    printPages(form, printer);
}

void preview(TMainForm &form)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewDialog dialog(&printer, &form);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &form,
                     [&form](QPrinter *p) { printPages(form, *p); });
    dialog.resize(form.size());
    dialog.exec();
}

void exportPdf(TMainForm &form)
{
    FileDialogRequest request;
    request.title = QStringLiteral("Export as PDF");
    request.filter = QStringLiteral("PDF document (*.pdf)|*.pdf|All Files (*.*)|*.*");
    request.defaultExtension = QStringLiteral("pdf");
    request.initialFolder = form.initialDirectory();
    request.proposedName = form.database().name() + QStringLiteral(".pdf");
    request.refuseReadOnly = true;
    const QString path = form.fileDialogs().getSaveFileName(request);
    if (path.isEmpty())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printPages(form, printer);
}

} // namespace

void PrintBindings::bind(TMainForm &form)
{
    form.bindCommand(Command::Print, [&form] { print(form); });
    form.bindCommand(Command::PrintPreview, [&form] { preview(form); });
    form.bindCommand(Command::ExportPdf, [&form] { exportPdf(form); });
}
