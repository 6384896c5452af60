#pragma once

#include <QtGlobal>

/**
 * Where the handheld left its view. Applied after reading and written back
 * unchanged; the program never changes it.
 */
struct ViewPosition
{
    qint32 marker = 0;        ///< above 0 when the file carried a position
    qint32 currentRecord = 0; ///< 0-based record to make current
    qint32 visibleRecord = 0; ///< 0-based record to scroll into view
    qint32 visibleField = 0;  ///< 0-based field to scroll into view
};
