#pragma once

#include <QtGlobal>

#include <array>

/**
 * Three sort keys, first to third: 0 is "None", k sorts field k ascending and
 * -k field k descending.
 */
struct SortSettings
{
    std::array<qint8, 3> keys = {0, 0, 0};

    bool operator==(const SortSettings &) const = default;
};
