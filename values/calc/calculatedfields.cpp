#include "values/calc/calculatedfields.h"

#include "core/document/database.h"
#include "core/platform/clock.h"
#include "core/platform/localeservice.h"
#include "core/platform/userfeedback.h"
#include "numbers/numberformat.h"

#include <map>

#include <cmath>
#include <optional>

namespace {

const QString kUnknown = QStringLiteral("???");

/// One operand reference of a calculation word: bits 0-6 the field's
/// position (grid column - 1), bit 7 "Previous Record".
struct Reference
{
    int column;
    bool previous;

    static Reference fromByte(quint32 byte) { return {int(byte & 0x7F) + 1, bool(byte & 0x80)}; }
};

/// The calculation word of setting 1:
///   bits 24-31  first field reference
///   bits 16-23  second field reference
///   bits 0-15   operator: 1 add, 2 subtract, 3 multiply, 4 divide
struct Calculation
{
    int op;
    Reference first;
    Reference second;

    static Calculation fromWord(qint32 word)
    {
        const auto w = quint32(word);
        return {int(w & 0xFFFF), Reference::fromByte(w >> 24),
                Reference::fromByte((w >> 16) & 0xFF)};
    }
};

enum Operator
{
    Add = 1,
    Subtract = 2,
    Multiply = 3,
    Divide = 4
};

} // namespace

/// The database's texts as a change would leave them: rows that the change
/// touches are held here, the others read from the grid.
class CalculatedFields::Texts
{
public:
    explicit Texts(const Database &db) : mDb(db) {}

    QString cell(int column, int row) const
    {
        const auto it = mRows.find(row);
        if (it == mRows.end() || column < 0 || size_t(column) >= it->second.size())
            return mDb.grid().cell(column, row);
        return it->second[size_t(column)];
    }
    std::vector<QString> &row(int row)
    {
        auto it = mRows.find(row);
        if (it == mRows.end()) {
            std::vector<QString> texts(size_t(mDb.grid().columnCount()));
            for (int c = 1; c < mDb.grid().columnCount(); ++c)
                texts[size_t(c)] = mDb.grid().cell(c, row);
            it = mRows.emplace(row, std::move(texts)).first;
        }
        return it->second;
    }
    std::vector<QString> &blankRow(int row)
    {
        std::vector<QString> &texts = mRows[row];
        texts.assign(size_t(mDb.grid().columnCount()), QString());
        return texts;
    }
    void set(int column, int row, const QString &text) { this->row(row)[size_t(column)] = text; }
    const std::map<int, std::vector<QString>> &rows() const { return mRows; }

private:
    const Database &mDb;
    std::map<int, std::vector<QString>> mRows;
};

CalculatedFields::CalculatedFields(const Database &db, LocaleService &locale, Clock &clock,
                                   UserFeedback &feedback)
    : mDb(db), mLocale(locale), mClock(clock), mFeedback(feedback)
{
}

QString CalculatedFields::EvaluateCalcField(int column, int row) const
{
    return evaluate(column, row, Texts(mDb));
}

QString CalculatedFields::evaluate(int column, int row, const Texts &texts) const
{
    const FieldDef &def = mDb.field(column);
    const Calculation calc = Calculation::fromWord(def.setting1);
    const int fields = mDb.fieldCount();
    const auto exists = [fields](const Reference &ref) { return ref.column <= fields; };
    const auto isString = [&](const Reference &ref) {
        return exists(ref) && mDb.field(ref.column).type == FieldType::String;
    };

    // Two String fields added are joined as texts, whatever the kind.
    if (calc.op == Add && isString(calc.first) && isString(calc.second))
        return texts.cell(calc.first.column, row) + texts.cell(calc.second.column, row);

    const auto operand = [&](const Reference &ref) -> std::optional<double> {
        if (!exists(ref))
            return std::nullopt; // a damaged file names a field that is not there
        if (ref.previous && row <= 1)
            return 0.0;
        // The grid row above, hidden or not.
        const ParsedNumber n = ParseNumber(texts.cell(ref.column, ref.previous ? row - 1 : row));
        return n.ok ? std::optional<double>(n.value) : std::nullopt;
    };

    std::optional<double> a;
    std::optional<double> b;
    switch (def.type) {
    case FieldType::CalcFieldOpField:
        a = operand(calc.first);
        if (a)
            b = operand(calc.second);
        break;
    case FieldType::CalcValueOpField:
        a = def.calcValue1;
        b = operand(calc.second);
        break;
    case FieldType::CalcFieldOpValue:
        a = operand(calc.first);
        b = def.calcValue2;
        break;
    default:
        return kUnknown;
    }
    if (!a || !b)
        return kUnknown;

    double value = 0.0;
    switch (calc.op) {
    case Add:
        value = *a + *b;
        break;
    case Subtract:
        value = *a - *b;
        break;
    case Multiply:
        value = *a * *b;
        break;
    case Divide:
        if (*b == 0.0)
            return QStringLiteral("INF");
        value = *a / *b;
        break;
    default:
        break;
    }
    // A result beyond the range of a double has no value to show.
    if (!std::isfinite(value))
        return kUnknown;
    return FormatNumber(def.setting2, value);
}

void CalculatedFields::recalculate(int row, bool stamps, Texts &texts) const
{
    const int fields = mDb.fieldCount();
    const QDateTime now = mClock.now();
    for (int k = 1; k <= fields; ++k) {
        const int type = mDb.field(k).type;
        if (stamps && type == FieldType::ModificationDate)
            texts.set(k, row, mLocale.formatDate(now.date()));
        else if (stamps && type == FieldType::ModificationTime)
            texts.set(k, row, mLocale.formatTime(now.time()));
        else if (FieldType::isCalculated(type))
            texts.set(k, row, evaluate(k, row, texts));
    }
    for (int k = fields; k >= 1; --k) {
        if (FieldType::isCalculated(mDb.field(k).type))
            texts.set(k, row, evaluate(k, row, texts));
    }
}

EditStep::Cells CalculatedFields::withRecalculation(EditStep::Cells cells, bool stamps) const
{
    // The columns a recalculation writes; without any, the texts are all.
    std::vector<int> computed;
    for (int k = 1; k <= mDb.fieldCount(); ++k) {
        const int type = mDb.field(k).type;
        if (FieldType::isCalculated(type) || (stamps && (type == FieldType::ModificationDate ||
                                                         type == FieldType::ModificationTime)))
            computed.push_back(k);
    }
    if (computed.empty())
        return cells;
    Texts texts(mDb);
    for (const auto &change : cells.changes) {
        if (change.row >= 1 && change.row <= mDb.recordCount() && change.column >= 1 &&
            change.column <= mDb.fieldCount())
            texts.set(change.column, change.row, change.text);
    }
    std::vector<int> rows;
    for (const auto &[row, _] : texts.rows())
        rows.push_back(row);
    std::vector<QString> before(computed.size());
    for (int row : rows) {
        for (size_t i = 0; i < computed.size(); ++i)
            before[i] = texts.cell(computed[i], row);
        recalculate(row, stamps, texts);
        for (size_t i = 0; i < computed.size(); ++i) {
            const QString &after = texts.cell(computed[i], row);
            if (after != before[i])
                cells.changes.push_back({computed[i], row, after});
        }
    }
    return cells;
}

EditStep::Cells CalculatedFields::RecalculateRow(int row) const
{
    EditStep::Cells cells;
    if (row < 1 || row > mDb.recordCount())
        return cells;
    Texts texts(mDb);
    recalculate(row, true, texts);
    const std::vector<QString> &after = texts.row(row);
    for (int c = 1; c < int(after.size()); ++c) {
        if (after[size_t(c)] != mDb.grid().cell(c, row))
            cells.changes.push_back({c, row, after[size_t(c)]});
    }
    return cells;
}

CalculatedFields::NewRecord CalculatedFields::InitialiseRecord(int row) const
{
    NewRecords made = InitialiseRecords(row, 1);
    return {std::move(made.rows.front()), std::move(made.counters)};
}

CalculatedFields::NewRecords CalculatedFields::InitialiseRecords(int row, int count) const
{
    NewRecords made;
    Texts texts(mDb);
    const int fields = mDb.fieldCount();
    const QDateTime now = mClock.now();
    // The auto-increment counters as the records made so far moved them on.
    std::map<int, FieldDef> counters;
    for (int n = 0; n < count; ++n) {
        const int r = row + n;
        std::vector<QString> &cells = texts.blankRow(r);
        RecordGrid::Row &record = made.rows.emplace_back();
        record.checkBoxes.assign(cells.size(), false);
        record.height = RecordGrid::VisibleRowHeight;
        for (int k = 1; k <= fields; ++k) {
            const FieldDef &def = mDb.field(k);
            QString &text = cells[size_t(k)];
            switch (def.type) {
            case FieldType::String:
            case FieldType::NormalPopup:
            case FieldType::MultiplePopup:
            case FieldType::NormalInteger:
            case FieldType::Float:
                text = def.defaultText;
                break;
            case FieldType::Boolean:
                text = QStringLiteral("0");
                record.checkBoxes[size_t(k)] = true;
                break;
            case FieldType::CreationDate:
                text = mLocale.formatDate(now.date());
                break;
            case FieldType::CreationTime:
                text = mLocale.formatTime(now.time());
                break;
            case FieldType::AutoIncrementInteger: {
                // The counter keeps the last number handed out. It wraps as
                // the handheld's 32-bit arithmetic does.
                FieldDef &counter = counters.try_emplace(k, def).first->second;
                counter.setting1 = qint32(quint32(counter.setting1) + quint32(def.setting2));
                text = QString::number(counter.setting1);
                break;
            }
            case FieldType::CalcFieldOpField:
            case FieldType::CalcValueOpField:
            case FieldType::CalcFieldOpValue:
                text = evaluate(k, r, texts);
                break;
            default:
                break;
            }
        }
        // A calculated field may read one to its right, which the pass above
        // had not filled yet.
        for (int k = fields; k >= 1; --k) {
            if (FieldType::isCalculated(mDb.field(k).type))
                cells[size_t(k)] = evaluate(k, r, texts);
        }
        // Copied: the next record's "Previous Record" operands read these.
        record.cells = cells;
    }
    for (auto &[k, def] : counters)
        made.counters.defs.emplace_back(k, std::move(def));
    return made;
}

EditStep::Cells CalculatedFields::RecalculateAll() const
{
    // Column by column over all records, left to right and back, as the
    // handheld does.
    Texts texts(mDb);
    const int fields = mDb.fieldCount();
    const int records = mDb.recordCount();
    std::vector<int> columns;
    for (int k = 1; k <= fields; ++k) {
        if (FieldType::isCalculated(mDb.field(k).type))
            columns.push_back(k);
    }
    if (columns.empty())
        return {};
    for (int k : columns) {
        for (int r = 1; r <= records; ++r)
            texts.set(k, r, evaluate(k, r, texts));
    }
    for (auto it = columns.rbegin(); it != columns.rend(); ++it) {
        for (int r = 1; r <= records; ++r)
            texts.set(*it, r, evaluate(*it, r, texts));
    }
    EditStep::Cells cells;
    for (int r = 1; r <= records; ++r) {
        for (int k : columns) {
            const QString &text = texts.cell(k, r);
            if (text != mDb.grid().cell(k, r))
                cells.changes.push_back({k, r, text});
        }
    }
    return cells;
}

std::optional<EditStep::Cells> CalculatedFields::ColumnSum(int column, int row) const
{
    if (column < 1 || column > mDb.fieldCount() || row < 1 || row > mDb.recordCount())
        return std::nullopt;
    // A protected field is not written, not even by a sum.
    if (mDb.field(column).isReadOnly()) {
        mFeedback.beep();
        return std::nullopt;
    }
    const RecordGrid &grid = mDb.grid();
    double sum = 0.0;
    bool found = false;
    for (int r = 1; r < row; ++r) {
        if (grid.isRowHidden(r))
            continue;
        const ParsedNumber n = ParseNumber(grid.cell(column, r));
        if (n.ok) {
            sum += n.value;
            found = true;
        }
    }
    if (!found)
        return std::nullopt;
    EditStep::Cells cells;
    cells.changes.push_back({column, row, FormatNumber(0, sum)});
    // The record's calculated cells follow the sum; its stamps stay.
    return withRecalculation(std::move(cells), false);
}
