#include "widgets/platform/qtprogress.h"

#include <QApplication>
#include <QProgressDialog>

QtProgress::~QtProgress()
{
    finish();
}

void QtProgress::start(const QString &label)
{
    finish();
    mLabel = label;
    mTimer.start();
}

bool QtProgress::advance(int permille)
{
    if (!mDialog && mTimer.isValid() && mTimer.elapsed() >= ShowAfterMs) {
        mDialog = new QProgressDialog(mLabel, QStringLiteral("&Cancel"), 0, 1000, mParent);
        mDialog->setWindowTitle(QApplication::applicationDisplayName());
        mDialog->setWindowModality(Qt::WindowModal);
        mDialog->setMinimumDuration(0);
        mDialog->setAutoClose(false);
        mDialog->setAutoReset(false);
        mDialog->setMinimumWidth(360);
        mDialog->show();
    }
    if (!mDialog)
        return true;
    // A modal progress dialog lets the events through as it moves on,
    // Cancel's click among them.
    mDialog->setValue(qBound(0, permille, 1000));
    QCoreApplication::processEvents();
    return !mDialog->wasCanceled();
}

void QtProgress::finish()
{
    mTimer.invalidate();
    delete mDialog.data();
}
