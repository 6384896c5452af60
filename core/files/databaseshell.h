#pragma once

#include <QString>

/**
 * What the main window does around the commands that replace the open
 * database. The engine calls it; the window implements it with its widgets,
 * and tests with a script.
 */
class DatabaseShell
{
public:
    virtual ~DatabaseShell() = default;

    /// Asks about unsaved changes; false means the user chose to keep the
    /// database and the command stops.
    virtual bool ConfirmDiscardChanges() = 0;
    virtual void AddRecentFile(const QString &path) = 0;
    /// Switches the window to showing the database (true) or to the
    /// no-database state (false).
    virtual void SetupGrid(bool open) = 0;

    /// The folder the open dialog starts in, and forgetting it once a file
    /// has been chosen there.
    virtual QString initialDirectory() const = 0;
    virtual void clearInitialDirectory() = 0;
    /// The folder of the last file opened.
    virtual void setInitialDirPath(const QString &folder) = 0;

    virtual bool expertMode() const = 0;

    /// Turns the simple filter on (a database saved with its filter active).
    virtual void applySimpleFilter() = 0;
    virtual void focusGrid() = 0;
    /// Makes grid row @p row current.
    virtual void setCurrentRow(int row) = 0;
    /// Brings the cell into view, centring its column or row when it lies
    /// outside the visible ones.
    virtual void bringCellIntoView(int column, int row) = 0;
};
