#pragma once

class LocaleService;
class QLabel;
class QStatusBar;

/**
 * The status bar's panels are never narrower than the widest text they
 * may show, and the window never narrower than the panels, so that at the
 * window's smallest no text runs into the next.
 */
namespace StatusPanels {

/// The least width of status panel @p panel (0..6), shown by @p label:
/// the panel's own width, or more where its widest text needs it.
int minimumWidth(int panel, const QLabel &label, const LocaleService &locale);

/// Keeps @p bar, and with it its window, at least as wide as its panels
/// and its size grip (which shows only once the window does).
void keepWhole(QStatusBar *bar);

} // namespace StatusPanels
