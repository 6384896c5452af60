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
    /// Fills @p db from the @p size bytes at @p data. Parsing stops at the
    /// first empty string or at the end of the data. Block numbers outside
    /// the fields 1..50 or the lists 1..25 are skipped. Calc constants are
    /// read with "." or "," as the decimal point, whatever the separators in
    /// force.
    static void parse(const char *data, qsizetype size, Database &db);

    /// The number of bytes up to and including the empty string that ends
    /// the area, or -1 when @p size bytes hold no such end yet.
    static qsizetype findEnd(const char *data, qsizetype size);

    /// The block number of a key's sixth character.
    static int blockNumber(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 1 : c - 38; }
    /// The sixth character of a key for block @p k (1..52).
    static char blockLetter(int k) { return k <= 26 ? char('a' + k - 1) : char('A' + k - 27); }

    /// Reads a calc constant as written by any locale: a single "." or ","
    /// is the decimal point.
    static bool parseCalcValue(const QString &text, double *value);
};
