#pragma once

#include "core/files/opendatabasefile.h"
#include "core/files/savedatabasefile.h"
#include "table/operations/tableservices.h"

class CalculatedFields;
class CipherState;
class Clipboard;
class Clock;
class ColumnAutoSize;
class DatabaseShell;
class Document;
class FileDialogs;
class FileSystem;
class FilterEngine;
class LocaleService;
class MessageService;
class PasswordPrompt;
class TUserData;
class UserFeedback;
struct Preferences;

/**
 * The engine's services for the run of one window, in one place: the
 * document and what works on it, and what asks the user or touches the
 * platform. The main window owns what each member refers to and hands this
 * to the bindings of its commands, which take from it what they use; every
 * member outlives them. Tests build one over fakes.
 */
struct EngineServices
{
    Document &document;
    CalculatedFields &calculations;
    FilterEngine &filter;
    ColumnAutoSize &autoSize;
    MessageService &messages;
    UserFeedback &feedback;
    Clipboard &clipboard;
    FileDialogs &fileDialogs;
    FileSystem &files;
    PasswordPrompt &passwords;
    Clock &clock;
    LocaleService &locale;
    CipherState &cipher;
    /// The per-user preferences: read at start, written when the window
    /// closes.
    Preferences &preferences;
    /// The handheld users of the synchronisation software, read at start.
    TUserData &userData;
    /// The handheld user Install serves (-1: none); the Properties dialog
    /// chooses it, and it is not kept between runs.
    int &selectedSyncUser;
    /// What the window does around the commands that replace the database.
    DatabaseShell &shell;
    /// Offers the unsaved changes a run that did not end left for a file
    /// about to be opened; none while nobody keeps them.
    RecoveryOffer *recovery = nullptr;

    /// What the row, column and cell commands work through.
    TableServices table() const { return {document, calculations, messages, feedback, clipboard}; }
    /// What opening a file works through.
    OpenServices open() const
    {
        return {messages, passwords, files, fileDialogs, feedback, shell, cipher, recovery};
    }
    /// What saving works through.
    SaveServices save() const { return {messages, files, fileDialogs, feedback, clock, cipher}; }
};
