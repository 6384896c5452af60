#pragma once

#include <QRect>
#include <QString>

class QMimeData;
struct Preferences;

/// Where the main window stands at start, and what may be dropped on it.
namespace WindowBounds {

/// The window's place at start.
struct Placement
{
    QRect rect;
    /// The stored bounds, set as the window's geometry; otherwise the size
    /// to resize to and the frame's top left to move to.
    bool stored = false;
};

/// The bounds stored in @p preferences when they lie on a screen; else the
/// first start's: @p firstSize (the whole toolbar and about 25 records),
/// never smaller than the design size nor larger than the screen, centred.
Placement initialPlacement(const Preferences &preferences, QSize firstSize);

/// The one database file @p data carries, or nothing.
QString droppedDatabase(const QMimeData *data);

} // namespace WindowBounds
