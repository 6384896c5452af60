#pragma once

#include <functional>

class QObject;
class QUrl;

/**
 * The desktop's "open" of a web address or a file, which starts the
 * user's browser, with word of its failure.
 *
 * Where the desktop opens through xdg-open, xdg-open is started on its own
 * (it outlives the program, and so does the browser it starts) and its
 * exit status comes back through a pipe: a status other than 0 (no browser
 * found, or none that could start) is a failure, told as soon as xdg-open
 * ends. Elsewhere the platform's QDesktopServices decides, whose failure
 * shows at once.
 */
namespace DesktopBrowser {

/// Opens @p url; calls @p failed, in the event loop of @p context's
/// thread and only while @p context lives, when no program took it.
void open(const QUrl &url, QObject *context, std::function<void()> failed);

} // namespace DesktopBrowser
