#include "widgets/mainwindow/windowbounds.h"

#include "rules/settings/preferences.h"

#include <QGuiApplication>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

namespace WindowBounds {

namespace {
constexpr QSize kDesignSize(528, 341);
}

Placement initialPlacement(const Preferences &preferences, QSize firstSize)
{
    const QRect stored(preferences.formLeft, preferences.formTop, preferences.formWidth,
                       preferences.formHeight);
    // Bounds stored under another arrangement of monitors may lie on no
    // screen at all; the window is then centred at its design size.
    bool onScreen = false;
    if (preferences.hasStoredPosition()) {
        for (const QScreen *screen : QGuiApplication::screens())
            onScreen = onScreen || screen->availableGeometry().intersects(stored);
    }
    if (onScreen)
        return {stored, true};
    QSize size = kDesignSize.expandedTo(firstSize);
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {QRect(QPoint(), size), false};
    const QRect available = screen->availableGeometry();
    // Leave room for the window manager's frame.
    size = size.boundedTo(available.size() - QSize(16, 48));
    QRect frame(QPoint(), size);
    frame.moveCenter(available.center());
    return {frame, false};
}

QString droppedDatabase(const QMimeData *data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1)
        return {};
    const QUrl url = data->urls().constFirst();
    const QString path = url.toLocalFile();
    if (!url.isLocalFile() || !path.endsWith(QLatin1String(".pdb"), Qt::CaseInsensitive))
        return {};
    return path;
}

} // namespace WindowBounds
