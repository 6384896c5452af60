// Printing the largest database to a PDF file, against its floor measured
// in the same run: the page layout alone (every text measured and fitted,
// nothing drawn).

#include "core/document/database.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/platform/textmeasurer.h"
#include "interchange/print/pagepainter.h"
#include "interchange/print/printlayout.h"
#include "largefiles.h"
#include "readfile.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

const Database &largest()
{
    static Database db;
    if (db.recordCount() == 0) {
        QFile f(LargeFiles::instance().plainPath);
        f.open(QIODevice::ReadOnly);
        readFile(f.readAll(), db);
        for (int c = 1; c <= db.fieldCount(); ++c)
            db.grid().setColumnWidth(c, db.FieldWidthToPixels(db.field(c).readWidth));
    }
    return db;
}

const QFont &programFont()
{
    static const QFont font(QStringLiteral("DejaVu Sans"), 8);
    return font;
}

void BM_LayOutLargest(benchmark::State &state)
{
    const Database &db = largest();
    const std::unique_ptr<TextMeasurer> measure = PagePainter::cellMeasurer(programFont());
    // A4 less the printer's margins, as the PDF output has them.
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QRectF area = printer.pageLayout().paintRect(QPageLayout::Millimeter);
    size_t pages = 0;
    for (auto _ : state)
        pages = PrintLayout(db, *measure)
                    .pages({int(area.width()) * 10, int(area.height()) * 10})
                    .size();
    state.counters["pages"] = double(pages);
}

void BM_PrintLargestToPdf(benchmark::State &state)
{
    const Database &db = largest();
    QTemporaryDir dir;
    int pages = 0;
    for (auto _ : state) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFileName(dir.filePath(QStringLiteral("largest.pdf")));
        pages = PagePainter::print(printer, db, programFont());
    }
    if (pages <= 0)
        state.SkipWithError("nothing was printed");
    state.counters["pages"] = pages;
    state.counters["MB"] = double(QFile(dir.filePath(QStringLiteral("largest.pdf"))).size()) / 1e6;
}

} // namespace

BENCHMARK(BM_LayOutLargest)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_PrintLargestToPdf)->Unit(benchmark::kMillisecond)->Iterations(1);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
