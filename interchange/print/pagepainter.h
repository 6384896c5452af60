#pragma once

#include <QFont>

#include <functional>
#include <memory>

class Database;
class QPagedPaintDevice;
class TextMeasurer;

/**
 * Paints the table's pages as PrintLayout lays them out, on a printer or a
 * PDF writer: one logical unit is a tenth of a millimetre, the origin the
 * top-left corner of the printable area, and a text's top-left corner
 * stands at its position, without clipping. The editor's Print, Print
 * preview and Export as PDF and the command line's print all paint here.
 *
 * The cell texts of a line go to the device as one run of glyphs, each
 * character's glyph at the advance the layout measured it by, so that what
 * is printed is exactly what was fitted; a text with a character the font
 * has no glyph of, or one without a byte in the code page, is drawn on its
 * own through the font's fallbacks.
 */
namespace PagePainter {

/// The fonts of the pages, in tenths of a millimetre.
struct Fonts
{
    QFont title; ///< the program font's face and style, bold, 6 mm high
    QFont cell;  ///< the program font, 2.5 times its height on the screen
};
Fonts fonts(const QFont &programFont);

/// Measures texts in the cell font, in tenths of a millimetre.
std::unique_ptr<TextMeasurer> cellMeasurer(const QFont &programFont);

/**
 * Prints @p db on @p device, which must not be painted on yet. @p progress
 * is told the last record row of every page printed and returns false to
 * stop. Returns the number of pages printed; -1 when stopped or when the
 * device could not be painted on.
 */
int print(QPagedPaintDevice &device, const Database &db, const QFont &programFont,
          const std::function<bool(int lastRow)> &progress = {});

} // namespace PagePainter
