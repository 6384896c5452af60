#include "rules/shell/statusbarcontent.h"

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
