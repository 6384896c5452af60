#include "cli/dumpcommand.h"

#include "cli/clisession.h"
#include "cli/localeoption.h"
#include "cli/passwordoptions.h"
#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "core/document/document.h"
#include "core/platform/qt/qtlocaleservice.h"
#include "core/platform/qt/systemclock.h"
#include "values/calc/calculatedfields.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

#include <cstdio>

namespace {

QJsonArray toArray(const QStringList &texts)
{
    QJsonArray array;
    for (const QString &text : texts)
        array.append(text);
    return array;
}

template <typename Container> QJsonArray integers(const Container &values)
{
    QJsonArray array;
    for (auto value : values)
        array.append(qint64(value));
    return array;
}

} // namespace

QJsonObject DumpCommand::toJson(const Database &db)
{
    const RecordGrid &grid = db.grid();
    QJsonObject root;
    root[QLatin1String("name")] = db.name();
    root[QLatin1String("flags")] = int(db.flags());
    root[QLatin1String("modified")] = qint64(Database::fileSecondsFromDate(db.date()));
    root[QLatin1String("encrypted")] = bool(db.flags() & DatabaseFlags::Encrypted);
    root[QLatin1String("dataWidth")] = db.dataWidth();
    root[QLatin1String("firstUnlockedField")] = db.firstUnlockedField();
    root[QLatin1String("sort")] = integers(db.sort().keys);
    root[QLatin1String("find")] = QJsonObject{{QLatin1String("field"), db.findField()},
                                              {QLatin1String("text"), db.findText()}};
    root[QLatin1String("filter")] = QJsonObject{{QLatin1String("field"), int(db.filter().field)},
                                                {QLatin1String("text"), db.filter().text}};

    QJsonArray fields;
    for (int k = 1; k <= db.fieldCount(); ++k) {
        const FieldDef &def = db.field(k);
        QJsonObject field;
        field[QLatin1String("name")] = grid.cell(k, 0);
        field[QLatin1String("type")] = int(def.type);
        field[QLatin1String("attributes")] = int(def.attributes);
        field[QLatin1String("locked")] = def.locked;
        field[QLatin1String("width")] = db.PixelsToFieldWidth(grid.columnWidth(k));
        field[QLatin1String("setting1")] = qint64(def.setting1);
        field[QLatin1String("setting2")] = qint64(def.setting2);
        field[QLatin1String("default")] = def.defaultText;
        field[QLatin1String("popup")] = toArray(def.popupItems);
        field[QLatin1String("calcValue1")] = def.calcValue1;
        field[QLatin1String("calcValue2")] = def.calcValue2;
        fields.append(field);
    }
    root[QLatin1String("fields")] = fields;

    QJsonArray records;
    for (int r = 1; r < grid.rowCount(); ++r) {
        QJsonArray record;
        for (int k = 1; k <= db.fieldCount(); ++k)
            record.append(grid.cell(k, r));
        records.append(record);
    }
    root[QLatin1String("records")] = records;

    QJsonArray sortLists;
    for (int i = 1; i <= 25; ++i) {
        const SavedSortList &list = db.sortList(i);
        sortLists.append(QJsonObject{{QLatin1String("name"), list.name},
                                     {QLatin1String("keys"), integers(list.sort.keys)}});
    }
    root[QLatin1String("sortLists")] = sortLists;

    QJsonArray filterLists;
    for (int i = 1; i <= 25; ++i) {
        const SavedFilterList &list = db.filterList(i);
        QJsonArray texts;
        for (const QString &text : list.texts)
            texts.append(text);
        filterLists.append(QJsonObject{{QLatin1String("name"), list.name},
                                       {QLatin1String("texts"), texts},
                                       {QLatin1String("options"), int(list.options)},
                                       {QLatin1String("fields"), integers(list.fields)}});
    }
    root[QLatin1String("filterLists")] = filterLists;

    const ViewPosition &vp = db.viewPosition();
    root[QLatin1String("viewPosition")] =
        QJsonArray{qint64(vp.marker), qint64(vp.currentRecord), qint64(vp.visibleRecord),
                   qint64(vp.visibleField)};
    return root;
}

int DumpCommand::run(const QStringList &arguments)
{
    QTextStream err(stderr);
    const auto usage = [&err] {
        err << "usage: quillgrid-cli dump FILE [--password PW | --password-file PWFILE] [--recalc]"
            << Qt::endl;
        return 2;
    };
    QString path;
    PasswordOptions passwords(false);
    bool recalc = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &arg = arguments[i];
        const PasswordOptions::Taken taken = passwords.take(arguments, i);
        if (taken == PasswordOptions::Taken::Bad)
            return usage();
        if (taken == PasswordOptions::Taken::Yes)
            continue;
        if (arg == QLatin1String("--recalc"))
            recalc = true;
        else if (arg.startsWith(QLatin1String("--")) || !path.isEmpty())
            return usage();
        else
            path = arg;
    }
    if (path.isEmpty())
        return usage();

    CliSession session;
    if (!session.usePasswords(passwords))
        return 1;
    Database db;
    if (!session.readDatabase(path, db))
        return 1;
    Document doc(std::move(db));
    if (recalc) {
        QtLocaleService locale(LocaleOption::locale());
        SystemClock clock;
        const CalculatedFields calc(doc.database(), locale, clock, session);
        doc.apply(Edit::change(QStringLiteral("recalculate"), calc.RecalculateAll()));
    }

    const QByteArray json = QJsonDocument(toJson(doc.database())).toJson(QJsonDocument::Indented);
    return std::fwrite(json.constData(), 1, size_t(json.size()), stdout) == size_t(json.size()) ? 0
                                                                                                : 1;
}
