#include "table/find/findsearch.h"

#include "core/document/database.h"
#include "core/platform/localeservice.h"
#include "core/platform/progress.h"

namespace {

inline QChar upperAscii(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ? QChar(c.unicode() - 'a' + 'A') : c;
}

} // namespace

bool FindSearch::cellMatches(const QString &cell, const QString &upperText, bool mustBegin)
{
    const qsizetype length = upperText.size();
    if (length == 0 || cell.size() < length)
        return false;
    const qsizetype lastStart = mustBegin ? 0 : cell.size() - length;
    for (qsizetype start = 0; start <= lastStart; ++start) {
        qsizetype k = 0;
        while (k < length && upperAscii(cell[start + k]) == upperText[k])
            ++k;
        if (k == length)
            return true;
    }
    return false;
}

std::optional<QPoint> FindSearch::run(const Database &db, const Query &query, int currentRow,
                                      Progress *progress)
{
    mCancelled = false;
    const QString text = LocaleService::upperAsciiLetters(query.text);
    const int records = db.recordCount();
    const int fields = db.fieldCount();
    // The range: the one field chosen, or every field.
    const int first = query.field > 0 ? query.field : 1;
    const int last = query.field > 0 ? qMin(query.field, fields) : fields;

    int row = 0;
    int column = 0;
    if (mActive) {
        row = mRow;
        column = mColumn;
    } else {
        row = query.fromStart ? 0 : qMax(0, currentRow);
        column = fields;
    }
    QString cell; // one string reused for every cell
    for (;;) {
        // Next column of this record, within the range.
        column = qMax(column + 1, first);
        for (; column <= last; ++column) {
            db.grid().cellInto(column, row, cell);
            if (cellMatches(cell, text, query.mustBegin)) {
                mActive = true;
                mRow = row;
                mColumn = column;
                return QPoint(column, row);
            }
        }
        // Next record.
        if (row >= records) {
            mActive = false;
            return std::nullopt;
        }
        ++row;
        column = 0;
        // The progress of the records from the top, asked now and then.
        if (progress && row % ProgressRecords == 0 &&
            !progress->advance(int(qint64(row) * 1000 / records))) {
            mCancelled = true;
            return std::nullopt;
        }
    }
}

std::vector<QPoint> FindSearch::allMatches(const Database &db, Query query)
{
    query.fromStart = true;
    FindSearch search;
    std::vector<QPoint> matches;
    while (const std::optional<QPoint> cell = search.run(db, query, 0))
        matches.push_back(*cell);
    return matches;
}

Message FindSearch::notFoundMessage()
{
    return {QStringLiteral("Find error"),
            MessageIcon::None,
            {QStringLiteral("Search text not found.")},
            MessageButton::Ok};
}
