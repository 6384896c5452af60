#pragma once

#include <QString>

/// The simple filter: a field (0 = all fields, k = field k) and a text.
struct FilterSettings
{
    qint8 field = 0;
    QString text;

    bool operator==(const FilterSettings &) const = default;
};
