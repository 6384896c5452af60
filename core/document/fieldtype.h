#pragma once

#include <QString>

#include <array>

/**
 * The sixteen field types. The index is what a FieldDef holds and the order
 * in which every type list of the program shows them; the code is what the
 * database file stores.
 */
namespace FieldType {

enum Index : quint8
{
    String = 0,
    Boolean = 1,
    NormalDate = 2,
    CreationDate = 3,
    ModificationDate = 4,
    NormalTime = 5,
    CreationTime = 6,
    ModificationTime = 7,
    NormalPopup = 8,
    MultiplePopup = 9,
    NormalInteger = 10,
    AutoIncrementInteger = 11,
    Float = 12,
    CalcFieldOpField = 13,
    CalcValueOpField = 14,
    CalcFieldOpValue = 15,
};

constexpr int kCount = 16;

/// The file code of each index.
constexpr std::array<quint8, kCount> kCodes = {0x01, 0x02, 0x04, 0x41, 0x49, 0x20, 0x42, 0x50,
                                               0x40, 0x51, 0x08, 0x43, 0x10, 0x46, 0x47, 0x48};

/// The name of a type as the type lists show it; empty for an index out of range.
QString name(int index);

/// The file code of @p index (String's code for an index out of range).
quint8 code(int index);

/// The index whose code is @p code, searching from index 0 upward; -1 when
/// no type has that code.
int indexOfCode(quint8 code);

/// Whether @p index is one of the three calculated types.
constexpr bool isCalculated(int index)
{
    return index >= CalcFieldOpField && index <= CalcFieldOpValue;
}

} // namespace FieldType
