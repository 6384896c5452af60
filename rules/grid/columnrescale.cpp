#include "rules/grid/columnrescale.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/document/recordgrid.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

void SetWidthScale(Document &doc, int zerosPixels)
{
    doc.apply(Edit::view(
        EditStep::ViewOptions{zerosPixels / (56.0 / 3.0), doc.database().autoSizeColumns()}));
}

std::vector<int> fieldColumnWidths(const Database &db)
{
    std::vector<int> widths;
    widths.reserve(size_t(db.fieldCount()));
    for (int column = 1; column <= db.fieldCount(); ++column)
        widths.push_back(db.grid().columnWidth(column));
    return widths;
}

void RescaleColumnWidths(Document &doc, const std::vector<int> &widths, double oldScale,
                         double newScale)
{
    if (oldScale <= 0.0 || newScale <= 0.0)
        return;
    const Database &db = doc.database();
    EditStep::ColumnWidths step;
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const int columns = std::min(db.fieldCount(), int(widths.size()));
    for (int column = 1; column <= columns; ++column) {
        const int before = widths[size_t(column - 1)];
        // A column as wide as the width it was read or created with keeps
        // that width in units, which is what the file holds.
        const int units = db.field(column).readWidth;
        if (units >= 0 && Database::FieldWidthToPixels(units, oldScale) == before) {
            step.widths.emplace_back(column, Database::FieldWidthToPixels(units, newScale));
            continue;
        }
        const double pixels = double(before) * newScale / oldScale;
        step.widths.emplace_back(column, int(std::nearbyint(pixels)));
    }
    std::fesetround(saved);
    doc.apply(Edit::view(std::move(step)));
}
