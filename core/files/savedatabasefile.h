#pragma once

#include "core/files/savetarget.h"

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
 * Saves @p db to @p target: its own file, a name asked for in the save dialog
 * (cancelling it writes nothing and returns false), or a copy at a path (no
 * backup; the database keeps its path and its changed flag). An empty path,
 * own or given, cannot be written and reports "Save error".
 *
 * Saving under the own name or a new one keeps the file it replaces as its
 * ".pd_" backup. The new file is written completely under a name of its own
 * next to the target and flushed to disk before anything is renamed, so a
 * failed save leaves the previous file where it was, removes what it wrote
 * and reports "Save error". Returns whether the file was written.
 */
bool SaveDatabaseFile(Document &doc, const SaveTarget &target, const SaveServices &services);

/// @p path with its extension replaced by @p extension (".pd_", ".pdb").
QString ChangeFileExtension(const QString &path, const QString &extension);
