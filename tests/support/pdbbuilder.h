#pragma once

#include <QByteArray>
#include <QList>

#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

/**
 * Lays out a database file byte by byte from the format tables, without the
 * program's reader or writer: the header, the record list, the two-byte gap,
 * the fixed part of the application-info block with its extension area, and
 * the records. With a password, the application-info block and every record
 * are enciphered on their own, padded with zero bytes to whole blocks.
 *
 * Every field of the layout can be set, including the ones a well-formed
 * file never has, so that tests can build the damaged files too.
 */
struct PdbBuilder
{
    struct Field
    {
        QByteArray name;
        quint8 typeCode = 0x01;
        quint8 attributes = 0;
        qint16 width = 60; ///< stored word: negative = locked
        qint32 setting1 = 0;
        qint32 setting2 = 0;
    };

    // Header.
    QByteArray name = "Test";
    quint16 attributes = 0x0008;
    quint16 flags = 0x0001;
    qint32 creationDate = 0;
    qint32 modificationDate = 0;
    QByteArray type = "Lx5D";
    QByteArray creator = "Lxr5";
    std::optional<quint16> recordCountOverride;
    std::optional<quint32> appInfoOffsetOverride;
    /// Replaces the record offsets that the layout gives, entry by entry.
    std::vector<std::optional<quint32>> offsetOverrides;

    // Fixed part of the application-info block.
    std::vector<Field> fields;
    std::optional<quint16> fieldCountOverride;
    quint16 marker = 0x0240;
    quint16 dataWidth = 90;
    qint16 sortKeys[3] = {0, 0, 0};
    qint16 findField = 0;
    qint16 filterField = 0;
    QByteArray findText;
    QByteArray filterText;
    quint16 reserved = 0;
    qint16 firstUnlockedField = 0;
    /// Last touches to the 1,702 bytes before they are placed.
    std::function<void(QByteArray &)> patchFixedPart;

    /// The extension area as it stands in the file, three zero bytes by default.
    QByteArray extension = QByteArray(3, '\0');

    /// The records: per record the texts of fields 1..f, as stored.
    std::vector<std::vector<QByteArray>> records;
    /// When set, each record is exactly these bytes (before enciphering).
    std::vector<QByteArray> rawRecords;

    /// Enciphers the file with this password (its bytes as they are).
    QByteArray password;

    /// The file.
    QByteArray build() const;

    /// The fixed part alone, 1,702 bytes.
    QByteArray fixedPart() const;

    /// One record as stored: the length words and the texts.
    QByteArray recordBytes(const std::vector<QByteArray> &texts) const;

    /// Zero-terminated strings one after another.
    static QByteArray strings(std::initializer_list<QByteArray> list);

    /// The standard block key: name and the letter of number @p k.
    static QByteArray key(const char *blockName, int k);

    /// @p fieldCount String fields named F1.. of width 60.
    static PdbBuilder withFields(int fieldCount);
};
