#pragma once

#include "core/document/fielddef.h"
#include "core/document/filtersettings.h"
#include "core/document/recordgrid.h"
#include "core/document/savedfilterlist.h"
#include "core/document/savedsortlist.h"
#include "core/document/sortsettings.h"
#include "core/document/viewposition.h"
#include "core/format/lostruc.h"

#include <QDateTime>
#include <QString>

#include <array>

/**
 * The one open database: header values, field table, record grid and the
 * view settings that travel inside the file.
 *
 * The open database lives in the Document, which alone changes it; readers
 * fill a Database of their own that the document then takes over, writers
 * read it. Field slots are
 * numbered 1 to 50, slot 51 is the spare used while a field moves; sort and
 * filter lists are numbered 1 to 25.
 */
class Database
{
public:
    static constexpr int FieldSlots = 51;

    Database();
    Database &operator=(const Database &) = delete;
    Database(Database &&) = default;
    Database &operator=(Database &&) = default;

    /// A copy of the whole database, for a command that builds a new one
    /// from the open one (Clone). Copies are made only on purpose.
    Database copy() const { return Database(*this); }

    /// Empties the document before a file is read, a database is created or
    /// a text file imported. The grid's cells and size are the caller's.
    void ResetDatabase();

    const QString &name() const { return mName; }
    void setName(const QString &name) { mName = name; }

    /// The date of the last modification, as the wall-clock time it names
    /// (kept in a UTC QDateTime so that no time-zone rule shifts it).
    const QDateTime &date() const { return mDate; }
    void setDate(const QDateTime &date) { mDate = date; }

    const QString &filePath() const { return mFilePath; }
    void setFilePath(const QString &path) { mFilePath = path; }

    quint16 flags() const { return mFlags; }
    void setFlags(quint16 flags) { mFlags = flags; }
    bool isReadOnly() const { return mReadOnly; }
    void setReadOnly(bool on) { mReadOnly = on; }
    bool isAutoSort() const { return mAutoSort; }
    void setAutoSort(bool on) { mAutoSort = on; }
    bool isChanged() const { return mChanged; }
    void setChanged(bool on) { mChanged = on; }

    const QString &password() const { return mPassword; }
    void setPassword(const QString &password) { mPassword = password; }

    /// Field slot @p k, 1 to 51.
    FieldDef &field(int k) { return mFields[slotIndex(k)]; }
    const FieldDef &field(int k) const { return mFields[slotIndex(k)]; }

    RecordGrid &grid() { return mGrid; }
    const RecordGrid &grid() const { return mGrid; }
    int fieldCount() const { return mGrid.fieldCount(); }
    int recordCount() const { return mGrid.recordCount(); }

    int dataWidth() const { return mDataWidth; }
    void setDataWidth(int width) { mDataWidth = width; }
    int firstUnlockedField() const { return mFirstUnlockedField; }
    void setFirstUnlockedField(int field) { mFirstUnlockedField = field; }

    SortSettings &sort() { return mSort; }
    const SortSettings &sort() const { return mSort; }

    int findField() const { return mFindField; }
    void setFindField(int field) { mFindField = field; }
    const QString &findText() const { return mFindText; }
    void setFindText(const QString &text) { mFindText = text; }

    FilterSettings &filter() { return mFilter; }
    const FilterSettings &filter() const { return mFilter; }

    /// Sort list @p i, 1 to 25.
    SavedSortList &sortList(int i) { return mSortLists[listIndex(i)]; }
    const SavedSortList &sortList(int i) const { return mSortLists[listIndex(i)]; }
    /// Filter list @p i, 1 to 25; list 1 is also the working advanced filter.
    SavedFilterList &filterList(int i) { return mFilterLists[listIndex(i)]; }
    const SavedFilterList &filterList(int i) const { return mFilterLists[listIndex(i)]; }
    AdvancedFilterSettings &advancedFilter() { return mFilterLists[0]; }
    const AdvancedFilterSettings &advancedFilter() const { return mFilterLists[0]; }

    ViewPosition &viewPosition() { return mViewPosition; }
    const ViewPosition &viewPosition() const { return mViewPosition; }

    LoStruc &loStruc() { return mLoStruc; }
    const LoStruc &loStruc() const { return mLoStruc; }

    bool autoSizeColumns() const { return mAutoSizeColumns; }
    void setAutoSizeColumns(bool on) { mAutoSizeColumns = on; }

    /// Pixels per width unit, set by the shell from the program font. A
    /// scale of 0 or less counts as 1.
    double widthScale() const { return mWidthScale; }
    void setWidthScale(double scale) { mWidthScale = scale; }

    int FieldWidthToPixels(int width) const;
    /// FieldWidthToPixels() at another width scale.
    static int FieldWidthToPixels(int width, double scale);
    int PixelsToFieldWidth(int pixels) const;

    /// Field slot @p k back to a fresh String field (no lock, no protection,
    /// no settings, default, popup items, calc values or loaded lookup).
    void ResetFieldDef(int k);
    /// Field slot @p to becomes a copy of slot @p from, its lookup and the
    /// width it was read with included: they belong to the field.
    void CopyFieldDef(int from, int to);
    /// After the grid moved column @p from to @p to: the field slots follow,
    /// through the spare slot 51.
    void MoveFieldDef(int from, int to);

    /// Sets the field-slot defaults that a file's extension area may fill:
    /// no default, no popup items, no loaded lookup, calc values 0; and the
    /// sort lists, filter lists and view position as an empty database has
    /// them.
    void clearExtensionValues();

    /// The seconds of a file date (counted from 1970-01-01 01:00) as a date,
    /// and back (truncated toward zero, clamped to the 32-bit range).
    static QDateTime dateFromFileSeconds(qint32 seconds);
    static qint32 fileSecondsFromDate(const QDateTime &date);

private:
    Database(const Database &) = default;
    static size_t slotIndex(int k) { return size_t(qBound(1, k, FieldSlots) - 1); }
    static size_t listIndex(int i) { return size_t(qBound(1, i, 25) - 1); }
    void resetLists();

    QString mName;
    QDateTime mDate;
    QString mFilePath;
    quint16 mFlags;
    bool mReadOnly = false;
    bool mAutoSort = false;
    bool mChanged = false;
    QString mPassword;
    std::array<FieldDef, FieldSlots> mFields;
    RecordGrid mGrid;
    int mDataWidth = 90;
    int mFirstUnlockedField = 0;
    SortSettings mSort;
    int mFindField = 0;
    QString mFindText;
    FilterSettings mFilter;
    std::array<SavedSortList, 25> mSortLists;
    std::array<SavedFilterList, 25> mFilterLists;
    ViewPosition mViewPosition;
    LoStruc mLoStruc;
    bool mAutoSizeColumns = false;
    double mWidthScale = 1.0;
};
