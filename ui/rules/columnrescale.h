#pragma once

class Database;

/// After a change of the program font: every field column's pixel width
/// times @p newScale / @p oldScale, rounded to the nearest pixel (halves to
/// the even one). The stored widths follow from the pixels only when the
/// file is saved, so the database is not marked changed. A scale of 0 or
/// less changes nothing.
void RescaleColumnWidths(Database &db, double oldScale, double newScale);
