#include "table/find/replacestep.h"

#include "values/calc/calculatedfields.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/document/limits.h"
#include "core/platform/localeservice.h"
#include "core/platform/progress.h"

#include <algorithm>

ReplaceStep::ReplaceStep(Document &doc, const LocaleService &locale, const CalculatedFields *calc)
    : mDoc(doc), mCalc(calc), mLocale(locale)
{
    // Whether the locale upper-cases ASCII text as a to z to A to Z alone
    // (not so where i becomes a dotted capital I).
    QString ascii;
    for (char16_t c = 1; c < 0x80; ++c)
        ascii.append(QChar(c));
    mAsciiLetters = mLocale.toUpper(ascii) == LocaleService::upperAsciiLetters(ascii);
}

ReplaceStep::Prepared ReplaceStep::prepare(const QString &text, bool matchCase) const
{
    Prepared p;
    if (matchCase) {
        p.text = text;
        return p;
    }
    p.text = mLocale.toUpper(text);
    if (p.text.size() == text.size())
        return p;
    // The upper-casing changed the length (ß to SS): case each character
    // alone to know where each upper-cased one comes from.
    p.text.clear();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype width = (text[i].isHighSurrogate() && i + 1 < text.size()) ? 2 : 1;
        const QString upper = mLocale.toUpper(text.mid(i, width));
        p.text += upper;
        p.origin.insert(p.origin.end(), size_t(upper.size()), int(i));
        i += width;
    }
    return p;
}

namespace {

inline char16_t upperAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - u'a' + u'A') : c;
}

bool isAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

/// The first position from @p from where @p cell, its letters a to z
/// upper-cased, holds @p upperFind; -1 when none.
qsizetype indexOfAsciiUpper(const QString &cell, const QString &upperFind, qsizetype from)
{
    const qsizetype length = upperFind.size();
    for (qsizetype start = from; start + length <= cell.size(); ++start) {
        qsizetype k = 0;
        while (k < length && upperAscii(cell[start + k].unicode()) == upperFind[k].unicode())
            ++k;
        if (k == length)
            return start;
    }
    return -1;
}

} // namespace

ReplaceStep::Match ReplaceStep::test(const QString &cell, int from, const QString &preparedFind,
                                     const Query &query) const
{
    if (preparedFind.isEmpty() || from > cell.size() || (query.mustBegin && from > 0))
        return {};
    const qsizetype length = preparedFind.size();
    // Texts compared as they are, or upper-cased the way the locale does
    // it for ASCII text, keep their characters' places.
    if (query.matchCase || (mAsciiLetters && isAscii(cell))) {
        const qsizetype p = query.matchCase ? cell.indexOf(preparedFind, from)
                                            : indexOfAsciiUpper(cell, preparedFind, from);
        if (p < 0 || (query.mustBegin && p > 0))
            return {};
        return {int(p), int(length)};
    }
    const Prepared prepared = prepare(cell, query.matchCase);
    const QString &text = prepared.text;
    const std::vector<int> &origin = prepared.origin;
    qsizetype p = from;
    if (!origin.empty())
        p = std::lower_bound(origin.begin(), origin.end(), from) - origin.begin();
    for (;;) {
        p = text.indexOf(preparedFind, p);
        if (p < 0 || (query.mustBegin && p > 0))
            return {};
        if (origin.empty())
            return {int(p), int(length)};
        // A match covers whole characters of the cell, not half of an ß.
        const qsizetype end = p + length;
        const bool startsWhole = p == 0 || origin[size_t(p - 1)] != origin[size_t(p)];
        const bool endsWhole = end == text.size() || origin[size_t(end)] != origin[size_t(end - 1)];
        if (startsWhole && endsWhole) {
            const int start = origin[size_t(p)];
            const int stop = end == text.size() ? int(cell.size()) : origin[size_t(end)];
            return {start, stop - start};
        }
        if (query.mustBegin)
            return {};
        ++p;
    }
}

ReplaceStep::Outcome ReplaceStep::run(Mode mode, const Query &query, Progress *progress)
{
    const Database &db = mDoc.database();
    // A cancel leaves the selection as it was; nothing is applied before
    // the end.
    const bool wasFound = mFound;
    const int was[] = {mColumn, mRow, mPosition, mLength};
    const auto cancel = [&] {
        mFound = wasFound;
        mColumn = was[0];
        mRow = was[1];
        mPosition = was[2];
        mLength = was[3];
        Outcome cancelled;
        cancelled.cancelled = true;
        return cancelled;
    };
    // Replace All's first look at every cell is most of its work; the
    // replacements take the last fifth.
    const int lookShare = mode == ReplaceAll ? 800 : 0;
    const int records = db.recordCount();
    const int first = query.field > 0 ? query.field : 1;
    const int last = query.field > 0 ? qMin(query.field, db.fieldCount()) : db.fieldCount();
    const QString find = prepare(query.findText, query.matchCase).text;

    // Replace All reads every cell of the range. Going down a field touches
    // each record's memory once per field, so the cells that hold a match
    // are picked out first, record by record; the search then visits those
    // alone, in its own order.
    std::vector<std::vector<int>> matching;
    if (mode == ReplaceAll && !find.isEmpty() && last >= first) {
        matching.resize(size_t(last - first + 1));
        QString cell; // one string reused for every cell
        for (int r = 1; r <= records; ++r) {
            for (int c = first; c <= last; ++c) {
                db.grid().cellInto(c, r, cell);
                if (test(cell, 0, find, query))
                    matching[size_t(c - first)].push_back(r);
            }
            if (progress && r % ProgressRecords == 0 &&
                !progress->advance(int(qint64(r) * lookShare / records)))
                return cancel();
        }
    }
    qint64 cellsToVisit = qint64(qMax(0, last - first + 1)) * records;
    if (!matching.empty()) {
        cellsToVisit = 0;
        for (const std::vector<int> &rows : matching)
            cellsToVisit += qint64(rows.size());
    }
    qint64 cellsVisited = 0;
    // The record after @p row in field @p column that the search tests next.
    const auto nextRow = [&](int column, int row) {
        if (matching.empty() || column < first || column > last)
            return row + 1;
        const std::vector<int> &rows = matching[size_t(column - first)];
        const auto it = std::upper_bound(rows.begin(), rows.end(), row);
        return it == rows.end() ? records + 1 : *it;
    };

    Outcome out;
    EditStep::Cells changes;
    // The cell being tested and its text with this step's replacements.
    int column = first - 1;
    int row = records;
    QString text;
    bool textReplaced = false;
    auto moveTo = [&](int c, int r) {
        if (textReplaced)
            changes.changes.push_back({column, row, text});
        column = c;
        row = r;
        text = db.grid().cell(c, r);
        textReplaced = false;
    };
    // Step 3: replace the selected match (Replace, Replace All) and test
    // the same cell again behind it; Find Next goes on with the next record.
    auto replaceSelected = [&]() -> Match {
        if (mode == FindNext)
            return {};
        int from = mPosition;
        const Match still = test(text, mPosition, find, query);
        if (still && still.start == mPosition && still.length == mLength) {
            if (text.size() - mLength + query.replaceText.size() <= Limits::MaxCellText) {
                text.replace(mPosition, mLength, query.replaceText);
                textReplaced = true;
                ++out.replacements;
                from = mPosition + int(query.replaceText.size());
            } else {
                ++out.skipped;
                from = mPosition + mLength;
            }
        }
        return test(text, from, find, query);
    };

    Match hit;
    // A selection outside the range chosen now (the field was changed
    // since) is left alone; the search starts at the range's beginning.
    if (mFound && mColumn >= first && mColumn <= last) {
        moveTo(mColumn, mRow);
        hit = replaceSelected();
    }
    for (;;) {
        if (hit) {
            mFound = true;
            mColumn = column;
            mRow = row;
            mPosition = hit.start;
            mLength = hit.length;
            out.current = QPoint(column, row);
            out.inHiddenRecord = out.inHiddenRecord || db.grid().isRowHidden(row);
            if (mode != ReplaceAll)
                break;
            hit = replaceSelected();
            continue;
        }
        // Steps 5 and 6: the next record of the field, else the first of
        // the next field.
        int c = column;
        int r = nextRow(column, row);
        while (r > records && c < last && records > 0) {
            ++c;
            r = nextRow(c, 0);
        }
        if (r > records) {
            out.closeDialog = true;
            out.notFound = !mFound;
            break;
        }
        moveTo(c, r);
        hit = test(text, 0, find, query);
        if (progress && ++cellsVisited % ProgressCells == 0 &&
            !progress->advance(
                lookShare + int(cellsVisited * (1000 - lookShare) / qMax<qint64>(1, cellsToVisit))))
            return cancel();
    }
    if (textReplaced)
        changes.changes.push_back({column, row, text});
    if (!changes.changes.empty()) {
        // The last moment to cancel: what follows is applied.
        if (progress && !progress->advance(1000))
            return cancel();
        // Every record whose texts change keeps its calculated cells
        // current.
        if (mCalc)
            changes = mCalc->withRecalculation(std::move(changes), false);
        mDoc.apply(Edit::change(mode == ReplaceAll ? QStringLiteral("replace all")
                                                   : QStringLiteral("replace"),
                                std::move(changes)));
    }
    return out;
}

Message ReplaceStep::notFoundMessage()
{
    return {QStringLiteral("Replace"),
            MessageIcon::None,
            {QStringLiteral("Find text not found.")},
            MessageButton::Ok};
}

QString ReplaceStep::skippedText(int skipped)
{
    return (skipped == 1 ? QStringLiteral("1 replacement was skipped")
                         : QStringLiteral("%1 replacements were skipped").arg(skipped)) +
           QStringLiteral(": the cell would have been longer than the %1 characters the "
                          "handheld keeps.")
               .arg(Limits::MaxCellText);
}
