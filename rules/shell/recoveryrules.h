#pragma once

#include "core/files/opendatabasefile.h"
#include "core/platform/message.h"
#include "core/recovery/recoveryfolder.h"

#include <QIODevice>
#include <QString>

#include <memory>

class Clock;
class Document;
class MessageService;
class RecoveryWriter;

/// What the recovery of unsaved changes works through.
struct RecoveryServices
{
    Document &document;
    /// The folder as the window's thread sees it.
    RecoveryFolder &folder;
    /// Writes this run's files on its own thread.
    RecoveryWriter &writer;
    Clock &clock;
    OpenServices open;
};

/**
 * The recovery of unsaved changes, for the run of one window: when to
 * write the recovery file (at most a given number of seconds after a
 * change, never for a database without changes), the copy handed to the
 * writer, its removal once the changes are saved, discarded or closed, and
 * the question about the recovery files that runs which did not end left
 * ("Recover changes": restore, discard or later).
 */
class RecoveryRules : public RecoveryOffer
{
public:
    /// Works as run @p id, writing @p seconds after a change at the
    /// latest (0: never), as the preference says when the run begins.
    RecoveryRules(const RecoveryServices &services, const QString &id, const int &seconds);
    ~RecoveryRules() override;

    /// Begins keeping recovery files, as run @p id whose lock @p lock
    /// holds (none: the run keeps none).
    void begin(std::unique_ptr<QIODevice> lock);
    /// Whether the run keeps recovery files: on, with its lock held.
    bool isOn() const { return seconds() > 0 && mLock != nullptr; }
    int seconds() const { return qMax(0, mSeconds); }

    /// After every change of the document. Removes the recovery file once
    /// the database has no unsaved changes.
    void documentChanged();
    /// Whether a write is wanted: the timer runs while it is.
    bool writeWanted() const;
    /// The time after a change is up: the writer gets a copy of the
    /// database and its record.
    void writeDue();

    /// At start: asks about the recovery files left, most recent first,
    /// until one is restored.
    void offerLeftovers();
    bool restoreInstead(const QString &path) override;

    /// The run ends as it should: its files go, its lock with them.
    void finish();

    /// The question about one recovery file.
    static Message question(const RecoveryRecord &record);

private:
    enum class Answer
    {
        Restored,
        Kept,
        Discarded
    };
    Answer offer(RecoveryFolder::Left &left);

    RecoveryServices mServices;
    QString mId;
    std::unique_ptr<QIODevice> mLock;
    const int &mSeconds;
    bool mWritten = false; ///< a write was handed over since the last removal
};
