#include "interchange/newdatabase/newdatabaserules.h"

#include "core/document/database.h"
#include "core/document/limits.h"

#include <QDir>

namespace {

Message error(const QString &text)
{
    return Message::error({text});
}

/// A whole number, or nothing.
std::optional<int> wholeNumber(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

QStringList NewDatabaseRules::typeTexts()
{
    // The dialog spells two of them its own way.
    return {QStringLiteral("String"),
            QStringLiteral("Boolean"),
            QStringLiteral("Normal Date"),
            QStringLiteral("Creation Date"),
            QStringLiteral("Modification Date"),
            QStringLiteral("Normal Time"),
            QStringLiteral("Creation Time"),
            QStringLiteral("Modification Time "),
            QStringLiteral("Normal PopUp"),
            QStringLiteral("Multiple Popup"),
            QStringLiteral("Normal Integer"),
            QStringLiteral("Auto-increment Integer"),
            QStringLiteral("Float"),
            QStringLiteral("Calc  <field><op><field>"),
            QStringLiteral("Calc  <value><op><field>"),
            QStringLiteral("Calc  <field><op><value>")};
}

int NewDatabaseRules::typeFromText(const QString &text)
{
    bool isIndex = false;
    const int index = text.toInt(&isIndex);
    if (isIndex)
        return index >= 0 && index < FieldType::kCount ? index : -1;
    const QStringList texts = typeTexts();
    for (int i = 0; i < texts.size(); ++i) {
        if (texts[i].compare(text, Qt::CaseInsensitive) == 0 ||
            texts[i].trimmed().compare(text.trimmed(), Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::optional<Message> NewDatabaseRules::check(const Choices &c)
{
    if (c.name.isEmpty() || c.name.size() > Limits::MaxDatabaseName)
        return error(Limits::databaseNameMessage());
    const struct
    {
        const QString &text;
        int low, high;
        QString message;
    } numbers[] = {
        {c.rows, 1, Limits::MaxRecords, Limits::newDatabaseRecordsMessage()},
        {c.columns, 1, Limits::MaxFields, Limits::newDatabaseFieldsMessage()},
        {c.width, 1, Limits::MaxFieldWidth, Limits::newDatabaseFieldWidthMessage()},
    };
    for (const auto &n : numbers) {
        const std::optional<int> value = wholeNumber(n.text);
        if (!value)
            return error(QStringLiteral("Please use a numerical value."));
        if (*value < n.low || *value > n.high)
            return error(n.message);
    }
    return std::nullopt;
}

void NewDatabaseRules::create(Database &db, const Choices &c, const QDateTime &now,
                              const QString &folder)
{
    const int rows = c.rows.toInt();
    const int columns = c.columns.toInt();
    const int width = c.width.toInt();
    RecordGrid &grid = db.grid();
    db.ResetDatabase();
    db.setName(c.name);
    db.setDate(now);
    db.setFilePath(fileNameFor(c.name, folder));
    grid.resize(columns + 1, rows + 1);
    grid.showAllRows();
    const bool boolean = c.type == FieldType::Boolean;
    for (int k = 1; k <= columns; ++k) {
        grid.setCell(k, 0, QStringLiteral("Field ") + QString::number(k));
        grid.setColumnWidth(k, db.FieldWidthToPixels(width));
        db.field(k).readWidth = width;
        db.field(k).type = quint8(c.type);
        for (int r = 1; boolean && r <= rows; ++r) {
            grid.setCell(k, r, QStringLiteral("0"));
            grid.setCheckBox(k, r, true);
        }
    }
    db.setChanged(false);
}

QString NewDatabaseRules::fileNameFor(const QString &name, const QString &folder)
{
    QString file = name;
    for (QChar c : QStringLiteral("\"*/:<>?\\|"))
        file.replace(c, QLatin1Char('_'));
    return QDir(folder).absoluteFilePath(file + QStringLiteral(".pdb"));
}
