#include "rules/shell/statusbarcontent.h"

#include "core/document/limits.h"

QString StatusBarContent::caption(const Input &input)
{
    if (input.databaseName.isEmpty())
        return programTitle();
    return programTitle() + QStringLiteral(" - ") + input.databaseName;
}

std::array<QString, StatusBarContent::PanelCount> StatusBarContent::panels(const Input &input)
{
    std::array<QString, PanelCount> p;
    p[0] = QStringLiteral("R%1 of %2").arg(input.currentRow).arg(input.records);
    p[1] = QStringLiteral("C%1 of %2").arg(input.currentColumn).arg(input.fields);
    p[2] = input.autoSize ? QStringLiteral("Auto Size") : QString();
    p[3] = input.filterMode == 1   ? QStringLiteral("Filter")
           : input.filterMode == 2 ? QStringLiteral("Adv. Filter")
                                   : QString();
    p[5] = input.changed ? QStringLiteral("Changed") : QString();
    p[6] = input.dateText;
    p[7] = input.filePath;
    return p;
}

std::array<QString, StatusBarContent::PanelCount>
StatusBarContent::widestPanels(const QString &dateText)
{
    Input widest;
    widest.currentRow = widest.records = Limits::MaxRecords;
    widest.currentColumn = widest.fields = Limits::MaxFields;
    widest.autoSize = widest.changed = true;
    widest.filterMode = 2;
    widest.dateText = dateText;
    return panels(widest);
}
