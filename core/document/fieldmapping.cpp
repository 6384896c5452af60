#include "core/document/fieldmapping.h"

#include <functional>
#include <utility>

namespace {

/// The mapping of @p count positions that sends each through @p newPosition.
std::vector<int> positionsOf(int count, const std::function<int(int)> &newPosition)
{
    std::vector<int> positions;
    for (int p = 1; p <= count; ++p)
        positions.push_back(newPosition(p));
    return positions;
}

} // namespace

FieldMapping::FieldMapping(std::vector<int> newPositions) : mNewPositions(std::move(newPositions))
{
}

FieldMapping FieldMapping::moved(int count, int from, int to)
{
    const bool valid = from >= 1 && to >= 1 && from <= count && to <= count;
    return FieldMapping(positionsOf(count, [=](int p) {
        if (!valid)
            return p;
        if (p == from)
            return to;
        if (from < to && p > from && p <= to)
            return p - 1;
        if (to < from && p >= to && p < from)
            return p + 1;
        return p;
    }));
}

FieldMapping FieldMapping::inserted(int count, int at)
{
    return FieldMapping(positionsOf(count, [=](int p) { return p >= at ? p + 1 : p; }));
}

FieldMapping FieldMapping::removed(int count, int at)
{
    return FieldMapping(positionsOf(count, [=](int p) {
        if (p == at)
            return None;
        return p > at ? p - 1 : p;
    }));
}

int FieldMapping::map(int position) const
{
    if (position < 1 || position > count())
        return position;
    return mNewPositions[size_t(position - 1)];
}
