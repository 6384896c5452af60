#include "widgets/platform/qtuserfeedback.h"

#include <QApplication>
#include <QGuiApplication>

QtUserFeedback::~QtUserFeedback()
{
    setBusy(false);
}

void QtUserFeedback::beep()
{
    QApplication::beep();
}

void QtUserFeedback::setBusy(bool on)
{
    if (on == mBusy)
        return;
    mBusy = on;
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}
