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
    if (on) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        // The window system shows the cursor once the application hands
        // it over, which work that runs on would otherwise put off; the
        // user's input waits until the work is done.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    } else {
        QGuiApplication::restoreOverrideCursor();
    }
}
