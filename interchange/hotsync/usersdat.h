#pragma once

#include "core/platform/syncsoftware.h"

#include <QByteArray>

#include <vector>

/**
 * The user list "users.dat" of the handheld maker's desktop, as far as it
 * is read here (the 16-bit number little-endian; nothing else interpreted):
 *
 *     0   1   number of users N
 *     1   12  not read
 *     13      user records 1 .. N
 *
 * A user record starting at S:
 *
 *     S          2   user ID
 *     S+2        2   not read
 *     S+4        1   length L1 of the name
 *     S+5        L1  name (no terminator)
 *     S+5+L1     1   length L2 of the folder name
 *     S+6+L1     L2  folder name (no terminator)
 *     S+6+L1+L2  1   read and ignored
 *     S+7+L1+L2      bytes not interpreted, ended by 0x01 0x80; the next
 *                    record starts right after them
 */
namespace UsersDat {

/// The users read, and the index of the last one named as the last user.
struct UserList
{
    std::vector<SyncUser> users;
    int lastUserIndex = 0;

    bool operator==(const UserList &) const = default;
};

/// Names and folder names keep this many characters.
constexpr qsizetype MaxNameChars = 31;

/**
 * The complete records of @p bytes. A file that ends inside a record, or
 * whose gap after a record never shows 0x01 0x80, gives the records before
 * it. The last user index is that of the last record named exactly
 * @p lastUserName, 0 when none is.
 */
UserList read(const QByteArray &bytes, const QString &lastUserName);

} // namespace UsersDat
