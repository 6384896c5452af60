#pragma once

#include "interchange/text/textcodec.h"

#include <QString>
#include <QStringList>

class Database;
class DatabaseShell;
class Document;
class FileDialogs;
class FileSystem;
class MessageService;
class Progress;
class UserFeedback;

/// The services the text commands work through.
struct TextServices
{
    MessageService &messages;
    FileSystem &files;
    UserFeedback &feedback;
    Progress &progress;
};

/**
 * Import, Append and Export of delimited text.
 *
 * The file steps (importFile(), appendFile(), exportFile()) read or write
 * one file of a given type and ask their questions through the services;
 * the command-line tool uses them as they are. The commands (Import(),
 * Append(), Export()) add the main window's part: the unsaved-changes
 * question, the file dialogs with their remembered file types and folders,
 * and showing the result. Nothing changes until a file has been read and
 * counted, its questions answered and its records built: a failure or a
 * cancel leaves the open database as it was. Import replaces the database
 * (its undo history goes); Append is one edit that can be undone. Before
 * Import and Append the caller switches the filter and automatic column
 * sizing off. Whenever the text was not taken as it stands, a message
 * (with OK alone) says afterwards what happened.
 */
class TextCommands
{
public:
    TextCommands(Document &doc, const TextServices &services);

    /// Reads @p path as a new database into @p db. False after a failure
    /// (reported) or a cancel.
    bool importFile(const QString &path, int fileType, TextEncoding encoding, Database &db);
    /// Appends the lines of @p path to the document's records as one edit.
    bool appendFile(const QString &path, int fileType, TextEncoding encoding);
    /// Writes the document's visible records to @p path, keeping a file it
    /// replaces under the file type's backup extension. In Windows-1252,
    /// texts with characters it has no byte for are exported as "?" only
    /// once the user has agreed, told how many cells hold them.
    bool exportFile(const QString &path, int fileType, TextEncoding encoding);

    bool Import(FileDialogs &dialogs, DatabaseShell &shell);
    bool Append(FileDialogs &dialogs, DatabaseShell &shell);
    bool Export(FileDialogs &dialogs);

    /// The file types the dialogs remember (1-based filter indexes; the
    /// export dialog's counts its UTF-8 types too, see TextFileType).
    int importFileType() const { return mImportFileType; }
    int exportFileType() const { return mExportFileType; }

    /// The message when a text file cannot be read, and when one cannot be
    /// written.
    static QString openErrorText();
    static QString saveErrorText();

private:
    /// The open dialog of Import and Append, with @p title.
    QString chooseTextFile(FileDialogs &dialogs, const QString &title);
    bool ask(const QStringList &lines);
    /// Tells @p lines (what an import or append did), now or, while
    /// mTellLater, at tellNow().
    void tell(const QStringList &lines);
    void tellNow();
    /// Asks before an export in Windows-1252 writes "?" for characters;
    /// true when there are none or the user agrees.
    bool acceptUnmappable();

    Document &mDoc;
    TextServices mServices;
    int mImportFileType = 1;
    int mExportFileType = 1;
    QString mImportFolder;
    QString mExportFolder;
    bool mTellLater = false;
    QStringList mToTell;
};
