#pragma once

#include <QByteArray>
#include <QString>

/**
 * The 1,702-byte fixed part of the application-info block, kept as the bytes
 * it was read as so that everything the program does not interpret is
 * written back unchanged. Integers are big-endian.
 *
 *   offset  size     content
 *   0       50 x 21  field names, zero-terminated (at most 20 characters)
 *   1050    50 x 2   type words: high byte attributes, low byte type code
 *   1150    2        number of fields
 *   1152    2        marker, 0x0240
 *   1154    50 x 2   widths: low byte signed, magnitude = width, sign = locked
 *   1254    2        data width
 *   1256    3 x 2    sort keys 1 to 3
 *   1262    2        find field
 *   1264    2        filter field
 *   1266    16       find text, zero-terminated
 *   1282    16       filter text, zero-terminated
 *   1298    2        reserved
 *   1300    2        first unlocked field
 *   1302    50 x 4   setting 1 of each field, signed
 *   1502    50 x 4   setting 2 of each field, signed
 */
class LoStruc
{
public:
    static constexpr int Size = 1702;
    static constexpr int NameSlotSize = 21;
    static constexpr int SearchTextSize = 16;
    static constexpr quint16 CurrentMarker = 0x0240;

    static constexpr int NamesOffset = 0;
    static constexpr int TypesOffset = 1050;
    static constexpr int FieldCountOffset = 1150;
    static constexpr int MarkerOffset = 1152;
    static constexpr int WidthsOffset = 1154;
    static constexpr int DataWidthOffset = 1254;
    static constexpr int SortKeysOffset = 1256;
    static constexpr int FindFieldOffset = 1262;
    static constexpr int FilterFieldOffset = 1264;
    static constexpr int FindTextOffset = 1266;
    static constexpr int FilterTextOffset = 1282;
    static constexpr int ReservedOffset = 1298;
    static constexpr int FirstUnlockedOffset = 1300;
    static constexpr int Settings1Offset = 1302;
    static constexpr int Settings2Offset = 1502;

    /// A cleared image: every byte zero.
    LoStruc();
    /// The image of the first Size bytes of @p bytes (zeros beyond its end).
    explicit LoStruc(const QByteArray &bytes);

    const QByteArray &bytes() const { return mBytes; }

    void clear();

    quint16 word(int offset) const;
    void setWord(int offset, quint16 value);
    qint32 int32(int offset) const;
    void setInt32(int offset, qint32 value);
    /// The low byte of the word at @p offset read as a signed value.
    qint8 lowSigned(int offset) const { return qint8(quint8(word(offset) & 0xFF)); }
    /// @p value sign-extended to 16 bits.
    void setSignedWord(int offset, qint8 value) { setWord(offset, quint16(qint16(value))); }

    /// Puts @p bytes at @p offset (as many as fit).
    void setBytes(int offset, const QByteArray &bytes);

    /// A zero-terminated text of at most @p size bytes (ended by the first
    /// zero byte or by the end of its slot).
    QString text(int offset, int size) const;

    // Per field k = 1..50.
    static int nameOffset(int k) { return NamesOffset + (k - 1) * NameSlotSize; }
    static int typeOffset(int k) { return TypesOffset + (k - 1) * 2; }
    static int widthOffset(int k) { return WidthsOffset + (k - 1) * 2; }
    static int setting1Offset(int k) { return Settings1Offset + (k - 1) * 4; }
    static int setting2Offset(int k) { return Settings2Offset + (k - 1) * 4; }

private:
    QByteArray mBytes;
};
