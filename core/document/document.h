#pragma once

#include "core/document/database.h"
#include "core/document/edit.h"
#include "core/document/edithistory.h"
#include "core/platform/filesystem.h"

#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

/**
 * The owner of the open database: the one door through which it changes.
 *
 * Readers get a const Database. It changes only by apply() (an Edit),
 * replace() (open, new database, import, clone, close) and markSaved().
 * Every change is announced by the signal that matches it, after it is
 * made (and, for records and fields that come, go or move, also just
 * before), so a view can keep its current cell, its scroll position and its
 * persistent indexes; only replace() resets.
 *
 * A Change edit marks the database changed and goes on the undo history;
 * undoing back to the state of the last save clears the changed flag again.
 * Positions in the signals are grid positions (fields 1..f, records 1..n,
 * row 0 the field names).
 */
class Document : public QObject
{
    Q_OBJECT

public:
    explicit Document(QObject *parent = nullptr);
    explicit Document(Database &&db, QObject *parent = nullptr);

    const Database &database() const { return mDb; }

    /// Applies @p edit; see Edit for what its kind means. A step that
    /// names what the database does not hold (a cell, record, field or
    /// list outside it, an order that is no permutation) is a programming
    /// error: Q_ASSERT stops a debug build, a release build leaves the step
    /// out. Steps that would change nothing are passed over; an edit that
    /// changes nothing leaves no undo step, but a Change edit with a valid
    /// step marks the database changed all the same.
    void apply(Edit edit);
    /// Applies the Change @p edit as a part of the last Change edit applied,
    /// whose undo step then takes both back (steps worked out from what the
    /// first part did, such as the recalculation after new field settings).
    /// Without such a last step (or after an undo), as apply().
    void applyJoined(Edit edit);
    /// Takes @p db as the open database, read from the file @p stamp
    /// tells (none: a database not read from a file); the history is
    /// cleared.
    void replace(Database &&db, const FileStamp &stamp = FileStamp());
    ~Document() override;
    /// After a successful write: the file's date and image as written, and
    /// for a save under the database's own or a new name (@p path) the new
    /// path, the changed flag cleared and the clean point of the history.
    void markSaved(const QDateTime &date, const LoStruc &image, const std::optional<QString> &path);
    /// Switches the changed flag as the file's state says: a database
    /// created in memory that was never saved is changed from the start.
    void setChanged(bool on);

    /// The database's file as it was when it was read or last written
    /// under the database's own name: what tells whether another program
    /// changed it since. replace() sets it.
    const FileStamp &fileStamp() const { return mFileStamp; }
    void setFileStamp(const FileStamp &stamp) { mFileStamp = stamp; }

    bool canUndo() const;
    bool canRedo() const;
    /// What Undo and Redo would take back or do again ("typing").
    QString undoLabel() const;
    QString redoLabel() const;
    void undo();
    void redo();
    /// Ends merging of edits with the same merge key (a drag is over); a
    /// merged step that now changes nothing (a drag that ended where it
    /// began) leaves the undo history.
    void endMerge();
    EditHistory &history() { return mHistory; }

    /// Where the current cell is (column, row): kept with each undo step so
    /// that undo and redo put it back.
    void setCurrentCellProvider(std::function<QPoint()> provider)
    {
        mCurrentCell = std::move(provider);
    }

signals:
    void cellsChanged(int firstColumn, int firstRow, int lastColumn, int lastRow);
    void recordsAboutToBeInserted(int position, int count);
    void recordsInserted(int position, int count);
    void recordsAboutToBeRemoved(int position, int count);
    void recordsRemoved(int position, int count);
    void recordAboutToBeMoved(int from, int to);
    void recordMoved(int from, int to);
    void recordsAboutToBePermuted();
    /// Record r is the record @p order[r - 1] was before.
    void recordsPermuted(const std::vector<int> &order);
    void fieldAboutToBeInserted(int position);
    void fieldInserted(int position);
    void fieldAboutToBeRemoved(int position);
    void fieldRemoved(int position);
    void fieldAboutToBeMoved(int from, int to);
    void fieldMoved(int from, int to);
    void fieldDefsChanged(int first, int last);
    void columnWidthsChanged(int first, int last);
    void rowHeightsChanged(int first, int last);
    void viewOptionsChanged();
    /// The name, flags, read-only flag, data width, first unlocked field,
    /// simple filter, named lists or password changed.
    void optionsChanged();
    /// The sort keys changed (a sort command, or its undo).
    void sortKeysChanged();
    void aboutToBeReplaced();
    void replaced();
    void changedFlagChanged(bool changed);
    void historyChanged();
    /// Undo or redo asks the view to make cell (@p column, @p row) current.
    void currentCellRequested(int column, int row);

private:
    /// Tests lay out a document's database directly (tests/support).
    friend struct DocumentAccess;

    /// What applying an edit's steps did.
    struct Outcome
    {
        bool valid = false;   ///< a step could be applied
        bool changed = false; ///< a step changed something
    };

    /// Applies every step of @p edit (EditSteps); returns the edit that
    /// takes it back.
    Edit applySteps(Edit &&edit, Outcome *outcome = nullptr);
    /// Whether applying @p edit to the database as it stands would change
    /// anything.
    bool wouldChange(const Edit &edit);
    void updateChangedFlag(bool changed);
    QPoint currentCell() const { return mCurrentCell ? mCurrentCell() : QPoint(); }

    void wipeKeptPasswords();

    Database mDb;
    EditHistory mHistory;
    /// Passwords that undo or redo may give back, by number.
    std::vector<QString> mKeptPasswords;

    std::function<QPoint()> mCurrentCell;
    FileStamp mFileStamp;
};
