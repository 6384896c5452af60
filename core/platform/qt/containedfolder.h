#pragma once

#include <QString>

/**
 * Whether a folder named by settings others may write (a user's folder in
 * users.dat, say) lies where it should once the system has followed every
 * symbolic link and every ".." in it.
 */
namespace ContainedFolder {

/// Whether @p folder, as the system resolves it, is @p root or lies below
/// it. The part of each that exists is resolved by the system; the rest,
/// to be made, may hold no "." or "..".
bool within(const QString &folder, const QString &root);

} // namespace ContainedFolder
