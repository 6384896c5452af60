#include "interchange/json/jsonload.h"

#include "core/document/database.h"
#include "core/document/databaseflags.h"
#include "core/document/limits.h"
#include "core/format/codepage.h"
#include "core/format/databasereader.h"
#include "core/format/databasewriter.h"
#include "core/format/extensionarea.h"
#include "core/format/pdbheader.h"
#include "interchange/json/jsonareavalues.h"
#include "interchange/json/jsonmembers.h"
#include "interchange/json/jsonreader.h"

#include <QLocale>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstring>
#include <limits>
#include <optional>

namespace {

using LineBreaks = JsonReader::LineBreaks;

constexpr qint64 Int32Min = std::numeric_limits<qint32>::min();
constexpr qint64 Int32Max = std::numeric_limits<qint32>::max();
/// A signed byte of the file (sort keys, the find and filter fields, ...).
constexpr qint64 ByteMin = -128;
constexpr qint64 ByteMax = 127;
/// The stored width of a field slot in an empty database.
constexpr int WidthWhenReset = 90;

QString count(qint64 n)
{
    return QLocale(QLocale::English).toString(n);
}

struct LoadedField
{
    FieldDef def;
    QString name;
    int width = WidthWhenReset;
};

class Loader
{
public:
    Loader(JsonReader &in, Database &db) : mIn(in), mDb(db), mArea(in) {}

    bool run();

private:
    bool root();
    bool fields();
    bool field(LoadedField &f);
    bool records();
    bool record();
    bool search(qint8 &field, QString &text);
    bool spareBytes();
    bool spareRun();
    bool checkEncrypted();
    bool checkArea();
    void build();

    /// A text of at most @p maxBytes in the code page.
    bool text(QString &out, qsizetype maxBytes, const QString &what);

    JsonReader &mIn;
    Database &mDb;
    std::vector<LoadedField> mFields;
    bool mHaveFields = false;
    std::vector<RecordTexts> mRows;
    int mCells = -1; ///< the texts of each record, once one is read
    QByteArray mRecord;
    QByteArray mScratch;
    JsonAreaValues mArea;
    QByteArray mSpare = QByteArray(LoStruc::Size, '\0');
    std::optional<bool> mEncrypted;
};

bool Loader::run()
{
    mDb.ResetDatabase();
    mDb.setWidthScale(1.0);
    if (!root() || !mIn.finish() || !checkEncrypted())
        return false;
    build();
    return checkArea();
}

bool Loader::text(QString &out, qsizetype maxBytes, const QString &what)
{
    mScratch.clear();
    if (!mIn.readText(
            mScratch, maxBytes,
            QStringLiteral("%1 of at most %2 characters expected").arg(what).arg(maxBytes)))
        return false;
    out = Codepage::decode(mScratch);
    return true;
}

bool Loader::root()
{
    enum Key
    {
        DataWidth,
        Encrypted,
        Fields,
        Filter,
        FilterLists,
        Find,
        FirstUnlocked,
        Flags,
        Modified,
        Name,
        Records,
        Sort,
        SortLists,
        Spare,
        View
    };
    if (!mIn.enterObject())
        return false;
    JsonMembers members(mIn, {"dataWidth", "encrypted", "fields", "filter", "filterLists", "find",
                              "firstUnlockedField", "flags", "modified", "name", "records", "sort",
                              "sortLists", "spareBytes", "viewPosition"});
    for (int key; (key = members.next()) >= 0;) {
        bool ok = false;
        qint64 v = 0;
        switch (Key(key)) {
        case DataWidth:
            // The reader takes the low byte of the word, unsigned.
            ok = mIn.readInteger(v, 0, 255);
            mDb.setDataWidth(int(v));
            break;
        case Encrypted: {
            bool on = false;
            ok = mIn.readBool(on);
            mEncrypted = on;
            break;
        }
        case Fields:
            ok = fields();
            break;
        case Filter:
            ok = search(mDb.filter().field, mDb.filter().text);
            break;
        case FilterLists:
            ok = mArea.filterLists(mDb);
            break;
        case Find: {
            qint8 field = 0;
            QString text;
            ok = search(field, text);
            mDb.setFindField(field);
            mDb.setFindText(text);
            break;
        }
        case FirstUnlocked:
            ok = mIn.readInteger(v, ByteMin, ByteMax);
            mDb.setFirstUnlockedField(int(v));
            break;
        case Flags:
            ok = mIn.readInteger(v, 0, 0xFFFF);
            mDb.setFlags(quint16(v));
            break;
        case Modified:
            ok = mIn.readInteger(v, Int32Min, Int32Max);
            mDb.setDate(Database::dateFromFileSeconds(qint32(v)));
            break;
        case Name: {
            QString name;
            ok = text(name, PdbHeader::NameSize, QStringLiteral("a name"));
            mDb.setName(name);
            break;
        }
        case Records:
            ok = records();
            break;
        case Sort:
            ok = mIn.readIntegers(mDb.sort().keys, ByteMin, ByteMax);
            break;
        case SortLists:
            ok = mArea.sortLists(mDb);
            break;
        case Spare:
            ok = spareBytes();
            break;
        case View: {
            ViewPosition &vp = mDb.viewPosition();
            std::array<qint32, 4> values{};
            ok = mIn.readIntegers(values, Int32Min, Int32Max);
            vp = {values[0], values[1], values[2], values[3]};
            break;
        }
        }
        if (!ok)
            return false;
    }
    if (mIn.failed())
        return false;
    for (const auto &[key, name] : {std::pair{Fields, "fields"}, std::pair{Records, "records"}}) {
        if (!members.seen(key)) {
            mIn.failAt(QStringLiteral("$"),
                       QStringLiteral("the key \"%1\" is missing").arg(QLatin1String(name)));
            return false;
        }
    }
    if (mCells != int(mFields.size())) {
        mIn.failAt(QStringLiteral("$.fields"),
                   QStringLiteral("%1 fields, but the records hold %2 texts each")
                       .arg(mFields.size())
                       .arg(mCells));
        return false;
    }
    return true;
}

bool Loader::search(qint8 &field, QString &text)
{
    if (!mIn.enterObject())
        return false;
    JsonMembers members(mIn, {"field", "text"});
    for (int key; (key = members.next()) >= 0;) {
        const bool ok = key == 0
                            ? mIn.readIntegerInto(field, ByteMin, ByteMax)
                            : this->text(text, LoStruc::SearchTextSize, QStringLiteral("a text"));
        if (!ok)
            return false;
    }
    return !mIn.failed();
}

bool Loader::fields()
{
    if (!mIn.enterArray())
        return false;
    while (mIn.nextElement()) {
        if (int(mFields.size()) == Limits::MaxFields) {
            mIn.fail(QStringLiteral("more than %1 fields").arg(Limits::MaxFields));
            return false;
        }
        mFields.emplace_back();
        if (!field(mFields.back()))
            return false;
    }
    if (mIn.failed())
        return false;
    if (mFields.empty()) {
        mIn.fail(QStringLiteral("1 to %1 fields expected").arg(Limits::MaxFields));
        return false;
    }
    if (mCells >= 0 && mCells != int(mFields.size())) {
        mIn.fail(QStringLiteral("%1 fields, but the records hold %2 texts each")
                     .arg(mFields.size())
                     .arg(mCells));
        return false;
    }
    mHaveFields = true;
    return true;
}

bool Loader::field(LoadedField &f)
{
    enum Key
    {
        Attributes,
        Calc1,
        Calc2,
        Default,
        Locked,
        Name,
        Popup,
        Setting1,
        Setting2,
        Type,
        Width
    };
    if (!mIn.enterObject())
        return false;
    JsonMembers members(mIn, {"attributes", "calcValue1", "calcValue2", "default", "locked", "name",
                              "popup", "setting1", "setting2", "type", "width"});
    FieldDef &def = f.def;
    for (int key; (key = members.next()) >= 0;) {
        bool ok = false;
        switch (Key(key)) {
        case Attributes:
            ok = mIn.readIntegerInto(def.attributes, 0, 255);
            break;
        case Calc1:
            ok = mIn.readNumber(def.calcValue1);
            break;
        case Calc2:
            ok = mIn.readNumber(def.calcValue2);
            break;
        case Default:
            ok = mArea.text(def.defaultText);
            break;
        case Locked:
            ok = mIn.readBool(def.locked);
            break;
        case Name:
            // The slot holds 21 bytes; the file keeps 20 and a zero byte.
            ok = text(f.name, LoStruc::NameSlotSize, QStringLiteral("a field name"));
            break;
        case Popup:
            ok = mIn.enterArray();
            while (ok && mIn.nextElement()) {
                QString item;
                ok = mArea.text(item);
                if (ok && item.isEmpty()) {
                    // An empty string ends the list in the file.
                    mIn.fail(QStringLiteral("an empty popup item cannot be stored"));
                    ok = false;
                }
                def.popupItems.append(item);
            }
            ok = ok && !mIn.failed();
            break;
        case Setting1:
            ok = mIn.readIntegerInto(def.setting1, Int32Min, Int32Max);
            break;
        case Setting2:
            ok = mIn.readIntegerInto(def.setting2, Int32Min, Int32Max);
            break;
        case Type:
            ok = mIn.readIntegerInto(def.type, 0, FieldType::kCount - 1);
            break;
        case Width:
            ok = mIn.readIntegerInto(f.width, 0, Limits::MaxStoredWidth + 1);
            break;
        }
        if (!ok)
            return false;
    }
    if (mIn.failed())
        return false;
    if (f.width > Limits::MaxStoredWidth && !def.locked) {
        mIn.failAt(mIn.path() + QStringLiteral(".width"),
                   QStringLiteral("a width of 0 to %1 expected (%2 when locked), not %3")
                       .arg(Limits::MaxStoredWidth)
                       .arg(Limits::MaxStoredWidth + 1)
                       .arg(f.width));
        return false;
    }
    def.readWidth = f.width;
    return true;
}

bool Loader::records()
{
    if (!mIn.enterArray())
        return false;
    while (mIn.nextElement()) {
        if (int(mRows.size()) == PdbHeader::MaxRecords) {
            mIn.fail(QStringLiteral("more than %1 records: the file counts them in 16 bits")
                         .arg(count(PdbHeader::MaxRecords)));
            return false;
        }
        if (!record())
            return false;
    }
    if (mIn.failed())
        return false;
    if (mRows.empty()) {
        mIn.fail(QStringLiteral("1 to %1 records expected").arg(count(PdbHeader::MaxRecords)));
        return false;
    }
    return true;
}

bool Loader::record()
{
    // The texts as the file stores them, each with its zero byte. With a
    // length word each, and their zero bytes left out (the reader takes a
    // record whose last texts lack them), they must fit in what the reader
    // takes of one record.
    mRecord.clear();
    if (!mIn.enterArray())
        return false;
    int cells = 0;
    const QString tooLong =
        QStringLiteral("the record's texts, with two bytes each, pass the %1 bytes the reader "
                       "takes of one record")
            .arg(count(DatabaseReader::MaxRecordSpan));
    while (mIn.nextElement()) {
        if (cells == Limits::MaxFields) {
            mIn.fail(QStringLiteral("more than %1 texts").arg(Limits::MaxFields));
            return false;
        }
        const int words = qMax(cells + 1, mHaveFields ? int(mFields.size()) : 0);
        const qsizetype room = DatabaseReader::MaxRecordSpan - 2 * words - (mRecord.size() - cells);
        if (!mIn.readText(mRecord, room, tooLong, LineBreaks::Stored))
            return false;
        mRecord.append('\0');
        ++cells;
    }
    if (mIn.failed())
        return false;
    const int expected = mHaveFields ? int(mFields.size()) : mCells;
    if (expected >= 0 && cells != expected) {
        mIn.fail(QStringLiteral("%1 texts, but %2 %3")
                     .arg(cells)
                     .arg(expected)
                     .arg(mHaveFields ? QStringLiteral("fields")
                                      : QStringLiteral("in the records before")));
        return false;
    }
    mCells = cells;
    mRows.push_back(RecordTexts::fromStored(mRecord.constData(), mRecord.size(), cells));
    return true;
}

bool Loader::spareBytes()
{
    if (!mIn.enterArray())
        return false;
    while (mIn.nextElement()) {
        if (!spareRun())
            return false;
    }
    return !mIn.failed();
}

bool Loader::spareRun()
{
    if (!mIn.enterObject())
        return false;
    JsonMembers members(mIn, {"hex", "offset"});
    qint64 offset = -1;
    QByteArray hex;
    for (int key; (key = members.next()) >= 0;) {
        const bool ok =
            key == 0
                ? mIn.readText(hex, 2 * LoStruc::Size,
                               QStringLiteral("the fixed part holds %1 bytes").arg(LoStruc::Size))
                : mIn.readInteger(offset, 0, LoStruc::Size - 1);
        if (!ok)
            return false;
    }
    if (mIn.failed())
        return false;
    const QString path = mIn.path();
    if (offset < 0 || !members.seen(0)) {
        mIn.failAt(path, QStringLiteral("a run needs its \"offset\" and its \"hex\""));
        return false;
    }
    const bool isHex = hex.size() % 2 == 0 && std::all_of(hex.begin(), hex.end(), [](char c) {
                           return std::isxdigit(uchar(c));
                       });
    const QByteArray bytes = QByteArray::fromHex(hex);
    if (!isHex || offset + bytes.size() > LoStruc::Size) {
        mIn.failAt(
            path + QStringLiteral(".hex"),
            isHex
                ? QStringLiteral("the run passes the %1 bytes of the fixed part").arg(LoStruc::Size)
                : QStringLiteral("pairs of hexadecimal digits expected"));
        return false;
    }
    std::memcpy(mSpare.data() + offset, bytes.constData(), size_t(bytes.size()));
    return true;
}

bool Loader::checkEncrypted()
{
    const bool flagged = mDb.flags() & DatabaseFlags::Encrypted;
    if (mEncrypted && *mEncrypted != flagged) {
        mIn.failAt(QStringLiteral("$.encrypted"),
                   QStringLiteral("%1, but the flags say %2")
                       .arg(*mEncrypted ? QStringLiteral("true") : QStringLiteral("false"),
                            flagged ? QStringLiteral("enciphered (0x0002)")
                                    : QStringLiteral("not enciphered (no 0x0002)")));
        return false;
    }
    return true;
}

bool Loader::checkArea()
{
    // The reader takes the extension area up to its bound, and of an
    // enciphered file the fixed part within it.
    const qint64 size = DatabaseWriter::extensionArea(mDb).size() +
                        (mDb.flags() & DatabaseFlags::Encrypted ? LoStruc::Size : 0);
    if (size <= DatabaseReader::MaxAreaSize)
        return true;
    mIn.failAt(
        QStringLiteral("$"),
        QStringLiteral("the values kept beside the fixed part (popup items, defaults, lists, "
                       "calc values) take %1 bytes, more than the %2 the reader takes")
            .arg(count(size), count(DatabaseReader::MaxAreaSize)));
    return false;
}

void Loader::build()
{
    const int f = int(mFields.size());
    RecordGrid &grid = mDb.grid();
    grid.resize(f + 1, 1);
    std::vector<RecordGrid::Row> rows(mRows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        rows[i].texts = std::move(mRows[i]);
    mRows = {};
    grid.insertRows(1, std::move(rows));
    grid.showAllRows();
    for (int k = 1; k <= f; ++k) {
        const LoadedField &loaded = mFields[size_t(k - 1)];
        mDb.field(k) = loaded.def;
        grid.setCell(k, 0, loaded.name);
        grid.setColumnWidth(k, mDb.FieldWidthToPixels(loaded.width));
        if (loaded.def.type == FieldType::Boolean) {
            for (int r = 1; r < grid.rowCount(); ++r)
                grid.setCheckBox(k, r, true);
        }
    }
    mDb.loStruc() = LoStruc(mSpare);
    mDb.setAutoSort(mDb.flags() & DatabaseFlags::AutoSort);
    mDb.setReadOnly(mDb.flags() & DatabaseFlags::ReadOnly);
    mDb.setChanged(false);
}

} // namespace

JsonLoad::Result JsonLoad::read(QIODevice &device, Database &db)
{
    JsonReader in(device);
    Loader loader(in, db);
    if (loader.run())
        return {true, {}};
    return {false, in.fault()};
}
