#pragma once

#include <vector>

class Database;
class Document;

/// The width scale of a program font whose text "0000" is @p zerosPixels
/// wide: 3/56 of it pixels per stored width unit. It goes to the database as
/// a View edit (auto-sizing's flag stays as it is), which marks nothing
/// changed and is not undone.
void SetWidthScale(Document &doc, int zerosPixels);

/// Every field column's pixel width, columns 1..f.
std::vector<int> fieldColumnWidths(const Database &db);

/// After a change of the program font: field column c gets @p widths[c - 1]
/// (its width before the change) times @p newScale / @p oldScale, rounded to
/// the nearest pixel (halves to the even one); a column the user has not
/// resized keeps its width in units instead. The stored widths follow from
/// the pixels only when the file is saved, so the database is not marked
/// changed. A scale of 0 or less changes nothing.
void RescaleColumnWidths(Document &doc, const std::vector<int> &widths, double oldScale,
                         double newScale);
