#include "widgets/mainwindow/recoverybindings.h"

#include "core/document/document.h"
#include "core/platform/qt/localfilesystem.h"
#include "core/recovery/recoveryfolder.h"
#include "core/recovery/recoverywriter.h"
#include "rules/settings/preferences.h"
#include "rules/shell/engineservices.h"
#include "rules/shell/recoveryrules.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/commandhost.h"

#include <QDir>
#include <QEvent>
#include <QMainWindow>
#include <QStandardPaths>
#include <QTimer>

#include <utility>

namespace {

/// The pieces of one window's recovery, living as long as the window.
class RecoveryKeeper : public QObject
{
public:
    RecoveryKeeper(EngineServices &services, QMainWindow &window, CommandHost &host)
        : QObject(&window), mServices(services), mHost(host), mId(RecoveryFolder::newId()),
          mFolder(services.files, folderPath()), mWriter(mWriterFiles, mFolder.folder(), mId),
          mRules({services.document, mFolder, mWriter, services.clock, services.open()}, mId,
                 services.preferences.recoverySeconds)
    {
        // The writer's thread tells the window's: the user hears that the
        // changes are not being kept, and why.
        mWriter.setWrittenHandler([this, &host](const RecoveryWriter::Outcome &outcome) {
            if (outcome.written)
                return;
            const QString word =
                QStringLiteral("Unsaved changes could not be kept for recovery: %1")
                    .arg(outcome.reason);
            QMetaObject::invokeMethod(
                this, [&host, word] { host.showClosingWord(word); }, Qt::QueuedConnection);
        });
        mTimer.setSingleShot(true);
        connect(&mTimer, &QTimer::timeout, this, [this] { mRules.writeDue(); });
        const auto changed = [this] {
            if (!mOffWord.isEmpty() && mServices.document.database().isChanged())
                mHost.showClosingWord(std::exchange(mOffWord, QString()));
            mRules.documentChanged();
            if (!mRules.writeWanted())
                mTimer.stop();
            else if (!mTimer.isActive())
                mTimer.start(mRules.seconds() * 1000);
        };
        connect(&services.document, &Document::historyChanged, this, changed);
        connect(&services.document, &Document::changedFlagChanged, this, changed);
        window.installEventFilter(this);
    }

    ~RecoveryKeeper() override
    {
        mServices.recovery = nullptr;
        // The window closes as it should: whatever was not saved was given up.
        mRules.finish();
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && !mShown) {
            mShown = true;
            // The preferences are read by now. Before a file named on the
            // command line opens: that waits for the show as well, and
            // comes after this.
            if (mServices.preferences.recoverySeconds > 0) {
                mRules.begin(mFolder.lock(mId));
                // Told at the first change, when the status bar shows.
                if (!mRules.isOn())
                    mOffWord =
                        QStringLiteral("Unsaved changes cannot be kept for recovery: %1 (%2)")
                            .arg(QDir::toNativeSeparators(folderPath()),
                                 mServices.files.lastError());
            }
            if (mRules.isOn())
                mServices.recovery = &mRules;
            QTimer::singleShot(0, this, [this] { mRules.offerLeftovers(); });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    static QString folderPath()
    {
        return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation) +
               QStringLiteral("/recovery");
    }

    EngineServices &mServices;
    CommandHost &mHost;
    QString mId;
    RecoveryFolder mFolder;
    /// The writer's own: the window's is for its thread alone.
    LocalFileSystem mWriterFiles;
    RecoveryWriter mWriter;
    RecoveryRules mRules;
    QTimer mTimer;
    bool mShown = false;
    QString mOffWord; ///< why recovery is off, until told
};

} // namespace

void RecoveryBindings::bind(EngineServices &services, GridView &grid, QMainWindow &window,
                            CommandHost &host)
{
    auto *keeper = new RecoveryKeeper(services, window, host);
    // The window's services go before its children do; the grid goes
    // first, while they stand.
    QObject::connect(&grid, &QObject::destroyed, keeper, [keeper] { delete keeper; });
}
