#include "widgets/platform/tableprinter.h"

#include "core/platform/textmeasurer.h"
#include "interchange/print/pagepainter.h"

TablePrinter::Fonts TablePrinter::fonts(const QFont &programFont)
{
    const PagePainter::Fonts f = PagePainter::fonts(programFont);
    return {f.title, f.cell};
}

std::unique_ptr<TextMeasurer> TablePrinter::cellMeasurer(const QFont &programFont)
{
    return PagePainter::cellMeasurer(programFont);
}

int TablePrinter::print(QPagedPaintDevice &device, const Database &db, const QFont &programFont,
                        const std::function<bool(int lastRow)> &progress)
{
    return PagePainter::print(device, db, programFont, progress);
}
