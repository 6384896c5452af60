#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class Database;
class FileDialogs;
class FileSystem;
class MessageService;
class PasswordPrompt;
class UserFeedback;

/// The services loading a lookup list works through.
struct LookupServices
{
    MessageService &messages;
    PasswordPrompt &passwords;
    FileSystem &files;
    FileDialogs &dialogs;
    UserFeedback &feedback;
    QString initialDirectory; ///< where the other database is looked for first
};

/**
 * Lookup lists: a popup field whose choices are the values of a field of
 * another database. While unloaded, popup item 1 names that database and
 * item 2 its field; once loaded, the items are the values and the lookup
 * flag is set (the two names move to lookupDatabase and lookupField).
 */
namespace LookupList {

/// Whether field @p k is a Lookup Popup not loaded yet: a Normal or
/// Multiple Popup with bit 0 of setting 2 set and the lookup flag clear.
bool isUnloaded(const Database &db, int k);

/// Popup item 1 with its extension replaced by ".pdb", or ".pdb" appended
/// when it has none.
QString probableFileName(const QString &databaseItem);

/**
 * The reduced reading of the other database: @p name is looked for in the
 * services' initial directory; when it is not there the open dialog asks
 * for the file ("Open Listora database for Lookup List"). An enciphered
 * file asks for its own password, which goes nowhere else. A failure is
 * reported (caption "Error") unless it was a cancel; false then. The open
 * database is not touched.
 */
bool ReadLookupFile(const QString &name, const LookupServices &services, Database &into);

/// The texts of field @p fieldName (the first with exactly that name) of
/// every record of @p lookup, in record order; nothing when no field has
/// that name.
std::optional<QStringList> values(const Database &lookup, const QString &fieldName);

} // namespace LookupList
