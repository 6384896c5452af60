#include "interchange/text/textimport.h"

#include "core/document/database.h"
#include "core/document/limits.h"
#include "core/files/savedatabasefile.h"
#include "core/platform/progress.h"
#include "interchange/text/delimitedtext.h"

#include <QFileInfo>

namespace {

constexpr int ImportedFieldPixels = 90;
/// Append stops when the grid holds this many rows (31999 records).
constexpr int AppendRowLimit = Limits::MaxRecords;

/// Every lone LF of @p text preceded by a CR: the grid's line break.
void toGridLineBreaks(QString &text)
{
    if (!text.contains(QLatin1Char('\n')))
        return;
    QString converted;
    converted.reserve(text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            converted += QLatin1Char('\r');
        converted += text[i];
    }
    text = std::move(converted);
}

bool report(Progress &progress, qsizetype done, qsizetype total)
{
    // Every 256 lines is often enough for a smooth bar.
    if ((done & 0xFF) != 0)
        return true;
    return progress.advance(int(500 + 500 * done / qMax<qsizetype>(1, total)));
}

} // namespace

namespace TextImport {

QString databaseName(const QString &path)
{
    QString name = QFileInfo(path).completeBaseName();
    for (QChar c : QStringLiteral("\"*/:<>?\\|"))
        name.replace(c, QLatin1Char('_'));
    return name;
}

bool build(const DelimitedText &text, const Source &source, Database &db, Progress &progress)
{
    const DelimitedText::Count &count = text.count();
    const int rows = int(qBound(qsizetype(2), count.lines, qsizetype(Limits::MaxRecords + 1)));
    const int columns = qBound(2, count.maxSeparators + 2, Limits::MaxFields + 1);
    const int last = columns - 1;

    db.ResetDatabase();
    db.setWidthScale(source.widthScale);
    RecordGrid &grid = db.grid();
    grid.resize(columns, rows);
    grid.showAllRows();

    std::vector<QString> fields;
    std::vector<QString> cells;
    const qsizetype lines = qMin<qsizetype>(text.lines().size(), rows);
    for (qsizetype r = 0; r < lines; ++r) {
        if (!report(progress, r, lines))
            return false;
        DelimitedText::split(text.lines()[size_t(r)], text.separator(), fields);
        cells.assign(size_t(last), QString());
        for (size_t f = 0; f < fields.size(); ++f) {
            // Fields beyond the last column overwrite one another there.
            QString &cell = cells[qMin(f, size_t(last - 1))];
            cell = std::move(fields[f]);
            toGridLineBreaks(cell);
        }
        if (r == 0) {
            for (int k = 1; k <= last; ++k)
                grid.setCell(k, 0, cells[size_t(k - 1)]);
        } else {
            grid.setRecordTexts(int(r), std::move(cells));
        }
    }

    db.setName(databaseName(source.path));
    db.setDate(source.modified);
    db.setFilePath(
        ChangeFileExtension(QFileInfo(source.path).absoluteFilePath(), QStringLiteral(".pdb")));
    for (int k = 1; k <= last; ++k) {
        grid.setColumnWidth(k, ImportedFieldPixels);
        db.field(k).type = FieldType::String;
    }
    db.setChanged(false);
    return progress.advance(1000);
}

bool fitQuestionNeeded(const DelimitedText &text, const Database &db)
{
    const DelimitedText::Count &count = text.count();
    return count.maxSeparators + 1 > db.fieldCount() ||
           db.recordCount() + count.lines > AppendRowLimit - 1;
}

std::optional<EditStep::InsertRecords> appendStep(const DelimitedText &text, const Database &db,
                                                  Progress &progress)
{
    const int fieldCount = db.fieldCount();
    const int room = qMax(0, AppendRowLimit - db.grid().rowCount());
    const qsizetype lines = qMin<qsizetype>(text.lines().size(), room);
    EditStep::InsertRecords step{db.recordCount() + 1, {}};
    step.rows.reserve(size_t(lines));
    std::vector<QString> fields;
    for (qsizetype i = 0; i < lines; ++i) {
        if (!report(progress, i, lines))
            return std::nullopt;
        DelimitedText::split(text.lines()[size_t(i)], text.separator(), fields);
        RecordGrid::Row row;
        row.cells.assign(size_t(fieldCount + 1), QString());
        for (size_t f = 0; f < fields.size() && f < size_t(fieldCount); ++f)
            row.cells[f + 1] = std::move(fields[f]);
        row.checkBoxes.assign(size_t(fieldCount + 1), false);
        row.height = RecordGrid::VisibleRowHeight;
        step.rows.push_back(std::move(row));
    }
    if (!progress.advance(1000))
        return std::nullopt;
    return step;
}

} // namespace TextImport
