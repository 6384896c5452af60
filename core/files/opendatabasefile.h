#pragma once

#include <QString>

class CipherState;
class Document;
class DatabaseShell;
class FileDialogs;
class FileSystem;
class MessageService;
class PasswordPrompt;
class UserFeedback;
struct FileStamp;

/// Offers the recovery file left for a database before it is opened.
class RecoveryOffer
{
public:
    virtual ~RecoveryOffer() = default;
    /// Asks whether to restore the unsaved changes a run that did not end
    /// left for the file at @p path; true when they were restored in place
    /// of opening the file.
    virtual bool restoreInstead(const QString &path) = 0;
};

/// The services the open command works through.
struct OpenServices
{
    MessageService &messages;
    PasswordPrompt &passwords;
    FileSystem &files;
    FileDialogs &dialogs;
    UserFeedback &feedback;
    DatabaseShell &shell;
    CipherState &cipher;
    /// Asked before a file is opened; none: nothing is offered.
    RecoveryOffer *recovery = nullptr;
};

/**
 * The open command: asks about unsaved changes, shows the open dialog when
 * @p path is empty, reads the file and hands it to @p doc, and shows it.
 * Every failure is reported through the services; a failed or cancelled
 * open leaves the database that was open open and unchanged, and only a
 * file that opened enters the recent files. Returns whether a database was
 * opened.
 */
bool OpenDatabaseFile(Document &doc, const QString &path, const OpenServices &services);

/**
 * Opens the recovery file at @p recoveryPath as the unsaved changes of the
 * file at @p originalPath: the database takes that path and is changed, so
 * a save writes it there, and @p original is what the file was when the
 * changes began. An enciphered recovery file asks for its password as
 * opening does. Returns whether it was opened; the database that was open
 * stays otherwise.
 */
bool OpenRecoveredFile(Document &doc, const QString &recoveryPath, const QString &originalPath,
                       const FileStamp &original, const OpenServices &services);

/**
 * Reads the database's own file again in place of the database (Reload,
 * Revert to saved), without asking about its changes: the caller did. An
 * enciphered file is tried with the database's password first. Returns
 * whether it was read; the database stays as it was otherwise.
 */
bool ReloadDatabaseFile(Document &doc, const OpenServices &services);
