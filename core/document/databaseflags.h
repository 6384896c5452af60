#pragma once

#include <QtGlobal>

/**
 * The bits of the database's flag word (the file header's version field).
 * Exactly one of NoSecurity, Encrypted and PalmOsPassword is meant to be set.
 * Every other bit carries no meaning for the program and is written back as
 * read.
 */
namespace DatabaseFlags {

constexpr quint16 NoSecurity = 0x0001;
constexpr quint16 Encrypted = 0x0002;
constexpr quint16 PalmOsPassword = 0x0004;
constexpr quint16 AutoSort = 0x0008;
constexpr quint16 FilterOnOpen = 0x0080;
constexpr quint16 ReadOnly = 0x0400;

/// The flags of an empty database.
constexpr quint16 Empty = 0x0811;

} // namespace DatabaseFlags
