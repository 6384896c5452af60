#include "values/calc/calculatedfields.h"

#include "core/document/database.h"
#include "core/platform/clock.h"
#include "core/platform/localeservice.h"
#include "core/platform/userfeedback.h"
#include "values/numbers/numberformat.h"

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

CalculatedFields::CalculatedFields(Database &db, LocaleService &locale, Clock &clock,
                                   UserFeedback &feedback)
    : mDb(db), mLocale(locale), mClock(clock), mFeedback(feedback)
{
}

QString CalculatedFields::EvaluateCalcField(int column, int row) const
{
    const RecordGrid &grid = mDb.grid();
    const FieldDef &def = mDb.field(column);
    const Calculation calc = Calculation::fromWord(def.setting1);
    const int fields = mDb.fieldCount();
    const auto exists = [fields](const Reference &ref) { return ref.column <= fields; };
    const auto isString = [&](const Reference &ref) {
        return exists(ref) && mDb.field(ref.column).type == FieldType::String;
    };

    // Two String fields added are joined as texts, whatever the kind.
    if (calc.op == Add && isString(calc.first) && isString(calc.second))
        return grid.cell(calc.first.column, row) + grid.cell(calc.second.column, row);

    const auto operand = [&](const Reference &ref) -> std::optional<double> {
        if (!exists(ref))
            return std::nullopt; // a damaged file names a field that is not there
        if (ref.previous && row <= 1)
            return 0.0;
        // The grid row above, hidden or not.
        const ParsedNumber n = ParseNumber(grid.cell(ref.column, ref.previous ? row - 1 : row));
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

void CalculatedFields::setCell(int column, int row, const QString &text)
{
    if (mDb.grid().cell(column, row) != text)
        mDb.grid().setCell(column, row, text);
}

void CalculatedFields::RecalculateRow(int row)
{
    const int fields = mDb.fieldCount();
    const QDateTime now = mClock.now();
    for (int k = 1; k <= fields; ++k) {
        const int type = mDb.field(k).type;
        if (type == FieldType::ModificationDate)
            setCell(k, row, mLocale.formatDate(now.date()));
        else if (type == FieldType::ModificationTime)
            setCell(k, row, mLocale.formatTime(now.time()));
        else if (FieldType::isCalculated(type))
            setCell(k, row, EvaluateCalcField(k, row));
    }
    for (int k = fields; k >= 1; --k) {
        if (FieldType::isCalculated(mDb.field(k).type))
            setCell(k, row, EvaluateCalcField(k, row));
    }
}

void CalculatedFields::InitialiseRecord(int row)
{
    RecordGrid &grid = mDb.grid();
    const int fields = mDb.fieldCount();
    const QDateTime now = mClock.now();
    for (int k = 1; k <= fields; ++k) {
        FieldDef &def = mDb.field(k);
        switch (def.type) {
        case FieldType::String:
        case FieldType::NormalPopup:
        case FieldType::MultiplePopup:
        case FieldType::NormalInteger:
        case FieldType::Float:
            setCell(k, row, def.defaultText);
            break;
        case FieldType::Boolean:
            setCell(k, row, QStringLiteral("0"));
            grid.setCheckBox(k, row, true);
            break;
        case FieldType::CreationDate:
            setCell(k, row, mLocale.formatDate(now.date()));
            break;
        case FieldType::CreationTime:
            setCell(k, row, mLocale.formatTime(now.time()));
            break;
        case FieldType::AutoIncrementInteger:
            // The counter keeps the last number handed out. It wraps as the
            // handheld's 32-bit arithmetic does.
            def.setting1 = qint32(quint32(def.setting1) + quint32(def.setting2));
            setCell(k, row, QString::number(def.setting1));
            break;
        case FieldType::CalcFieldOpField:
        case FieldType::CalcValueOpField:
        case FieldType::CalcFieldOpValue:
            setCell(k, row, EvaluateCalcField(k, row));
            break;
        default:
            setCell(k, row, QString());
            break;
        }
    }
    // A calculated field may read one to its right, which the pass above
    // had not filled yet.
    for (int k = fields; k >= 1; --k) {
        if (FieldType::isCalculated(mDb.field(k).type))
            setCell(k, row, EvaluateCalcField(k, row));
    }
}

void CalculatedFields::RecalculateAll()
{
    RecordGrid &grid = mDb.grid();
    const int fields = mDb.fieldCount();
    const int rows = grid.rowCount();
    grid.beginUpdate();
    for (int k = 1; k <= fields; ++k) {
        if (FieldType::isCalculated(mDb.field(k).type)) {
            for (int r = 1; r < rows; ++r)
                setCell(k, r, EvaluateCalcField(k, r));
        }
    }
    for (int k = fields; k >= 1; --k) {
        if (FieldType::isCalculated(mDb.field(k).type)) {
            for (int r = 1; r < rows; ++r)
                setCell(k, r, EvaluateCalcField(k, r));
        }
    }
    grid.endUpdate();
}

void CalculatedFields::ColumnSum(int column, int row)
{
    if (column < 1 || column > mDb.fieldCount() || row < 1 || row > mDb.recordCount())
        return;
    // A protected field is not written, not even by a sum.
    if (mDb.field(column).isReadOnly()) {
        mFeedback.beep();
        return;
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
        return;
    mDb.setChanged(true);
    setCell(column, row, FormatNumber(0, sum));
}
