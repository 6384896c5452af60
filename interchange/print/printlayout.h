#pragma once

#include <QString>

#include <functional>
#include <vector>

class Database;
class TextMeasurer;

/// One text on a printed page, its top-left corner in tenths of a
/// millimetre from the top-left corner of the printable area.
struct PrintText
{
    enum class Font
    {
        Title, ///< bold, 6 mm high
        Cell,  ///< the program font, 2.5 times its screen height
    };

    int x = 0;
    int y = 0;
    QString text;
    Font font = Font::Cell;

    bool operator==(const PrintText &) const = default;
};

/// One printed page: its place among the bands and its texts in the order
/// they are written.
struct PrintPage
{
    int rowBand = 1;    ///< counted from 1
    int columnBand = 1; ///< counted from 1
    int lastRow = 0;    ///< the last grid row this page's band went through
    std::vector<PrintText> texts;

    /// "Page " row band "." column band: "Page 1.2".
    QString label() const;
    bool operator==(const PrintPage &) const = default;
};

/// The printable area, in tenths of a millimetre.
struct PageArea
{
    int width = 0;  ///< the printable width
    int height = 0; ///< the printable height
};

/**
 * The printed table: on every page a title line with the database name and
 * the page label, a header line with the field names and one line per
 * visible record. A table wider than the paper is cut into column bands,
 * one page each; a longer one into row bands. Pages come out row band by
 * row band, each column band of a row band printing the same records.
 *
 * Positions are tenths of a millimetre downwards from the top of the
 * printable area: left margin 200, title at y 50 with the page label at
 * x 1500, the header 100 below it, then a line every 50. A page is full
 * 100 above the bottom of the printable area. Column 0 (the record numbers)
 * is as wide as "0000_" in the cell font; a field column is 0.29 mm per
 * pixel of its width in the grid. Texts wider than their column less 2 mm
 * are shortened to end in ".."; line breaks within a cell print as spaces.
 * Texts are measured by the measurer in the cell font, in tenths of a
 * millimetre.
 */
class PrintLayout
{
public:
    static constexpr int LeftMargin = 200;
    static constexpr int LabelX = 1500;
    static constexpr int TitleY = 50;
    static constexpr int HeaderGap = 100;
    static constexpr int LinePitch = 50;
    static constexpr int BottomMargin = 100;
    static constexpr int FitMargin = 20;
    /// The title font's height (cell height, not character height).
    static constexpr int TitleHeight = 60;

    PrintLayout(const Database &db, const TextMeasurer &cellFont);

    /// The print width of column @p column; 0 for the record numbers.
    int ColumnPrintWidth(int column) const;

    /// Lays the pages out one by one, handing each to @p page, which
    /// returns false to stop. Nothing is printed for a database without
    /// fields.
    void layOut(const PageArea &area, const std::function<bool(PrintPage &&)> &page) const;
    /// Every page.
    std::vector<PrintPage> pages(const PageArea &area) const;

    /**
     * @p text as it fits @p width: a text no wider than @p width - 20, or any
     * text when @p width is 0, stays whole; another gets ".." and loses the
     * characters before it, then the first characters, until it fits.
     */
    static QString fitText(const QString &text, int width, const TextMeasurer &measurer);

    /// The cell font's height from the program font's (negative: character
    /// height), times 2.5 and rounded, halves to even: -11 gives -28.
    static int cellFontHeight(int programFontHeight);

private:
    const Database &mDb;
    const TextMeasurer &mMeasurer;
};
