#include "core/platform/qt/systemclock.h"

QDateTime SystemClock::now()
{
    const QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}
