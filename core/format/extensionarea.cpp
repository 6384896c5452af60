#include "core/format/extensionarea.h"

#include "core/document/database.h"
#include "core/format/codepage.h"
#include "numbers/numberformat.h"

#include <cstring>
#include <iterator>
#include <limits>
#include <optional>

namespace {

using Block = ExtensionArea::Block;

/// The name of each block, in the order of the Block values.
constexpr const char *kBlockNames[] = {"popup", "deflt", "soort", "flllt",
                                       "calv1", "calv2", "pooos"};
constexpr size_t BlockNameLength = 5;

constexpr int SortGroupSize = 4;     // name, three keys
constexpr int FilterGroupSize = 12;  // name, five texts, option word, five fields
constexpr int PositionGroupSize = 4; // marker, current record, visible record, visible field

/// The block a string is the key of, if it is a key.
std::optional<Block> blockOfKey(const char *s, size_t length)
{
    if (length != BlockNameLength + 1)
        return std::nullopt;
    for (size_t i = 0; i < std::size(kBlockNames); ++i) {
        if (std::memcmp(s, kBlockNames[i], BlockNameLength) == 0)
            return Block(i);
    }
    return std::nullopt;
}

int groupSize(Block block)
{
    switch (block) {
    case Block::Sort:
        return SortGroupSize;
    case Block::Filter:
        return FilterGroupSize;
    case Block::ViewPosition:
        return PositionGroupSize;
    default:
        return 0;
    }
}

/// A decimal integer: an optional sign and at least one digit, in 32 bits.
std::optional<qint32> parseInteger(const char *s, size_t length)
{
    size_t i = 0;
    bool negative = false;
    if (i < length && (s[i] == '-' || s[i] == '+'))
        negative = s[i++] == '-';
    if (i == length)
        return std::nullopt;
    qint64 value = 0;
    for (; i < length; ++i) {
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
        value = value * 10 + (s[i] - '0');
        if (value > qint64(std::numeric_limits<qint32>::max()) + 1)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

qint32 integerOrZero(const char *s, size_t length)
{
    return parseInteger(s, length).value_or(0);
}

/// A calc constant as written by any locale: these never hold thousands
/// separators, so one "." or "," is the decimal point of whichever locale
/// wrote them. A text that is no number gives 0.
double calcValue(const QString &text)
{
    const qsizetype points = text.count(QLatin1Char('.')) + text.count(QLatin1Char(','));
    if (points > 1)
        return ParseNumber(text).value;
    QString normal = text;
    normal.replace(QLatin1Char(','), QLatin1Char('.'));
    return ParseNumber(normal, NumberSeparators{QLatin1Char('.'), QChar()}).value;
}

} // namespace

QByteArray ExtensionArea::key(Block block, int k)
{
    return QByteArray(kBlockNames[size_t(block)], BlockNameLength) + blockLetter(k);
}

qsizetype ExtensionArea::findEnd(const char *data, qsizetype size, qsizetype from)
{
    for (qsizetype i = qMax(from, qsizetype(0)); i < size; ++i) {
        if (data[i] == '\0' && (i == 0 || data[i - 1] == '\0'))
            return i + 1;
    }
    return -1;
}

void ExtensionArea::parse(const char *data, qsizetype size, Database &db)
{
    std::optional<Block> block; // none before the first key
    int number = 0;
    bool inRange = false;
    int groupIndex = 0; // position inside the current group; 0 = no group open

    qsizetype pos = 0;
    while (pos < size) {
        // Every string ends at its zero byte or at the end of the data.
        const char *s = data + pos;
        const void *zero = std::memchr(s, 0, size_t(size - pos));
        const size_t length =
            zero ? size_t(static_cast<const char *>(zero) - s) : size_t(size - pos);
        pos += qsizetype(length) + 1;

        if (length == 0)
            return; // an empty string ends the area, inside a group too

        const int group = block ? groupSize(*block) : 0;
        if (groupIndex == 0 || group == 0) {
            if (const std::optional<Block> key = blockOfKey(s, length)) {
                block = key;
                number = blockNumber(static_cast<unsigned char>(s[BlockNameLength]));
                const bool isList = *key == Block::Sort || *key == Block::Filter;
                inRange = *key == Block::ViewPosition ||
                          (isList ? number >= 1 && number <= 25 : number >= 1 && number <= 50);
                groupIndex = 0;
                continue;
            }
        }
        if (!block || !inRange) {
            // Values before the first key, or of a block out of range. The
            // groups of a skipped block are still counted out.
            if (group > 0)
                groupIndex = (groupIndex + 1) % group;
            continue;
        }

        switch (*block) {
        case Block::Popup:
            db.field(number).popupItems.append(Codepage::decode(s, qsizetype(length)));
            break;
        case Block::Default:
            db.field(number).defaultText = Codepage::decode(s, qsizetype(length));
            break;
        case Block::CalcValue1:
        case Block::CalcValue2: {
            const double value = calcValue(Codepage::decode(s, qsizetype(length)));
            if (*block == Block::CalcValue1)
                db.field(number).calcValue1 = value;
            else
                db.field(number).calcValue2 = value;
            break;
        }
        case Block::Sort: {
            SavedSortList &list = db.sortList(number);
            if (groupIndex == 0)
                list.name = Codepage::decode(s, qsizetype(length));
            else
                list.sort.keys[size_t(groupIndex - 1)] = qint8(integerOrZero(s, length));
            break;
        }
        case Block::Filter: {
            SavedFilterList &list = db.filterList(number);
            if (groupIndex == 0) {
                list.name = Codepage::decode(s, qsizetype(length));
            } else if (groupIndex <= 5) {
                const bool empty = length == std::size(EmptyConditionText) - 1 &&
                                   std::memcmp(s, EmptyConditionText, length) == 0;
                list.texts[size_t(groupIndex - 1)] =
                    empty ? QString() : Codepage::decode(s, qsizetype(length));
            } else if (groupIndex == 6) {
                list.options = quint16(integerOrZero(s, length));
            } else {
                list.fields[size_t(groupIndex - 7)] = qint8(integerOrZero(s, length));
            }
            break;
        }
        case Block::ViewPosition: {
            // An unreadable value keeps the one before.
            if (const auto value = parseInteger(s, length)) {
                ViewPosition &vp = db.viewPosition();
                qint32 *values[PositionGroupSize] = {&vp.marker, &vp.currentRecord,
                                                     &vp.visibleRecord, &vp.visibleField};
                *values[groupIndex] = *value;
            }
            break;
        }
        }
        if (group > 0)
            groupIndex = (groupIndex + 1) % group;
    }
}
