#include "interchange/json/jsonareavalues.h"

#include "core/document/database.h"
#include "core/document/limits.h"
#include "core/format/codepage.h"
#include "core/format/databasereader.h"
#include "core/format/extensionarea.h"
#include "interchange/json/jsonmembers.h"
#include "interchange/json/jsonreader.h"

#include <QLocale>

namespace {

constexpr qint64 ByteMin = -128;
constexpr qint64 ByteMax = 127;

} // namespace

bool JsonAreaValues::text(QString &out)
{
    // Every such text of a database read came from the file's extension
    // area, with its zero byte, but for the names and empty texts of the
    // lists and fields the area leaves out: so their bytes, counted so,
    // stay within the reader's bound and that room.
    constexpr qint64 LeftOut = 4096;
    mBytes.clear();
    const qint64 room = DatabaseReader::MaxAreaSize + LeftOut - mCounted - 1;
    if (!mIn.readText(mBytes, qMax(room, qint64(-1)),
                      QStringLiteral("the texts kept beside the fixed part (popup items, defaults, "
                                     "lists) pass the %1 bytes the reader takes of them")
                          .arg(QLocale(QLocale::English).toString(DatabaseReader::MaxAreaSize))))
        return false;
    mCounted += mBytes.size() + 1;
    out = Codepage::decode(mBytes);
    return true;
}

bool JsonAreaValues::name(QString &out)
{
    if (!text(out))
        return false;
    if (out.isEmpty())
        mIn.fail(QStringLiteral("a list needs a name (\"Unused\" for none)"));
    return !mIn.failed();
}

bool JsonAreaValues::conditions(std::array<QString, 5> &texts)
{
    if (!mIn.enterArray())
        return false;
    for (QString &value : texts) {
        if (!mIn.nextElement())
            mIn.fail(QStringLiteral("5 texts expected"));
        if (mIn.failed() || !text(value))
            return false;
        // The file writes an empty condition so: a text so would come back empty.
        if (value == QLatin1String(ExtensionArea::EmptyConditionText)) {
            mIn.fail(QStringLiteral("\"-*-\" stands for an empty condition in the file"));
            return false;
        }
    }
    if (mIn.nextElement())
        mIn.fail(QStringLiteral("5 texts expected"));
    return !mIn.failed();
}

bool JsonAreaValues::sortLists(Database &db)
{
    if (!mIn.enterArray())
        return false;
    while (mIn.nextElement()) {
        if (mIn.index() == Limits::SortListCount) {
            mIn.fail(QStringLiteral("more than %1 lists").arg(Limits::SortListCount));
            return false;
        }
        SavedSortList &list = db.sortList(int(mIn.index()) + 1);
        if (!mIn.enterObject())
            return false;
        JsonMembers members(mIn, {"keys", "name"});
        for (int key; (key = members.next()) >= 0;) {
            if (!(key == 0 ? mIn.readIntegers(list.sort.keys, ByteMin, ByteMax) : name(list.name)))
                return false;
        }
        if (mIn.failed())
            return false;
    }
    return !mIn.failed();
}

bool JsonAreaValues::filterLists(Database &db)
{
    if (!mIn.enterArray())
        return false;
    while (mIn.nextElement()) {
        if (mIn.index() == Limits::FilterListCount) {
            mIn.fail(QStringLiteral("more than %1 lists").arg(Limits::FilterListCount));
            return false;
        }
        SavedFilterList &list = db.filterList(int(mIn.index()) + 1);
        if (!mIn.enterObject())
            return false;
        JsonMembers members(mIn, {"fields", "name", "options", "texts"});
        for (int key; (key = members.next()) >= 0;) {
            const bool ok = key == 0   ? mIn.readIntegers(list.fields, ByteMin, ByteMax)
                            : key == 1 ? name(list.name)
                            : key == 2 ? mIn.readIntegerInto(list.options, 0, 0xFFFF)
                                       : conditions(list.texts);
            if (!ok)
                return false;
        }
        if (mIn.failed())
            return false;
    }
    return !mIn.failed();
}
