#include "interchange/lookup/lookuplist.h"

#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/files/savedatabasefile.h"
#include "core/format/databasereader.h"
#include "core/platform/filedialogs.h"
#include "core/platform/filesystem.h"
#include "core/platform/messageservice.h"
#include "core/platform/userfeedback.h"
#include "interchange/text/textcommands.h"

#include <QDir>
#include <QFileInfo>
#include <QIODevice>

namespace LookupList {

bool isUnloaded(const Database &db, int k)
{
    if (k < 1 || k > db.fieldCount())
        return false;
    const FieldDef &def = db.field(k);
    return !def.lookupLoaded &&
           (def.type == FieldType::NormalPopup || def.type == FieldType::MultiplePopup) &&
           (def.setting2 & 1);
}

QString probableFileName(const QString &databaseItem)
{
    const QString name = QFileInfo(databaseItem).fileName();
    if (!name.contains(QLatin1Char('.')) || name.startsWith(QLatin1Char('.')))
        return databaseItem + QStringLiteral(".pdb");
    return ChangeFileExtension(databaseItem, QStringLiteral(".pdb"));
}

bool ReadLookupFile(const QString &name, const LookupServices &s, Database &into)
{
    QString path = QDir(s.initialDirectory).filePath(name);
    if (!s.files.status(path).exists) {
        FileDialogRequest request;
        request.title = QStringLiteral("Open Listora database for Lookup List");
        request.filter = QStringLiteral("Listora database (*.pdb)|*.pdb|All Files (*.*)|*.*");
        request.defaultExtension = QStringLiteral("pdb");
        request.initialFolder = s.initialDirectory;
        path = s.dialogs.getOpenFileName(request);
        if (path.isEmpty())
            return false;
    }
    const std::unique_ptr<QIODevice> file = s.files.openForReading(path);
    if (!file) {
        s.messages.show(Message::error({TextCommands::openErrorText()}));
        return false;
    }
    s.feedback.setBusy(true);
    // A cipher of its own: the open database's key stays as it is.
    CipherState cipher;
    DatabaseReader reader(s.messages, s.passwords, cipher);
    reader.setLookupMode(true);
    Database read;
    const ReadResult result = reader.read(*file, path, read);
    file->close();
    s.feedback.setBusy(false);
    if (!result.ok) {
        if (!result.message.isEmpty())
            s.messages.show(Message::error(result.message));
        return false;
    }
    into = std::move(read);
    return true;
}

std::optional<QStringList> values(const Database &lookup, const QString &fieldName)
{
    const RecordGrid &grid = lookup.grid();
    for (int c = 1; c < grid.columnCount(); ++c) {
        if (grid.cell(c, 0) != fieldName)
            continue;
        QStringList items;
        items.reserve(grid.recordCount());
        for (int r = 1; r < grid.rowCount(); ++r)
            items << grid.cell(c, r);
        return items;
    }
    return std::nullopt;
}

} // namespace LookupList
