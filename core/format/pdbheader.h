#pragma once

#include <QByteArray>

/**
 * The 78-byte header of a database file. Integers are big-endian.
 *
 *   offset  size  field
 *   0       32    database name, zero-terminated
 *   32      2     attributes
 *   34      2     version: the database's flag word
 *   36      4     creation date
 *   40      4     modification date (seconds since 1970-01-01 01:00)
 *   44      4     last backup date
 *   48      4     modification number
 *   52      4     application-info offset
 *   56      4     sort-info offset
 *   60      4     type: "Lx5D" (also "Lx3D", "Lx4D" for older versions)
 *   64      4     creator: "Lxr5"
 *   68      4     unique-ID seed
 *   72      4     next record list
 *   76      2     number of records
 */
struct PdbHeader
{
    static constexpr int Size = 78;
    static constexpr int NameSize = 32;
    static constexpr int RecordEntrySize = 8;
    static constexpr int MaxRecords = 0xFFFF; ///< the count is a 16-bit word

    QByteArray name; ///< the bytes before the first zero (at most 32)
    quint16 attributes = 0;
    quint16 flags = 0;
    qint32 creationDate = 0;
    qint32 modificationDate = 0;
    qint32 backupDate = 0;
    quint32 modificationNumber = 0;
    quint32 appInfoOffset = 0;
    quint32 sortInfoOffset = 0;
    QByteArray type;
    QByteArray creator;
    quint32 uniqueIdSeed = 0;
    quint32 nextRecordList = 0;
    quint16 recordCount = 0;

    /// Reads a header from the first Size bytes of @p bytes, which must hold
    /// at least that many.
    static PdbHeader parse(const QByteArray &bytes);
};
