#include "core/document/fieldtype.h"

namespace FieldType {

QString name(int index)
{
    // The trailing blank of "Modification Time " and the two blanks after
    // "Calc" belong to the texts.
    static const char *const kNames[kCount] = {
        "String",
        "Boolean",
        "Normal Date",
        "Creation Date",
        "Modification Date",
        "Normal Time",
        "Creation Time",
        "Modification Time ",
        "Normal Popup",
        "Multiple Popup",
        "Normal Integer",
        "Auto-Increment Integer",
        "Float",
        "Calc  <field><op><field>",
        "Calc  <value><op><field>",
        "Calc  <field><op><value>",
    };
    if (index < 0 || index >= kCount)
        return {};
    return QLatin1String(kNames[index]);
}

quint8 code(int index)
{
    if (index < 0 || index >= kCount)
        return kCodes[String];
    return kCodes[index];
}

int indexOfCode(quint8 code)
{
    for (int i = 0; i < kCount; ++i) {
        if (kCodes[i] == code)
            return i;
    }
    return -1;
}

} // namespace FieldType
