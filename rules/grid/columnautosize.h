#pragma once

#include "core/document/limits.h"

#include <array>
#include <vector>

class Database;
class Document;
class TextMeasurer;

/**
 * Automatic column sizing. Switched on, it keeps each field column's pixel
 * width and widens or narrows the column to its widest text; switched off,
 * it gives the kept widths back. The on/off state is the database's
 * autoSizeColumns() flag, which the status bar shows; the kept widths live
 * here from switching on until switching off. Widths change through the
 * document, as edits that do not mark the database changed.
 */
class ColumnAutoSize
{
public:
    /// A column sized to its texts is never wider than this.
    static constexpr int MaxPixels = 300;
    /// Room added to the widest text.
    static constexpr int Margin = 5;

    /// Both are used for as long as this object lives.
    ColumnAutoSize(Document &doc, const TextMeasurer &measurer);

    bool isOn() const;

    /// On: keeps every field column's width and sizes it to the widest of
    /// its texts, the field name included, measuring each up to its first
    /// carriage return. Off: while on, gives the kept widths back; while
    /// already off, changes no width. Either way the flag becomes @p on.
    void AutoSizeColumns(bool on);

    /// The width column @p column of @p db's grid needs for its texts.
    static int fittingWidth(const Database &db, const TextMeasurer &measurer, int column);
    /// The fitting width of every field column, 1..f (element 0 unused):
    /// one pass over the records, each measured from its stored bytes
    /// where it keeps them.
    static std::vector<int> fittingWidths(const Database &db, const TextMeasurer &measurer);

private:
    Document &mDoc;
    const TextMeasurer &mMeasurer;
    std::array<int, Limits::MaxFields + 1> mSavedWidths{};
};
