#pragma once

class Database;

/**
 * The cells an export in Windows-1252 cannot write as they are: those
 * holding a character the code page has no byte for, which the file gets
 * as "?". Only what an export writes is looked at: the field names and the
 * records no filter hides. A record kept as the file's bytes holds no such
 * character and is passed over without a look at its texts.
 */
namespace UnmappableCells {

struct Found
{
    int cells = 0;
    int firstRow = 0;    ///< grid row of the first (0: a field name)
    int firstColumn = 0; ///< grid column of the first
};

Found find(const Database &db);

} // namespace UnmappableCells
