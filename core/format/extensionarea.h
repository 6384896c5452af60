#pragma once

#include <QByteArray>
#include <QString>

class Database;

/**
 * The extension area after the fixed part of the application-info block: a
 * run of zero-terminated strings, ended by an empty one, that holds what the
 * fixed part has no room for.
 *
 * A string of six characters whose first five name a block ("popup", "deflt",
 * "soort", "flllt", "calv1", "calv2", "pooos") is a key; its sixth character
 * numbers the block ('a'..'z' are 1..26, any other character c is c - 38, so
 * 'A' is 27). Other strings are values of the current block. The sort, filter
 * and view-position blocks take their values in groups by position, so a
 * string inside a group is a value whatever it looks like.
 */
class ExtensionArea
{
public:
    /// The blocks, each named by the first five characters of its keys.
    enum class Block
    {
        Popup,       ///< "popup", per field: the popup items
        Default,     ///< "deflt", per field: the default text
        Sort,        ///< "soort", per sort list: name and three keys
        Filter,      ///< "flllt", per filter list: name, texts, options, fields
        CalcValue1,  ///< "calv1", per field: calc value 1
        CalcValue2,  ///< "calv2", per field: calc value 2
        ViewPosition ///< "pooos", once: the view position
    };

    /// Stands for an empty condition text in a filter group, where an empty
    /// string would end the area.
    static constexpr char EmptyConditionText[] = "-*-";

    /// The key of @p block number @p k (1..52), without its zero byte.
    static QByteArray key(Block block, int k);

    /// The end of the area as written: three empty strings. Reading ends at
    /// the first of them.
    static QByteArray endMarker() { return QByteArray(3, '\0'); }

    /// Fills @p db from the @p size bytes at @p data. Parsing stops at the
    /// first empty string or at the end of the data. Block numbers outside
    /// the fields 1..50 or the lists 1..25 are skipped. Calc constants are
    /// read with "." or "," as the decimal point, whatever the separators in
    /// force.
    static void parse(const char *data, qsizetype size, Database &db);

    /// The number of bytes up to and including the empty string that ends
    /// the area, or -1 when @p size bytes hold no such end yet. The bytes
    /// before @p from are known to hold none.
    static qsizetype findEnd(const char *data, qsizetype size, qsizetype from = 0);

    /// The block number of a key's sixth character.
    static int blockNumber(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 1 : c - 38; }
    /// The sixth character of a key for block @p k (1..52).
    static char blockLetter(int k) { return k <= 26 ? char('a' + k - 1) : char('A' + k - 27); }
};
