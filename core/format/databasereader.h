#pragma once

#include "core/format/readresult.h"

#include <QString>

class CipherState;
class Database;
class MessageService;
class PasswordPrompt;
class QIODevice;

/**
 * Reads a database file from a device into the Database.
 *
 * The reader asks only through the interfaces it is given: the warning about
 * a handheld-password database and the question about an unknown field type
 * go to the MessageService, the password to the PasswordPrompt. It keys the
 * CipherState for an enciphered file. Failures come back as a ReadResult with
 * the message's lines; the reader shows no failure itself.
 *
 * Reading is linear in the file: every record is read from its offset up to
 * the next larger record offset (or the end of the file, and at most
 * MaxRecordSpan bytes), and only those bytes are deciphered. Entries that
 * share an offset share one reading of its bytes.
 *
 * The record texts a file may give are bounded by its size (see
 * maxRecordTextBytes()). Every cell counts on its own, shared or not, for
 * a save or a dump spells each one out. A well-formed file stays far below
 * the bound; a record list that repeats its entries beyond it is refused.
 */
class DatabaseReader
{
public:
    static constexpr qint64 MaxAreaSize = 1048576; ///< application-info bytes looked at
    static constexpr qint64 MaxRecordSpan = 200250;

    /// What a non-empty cell text costs besides its characters (two bytes
    /// each): its allocation's header and the allocator's share.
    static constexpr qint64 TextOverhead = 32;
    static constexpr qint64 TextBytesPerFileByte = 8;
    static constexpr qint64 TextAllowance = 64 * 1024 * 1024;

    /// The most record text a file of @p fileSize bytes may give:
    /// TextBytesPerFileByte per byte of the file, plus TextAllowance.
    static constexpr qint64 maxRecordTextBytes(qint64 fileSize)
    {
        return TextBytesPerFileByte * fileSize + TextAllowance;
    }
    /// What @p text costs in memory, as counted against that bound.
    static qint64 heldTextBytes(const QString &text)
    {
        return text.isEmpty() ? 0 : TextOverhead + 2 * qint64(text.size());
    }

    DatabaseReader(MessageService &messages, PasswordPrompt &passwords, CipherState &cipher);

    /// With expert mode on, no warning is shown for a handheld-password file.
    void setExpertMode(bool on) { mExpertMode = on; }

    /// The reduced reading of a database that lends a popup list its
    /// values: no handheld-password warning, the short version-4 message,
    /// "Error: Unnormal Size LoStruc" for a short application-info block,
    /// and field types, settings and the extension area not interpreted (an
    /// unknown type asks nothing). The field names and records are read as
    /// always.
    void setLookupMode(bool on) { mLookupMode = on; }

    /// Reads @p device (open for reading) into @p db, which is reset first;
    /// @p path becomes its file path. After a failure @p db holds no
    /// database worth showing.
    ReadResult read(QIODevice &device, const QString &path, Database &db);

    /// The address the unknown-field-type warning gives.
    static QString supportAddress();

private:
    MessageService &mMessages;
    PasswordPrompt &mPasswords;
    CipherState &mCipher;
    bool mExpertMode = false;
    bool mLookupMode = false;
};
