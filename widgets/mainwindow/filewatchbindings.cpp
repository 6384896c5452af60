#include "widgets/mainwindow/filewatchbindings.h"

#include "core/document/document.h"
#include "core/platform/qt/qtfilewatcher.h"
#include "rules/shell/engineservices.h"
#include "rules/shell/filewatchrules.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/commandhost.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QScrollBar>
#include <QToolBar>

namespace {

/// The bar above the grid, and what its buttons do.
class FileWatchBar : public QToolBar
{
public:
    FileWatchBar(const EngineServices &services, GridView &grid, CommandHost &host,
                 QMainWindow &window)
        : QToolBar(QStringLiteral("File changed"), &window), mServices(services), mGrid(grid),
          mRules(services.document, mWatcher, services.open())
    {
        setObjectName(QStringLiteral("fileWatchBar"));
        setMovable(false);
        setFloatable(false);
        toggleViewAction()->setVisible(false);
        // The yellow of notices, set apart from the toolbar above it.
        setStyleSheet(QStringLiteral("QToolBar#fileWatchBar { background: #fff4ce; border: 0; "
                                     "border-bottom: 1px solid #d8c88a; }"
                                     "QLabel { color: black; }"));
        auto *content = new QWidget(this);
        auto *layout = new QHBoxLayout(content);
        layout->setContentsMargins(8, 3, 8, 3);
        mText = new QLabel(content);
        mText->setObjectName(QStringLiteral("fileWatchText"));
        mText->setWordWrap(true);
        layout->addWidget(mText, 1);
        mReload = addButton(layout, QStringLiteral("&Reload"),
                            [this] { keepingView([this] { mRules.reload(); }); });
        mSave = addButton(layout, QStringLiteral("&Save"),
                          [&host] { host.action(Command::Save)->trigger(); });
        mIgnore = addButton(layout, QStringLiteral("I&gnore"), [this] {
            mRules.ignore();
            show(mRules.state());
        });
        addWidget(content);
        window.addToolBarBreak(Qt::TopToolBarArea);
        window.addToolBar(Qt::TopToolBarArea, this);
        hide();

        mWatcher.setNoticeHandler([this] { show(mRules.check()); });
        const auto follow = [this] {
            mRules.follow();
            show(mRules.state());
        };
        connect(&services.document, &Document::replaced, this, follow);
        connect(&services.document, &Document::changedFlagChanged, this, follow);
        window.installEventFilter(this);
        host.bindCommand(Command::RevertToSaved,
                         [this] { keepingView([this] { mRules.revert(); }); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Watchers miss changes: the file is looked at whenever the window
        // comes back to the front.
        if (event->type() == QEvent::WindowActivate)
            show(mRules.check());
        return QToolBar::eventFilter(watched, event);
    }

private:
    template <typename F> QPushButton *addButton(QHBoxLayout *layout, const QString &text, F f)
    {
        auto *button = new QPushButton(text, layout->parentWidget());
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, f);
        return button;
    }

    void show(FileWatchRules::State state)
    {
        const FileWatchRules::Bar bar = FileWatchRules::bar(state);
        mText->setText(bar.text);
        mReload->setVisible(bar.reload);
        mSave->setVisible(bar.save);
        mIgnore->setVisible(bar.ignore);
        setVisible(!bar.text.isEmpty());
    }

    /// Runs @p reread, then puts the current cell and the scroll position
    /// back where the database read still has them.
    template <typename F> void keepingView(F reread)
    {
        const int column = mGrid.currentGridColumn();
        const int row = mGrid.currentGridRow();
        const int across = mGrid.horizontalScrollBar()->value();
        const int down = mGrid.verticalScrollBar()->value();
        const QString path = mServices.document.database().filePath();
        reread();
        const Database &db = mServices.document.database();
        if (db.filePath() != path || db.recordCount() == 0 || db.fieldCount() == 0)
            return;
        mGrid.setCurrentCell(qBound(1, column, db.fieldCount()), qBound(1, row, db.recordCount()));
        mGrid.horizontalScrollBar()->setValue(across);
        mGrid.verticalScrollBar()->setValue(down);
        show(mRules.state());
    }

    const EngineServices &mServices;
    GridView &mGrid;
    QtFileWatcher mWatcher;
    FileWatchRules mRules;
    QLabel *mText = nullptr;
    QPushButton *mReload = nullptr;
    QPushButton *mSave = nullptr;
    QPushButton *mIgnore = nullptr;
};

} // namespace

void FileWatchBindings::bind(const EngineServices &services, GridView &grid, CommandHost &host,
                             QMainWindow &window)
{
    auto *bar = new FileWatchBar(services, grid, host, window);
    // The window's services go before its children do; the grid goes
    // first, while they stand.
    QObject::connect(&grid, &QObject::destroyed, bar, [bar] { delete bar; });
}
