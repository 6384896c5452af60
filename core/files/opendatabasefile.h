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
