#include "app/plainwindow.h"

#include "core/opendatabasefile.h"
#include "ui/recordgridmodel.h"

#include <QAction>
#include <QApplication>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMenuBar>
#include <QTableView>

PlainWindow::PlainWindow()
    : mMessages(this), mCryptForm(new TCryptForm(mMessages, this)), mPasswords(*mCryptForm),
      mDialogs(this), mModel(new RecordGridModel(mDatabase.grid(), this)),
      mView(new QTableView(this))
{
    // Column widths follow the width of "0000" in the font, as on the handheld.
    mDatabase.setWidthScale(QFontMetrics(font()).horizontalAdvance(QStringLiteral("0000")) /
                            (56.0 / 3.0));
    mView->setModel(mModel);
    mView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    mView->setSelectionMode(QAbstractItemView::SingleSelection);
    mView->setSelectionBehavior(QAbstractItemView::SelectItems);
    mView->verticalHeader()->setDefaultSectionSize(RecordGrid::DefaultRowHeight);
    mView->setWordWrap(false);
    setCentralWidget(mView);

    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    QAction *open = file->addAction(QStringLiteral("&Open..."));
    open->setShortcut(QKeySequence::Open);
    connect(open, &QAction::triggered, this, [this] { openFile(QString()); });
    file->addSeparator();
    QAction *quit = file->addAction(QStringLiteral("E&xit"));
    connect(quit, &QAction::triggered, this, &QWidget::close);

    connect(mModel, &QAbstractItemModel::modelReset, this, [this] {
        const RecordGrid &grid = mDatabase.grid();
        for (int c = 1; c < grid.columnCount(); ++c)
            mView->setColumnWidth(c - 1, grid.columnWidth(c));
    });

    SetupGrid(false);
    resize(900, 600);
}

PlainWindow::~PlainWindow() = default;

void PlainWindow::openFile(const QString &path)
{
    OpenDatabaseFile(mDatabase, path,
                     {mMessages, mPasswords, mFiles, mDialogs, mFeedback, *this, mCipher});
}

void PlainWindow::SetupGrid(bool open)
{
    mView->setEnabled(open);
    setWindowTitle(open ? QStringLiteral("Quillgrid5 - ") + mDatabase.name() +
                              QStringLiteral(" (read only)")
                        : QStringLiteral("Quillgrid5"));
}

void PlainWindow::focusGrid()
{
    mView->setFocus();
}

void PlainWindow::setCurrentRow(int row)
{
    mView->setCurrentIndex(mModel->index(row - 1, qMax(0, mView->currentIndex().column())));
}

void PlainWindow::bringCellIntoView(int column, int row)
{
    mView->scrollTo(mModel->index(row - 1, column - 1), QAbstractItemView::PositionAtCenter);
}
