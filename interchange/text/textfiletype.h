#pragma once

#include <QChar>
#include <QString>

/**
 * The file types of the import, append and export dialogs, by their 1-based
 * filter index: what separates fields, what quotes them on export, the
 * dialog's default extension and the extension of an export's backup.
 *
 *   1 "Comma Separator (*.CSV)"      ","  quote "  CSV  .CS_
 *   2 "Semicolon Separator (*.csv)"  ";"  quote "  csv  .cs_
 *   3 "Tab Separator (*.TXT)"        TAB  none     TXT  .TX_
 *   4 "Comma Separator (*.*)"        ","  (import and append only)
 */
namespace TextFileType {

constexpr int Comma = 1;
constexpr int Semicolon = 2;
constexpr int Tab = 3;
constexpr int CommaAnyName = 4;

/// The filters of the import and append dialog, and of the export dialog
/// (see exportFileType()).
QString importFilter();
QString exportFilter();

/// A file type that is no index of the list counts as the first.
int normalised(int fileType);
QChar separator(int fileType);
/// A double quote, or empty for the tab type.
QString quote(int fileType);
QString defaultExtension(int fileType);
QString backupExtension(int fileType);

/// "comma", "semicolon" or "tab" as a file type; 0 for anything else.
int fromName(const QString &name);

/// The export dialog offers each type twice: in Windows-1252 (filter
/// indexes 1 to 3, as above) and in UTF-8 with its byte-order mark (4 to
/// 6, "Comma Separator, UTF-8 (*.CSV)" and so on), for texts the
/// handheld's code page cannot hold.
constexpr int ExportFilterCount = 6;
/// An index of the export filter that is none counts as the first.
int normalisedExport(int filterIndex);
/// The file type (1 to 3) of export filter index @p filterIndex.
int exportFileType(int filterIndex);
/// Whether export filter index @p filterIndex writes UTF-8.
bool exportsUtf8(int filterIndex);

} // namespace TextFileType
