#include "table/find/replacestep.h"

#include "core/document/database.h"
#include "core/document/document.h"
#include "core/document/limits.h"
#include "core/platform/localeservice.h"

#include <algorithm>

ReplaceStep::ReplaceStep(Document &doc, const LocaleService &locale) : mDoc(doc), mLocale(locale)
{
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

ReplaceStep::Match ReplaceStep::test(const QString &cell, const Prepared &prepared, int from,
                                     const QString &preparedFind, const Query &query) const
{
    if (preparedFind.isEmpty() || from > cell.size() || (query.mustBegin && from > 0))
        return {};
    const QString &text = prepared.text;
    const std::vector<int> &origin = prepared.origin;
    const qsizetype length = preparedFind.size();
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

ReplaceStep::Outcome ReplaceStep::run(Mode mode, const Query &query)
{
    const Database &db = mDoc.database();
    const int records = db.recordCount();
    const int first = query.field > 0 ? query.field : 1;
    const int last = query.field > 0 ? qMin(query.field, db.fieldCount()) : db.fieldCount();
    const QString find = prepare(query.findText, query.matchCase).text;

    Outcome out;
    EditStep::Cells changes;
    // The cell being tested and its text with this step's replacements.
    int column = first - 1;
    int row = records;
    QString text;
    Prepared prepared;
    bool textReplaced = false;
    auto moveTo = [&](int c, int r) {
        if (textReplaced)
            changes.changes.push_back({column, row, text});
        column = c;
        row = r;
        text = db.grid().cell(c, r);
        prepared = prepare(text, query.matchCase);
        textReplaced = false;
    };
    // Step 3: replace the selected match (Replace, Replace All) and test
    // the same cell again behind it; Find Next goes on with the next record.
    auto replaceSelected = [&]() -> Match {
        if (mode == FindNext)
            return {};
        int from = mPosition;
        const Match still = test(text, prepared, mPosition, find, query);
        if (still && still.start == mPosition && still.length == mLength) {
            if (text.size() - mLength + query.replaceText.size() <= Limits::MaxCellText) {
                text.replace(mPosition, mLength, query.replaceText);
                prepared = prepare(text, query.matchCase);
                textReplaced = true;
                ++out.replacements;
                from = mPosition + int(query.replaceText.size());
            } else {
                from = mPosition + mLength;
            }
        }
        return test(text, prepared, from, find, query);
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
        if (row < records) {
            moveTo(column, row + 1);
        } else if (column < last && records > 0) {
            moveTo(column + 1, 1);
        } else {
            out.closeDialog = true;
            out.notFound = !mFound;
            break;
        }
        hit = test(text, prepared, 0, find, query);
    }
    if (textReplaced)
        changes.changes.push_back({column, row, text});
    if (!changes.changes.empty()) {
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
