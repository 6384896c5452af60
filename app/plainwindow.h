#pragma once

#include "core/cipherstate.h"
#include "core/database.h"
#include "core/databaseshell.h"
#include "core/localfilesystem.h"
#include "ui/qtfiledialogs.h"
#include "ui/qtmessageservice.h"
#include "ui/qtpasswordprompt.h"
#include "ui/qtuserfeedback.h"
#include "ui/tcryptform.h"

#include <QMainWindow>

class QTableView;
class RecordGridModel;

/**
 * A read-only window over one database: the records in a table, File/Open
 * and Quit. It stands in for the main window until that is built.
 */
class PlainWindow : public QMainWindow, public DatabaseShell
{
    Q_OBJECT

public:
    PlainWindow();
    ~PlainWindow() override;

    /// Opens @p path (empty: ask with the open dialog).
    void openFile(const QString &path);

    bool ConfirmDiscardChanges() override { return true; }
    void AddRecentFile(const QString &) override {}
    void SetupGrid(bool open) override;
    QString initialDirectory() const override { return mInitialDir; }
    void clearInitialDirectory() override { mInitialDir.clear(); }
    void setInitialDirPath(const QString &folder) override { mInitialDir = folder; }
    bool expertMode() const override { return false; }
    void applySimpleFilter() override {}
    void focusGrid() override;
    void setCurrentRow(int row) override;
    void bringCellIntoView(int column, int row) override;

private:
    Database mDatabase;
    QtMessageService mMessages;
    TCryptForm *mCryptForm;
    QtPasswordPrompt mPasswords;
    QtFileDialogs mDialogs;
    QtUserFeedback mFeedback;
    LocalFileSystem mFiles;
    CipherState mCipher;
    QString mInitialDir;

    RecordGridModel *mModel;
    QTableView *mView;
};
