#include "rules/shell/installflow.h"

#include "core/document/document.h"
#include "core/platform/messageservice.h"
#include "interchange/hotsync/tuserdata.h"
#include "rules/grid/columnautosize.h"
#include "rules/shell/shellquestions.h"

#include <QFileInfo>

namespace {

void notice(MessageService &messages, const QString &text)
{
    messages.show({QStringLiteral("Quillgrid5"), MessageIcon::None, {text}, MessageButton::Ok});
}

} // namespace

QString InstallFileName(const QString &filePath, const QString &databaseName)
{
    QString name = QFileInfo(filePath).fileName();
    if (name.isEmpty()) {
        // A database never saved has no file name; a name with a slash
        // would reach into another folder.
        name = QString(databaseName).replace(QLatin1Char('/'), QLatin1Char('_'));
        if (name.isEmpty())
            name = QStringLiteral("Database");
        name += QStringLiteral(".pdb");
    } else {
        name = ChangeFileExtension(name, QStringLiteral(".pdb"));
    }
    // The synchronisation software may list the file on a line of its own:
    // a line break, or any control character, becomes "_".
    for (QChar &c : name) {
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator)
            c = QLatin1Char('_');
    }
    return name;
}

bool InstallFlow(Document &doc, ColumnAutoSize &autoSize, TUserData &users,
                 const InstallSettings &settings, const SaveServices &services)
{
    QString folder;
    if (!users.PrepareInstall(settings.user, &folder, services.messages))
        return false;
    const bool wasOn = autoSize.isOn();
    if (wasOn && !settings.expertMode) {
        const MessageButton answer = services.messages.show(
            ShellQuestions::autoSizeQuestion(ShellQuestions::SaveVariant::Install));
        if (answer != MessageButton::Yes && answer != MessageButton::No)
            return false;
        if (answer == MessageButton::Yes)
            autoSize.AutoSizeColumns(false);
    }
    const QString target = folder + QLatin1Char('/') +
                           InstallFileName(doc.database().filePath(), doc.database().name());
    if (!TUserData::CheckInstallTarget(target, services.files, services.messages)) {
        if (wasOn)
            autoSize.AutoSizeColumns(true);
        return false;
    }
    bool saved = false;
    if (settings.saveAtInstall) {
        saved = SaveDatabaseFile(doc, SaveTarget::ownName(), services) &&
                SaveDatabaseFile(doc, SaveTarget::copyTo(target), services);
    } else {
        saved = SaveDatabaseFile(doc, SaveTarget::copyTo(target), services);
    }
    if (saved && !users.FileInstalled(settings.user, target)) {
        services.messages.show(Message::error(
            {QStringLiteral("The file could not be added to the list of files to install:"),
             target}));
        saved = false;
    }
    if (saved && !settings.expertMode) {
        notice(services.messages,
               settings.saveAtInstall
                   ? QStringLiteral("The Database is saved and ready for synchronizing.")
                   : QStringLiteral("The Database is ready for synchronizing."));
    }
    if (wasOn)
        autoSize.AutoSizeColumns(true);
    return saved;
}
