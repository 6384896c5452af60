#pragma once

#include <QByteArray>
#include <QString>

#include <cstring>
#include <vector>

/**
 * The texts of one row of the record grid, in slots, kept in one allocation.
 *
 * Most texts are kept as the file stores them: the code page's bytes, a CR LF
 * as one LF, each text followed by a zero byte. A row read from a file is its
 * bytes as read and is written back by one copy. A row holding a text that
 * form cannot give back exactly (a character without a byte, a LF without a
 * CR before it, a zero character) keeps all its texts as UTF-16 instead, so
 * text() always returns exactly what was set.
 *
 * The bytes (empty for a row of no slots, every text empty):
 *   [0]      form: 0 stored bytes, 1 UTF-16
 *   [1]      1 when every stored byte is written as it is (no control
 *            byte but TAB and LF)
 *   [2..3]   n, the number of slots (native order), also kept beside
 *   [4..]    n + 1 offsets of 32 bits into the texts: slot i runs from
 *            offset i to offset i + 1 (its zero byte included)
 *   then     the texts
 * Copies share the bytes until one of them changes.
 */
class RecordTexts
{
public:
    /// What a row of stored bytes holds, as the reader counts it.
    struct Summary
    {
        int texts = 0;         ///< texts that are not empty
        qint64 characters = 0; ///< characters, a LF counting as CR LF
    };

    /**
     * Room for the rows of a file as it is read: their bytes go one after
     * another into blocks of 1 MiB, not into an allocation each. A row made
     * in an arena shares its block, which lives until the last row in it
     * goes (or changes, taking bytes of its own); the arena itself may go
     * first. A row larger than a quarter of a block gets bytes of its own.
     */
    class Arena
    {
    public:
        static constexpr qsizetype BlockSize = qsizetype(1) << 20;

        /// @p size bytes to fill through @p at before anyone reads them.
        QByteArray take(qsizetype size, char **at);

    private:
        QByteArray mBlock;
        qsizetype mUsed = 0;
    };

    RecordTexts() = default;
    /// @p count texts in slot order.
    static RecordTexts fromTexts(const QString *texts, qsizetype count);
    /// Slot 0 empty, then @p count texts as the file stores them, one after
    /// another each ended by a zero byte, from @p size bytes at @p data; the
    /// texts past the end are empty, the last one may lack its zero byte.
    /// The row's bytes come from @p arena when one is given.
    static RecordTexts fromStored(const char *data, qsizetype size, int count,
                                  Summary *summary = nullptr, Arena *arena = nullptr);

    int count() const { return mCount; }
    /// The text of @p slot; empty past the slots.
    QString text(int slot) const;
    /// Whether the text of @p slot is empty.
    bool isEmpty(int slot) const
    {
        return slot < 0 || slot >= count() ||
               offset(slot + 1) - offset(slot) <= (isWide() ? 0u : 1u);
    }
    /// Puts the text of @p slot in @p text, reusing its room.
    void textInto(int slot, QString &text) const;
    /// Every text, in slot order.
    std::vector<QString> texts() const;

    /// Sets the text of @p slot, adding empty slots before it as needed.
    void setText(int slot, QStringView text);
    /// A text for a slot, for setTexts().
    struct SlotText
    {
        int slot;
        QStringView text;
    };
    /// Sets the texts of several slots in one rebuild of the row (the last
    /// one given for a slot wins); sorts @p texts by slot.
    void setTexts(SlotText *texts, qsizetype count);
    /// Takes @p slot out; the later slots move down by one.
    QString take(int slot);

    /// Whether every text is kept as the file stores it and written as it
    /// is kept.
    bool isStored() const { return !mBytes.isEmpty() && mBytes[0] == 0 && mBytes[1] == 1; }
    /// The stored bytes of slots @p first..@p last, each with its zero byte
    /// (rows not kept as UTF-16).
    const char *storedBytes(int first) const { return base() + offset(first); }
    qsizetype storedSize(int first, int last) const { return offset(last + 1) - offset(first); }
    /// The bytes of the stored text of @p slot, its zero byte left out.
    qsizetype storedLength(int slot) const { return offset(slot + 1) - offset(slot) - 1; }

    /// Whether the texts are kept as UTF-16.
    bool isWide() const { return !mBytes.isEmpty() && mBytes[0] == 1; }

    /// The bytes the row keeps.
    qsizetype byteSize() const { return mBytes.size(); }

private:
    static constexpr qsizetype HeaderSize = 4;

    quint32 offset(int slot) const
    {
        quint32 v;
        std::memcpy(&v, mBytes.constData() + HeaderSize + 4 * qsizetype(slot), sizeof v);
        return v;
    }
    const char *base() const { return mBytes.constData() + HeaderSize + 4 * (count() + 1); }
    /// Builds the bytes of @p texts in the form that keeps them exactly.
    static QByteArray pack(const std::vector<QString> &texts);
    /// A new text in the row's form: bytes [from, from + size) of a
    /// scratch buffer.
    struct Piece
    {
        int slot;
        qsizetype from;
        qsizetype size;
        bool empty;
    };
    /// Builds the row anew with the @p count pieces (sorted by slot, one
    /// per slot) in place of their slots' texts, in one allocation and one
    /// pass; slots added before a piece past the row are empty.
    void rebuild(const Piece *pieces, qsizetype count, const char *encoded);

    QByteArray mBytes;
    int mCount = 0;
};
