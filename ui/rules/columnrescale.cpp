#include "ui/rules/columnrescale.h"

#include "core/database.h"
#include "core/recordgrid.h"

#include <cfenv>
#include <cmath>

void RescaleColumnWidths(Database &db, double oldScale, double newScale)
{
    if (oldScale <= 0.0 || newScale <= 0.0)
        return;
    RecordGrid &grid = db.grid();
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    for (int column = 1; column <= db.fieldCount(); ++column) {
        const double pixels = double(grid.columnWidth(column)) * newScale / oldScale;
        grid.setColumnWidth(column, int(std::nearbyint(pixels)));
    }
    std::fesetround(saved);
}
