#include "rules/properties/fieldpagerules.h"

#include "core/document/document.h"
#include "core/document/fieldtype.h"
#include "core/platform/messageservice.h"
#include "numbers/numberformat.h"
#include "rules/properties/propertiesstage.h"

namespace {

using namespace PropertiesControls;

/// A failed check's message box.
Message warning(const char *text)
{
    return {QStringLiteral("Warning"),
            MessageIcon::Warning,
            {QString::fromLatin1(text)},
            MessageButton::Ok};
}

bool showsDefault(int type)
{
    using namespace FieldType;
    return type == String || type == NormalPopup || type == MultiplePopup ||
           type == NormalInteger || type == Float;
}

bool isPopup(int type)
{
    return type == FieldType::NormalPopup || type == FieldType::MultiplePopup;
}

/// A decimal integer, spaces around it allowed.
std::optional<int> integerOf(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

/// Sets a chooser's selection, none when @p index is not one of its entries.
void select(Choice &choice, int index)
{
    choice.index = index >= 0 && index < choice.items.size() ? index : -1;
}

} // namespace

const QStringList &FieldPageRules::operatorItems()
{
    static const QStringList items = {QStringLiteral("+ (add)"), QStringLiteral("- (sub.)"),
                                      QStringLiteral("x (mult.)"), QStringLiteral("/ (div.)")};
    return items;
}

FieldPageRules::FieldPageRules(Document &doc, FieldControls &field, PopupControls &popup)
    : mDoc(doc), mField(field), mPopup(popup)
{
    for (int t = 0; t < FieldType::kCount; ++t)
        mField.type.items << FieldType::name(t);
    mField.multiList.items = {QStringLiteral("Space"), QStringLiteral("Comma"),
                              QStringLiteral("New Line")};
    mField.calc.op.items = operatorItems();
}

void FieldPageRules::open(int column)
{
    mColumn = qBound(1, column, qMax(1, mDoc.database().fieldCount()));
    load(mDoc.database().field(mColumn).type, false);
}

bool FieldPageRules::hasLookupList(int type) const
{
    return isPopup(type) && (mDoc.database().field(mColumn).setting2 & 1);
}

QStringList FieldPageRules::fieldNames() const
{
    const Database &db = mDoc.database();
    QStringList names;
    for (int c = 1; c <= db.fieldCount(); ++c)
        names << db.grid().cell(c, 0);
    return names;
}

void FieldPageRules::load(int type, bool typeChange)
{
    const Database &db = mDoc.database();
    const FieldDef &def = db.field(mColumn);
    const bool lookup = hasLookupList(type);

    using FieldType::Index;
    switch (type) {
    case Index::String:
        mField.group = TypeGroup::String;
        break;
    case Index::NormalPopup:
        mField.group = lookup ? TypeGroup::Lookup : TypeGroup::List;
        break;
    case Index::MultiplePopup:
        mField.group = lookup ? TypeGroup::Lookup : TypeGroup::MultiList;
        break;
    case Index::AutoIncrementInteger:
        mField.group = TypeGroup::AutoInc;
        break;
    case Index::CalcFieldOpField:
        mField.group = TypeGroup::Calc;
        break;
    case Index::CalcValueOpField:
        mField.group = TypeGroup::CalcV1;
        break;
    case Index::CalcFieldOpValue:
        mField.group = TypeGroup::CalcV2;
        break;
    default:
        mField.group = TypeGroup::None;
    }
    mField.defaultVisible = showsDefault(type);
    mField.protectedVisible = !FieldType::isCalculated(type);
    mPopup.tabVisible = isPopup(type) && !lookup;

    if (typeChange) {
        mField.isProtected = false;
    } else {
        mField.name = db.grid().cell(mColumn, 0);
        select(mField.type, def.type);
        mField.defaultText = def.defaultText;
        mShownWidth = QString::number(db.PixelsToFieldWidth(db.grid().columnWidth(mColumn)));
        mField.width = mShownWidth;
        mField.isProtected = def.isReadOnly();
        mField.locked = def.locked;
    }
    fillGroup(type);

    if (lookup) {
        const bool loaded = def.lookupLoaded;
        mField.lookupDatabase = loaded ? def.lookupDatabase : def.popupItems.value(0);
        mField.lookupField = loaded ? def.lookupField : def.popupItems.value(1);
    } else {
        mPopup.newEntry.clear();
        mPopup.entries.clear();
        mPopup.selected = -1;
        if (!typeChange)
            mPopup.entries = def.popupItems;
    }
}

void FieldPageRules::fillGroup(int type)
{
    const FieldDef &def = mDoc.database().field(mColumn);
    switch (type) {
    case FieldType::String:
        mField.max250 = def.setting1 > 0;
        break;
    case FieldType::MultiplePopup:
        select(mField.multiList, def.setting1 >= 0 && def.setting1 <= 2 ? def.setting1 : 0);
        break;
    case FieldType::AutoIncrementInteger:
        mField.autoIncStart = QString::number(def.setting1);
        mField.autoIncIncrement = QString::number(def.setting2);
        break;
    default:
        if (FieldType::isCalculated(type))
            fillCalc(type);
    }
}

void FieldPageRules::fillCalc(int type)
{
    const FieldDef &def = mDoc.database().field(mColumn);
    CalcControls &calc = mField.calc;
    const QStringList names = fieldNames();
    calc.field1.items = names;
    calc.field2.items = names;
    calc.decimals.items = {
        type == FieldType::CalcFieldOpValue ? QStringLiteral("Var.") : QStringLiteral("Var"),
        QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")};
    const quint32 word = quint32(def.setting1);
    const int first = int(word >> 24);
    const int second = int((word >> 16) & 0xFF);
    if (type != FieldType::CalcValueOpField) {
        select(calc.field1, first & 0x7F);
        calc.previous1 = first >= 128;
    }
    if (type != FieldType::CalcFieldOpValue) {
        select(calc.field2, second & 0x7F);
        calc.previous2 = second >= 128;
    }
    if (type == FieldType::CalcValueOpField)
        calc.value1 = FormatNumber(def.setting2, def.calcValue1);
    if (type == FieldType::CalcFieldOpValue)
        calc.value2 = FormatNumber(def.setting2, def.calcValue2);
    select(calc.op, qMax(0, int(word & 0xFFFF) - 1));
    select(calc.decimals, decimalsIndex(def.setting2));
}

void FieldPageRules::C_FieldTypeChange(int index)
{
    select(mField.type, index);
    if (mField.type.index >= 0)
        load(mField.type.index, true);
}

std::optional<int> FieldPageRules::operandByte(const Choice &chooser, bool previous)
{
    if (chooser.index < 0)
        return std::nullopt;
    return chooser.index + (previous ? 128 : 0);
}

std::optional<qint32> FieldPageRules::decimalsOf(int index)
{
    if (index < 0 || index > 4)
        return std::nullopt;
    return index == 0 ? 0 : index == 1 ? -1 : index - 1;
}

int FieldPageRules::decimalsIndex(qint32 decimals)
{
    if (decimals == 0)
        return 0;
    if (decimals == -1)
        return 1;
    return decimals >= 1 && decimals <= 3 ? decimals + 1 : -1;
}

bool FieldPageRules::storeNameAndWidth(PropertiesStage &stage, MessageService &messages) const
{
    if (mField.name.isEmpty() || mField.name.size() > 20) {
        messages.show(warning("Please use 1 - 20 characters for the field name."));
        return false;
    }
    stage.fieldName = mField.name;
    const int width = integerOf(mField.width).value_or(-1);
    if (width < 0 || width > 300) {
        messages.show(warning("Please use a field width from 0 to 300"));
        return false;
    }
    // A width left as opening showed it keeps the column's pixels, which
    // the width units may not reach exactly.
    if (integerOf(mShownWidth) != width)
        stage.columnWidth = mDoc.database().FieldWidthToPixels(width);
    return true;
}

bool FieldPageRules::storeDefinition(PropertiesStage &stage, MessageService &messages) const
{
    const Database &db = mDoc.database();
    FieldDef &def = stage.def;
    if (mField.type.index >= 0)
        def.type = quint8(mField.type.index);
    const int type = def.type;
    def.attributes = mField.isProtected ? quint8(def.attributes | FieldDef::ReadOnlyAttribute)
                                        : quint8(def.attributes & ~FieldDef::ReadOnlyAttribute);
    def.locked = mField.locked;
    if (showsDefault(type))
        def.defaultText = mField.defaultText.left(80);

    // Boolean cells get check boxes and hold 0 or 1; no other type keeps a
    // check box, and no other value is converted.
    const int c = stage.column();
    const bool boolean = type == FieldType::Boolean;
    for (int r = 1; r <= db.recordCount(); ++r) {
        const QString &text = db.grid().cell(c, r);
        if (boolean && text != QLatin1String("0") && text != QLatin1String("1"))
            stage.cells.changes.push_back({c, r, QStringLiteral("0")});
        if (db.grid().hasCheckBox(c, r) != boolean)
            stage.checkBoxes.changes.push_back({c, r, boolean});
    }

    if (isPopup(type) && !(def.setting2 & 1))
        def.popupItems = mPopup.entries;
    return storeTypeSettings(stage, messages);
}

bool FieldPageRules::storeTypeSettings(PropertiesStage &stage, MessageService &messages) const
{
    FieldDef &def = stage.def;
    const CalcControls &calc = mField.calc;
    const auto opCode = [&] {
        return calc.op.index >= 0 ? quint32(calc.op.index + 1) : quint32(def.setting1) & 0xFFFF;
    };
    const auto byteOr = [&](const Choice &chooser, bool previous, int shift) {
        const std::optional<int> b = operandByte(chooser, previous);
        return b ? quint32(*b) : (quint32(def.setting1) >> shift) & 0xFF;
    };
    const qint32 decimals = decimalsOf(calc.decimals.index).value_or(def.setting2);
    const Message integerExpected = warning("Integer input expected.");
    const Message numberExpected = warning("Numerical value expected.");

    switch (def.type) {
    case FieldType::String:
        def.setting1 = mField.max250 ? 1 : 0;
        return true;
    case FieldType::MultiplePopup:
        if (mField.multiList.index >= 0)
            def.setting1 = mField.multiList.index;
        return true;
    case FieldType::AutoIncrementInteger: {
        const std::optional<int> start = integerOf(mField.autoIncStart);
        if (!start) {
            messages.show(integerExpected);
            return false;
        }
        def.setting1 = *start;
        const std::optional<int> increment = integerOf(mField.autoIncIncrement);
        if (!increment) {
            messages.show(integerExpected);
            return false;
        }
        def.setting2 = *increment;
        return true;
    }
    case FieldType::CalcFieldOpField:
        def.setting1 = qint32((byteOr(calc.field1, calc.previous1, 24) << 24) |
                              (byteOr(calc.field2, calc.previous2, 16) << 16) | opCode());
        def.setting2 = decimals;
        return true;
    case FieldType::CalcValueOpField: {
        const ParsedNumber value = ParseNumber(calc.value1);
        if (!value.ok) {
            messages.show(numberExpected);
            return false;
        }
        def.calcValue1 = value.value;
        def.setting1 = qint32((byteOr(calc.field2, calc.previous2, 16) << 16) | opCode());
        def.setting2 = decimals;
        return true;
    }
    case FieldType::CalcFieldOpValue: {
        const qint32 setting1 = qint32((byteOr(calc.field1, calc.previous1, 24) << 24) | opCode());
        const ParsedNumber value = ParseNumber(calc.value2);
        if (!value.ok) {
            messages.show(numberExpected);
            return false;
        }
        def.calcValue2 = value.value;
        def.setting1 = setting1;
        def.setting2 = decimals;
        return true;
    }
    default:
        return true;
    }
}
