#include "rules/grid/layoutedit.h"

#include "core/document/document.h"

namespace LayoutEdit {

void resizeColumn(Document &doc, int column, int pixels)
{
    EditStep::ColumnWidths widths;
    widths.widths.emplace_back(column, pixels);
    Edit edit = Edit::change(QStringLiteral("column width"), std::move(widths));
    edit.mergeKey = column;
    doc.apply(std::move(edit));
}

bool limitColumnWidth(Document &doc, int column, int limit)
{
    if (doc.database().grid().columnWidth(column) <= limit)
        return false;
    EditStep::ColumnWidths narrowed;
    narrowed.widths.emplace_back(column, limit);
    doc.apply(Edit::view(std::move(narrowed)));
    return true;
}

void moveField(Document &doc, int from, int to)
{
    doc.apply(Edit::change(QStringLiteral("move field"), EditStep::MoveField{from, to}));
}

void moveRecord(Document &doc, int from, int to)
{
    doc.apply(Edit::change(QStringLiteral("move record"), EditStep::MoveRecord{from, to}));
}

} // namespace LayoutEdit
