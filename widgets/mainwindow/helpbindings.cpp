#include "widgets/mainwindow/helpbindings.h"

#include "core/platform/messageservice.h"
#include "core/platform/userfeedback.h"
#include "rules/shell/engineservices.h"
#include "widgets/mainwindow/commandhost.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QUrl>

#ifndef QG_README_PATH
#define QG_README_PATH ""
#endif

namespace HelpBindings {

void bind(const EngineServices &services, QWidget &window, CommandHost &host,
          std::function<void(const QUrl &, std::function<void()>)> openUrl)
{
    host.bindCommand(Command::Homepage, [&services, openUrl = std::move(openUrl)] {
        Homepage(services.feedback, services.messages, openUrl);
    });
    host.bindCommand(Command::About, [&window] { About(&window); });
}

void Homepage(UserFeedback &feedback, MessageService &messages,
              const std::function<void(const QUrl &, std::function<void()>)> &openUrl)
{
    feedback.beep();
    // The project's own page is its README: beside the program, one folder
    // up (a build folder), or where the sources were.
    const QString programDir = QCoreApplication::applicationDirPath();
    QString readme;
    for (const QString &candidate :
         {programDir + QStringLiteral("/README.md"), programDir + QStringLiteral("/../README.md"),
          QStringLiteral(QG_README_PATH)}) {
        if (!candidate.isEmpty() && QFileInfo::exists(candidate)) {
            readme = QFileInfo(candidate).canonicalFilePath();
            break;
        }
    }
    const auto notFound = [&messages] {
        messages.show({QStringLiteral("Quillgrid5"),
                       MessageIcon::None,
                       {QStringLiteral("Sorry your web browser could not be found")},
                       MessageButton::Ok});
    };
    if (readme.isEmpty())
        notFound();
    else
        openUrl(QUrl::fromLocalFile(readme), notFound);
}

void About(QWidget *parent)
{
    QMessageBox box(parent);
    box.setWindowTitle(QStringLiteral("About Quillgrid 5"));
    box.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<b>Quillgrid 5</b> version %1<br><br>"
                               "An editor for Listora 5 databases.<br>"
                               "Mail: quillgrid-support@example.org")
                    .arg(QApplication::applicationVersion()));
    const QIcon icon = QApplication::windowIcon();
    if (!icon.isNull())
        box.setIconPixmap(icon.pixmap(64, 64));
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

} // namespace HelpBindings
