#pragma once

#include <QString>

/**
 * The handheld's limits, which every command respects, and the texts that
 * report them. Where a message is built from pieces, the pieces are kept.
 */
namespace Limits {

constexpr int MaxFields = 50;
constexpr int MaxRecords = 32000;
constexpr int MaxDatabaseName = 30;
constexpr int MaxFieldName = 20;
constexpr int MaxFieldWidth = 300;  ///< width units, Properties and new-database dialogs
constexpr int MaxStoredWidth = 127; ///< the file keeps the width in a signed byte
constexpr int MinDataWidth = 10;
constexpr int MaxDataWidth = 150;
constexpr int MaxCellText = 4000; ///< characters stored per cell
constexpr int MaxRecordBytes = 10000;
constexpr int MaxPopupItems = 100;
constexpr int MaxPopupItemLength = 25;
constexpr int MaxDefaultLength = 80;
constexpr int MaxStoredSearchText = 15; ///< find and filter texts in the file
constexpr int SortListCount = 25;
constexpr int FilterListCount = 25;

/// The caption of the handheld's limits.
inline QString limitationCaption()
{
    return QStringLiteral("Listora limitation");
}

inline QString tooManyFieldsMessage()
{
    return QString::number(MaxFields) + QStringLiteral(" fields (columns) maximum");
}
inline QString tooManyRecordsMessage()
{
    return QString::number(MaxRecords) + QStringLiteral(" records (rows) maximum");
}
inline QString newDatabaseFieldsMessage()
{
    return QStringLiteral("Please use 1 - 50 columns.");
}
inline QString newDatabaseRecordsMessage()
{
    return QStringLiteral("Please use 1 - ") + QString::number(MaxRecords) +
           QStringLiteral(" rows.");
}
inline QString databaseNameMessage()
{
    return QStringLiteral("Please use 1 - 30 characters for the database name.");
}
inline QString fieldNameMessage()
{
    return QStringLiteral("Please use 1 - 20 characters for the field name.");
}
inline QString fieldWidthMessage()
{
    return QStringLiteral("Please use a field width from 0 to 300");
}
inline QString newDatabaseFieldWidthMessage()
{
    return QStringLiteral("Please use 1 - 300 for the field width.");
}
inline QString dataWidthMessage()
{
    return QStringLiteral("Please use a Width from ") + QString::number(MinDataWidth) +
           QStringLiteral(" to ") + QString::number(MaxDataWidth);
}

} // namespace Limits
