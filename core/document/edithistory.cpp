#include "core/document/edithistory.h"

#include "core/document/editsteps.h"

void EditHistory::setLimits(int maxSteps, qint64 maxBytes)
{
    mMaxSteps = qMax(1, maxSteps);
    mMaxBytes = qMax<qint64>(1, maxBytes);
    trim();
}

qint64 EditHistory::sizeOf(const Edit &edit)
{
    qint64 n = 64 + edit.label.size() * 2;
    for (const EditStep::Step &step : edit.steps)
        n += EditSteps::bytesOf(step);
    return n;
}

bool EditHistory::mergeable(int key) const
{
    return key != 0 && mMergeOpen && mIndex == int(mEntries.size()) && mIndex > 0 &&
           mEntries.back().edit.mergeKey == key && mCleanIndex != mIndex;
}

void EditHistory::push(Edit inverse, QPoint cellBefore)
{
    while (int(mEntries.size()) > mIndex) {
        mBytes -= mEntries.back().bytes;
        mEntries.pop_back();
    }
    if (mCleanIndex > mIndex)
        mCleanIndex = -1;
    Entry entry;
    entry.bytes = sizeOf(inverse);
    entry.edit = std::move(inverse);
    entry.cellBefore = cellBefore;
    entry.cellAfter = cellBefore;
    mBytes += entry.bytes;
    mMergeOpen = entry.edit.mergeKey != 0;
    mEntries.push_back(std::move(entry));
    ++mIndex;
    trim();
}

void EditHistory::extendLast(Edit inverse)
{
    if (mIndex == 0 || mIndex != int(mEntries.size()))
        return;
    Entry &entry = mEntries.back();
    // The later edit is taken back first.
    for (EditStep::Step &step : entry.edit.steps)
        inverse.steps.push_back(std::move(step));
    entry.edit.steps = std::move(inverse.steps);
    mMergeOpen = false;
    recount(entry);
    trim();
}

void EditHistory::dropLast()
{
    if (mIndex == 0 || mIndex != int(mEntries.size()))
        return;
    mBytes -= mEntries.back().bytes;
    mEntries.pop_back();
    --mIndex;
    if (mCleanIndex > mIndex)
        mCleanIndex = -1;
    mMergeOpen = false;
}

void EditHistory::trim()
{
    // The newest step always stays, however large: it is what the user
    // would undo first.
    size_t drop = 0;
    qint64 bytes = mBytes;
    while (mEntries.size() - drop > 1 &&
           (int(mEntries.size() - drop) > mMaxSteps || bytes > mMaxBytes) && int(drop) < mIndex) {
        bytes -= mEntries[drop].bytes;
        ++drop;
    }
    if (drop == 0)
        return;
    mEntries.erase(mEntries.begin(), mEntries.begin() + qsizetype(drop));
    mBytes = bytes;
    mIndex -= int(drop);
    mCleanIndex = mCleanIndex >= int(drop) ? mCleanIndex - int(drop) : -1;
}

void EditHistory::undone()
{
    --mIndex;
    recount(mEntries[size_t(mIndex)]);
}

void EditHistory::redone()
{
    ++mIndex;
    recount(mEntries[size_t(mIndex - 1)]);
}

void EditHistory::recount(Entry &entry)
{
    mBytes -= entry.bytes;
    entry.bytes = sizeOf(entry.edit);
    mBytes += entry.bytes;
}

void EditHistory::clear()
{
    mEntries.clear();
    mIndex = 0;
    mCleanIndex = 0;
    mBytes = 0;
    mMergeOpen = false;
}
