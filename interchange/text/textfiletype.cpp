#include "interchange/text/textfiletype.h"

namespace TextFileType {

QString importFilter()
{
    return QStringLiteral("Comma Separator (*.CSV)|*.CSV|Semicolon Separator (*.csv)|*.csv|Tab "
                          "Separator (*.TXT)|*.TXT|Comma Separator (*.*)|*.*|");
}

QString exportFilter()
{
    return QStringLiteral("Comma Separator (*.CSV)|*.CSV|Semicolon Separator (*.csv)|*.csv|Tab "
                          "Separator (*.TXT)|*.TXT|Comma Separator, UTF-8 (*.CSV)|*.CSV|"
                          "Semicolon Separator, UTF-8 (*.csv)|*.csv|Tab Separator, UTF-8 "
                          "(*.TXT)|*.TXT|");
}

int normalisedExport(int filterIndex)
{
    return filterIndex >= 1 && filterIndex <= ExportFilterCount ? filterIndex : Comma;
}

int exportFileType(int filterIndex)
{
    return (normalisedExport(filterIndex) - 1) % Tab + 1;
}

bool exportsUtf8(int filterIndex)
{
    return normalisedExport(filterIndex) > Tab;
}

int normalised(int fileType)
{
    return fileType >= Comma && fileType <= CommaAnyName ? fileType : Comma;
}

QChar separator(int fileType)
{
    switch (normalised(fileType)) {
    case Semicolon:
        return QLatin1Char(';');
    case Tab:
        return QLatin1Char('\t');
    default:
        return QLatin1Char(',');
    }
}

QString quote(int fileType)
{
    return normalised(fileType) == Tab ? QString() : QStringLiteral("\"");
}

QString defaultExtension(int fileType)
{
    switch (normalised(fileType)) {
    case Semicolon:
        return QStringLiteral("csv");
    case Tab:
        return QStringLiteral("TXT");
    case CommaAnyName:
        return QStringLiteral("*.*");
    default:
        return QStringLiteral("CSV");
    }
}

QString backupExtension(int fileType)
{
    switch (normalised(fileType)) {
    case Semicolon:
        return QStringLiteral(".cs_");
    case Tab:
        return QStringLiteral(".TX_");
    default:
        return QStringLiteral(".CS_");
    }
}

int fromName(const QString &name)
{
    if (name == QLatin1String("comma"))
        return Comma;
    if (name == QLatin1String("semicolon"))
        return Semicolon;
    if (name == QLatin1String("tab"))
        return Tab;
    return 0;
}

} // namespace TextFileType
