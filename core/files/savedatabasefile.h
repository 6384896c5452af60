#pragma once

#include <QString>

class CipherState;
class Clock;
class Database;
class Document;
class FileDialogs;
class FileSystem;
class MessageService;
class UserFeedback;

/// The services saving works through.
struct SaveServices
{
    MessageService &messages;
    FileSystem &files;
    FileDialogs &dialogs;
    UserFeedback &feedback;
    Clock &clock;
    CipherState &cipher;
};

/**
 * Saves @p db. An empty @p target saves to the database's own file, "?" asks
 * for a new name in the save dialog, and anything else writes a copy to that
 * path (no backup; the database keeps its path and its changed flag).
 *
 * Saving under the own name or a new one keeps the file it replaces as its
 * ".pd_" backup. The new file is written completely under a name of its own
 * next to the target and flushed to disk before anything is renamed, so a
 * failed save leaves the previous file where it was, removes what it wrote
 * and reports "Save error". Returns whether the file was written.
 */
bool SaveDatabaseFile(Document &doc, const QString &target, const SaveServices &services);

/// @p path with its extension replaced by @p extension (".pd_", ".pdb").
QString ChangeFileExtension(const QString &path, const QString &extension);
