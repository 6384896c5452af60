#pragma once

#include "core/document/sortsettings.h"

#include <QString>

/// A named set of sort keys.
struct SavedSortList
{
    QString name = QStringLiteral("Unused");
    SortSettings sort;

    bool operator==(const SavedSortList &) const = default;
};
