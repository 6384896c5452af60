#pragma once

class Document;

/**
 * The grid's own changes to its layout, in one place: a column's width
 * dragged by the user or limited by the grid, a field or a record dragged
 * to a new place. Each applies one edit to the document, whose signals
 * bring the grid's headers along. Columns and rows are grid positions.
 */
namespace LayoutEdit {

/// Column @p column dragged to @p pixels wide: a Change named "column
/// width". The widths one drag passes through are one undo step, until
/// Document::endMerge() (the mouse button comes up); a drag that ends where
/// it began leaves none.
void resizeColumn(Document &doc, int column, int pixels);

/// Narrows column @p column to @p limit pixels when it is wider, as a View
/// edit (the file is not changed by it); whether it was narrowed.
bool limitColumnWidth(Document &doc, int column, int limit);

/// Field @p from dragged before the field at @p to: a Change named "move
/// field"; calculations, sorts and filters follow the field.
void moveField(Document &doc, int from, int to);

/// Record @p from dragged to place @p to: a Change named "move record".
void moveRecord(Document &doc, int from, int to);

} // namespace LayoutEdit
