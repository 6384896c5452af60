// The editor's start, run as a process (bench/cli/side-by-side.sh):
// `qg_start_bench [FILE]` starts the editor as its main() does (with FILE on
// the command line) and ends the process the moment the window is painted:
// with FILE, once the grid has painted the open database; without, the
// empty window. Its floor is the reader alone (qg_read_alone FILE) and the
// empty window's start.
//
// The process ends at once (std::_Exit), so that the time of the run is the
// start to the painted window and nothing after it. The preferences are the
// user's, as the editor's are: run it with XDG_CONFIG_HOME pointing to a
// folder of its own.

#include "core/platform/qt/qsettingsstore.h"
#include "rules/shell/commandline.h"
#include "widgets/grid/gridview.h"
#include "widgets/mainwindow/tmainform.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

/// Ends the process once a paint of the window is done: the grid's, with
/// the database open, when @p withDatabase; any, else.
class PaintWatch : public QObject
{
public:
    PaintWatch(TMainForm &form, bool withDatabase) : mForm(form), mWithDatabase(withDatabase) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !mDone) {
            const bool grid = mForm.grid() && watched == mForm.grid()->viewport();
            if (mWithDatabase ? grid && mForm.isDatabaseOpen() : true) {
                mDone = true;
                // After this paint and the others of the same update are
                // done and shown.
                QTimer::singleShot(0, [this] {
                    std::printf("%d records shown\n",
                                mForm.services().document.database().recordCount());
                    std::fflush(stdout);
                    std::_Exit(0);
                });
            }
        }
        return false;
    }

private:
    TMainForm &mForm;
    bool mWithDatabase;
    bool mDone = false;
};

} // namespace

int main(int argc, char **argv)
{
    // As app/main.cpp.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillgrid5"));
    QSettingsStore settings;
    // A user who has told the editor that there is no synchronisation
    // software: the start asks nothing.
    settings.setValue(QStringLiteral("Settings"), QStringLiteral("HandheldSoftware"),
                      QStringLiteral("0"));
    TMainForm form(settings);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    form.setCommandLineFile(commandLineFile(arguments));
    PaintWatch watch(form, !arguments.isEmpty());
    app.installEventFilter(&watch);
    form.show();
    return app.exec();
}
