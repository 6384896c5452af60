#pragma once

#include "core/files/savetarget.h"
#include "core/platform/message.h"

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
 * ".pd_" backup. The new file is written completely under a short hidden
 * name of its own next to the target, private to its owner until it gets
 * the target's permissions, and flushed to disk before anything is renamed;
 * the folder is flushed after the renames. A save that fails before the
 * new file takes the target's name leaves the target and its backup as
 * they were and removes what it wrote; one whose folder flush fails leaves
 * the new file in place. Either reports "Save error" with a line naming
 * the file and the system's reason. A target that exists and is
 * write-protected or no regular file (a folder, a FIFO, a device) is
 * refused so, before anything is touched. Before the database's own file
 * is written over, a change another program made to it since it was read
 * or saved is asked about (overwrite, save under another name, cancel).
 * After a save under the own or
 * a new name that could not keep every text ("?" for a character without a
 * byte, a text cut), the document holds the texts as the file holds them.
 * Returns whether the file was written.
 */
bool SaveDatabaseFile(Document &doc, const SaveTarget &target, const SaveServices &services);

/**
 * Puts @p bytes at @p target without ever leaving it incomplete: a new file
 * beside it is written, given the target's permissions and flushed first,
 * then, with @p backup given, the old file becomes the backup (replacing an
 * older one), the new one takes its place and the folder is flushed. A
 * failure before the last rename leaves the target and its backup as they
 * were. A target that is no regular file or is write-protected is refused
 * before anything is touched. On failure @p reason says why. With
 * @p keepPrivate the new file keeps the permissions it was made with (its
 * owner's alone) instead of taking the target's.
 */
bool ReplaceFile(FileSystem &fs, const QString &target, const QString &backup,
                 const QByteArray &bytes, QString &reason, bool keepPrivate = false);

/**
 * Whether the file at @p path is the database's own file and another
 * program changed it since the database was read or last saved there (a
 * file removed since is no change: writing puts it back).
 */
bool ChangedByOthers(const Document &doc, FileSystem &files, const QString &path);

/// The question before writing over such a file: Yes overwrites it, No
/// (offered with @p offerSaveAs) saves under another name, Cancel stops.
Message ChangedByOthersQuestion(const QString &path, bool offerSaveAs);

/// @p path with its extension replaced by @p extension (".pd_", ".pdb").
QString ChangeFileExtension(const QString &path, const QString &extension);
