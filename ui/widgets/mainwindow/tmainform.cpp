#include "ui/widgets/mainwindow/tmainform.h"

#include "core/files/opendatabasefile.h"
#include "core/files/savedatabasefile.h"
#include "core/platform/settingsstore.h"
#include "ui/rules/grid/celledit.h"
#include "ui/rules/grid/columnrescale.h"
#include "ui/rules/grid/popupinsertion.h"
#include "ui/rules/shell/commandtable.h"
#include "ui/rules/shell/saveflow.h"
#include "ui/rules/shell/shellquestions.h"
#include "ui/rules/shell/statusbarcontent.h"
#include "ui/widgets/dialogs/fontdialog.h"
#include "ui/widgets/dialogs/tcryptform.h"
#include "ui/widgets/grid/gridcontextmenu.h"
#include "ui/widgets/grid/gridview.h"
#include "ui/widgets/mainwindow/helpcommands.h"
#include "ui/widgets/mainwindow/startpage.h"
#include "ui/widgets/mainwindow/toolbaricons.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>
#include <QUrl>

namespace {

constexpr QSize kDesignSize(528, 341);

/// The commands whose work is built; the others stay disabled until it is.
bool isBuilt(Command c)
{
    switch (c) {
    case Command::Open:
    case Command::Close:
    case Command::Save:
    case Command::SaveAs:
    case Command::RecentFile:
    case Command::Exit:
    case Command::Filter:
    case Command::AdvancedFilter:
    case Command::ColumnSum:
    case Command::AutoSizing:
    case Command::Font:
    case Command::Homepage:
    case Command::About:
    case Command::Undo:
    case Command::Redo:
        return true;
    default:
        return false;
    }
}

} // namespace

TMainForm::TMainForm(SettingsStore &settings, QWidget *parent)
    : TMainForm(settings, Overrides(), parent)
{
}

TMainForm::TMainForm(SettingsStore &settings, Overrides overrides, QWidget *parent)
    : QMainWindow(parent), mSettings(settings), mQtMessages(this),
      mMessages(overrides.messages ? *overrides.messages : mQtMessages),
      mCryptForm(new TCryptForm(mMessages, this)), mPasswords(*mCryptForm), mQtDialogs(this),
      mDialogs(overrides.dialogs ? *overrides.dialogs : mQtDialogs),
      mFilter(mDocument, mLocale, mFeedback),
      mCalc(mDocument.database(), mLocale, mClock, mFeedback), mAutoSize(mDocument, mMeasurer),
      mChooseFont(overrides.chooseFont),
      mOpenUrl(overrides.openUrl ? overrides.openUrl
                                 : [](const QUrl &url) { return QDesktopServices::openUrl(url); }),
      mGrid(new GridView(mDocument, mCalc, mMessages, mFeedback, this)),
      mStatusTimer(new QTimer(this))
{
    mSystemSeparators = mLocale.separators();
    // Hints show on the yellow of information tips.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(0xFF, 0xFF, 0xE1));
    tips.setColor(QPalette::ToolTipText, Qt::black);
    QToolTip::setPalette(tips);
    setWindowTitle(QStringLiteral(" Quillgrid5"));
    createActions();
    // Without a database the start page stands where the grid would.
    mStartPage =
        new StartPage({action(Command::Open), action(Command::New), action(Command::Import)}, this);
    mCentral = new QStackedWidget(this);
    mCentral->addWidget(mStartPage);
    mCentral->addWidget(mGrid);
    setCentralWidget(mCentral);
    setAcceptDrops(true);
    createMenus();
    createToolBar();
    createStatusBar();
    createContextMenu();
    mDocument.setCurrentCellProvider(
        [this] { return QPoint(mGrid->currentGridColumn(), mGrid->currentGridRow()); });
    connect(&mDocument, &Document::historyChanged, this, &TMainForm::updateUndoActions);
    mFilter.setModeChangedHandler([this](int mode) {
        action(Command::Filter)->setChecked(mode == FilterEngine::Simple);
        action(Command::AdvancedFilter)->setChecked(mode == FilterEngine::Advanced);
    });

    SetupGrid(false);
    loadPreferences();
    mInitialDirectory = mPreferences.initialDirPath;

    // The clipboard tells when its contents change; asking it every 100 ms
    // would mean a round trip to another program each time.
    const auto clipboardChanged = [this] {
        const QMimeData *data = QGuiApplication::clipboard()->mimeData();
        mClipboardText = data && data->hasText() && !data->text().isEmpty();
    };
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, clipboardChanged);
    clipboardChanged();

    connect(mStatusTimer, &QTimer::timeout, this, &TMainForm::UpdateStatus);
    mStatusTimer->start(100);
}

TMainForm::~TMainForm()
{
    // The widgets that read the database go before it does; the base class
    // would delete them only after the members are gone.
    mStatusTimer->stop();
    delete mGrid;
    mGrid = nullptr;
}

void TMainForm::createActions()
{
    for (const CommandTable::Entry &e : CommandTable::menuEntries()) {
        if (e.command == Command::RecentFile)
            continue;
        auto *a = new QAction(QString::fromLatin1(e.caption), this);
        if (*e.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        if (*e.hint)
            a->setToolTip(QString::fromLatin1(e.hint));
        a->setIcon(ToolbarIcons::commandIcon(e.command));
        a->setCheckable(CommandTable::isToggle(e.command));
        mActions.insert(int(e.command), a);
    }
    for (int slot = 0; slot < 5; ++slot) {
        auto *a = new QAction(this);
        connect(a, &QAction::triggered, this, [this, slot] {
            // A file from the list keeps the list's order.
            mFilter.ApplyFilter(FilterEngine::Off);
            OpenDatabaseFile(mRecentFiles.entry(slot + 1));
        });
        mRecentActions[size_t(slot)] = a;
    }

    connect(action(Command::Open), &QAction::triggered, this, [this] { OpenDatabaseFile({}); });
    connect(action(Command::Close), &QAction::triggered, this, &TMainForm::Close1Click);
    connect(action(Command::Save), &QAction::triggered, this, [this] { saveFlow(false); });
    connect(action(Command::SaveAs), &QAction::triggered, this, [this] { saveFlow(true); });
    connect(action(Command::Exit), &QAction::triggered, this, &QWidget::close);
    connect(action(Command::Filter), &QAction::triggered, this,
            [this] { mFilter.toggleSimpleFilter(); });
    connect(action(Command::AdvancedFilter), &QAction::triggered, this,
            [this] { mFilter.toggleAdvancedFilter(); });
    connect(action(Command::ColumnSum), &QAction::triggered, this, &TMainForm::ColSum1Click);
    connect(action(Command::Undo), &QAction::triggered, &mDocument, &Document::undo);
    connect(action(Command::Redo), &QAction::triggered, &mDocument, &Document::redo);
    action(Command::Redo)
        ->setShortcuts(
            {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});
    connect(action(Command::AutoSizing), &QAction::triggered, this,
            [this] { AutoSizeColumns(!mAutoSize.isOn()); });
    connect(action(Command::Font), &QAction::triggered, this, &TMainForm::Font1Click);
    connect(action(Command::Homepage), &QAction::triggered, this, &TMainForm::Homepage1Click);
    connect(action(Command::About), &QAction::triggered, this, &TMainForm::About1Click);
}

void TMainForm::createMenus()
{
    QHash<QString, QMenu *> menus;
    QMenu *submenu = nullptr;
    for (const CommandTable::Entry &e : CommandTable::menuEntries()) {
        const QString title = QString::fromLatin1(e.menu);
        QMenu *menu = menus.value(title);
        if (!menu) {
            menu = menuBar()->addMenu(title);
            menus.insert(title, menu);
        }
        if (e.command == Command::RecentFile) {
            for (QAction *a : mRecentActions)
                menu->addAction(a);
            menu->addSeparator();
            continue;
        }
        QAction *a = action(e.command);
        if (e.submenu && submenu) {
            submenu->addAction(a);
            continue;
        }
        if (e.command == Command::FillColumn || e.command == Command::FillRow) {
            submenu = menu->addMenu(a->text());
            submenu->menuAction()->setEnabled(false);
            mActions.insert(int(e.command), submenu->menuAction());
        } else {
            menu->addAction(a);
        }
        if (e.separatorAfter) {
            QAction *separator = menu->addSeparator();
            // The separator above the recent files shows only with them.
            if (e.command == Command::Print)
                mRecentSeparator = separator;
        }
    }
}

void TMainForm::createToolBar()
{
    QToolBar *bar = addToolBar(QStringLiteral("Toolbar"));
    bar->setObjectName(QStringLiteral("toolbar"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(16, 16));
    for (Command c : CommandTable::toolbar()) {
        QAction *a = action(c);
        bar->addAction(a);
    }
}

void TMainForm::createStatusBar()
{
    for (int i = 0; i < StatusBarContent::PanelCount; ++i) {
        auto *label = new QLabel(this);
        label->setAlignment(StatusBarContent::isCentred(i) ? Qt::AlignCenter
                                                           : Qt::AlignLeft | Qt::AlignVCenter);
        if (i < StatusBarContent::PanelCount - 1) {
            // At least the panel's width; wider when its text needs it, so
            // that no text runs into the next panel.
            label->setMinimumWidth(StatusBarContent::PanelWidths[size_t(i)]);
            statusBar()->addWidget(label);
        } else {
            // The path takes what is left, shortened in the middle.
            label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
            label->setMinimumWidth(40);
            statusBar()->addWidget(label, 1);
        }
        mPanels[size_t(i)] = label;
    }
}

void TMainForm::loadPreferences()
{
    mPreferences = Preferences::load(mSettings, mSystemSeparators);
    NumberSeparators::setCurrent(mPreferences.separatorsInForce(mSystemSeparators));
    mGrid->setAutoRightJustify(mPreferences.autoRightJust);

    mProgramFont = QFont(mPreferences.fontName, mPreferences.fontSize);
    mProgramFont.setBold(mPreferences.fontStyle & Preferences::Bold);
    mProgramFont.setItalic(mPreferences.fontStyle & Preferences::Italic);
    mProgramFont.setUnderline(mPreferences.fontStyle & Preferences::Underline);
    mProgramFont.setStrikeOut(mPreferences.fontStyle & Preferences::StrikeOut);
    ApplyProgramFont();

    applyWindowBounds();
    mRecentFiles.setEntries(mPreferences.recentFiles);
    RefreshRecentFilesMenu();
}

void TMainForm::applyWindowBounds()
{
    const QRect stored(mPreferences.formLeft, mPreferences.formTop, mPreferences.formWidth,
                       mPreferences.formHeight);
    // Bounds stored under another arrangement of monitors may lie on no
    // screen at all; the window is then centred at its design size.
    bool onScreen = false;
    if (mPreferences.hasStoredPosition()) {
        for (const QScreen *screen : QGuiApplication::screens())
            onScreen = onScreen || screen->availableGeometry().intersects(stored);
    }
    if (onScreen) {
        setGeometry(stored);
        return;
    }
    // The first start: wide enough for the whole toolbar and about 25
    // records, never larger than the screen, centred.
    QSize size = kDesignSize;
    if (const QToolBar *bar = findChild<QToolBar *>()) {
        const int chrome = menuBar()->sizeHint().height() + bar->sizeHint().height() +
                           statusBar()->sizeHint().height() + 2 * GridView::RowHeight + 16;
        size = size.expandedTo(
            QSize(bar->sizeHint().width() + 24, chrome + 25 * RecordGrid::VisibleRowHeight));
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        // Leave room for the window manager's frame.
        size = size.boundedTo(available.size() - QSize(16, 48));
        QRect frame(QPoint(), size);
        frame.moveCenter(available.center());
        resize(size);
        move(frame.topLeft());
    } else {
        resize(size);
    }
}

void TMainForm::savePreferences()
{
    const QRect bounds = normalGeometry();
    mPreferences.formLeft = bounds.x();
    mPreferences.formTop = bounds.y();
    mPreferences.formWidth = bounds.width();
    mPreferences.formHeight = bounds.height();
    mPreferences.fontName = mProgramFont.family();
    mPreferences.fontSize = mProgramFont.pointSize();
    mPreferences.fontStyle = (mProgramFont.bold() ? Preferences::Bold : 0) |
                             (mProgramFont.italic() ? Preferences::Italic : 0) |
                             (mProgramFont.underline() ? Preferences::Underline : 0) |
                             (mProgramFont.strikeOut() ? Preferences::StrikeOut : 0);
    mPreferences.recentFiles = mRecentFiles.entries();
    mPreferences.save(mSettings);
    mSettings.sync();
}

void TMainForm::ApplyProgramFont()
{
    // The headers take the grid's font.
    mGrid->setFont(mProgramFont);
    mCryptForm->setEditFont(mProgramFont);
    mMeasurer.setFont(mProgramFont);
    const int zeros = QFontMetrics(mProgramFont).horizontalAdvance(QStringLiteral("0000"));
    mDocument.apply(Edit::view(
        EditStep::ViewOptions{zeros / (56.0 / 3.0), mDocument.database().autoSizeColumns()}));
    mGrid->setRecordNumberWidth(zeros + 11);
}

bool TMainForm::ConfirmDiscardChanges()
{
    return ShellQuestions::ConfirmDiscardChanges(database().isChanged(), mMessages);
}

void TMainForm::AddRecentFile(const QString &path)
{
    if (mRecentFiles.AddRecentFile(path))
        RefreshRecentFilesMenu();
}

void TMainForm::RefreshRecentFilesMenu()
{
    for (int slot = 1; slot <= 5; ++slot) {
        QAction *a = mRecentActions[size_t(slot - 1)];
        a->setText(mRecentFiles.caption(slot));
        a->setVisible(mRecentFiles.isVisible(slot));
    }
    if (mRecentSeparator)
        mRecentSeparator->setVisible(mRecentFiles.separatorVisible());
    mStartPage->setRecentFiles({mRecentActions.begin(), mRecentActions.end()});
}

void TMainForm::SetupGrid(bool open)
{
    mFilter.ApplyFilter(FilterEngine::Off);
    statusBar()->setVisible(open);
    mCentral->setCurrentWidget(open ? static_cast<QWidget *>(mGrid) : mStartPage);
    mDatabaseOpen = open;
    if (!open) {
        // An empty database takes the place of the one shown; auto-sizing
        // ends without giving widths back.
        Database empty;
        empty.setWidthScale(database().widthScale());
        mDocument.replace(std::move(empty));
        action(Command::AutoSizing)->setChecked(false);
    }
    mGrid->setReadOnly(open && database().isReadOnly());
    updateCommandStates();
}

void TMainForm::updateCommandStates()
{
    const CommandTable::State state{mDatabaseOpen,  database().isReadOnly(), 0,
                                    mClipboardText, mDocument.canUndo(),     mDocument.canRedo()};
    for (const CommandTable::Entry &e : CommandTable::menuEntries()) {
        if (QAction *a = action(e.command))
            a->setEnabled(isBuilt(e.command) && CommandTable::isEnabled(e.command, state));
    }
}

void TMainForm::focusGrid()
{
    mGrid->setFocus();
}

void TMainForm::setCurrentRow(int row)
{
    mGrid->setCurrentCell(qMax(1, mGrid->currentGridColumn()), row);
}

void TMainForm::bringCellIntoView(int column, int row)
{
    mGrid->bringCellIntoView(column, row);
}

void TMainForm::OpenDatabaseFile(const QString &path)
{
    ::OpenDatabaseFile(mDocument, path,
                       {mMessages, mPasswords, mFiles, mDialogs, mFeedback, *this, mCipher});
}

void TMainForm::OpenCommandLineFile()
{
    const QString path = mCommandLineFile;
    mCommandLineFile.clear();
    if (!path.isEmpty())
        OpenDatabaseFile(path);
}

bool TMainForm::saveFlow(bool saveAs)
{
    using ShellQuestions::SaveVariant;
    const bool saved = SaveFlow(mDocument, mAutoSize, mPreferences.expertMode,
                                saveAs ? SaveVariant::SaveAs : SaveVariant::Save,
                                {mMessages, mFiles, mDialogs, mFeedback, mClock, mCipher});
    action(Command::AutoSizing)->setChecked(mAutoSize.isOn());
    UpdateStatus();
    return saved;
}

void TMainForm::AutoSizeColumns(bool on)
{
    if (on)
        mFeedback.setBusy(true);
    mAutoSize.AutoSizeColumns(on);
    if (on)
        mFeedback.setBusy(false);
    action(Command::AutoSizing)->setChecked(on);
}

void TMainForm::Font1Click()
{
    const std::optional<QFont> chosen =
        mChooseFont ? mChooseFont(mProgramFont) : FontDialog::choose(mProgramFont, this);
    if (chosen)
        setProgramFont(*chosen);
}

void TMainForm::setProgramFont(QFont font)
{
    if (font.pointSize() > 12)
        font.setPointSize(12);
    const double oldScale = database().widthScale();
    // Taken first: a smaller font lowers the widest column the grid allows,
    // and the grid narrows what is wider at once.
    const std::vector<int> widths = fieldColumnWidths(database());
    mProgramFont = font;
    ApplyProgramFont();
    // Pixels follow the new scale; the stored widths are worked out from
    // them only when saving, so the database is not marked changed.
    RescaleColumnWidths(mDocument, widths, oldScale, database().widthScale());
}

void TMainForm::Close1Click()
{
    if (ConfirmDiscardChanges())
        SetupGrid(false);
}

void TMainForm::ColSum1Click()
{
    if (const auto cells = mCalc.ColumnSum(mGrid->currentGridColumn(), mGrid->currentGridRow()))
        mDocument.apply(Edit::change(QStringLiteral("column sum"), *cells));
}

void TMainForm::updateUndoActions()
{
    for (const auto &[command, label] : {std::pair(Command::Undo, mDocument.undoLabel()),
                                         std::pair(Command::Redo, mDocument.redoLabel())}) {
        QAction *a = action(command);
        a->setText(CommandTable::undoCaption(command, label));
        a->setToolTip(QString(a->text()).remove(QLatin1Char('&')));
    }
    updateCommandStates();
}

void TMainForm::Homepage1Click()
{
    HelpCommands::Homepage(mFeedback, mMessages, mOpenUrl);
}

void TMainForm::About1Click()
{
    HelpCommands::About(this);
}

void TMainForm::UpdateStatus()
{
    StatusBarContent::Input in;
    const Database &db = database();
    in.databaseName = db.name();
    setWindowTitle(StatusBarContent::caption(in));
    updateCommandStates();
    if (in.databaseName.isEmpty())
        return;
    updateSortHints();
    in.currentRow = mGrid->currentGridRow();
    in.currentColumn = mGrid->currentGridColumn();
    in.records = db.recordCount();
    in.fields = db.fieldCount();
    in.autoSize = db.autoSizeColumns();
    in.filterMode = mFilter.filterMode();
    in.changed = db.isChanged();
    in.dateText = mLocale.formatDate(db.date().date());
    in.filePath = db.filePath();
    mPanelTexts = StatusBarContent::panels(in);
    const int last = StatusBarContent::PanelCount - 1;
    for (int i = 0; i < last; ++i) {
        if (mPanels[size_t(i)]->text() != mPanelTexts[size_t(i)])
            mPanels[size_t(i)]->setText(mPanelTexts[size_t(i)]);
    }
    QLabel *path = mPanels[size_t(last)];
    const QString elided = path->fontMetrics().elidedText(mPanelTexts[size_t(last)],
                                                          Qt::ElideMiddle, path->width() - 4);
    if (path->text() != elided) {
        path->setText(elided);
        path->setToolTip(mPanelTexts[size_t(last)]);
    }
}

QString TMainForm::statusPanelText(int panel) const
{
    return mPanelTexts.at(size_t(panel));
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    if (!ConfirmDiscardChanges()) {
        event->ignore();
        return;
    }
    savePreferences();
    mDatabaseOpen = false;
    event->accept();
}

void TMainForm::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedDatabase(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void TMainForm::dropEvent(QDropEvent *event)
{
    const QString path = droppedDatabase(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    // After the drop has ended: opening may ask questions.
    QTimer::singleShot(0, this, [this, path] {
        mFilter.ApplyFilter(FilterEngine::Off);
        OpenDatabaseFile(path);
    });
}

QString TMainForm::droppedDatabase(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    const QString path = url.toLocalFile();
    if (!url.isLocalFile() || !path.endsWith(QLatin1String(".pdb"), Qt::CaseInsensitive))
        return {};
    return path;
}

void TMainForm::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!mFirstShow)
        return;
    mFirstShow = false;
    // The font's measures may depend on the screen the window shows on.
    ApplyProgramFont();
    // Messages may be shown while opening, so not from inside the show.
    QTimer::singleShot(0, this, [this] {
        setWindowTitle(StatusBarContent::programTitle());
        OpenCommandLineFile();
    });
}

void TMainForm::updateSortHints()
{
    // The sort buttons name the field they would sort by.
    const int column = mGrid->currentGridColumn();
    const QString field = column >= 1 ? database().grid().cell(column, 0) : QString();
    const std::pair<Command, QString> hints[] = {
        {Command::SortNormal, QStringLiteral("Sort normal - primary field: ") + field},
        {Command::SortReverse, QStringLiteral("Sort reverse - primary field: ") + field}};
    for (const auto &[command, hint] : hints) {
        if (action(command)->toolTip() != hint)
            action(command)->setToolTip(hint);
    }
}

void TMainForm::createContextMenu()
{
    mContextMenu = new GridContextMenu([this](Command c) { return action(c); }, this);
    connect(mContextMenu, &GridContextMenu::popupItemChosen, this, [this](const QString &text) {
        CellEdit::storeText(mDocument, mCalc, mGrid->currentGridColumn(), mGrid->currentGridRow(),
                            text, QStringLiteral("popup item"));
    });
    mGrid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(mGrid, &QWidget::customContextMenuRequested, this, [this](const QPoint &pos) {
        // A right click on a cell makes it current: the entries act on the
        // current cell.
        const QModelIndex index = mGrid->indexAt(pos);
        if (index.isValid())
            mGrid->setCurrentCell(index.column() + 1, index.row() + 1);
        contextMenu()->popup(mGrid->viewport()->mapToGlobal(pos));
    });
}

QMenu *TMainForm::contextMenu()
{
    const std::optional<QStringList> items =
        mDatabaseOpen ? PopupInsertion::menuItems(database(), mGrid->currentGridColumn())
                      : std::nullopt;
    mContextMenu->refresh(items);
    return mContextMenu;
}
