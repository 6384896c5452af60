#pragma once

#include "core/files/savedatabasefile.h"

class ColumnAutoSize;
class Document;
class TUserData;

/// What the Install command works with besides the saving services.
struct InstallSettings
{
    int user = 0;              ///< the selected sync user
    bool saveAtInstall = true; ///< save the file in place first
    bool expertMode = false;   ///< no question and no notice
};

/**
 * The Install command: puts the open database into the selected handheld
 * user's install folder and marks it for the next synchronisation.
 *
 * The install folder is made and marked first (TUserData::PrepareInstall);
 * then, while auto-sizing is on and expert mode off, the widths question is
 * asked (Cancel stops, leaving the mark). The copy is named after the open
 * file, its extension ".pdb" (after the database's name when it has no
 * file yet); a link of that name in the install folder is refused
 * (TUserData::CheckInstallTarget). With saveAtInstall the database is saved to its own file
 * first and copied only when that succeeded. A notice follows success
 * unless in expert mode. Auto-sizing is switched on again if it was on.
 * Returns whether the copy was written.
 */
bool InstallFlow(Document &doc, ColumnAutoSize &autoSize, TUserData &users,
                 const InstallSettings &settings, const SaveServices &services);

/// The name of the copy in the install folder: the open file's name with
/// the extension ".pdb", or the database's name and ".pdb" when the
/// database has no file; control characters (a line break) become "_".
QString InstallFileName(const QString &filePath, const QString &databaseName);
