#pragma once

#include "core/document/edit.h"

#include <QPoint>

#include <vector>

/**
 * The undo history of a Document: the inverse of every Change edit applied,
 * and after an undo the edits that redo it.
 *
 * Bounded in steps and in the bytes its edits hold; the oldest steps go
 * first, quietly. Remembers the step at which the document was last saved
 * (the clean point), which may fall out of the history.
 */
class EditHistory
{
public:
    static constexpr int DefaultMaxSteps = 1000;
    static constexpr qint64 DefaultMaxBytes = 256ll * 1024 * 1024;

    struct Entry
    {
        Edit edit;         ///< the inverse while undoable, the edit again while redoable
        QPoint cellBefore; ///< the current cell before the edit (column, row)
        QPoint cellAfter;  ///< the current cell after it, known once undone
        qint64 bytes = 0;
    };

    void setLimits(int maxSteps, qint64 maxBytes);

    /// Records the inverse of an applied edit, dropping what could be redone.
    void push(Edit inverse, QPoint cellBefore);
    /// Adds the inverse of an edit applied after the last step to that
    /// step, so that undoing it takes back both; only while it can be
    /// undone and nothing waits to be redone.
    void extendLast(Edit inverse);
    /// Merges an edit of the same key into the last step: the step keeps its
    /// older inverse. Whether there was such a step to merge with.
    bool mergeable(int key) const;

    bool canUndo() const { return mIndex > 0; }
    bool canRedo() const { return mIndex < int(mEntries.size()); }
    /// The step an undo or a redo would take; only while it can.
    Entry &undoEntry() { return mEntries[size_t(mIndex - 1)]; }
    Entry &redoEntry() { return mEntries[size_t(mIndex)]; }
    const Entry &undoEntry() const { return mEntries[size_t(mIndex - 1)]; }
    const Entry &redoEntry() const { return mEntries[size_t(mIndex)]; }
    /// After the undo or redo entry's edit was applied and replaced by its
    /// own inverse.
    void undone();
    void redone();
    void closeMerge() { mMergeOpen = false; }
    /// Whether the last step still takes further edits of its merge key.
    bool isMergeOpen() const { return mMergeOpen && canUndo() && !canRedo(); }
    /// Drops the last step (one that changes nothing any more); only while
    /// it can be undone and nothing waits to be redone.
    void dropLast();

    void clear();
    void setClean() { mCleanIndex = mIndex; }
    bool isClean() const { return mCleanIndex == mIndex; }

    qint64 bytes() const { return mBytes; }
    int size() const { return int(mEntries.size()); }

    /// What an edit's texts and records take in memory, roughly.
    static qint64 sizeOf(const Edit &edit);

private:
    void trim();
    void recount(Entry &entry);

    std::vector<Entry> mEntries;
    int mIndex = 0;
    int mCleanIndex = 0; ///< -1 once the saved state is out of reach
    bool mMergeOpen = false;
    int mMaxSteps = DefaultMaxSteps;
    qint64 mMaxBytes = DefaultMaxBytes;
    qint64 mBytes = 0;
};
