#include "core/document/document.h"

#include "core/document/editsteps.h"

#include <QThreadPool>

#include <algorithm>
#include <memory>
#include <utility>

Document::Document(QObject *parent) : QObject(parent)
{
}

Document::Document(Database &&db, QObject *parent) : QObject(parent), mDb(std::move(db))
{
}

Edit Document::applySteps(Edit &&edit, Outcome *outcome)
{
    EditSteps::Target target{*this, mDb, mDb.grid(), mKeptPasswords};
    Edit inverse;
    inverse.kind = edit.kind;
    inverse.label = edit.label;
    inverse.mergeKey = edit.mergeKey;
    inverse.steps.reserve(edit.steps.size());
    Outcome result;
    for (EditStep::Step &step : edit.steps) {
        const EditSteps::Effect effect = EditSteps::effectOf(target, step);
        // A step that names what the database does not hold is the
        // caller's error; a release build leaves it out.
        Q_ASSERT_X(effect != EditSteps::Effect::Invalid, "Document::apply",
                   "a step names a cell, record, field or list the database does not hold");
        if (effect == EditSteps::Effect::Invalid)
            continue;
        result.valid = true;
        if (effect == EditSteps::Effect::None)
            continue;
        result.changed = true;
        inverse.steps.push_back(EditSteps::applyStep(target, step));
    }
    std::reverse(inverse.steps.begin(), inverse.steps.end());
    if (outcome)
        *outcome = result;
    return inverse;
}

bool Document::wouldChange(const Edit &edit)
{
    const EditSteps::Target target{*this, mDb, mDb.grid(), mKeptPasswords};
    return std::any_of(edit.steps.begin(), edit.steps.end(), [&](const EditStep::Step &step) {
        return EditSteps::effectOf(target, step) == EditSteps::Effect::Changes;
    });
}

Document::~Document()
{
    wipeKeptPasswords();
}

void Document::wipeKeptPasswords()
{
    for (QString &password : mKeptPasswords) {
        // Overwritten where it lies, as far as no other text shares it.
        password.fill(QChar(u'\0'));
        password.clear();
    }
    mKeptPasswords.clear();
}

void Document::applyJoined(Edit edit)
{
    if (edit.kind != Edit::Change || !canUndo() || canRedo()) {
        apply(std::move(edit));
        return;
    }
    Outcome outcome;
    Edit inverse = applySteps(std::move(edit), &outcome);
    if (!outcome.valid)
        return;
    if (outcome.changed)
        mHistory.extendLast(std::move(inverse));
    updateChangedFlag(true);
    emit historyChanged();
}

void Document::apply(Edit edit)
{
    const QPoint before = currentCell();
    const bool merge = edit.kind == Edit::Change && mHistory.mergeable(edit.mergeKey);
    Outcome outcome;
    Edit inverse = applySteps(std::move(edit), &outcome);
    if (inverse.kind != Edit::Change || !outcome.valid)
        return;
    // What changes nothing leaves no undo step; a change command marks the
    // database changed all the same (a fill from the last record, Cut cell
    // on an empty cell).
    if (outcome.changed && !merge)
        mHistory.push(std::move(inverse), before);
    updateChangedFlag(true);
    emit historyChanged();
}

void Document::endMerge()
{
    // A drag that ends where it began leaves no undo step.
    const bool obsolete = mHistory.isMergeOpen() && !wouldChange(mHistory.undoEntry().edit);
    mHistory.closeMerge();
    if (!obsolete)
        return;
    mHistory.dropLast();
    emit historyChanged();
}

void Document::replace(Database &&db, const FileStamp &stamp)
{
    emit aboutToBeReplaced();
    Database gone = std::exchange(mDb, std::move(db));
    mFileStamp = stamp;
    mHistory.clear();
    wipeKeptPasswords();
    emit replaced();
    emit changedFlagChanged(mDb.isChanged());
    emit historyChanged();
    // A large database given up is a row of allocations for each record:
    // freed on another thread, the new one shows without waiting for it.
    if (gone.recordCount() >= 1000) {
        auto freed = std::make_shared<Database>(std::move(gone));
        QThreadPool::globalInstance()->start(
            [freed = std::move(freed)]() mutable { freed.reset(); });
    }
}

void Document::markSaved(const QDateTime &date, const LoStruc &image,
                         const std::optional<QString> &path)
{
    mDb.setDate(date);
    mDb.loStruc() = image;
    if (!path)
        return;
    mDb.setFilePath(*path);
    mHistory.setClean();
    mHistory.closeMerge();
    updateChangedFlag(false);
}

void Document::setChanged(bool on)
{
    updateChangedFlag(on);
}

void Document::updateChangedFlag(bool changed)
{
    if (mDb.isChanged() == changed)
        return;
    mDb.setChanged(changed);
    emit changedFlagChanged(changed);
}

bool Document::canUndo() const
{
    return mHistory.canUndo();
}

bool Document::canRedo() const
{
    return mHistory.canRedo();
}

QString Document::undoLabel() const
{
    return canUndo() ? mHistory.undoEntry().edit.label : QString();
}

QString Document::redoLabel() const
{
    return canRedo() ? mHistory.redoEntry().edit.label : QString();
}

void Document::undo()
{
    if (!canUndo())
        return;
    EditHistory::Entry &entry = mHistory.undoEntry();
    entry.cellAfter = currentCell();
    entry.edit = applySteps(std::move(entry.edit));
    mHistory.undone();
    mHistory.closeMerge();
    updateChangedFlag(!mHistory.isClean());
    emit historyChanged();
    emit currentCellRequested(entry.cellBefore.x(), entry.cellBefore.y());
}

void Document::redo()
{
    if (!canRedo())
        return;
    EditHistory::Entry &entry = mHistory.redoEntry();
    entry.edit = applySteps(std::move(entry.edit));
    mHistory.redone();
    updateChangedFlag(!mHistory.isClean());
    emit historyChanged();
    emit currentCellRequested(entry.cellAfter.x(), entry.cellAfter.y());
}
