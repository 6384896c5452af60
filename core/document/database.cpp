#include "core/document/database.h"

#include "core/document/databaseflags.h"

#include <cmath>
#include <limits>

namespace {

const QDateTime &fileEpoch()
{
    // File dates count seconds from 1970-01-01 01:00 local time.
    static const QDateTime epoch(QDate(1970, 1, 1), QTime(1, 0), Qt::UTC);
    return epoch;
}

} // namespace

Database::Database() : mFlags(DatabaseFlags::Empty)
{
    ResetDatabase();
}

void Database::ResetDatabase()
{
    // 1. The image: zeros, String type words, one field, the marker, widths 90.
    mLoStruc.clear();
    for (int k = 1; k <= 50; ++k) {
        mLoStruc.setWord(LoStruc::typeOffset(k), FieldType::code(FieldType::String));
        mLoStruc.setWord(LoStruc::widthOffset(k), 90);
    }
    mLoStruc.setWord(LoStruc::FieldCountOffset, 1);
    mLoStruc.setWord(LoStruc::MarkerOffset, LoStruc::CurrentMarker);
    mLoStruc.setWord(LoStruc::DataWidthOffset, 90);

    // 2.
    mFirstUnlockedField = 0;
    mName.clear();
    mPassword.clear();
    mDate = QDateTime();
    mFlags = DatabaseFlags::Empty;

    // 3.
    for (FieldDef &def : mFields)
        def.clear();

    // 4.
    mDataWidth = 90;
    mAutoSort = false;
    mReadOnly = false;
    mAutoSizeColumns = false;
    mSort = SortSettings{};
    mFindField = 0;
    mFilter.field = 0;
    mFindText.clear();
    mFilter.text.clear();

    // 5. The lookup texts stay; they are read only while the flag is set.
    for (int k = 1; k <= 50; ++k)
        field(k).lookupLoaded = false;

    // 6. and 7.
    resetLists();
}

void Database::resetLists()
{
    for (SavedSortList &list : mSortLists)
        list = SavedSortList{};
    for (SavedFilterList &list : mFilterLists)
        list = SavedFilterList{};
    mViewPosition = ViewPosition{};
}

void Database::ResetFieldDef(int k)
{
    FieldDef &def = field(k);
    def.clear();
    def.lookupLoaded = false;
}

void Database::CopyFieldDef(int from, int to)
{
    if (from != to)
        field(to) = field(from);
}

void Database::MoveFieldDef(int from, int to)
{
    if (from == to)
        return;
    CopyFieldDef(from, FieldSlots);
    if (to < from) {
        for (int c = from; c > to; --c)
            CopyFieldDef(c - 1, c);
    } else {
        for (int c = from; c < to; ++c)
            CopyFieldDef(c + 1, c);
    }
    CopyFieldDef(FieldSlots, to);
}

void Database::clearExtensionValues()
{
    for (int k = 1; k <= 50; ++k) {
        FieldDef &def = field(k);
        def.defaultText.clear();
        def.popupItems.clear();
        def.lookupLoaded = false;
        def.calcValue1 = 0.0;
        def.calcValue2 = 0.0;
    }
    resetLists();
}

int Database::FieldWidthToPixels(int width) const
{
    return FieldWidthToPixels(width, mWidthScale);
}

int Database::FieldWidthToPixels(int width, double scale)
{
    scale = scale > 0.0 ? scale : 1.0;
    // Halves go to the even neighbour.
    const double pixels = double(width) * scale;
    const double floor = std::floor(pixels);
    const double fraction = pixels - floor;
    double rounded = floor;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(floor, 2.0) != 0.0))
        rounded = floor + 1.0;
    return int(rounded);
}

int Database::PixelsToFieldWidth(int pixels) const
{
    // The smallest width whose pixels reach @p pixels. The widths to pixels
    // conversion never decreases, so the search may start just below the
    // estimate instead of at 0.
    if (pixels <= 0)
        return 0;
    const double scale = mWidthScale > 0.0 ? mWidthScale : 1.0;
    int width = qMax(0, int(std::floor(double(pixels) / scale)) - 2);
    while (FieldWidthToPixels(width) < pixels)
        ++width;
    return width;
}

QDateTime Database::dateFromFileSeconds(qint32 seconds)
{
    return fileEpoch().addSecs(seconds);
}

qint32 Database::fileSecondsFromDate(const QDateTime &date)
{
    const qint64 ms = fileEpoch().msecsTo(date);
    const qint64 seconds = ms / 1000; // truncated toward zero
    return qint32(qBound(qint64(std::numeric_limits<qint32>::min()), seconds,
                         qint64(std::numeric_limits<qint32>::max())));
}
