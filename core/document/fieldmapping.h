#pragma once

#include <vector>

/**
 * Where the fields of a database go when one is moved, inserted or removed:
 * for every old position 1..n the new position, or None for a field that is
 * removed. Positions are 1-based, as the grid's columns are.
 */
class FieldMapping
{
public:
    /// The new position of a removed field.
    static constexpr int None = 0;

    /// From the new position of each old position 1..n, in order. The new
    /// positions other than None are expected to differ from each other.
    explicit FieldMapping(std::vector<int> newPositions);

    /// Field @p from of @p count goes to position @p to and the fields between
    /// shift by one, as a dragged column does. Positions outside 1..count
    /// give the mapping that changes nothing.
    static FieldMapping moved(int count, int from, int to);
    /// A new field goes in at position @p at (1..count + 1); the fields from
    /// @p at on shift right.
    static FieldMapping inserted(int count, int at);
    /// Field @p at of @p count goes; the fields after it shift left.
    static FieldMapping removed(int count, int at);

    /// The number of old positions, n.
    int count() const { return int(mNewPositions.size()); }

    /// The new position of old position @p position, None when its field is
    /// removed. A position outside 1..n names no field and comes back as it
    /// is.
    int map(int position) const;

private:
    std::vector<int> mNewPositions;
};
