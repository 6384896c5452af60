#pragma once

#include <QByteArray>
#include <QString>

#include <array>

class Database;
class JsonReader;

/**
 * The texts of a JSON image that the file keeps in the extension area
 * after the fixed part: the fields' defaults and popup items and the named
 * sort and filter lists. Their bytes are counted as they are read, so that
 * a document cannot hand over more than the reader would take of the area
 * (the exact size of the area is the writer's to tell once all is read).
 */
class JsonAreaValues
{
public:
    explicit JsonAreaValues(JsonReader &in) : mIn(in) {}

    /// The text that must come next.
    bool text(QString &out);
    /// "sortLists": at most 25, into the lists of @p db from list 1 on.
    bool sortLists(Database &db);
    /// "filterLists": at most 25, into the lists of @p db from list 1 on.
    bool filterLists(Database &db);

private:
    /// A list's name: not empty ("Unused" marks a list not in use).
    bool name(QString &out);
    /// The five condition texts of a filter list.
    bool conditions(std::array<QString, 5> &texts);

    JsonReader &mIn;
    QByteArray mBytes;
    qint64 mCounted = 0;
};
