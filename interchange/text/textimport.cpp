#include "interchange/text/textimport.h"

#include "core/document/database.h"
#include "core/document/limits.h"
#include "core/files/savedatabasefile.h"
#include "interchange/text/textfiletype.h"

#include <QFileInfo>

namespace {

constexpr int ImportedFieldPixels = 90;
/// Append stops when the grid holds this many rows (31999 records).
constexpr int AppendRowLimit = Limits::MaxRecords;

DelimitedText::Settings settings(int fileType, TextEncoding encoding)
{
    DelimitedText::Settings s;
    s.separator = TextFileType::separator(fileType).toLatin1();
    s.encoding = encoding;
    return s;
}

/// The texts of @p line in @p count slots after slot 0.
RecordTexts textsOf(const DelimitedText::Line &line, int count)
{
    if (!line.wide)
        return RecordTexts::fromStored(line.stored.data(), line.stored.size(), count);
    std::vector<QString> all(size_t(count) + 1);
    for (int f = 0; f < line.fields && f < count; ++f)
        all[size_t(f) + 1] = (*line.texts)[size_t(f)];
    return RecordTexts::fromTexts(all.data(), qsizetype(all.size()));
}

RecordGrid::Row record(RecordTexts &&texts)
{
    RecordGrid::Row row;
    row.height = RecordGrid::VisibleRowHeight;
    row.texts = std::move(texts);
    return row;
}

/// Import's lines: the field names, then the records.
class ImportSink : public DelimitedText::Sink
{
public:
    explicit ImportSink(TextImport::ImportText &text) : mText(text) {}

    void take(const DelimitedText::Line &line) override
    {
        if (!mNamesTaken) {
            mNamesTaken = true;
            const RecordTexts names = textsOf(line, line.fields);
            for (int f = 1; f <= line.fields; ++f)
                mText.names.push_back(names.text(f));
            return;
        }
        // Each record has the slots of the widest line so far; the grid
        // gives those before it the rest.
        mWidest = qMax(mWidest, line.fields);
        mText.records.push_back(record(textsOf(line, mWidest)));
    }

    void restart() override
    {
        mText.names.clear();
        mText.records = {};
        mNamesTaken = false;
        mWidest = 0;
    }

private:
    TextImport::ImportText &mText;
    bool mNamesTaken = false;
    int mWidest = 0;
};

/// Append's lines, as long as there is room.
class AppendSink : public DelimitedText::Sink
{
public:
    AppendSink(TextImport::AppendText &text, const Database &db)
        : mText(text), mFields(db.fieldCount()),
          mRoom(qMax(0, AppendRowLimit - db.grid().rowCount()))
    {
    }

    void take(const DelimitedText::Line &line) override
    {
        if (qsizetype(mText.records.size()) < mRoom)
            mText.records.push_back(record(textsOf(line, mFields)));
        else
            mText.unappended.add(line.number);
    }

    void restart() override
    {
        mText.records = {};
        mText.unappended = {};
    }

private:
    TextImport::AppendText &mText;
    int mFields;
    qsizetype mRoom;
};

} // namespace

namespace TextImport {

QString databaseName(const QString &path)
{
    QString name = QFileInfo(path).completeBaseName();
    for (QChar c : QStringLiteral("\"*/:<>?\\|"))
        name.replace(c, QLatin1Char('_'));
    return name;
}

ImportText readForImport(QIODevice &device, int fileType, TextEncoding encoding, Progress &progress)
{
    ImportText text;
    ImportSink sink(text);
    text.read = DelimitedText::read(device, settings(fileType, encoding), sink, progress);
    return text;
}

void build(ImportText &&text, const Source &source, Database &db)
{
    const DelimitedText::Count &count = text.read.count;
    const int rows = int(qBound(qint64(2), count.lines, qint64(Limits::MaxRecords + 1)));
    const int columns = qBound(2, count.maxSeparators + 2, Limits::MaxFields + 1);

    db.ResetDatabase();
    db.setWidthScale(source.widthScale);
    RecordGrid &grid = db.grid();
    grid.resize(columns, 1);
    for (int k = 1; k < columns && size_t(k) <= text.names.size(); ++k)
        grid.setCell(k, 0, text.names[size_t(k - 1)]);
    std::vector<RecordGrid::Row> records = std::move(text.records);
    while (records.size() < size_t(rows - 1))
        records.push_back(record(RecordTexts()));
    grid.insertRows(1, std::move(records));

    db.setName(databaseName(source.path));
    db.setDate(source.modified);
    db.setFilePath(
        ChangeFileExtension(QFileInfo(source.path).absoluteFilePath(), QStringLiteral(".pdb")));
    for (int k = 1; k < columns; ++k) {
        grid.setColumnWidth(k, ImportedFieldPixels);
        db.field(k).type = FieldType::String;
    }
    db.setChanged(false);
}

AppendText readForAppend(QIODevice &device, int fileType, TextEncoding encoding, const Database &db,
                         Progress &progress)
{
    AppendText text;
    AppendSink sink(text, db);
    DelimitedText::Settings s = settings(fileType, encoding);
    s.keptFields = db.fieldCount();
    s.lastFieldWins = false;
    s.gridLineBreaks = false;
    text.read = DelimitedText::read(device, s, sink, progress);
    return text;
}

bool fitQuestionNeeded(const DelimitedText::Count &count, const Database &db)
{
    return count.maxSeparators + 1 > db.fieldCount() ||
           db.recordCount() + count.lines > AppendRowLimit - 1;
}

EditStep::InsertRecords appendStep(AppendText &&text, const Database &db)
{
    return EditStep::InsertRecords{db.recordCount() + 1, std::move(text.records)};
}

} // namespace TextImport
