#pragma once

#include "core/document/fieldtype.h"

#include <QString>
#include <QStringList>

/**
 * What the program knows of one field slot besides its name (row 0 of the
 * record grid) and its width (the column's width in pixels).
 */
struct FieldDef
{
    /// Bit of the attribute byte that protects the field's cells from editing.
    static constexpr quint8 ReadOnlyAttribute = 0x80;

    quint8 type = FieldType::String; ///< FieldType index
    bool locked = false;             ///< "Lock Column": the sign of the stored width
    quint8 attributes = 0;           ///< high byte of the stored type word
    qint32 setting1 = 0;             ///< first type-specific setting
    qint32 setting2 = 0;             ///< second type-specific setting
    QString defaultText;             ///< default for new records, at most 80 characters
    QStringList popupItems;          ///< popup entries, or an unloaded lookup's reference
    bool lookupLoaded = false;       ///< popupItems hold values loaded from another database
    QString lookupDatabase;          ///< where loaded values came from
    QString lookupField;
    double calcValue1 = 0.0; ///< constant left operand of "<value><op><field>"
    double calcValue2 = 0.0; ///< constant right operand of "<field><op><value>"
    /// The width in width units the field was read with, or -1. A column
    /// still as wide as this width makes writes it back unchanged, whatever
    /// the width scale.
    int readWidth = -1;

    bool isReadOnly() const { return attributes & ReadOnlyAttribute; }

    bool operator==(const FieldDef &) const = default;

    /// Back to a fresh String field; the lookup texts are left alone, since
    /// they are only looked at while the lookup flag is set.
    void clear()
    {
        type = FieldType::String;
        locked = false;
        attributes = 0;
        setting1 = 0;
        setting2 = 0;
        defaultText.clear();
        popupItems.clear();
        calcValue1 = 0.0;
        calcValue2 = 0.0;
        readWidth = -1;
    }
};
