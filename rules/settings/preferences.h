#pragma once

#include "numbers/numberseparators.h"

#include <QString>

#include <array>

class SettingsStore;

/**
 * The per-user preferences, as plain values with their defaults. They are
 * read once at start and written back once when the main window closes.
 *
 * Every value is stored as a text: integers in decimal, booleans as "1" or
 * "0". On reading, a missing value or an integer that does not parse gives the
 * default, and a boolean is true when its integer is not zero.
 */
struct Preferences
{
    /// formLeft when no window position was ever stored.
    static constexpr int noStoredPosition = -99999;

    /// Font style bits.
    enum FontStyle
    {
        Bold = 1,
        Italic = 2,
        Underline = 4,
        StrikeOut = 8
    };

    bool initialDir = true;     ///< start the file dialogs in the sync user's backup folder
    QString initialDirPath;     ///< file dialogs' folder otherwise
    bool saveAtInstall = true;  ///< Install saves the file in place first
    bool expertMode = false;    ///< no confirmations and notices
    bool autoRightJust = false; ///< right-justify numbers in cells
    bool usNumFormat = true;    ///< '.' and ',' as separators for the whole run
    /// Off once the user has said there is no handheld synchronisation
    /// software: its absence is then not reported at start.
    bool handheldSoftware = true;
    /// Unsaved changes are written to a recovery file at most this many
    /// seconds after a change; 0 writes none.
    int recoverySeconds = 60;

    QString fontName = QStringLiteral("MS Sans Serif");
    int fontSize = 8;    ///< points
    int fontCharSet = 1; ///< 0..255; 1 is the default character set
    int fontStyle = 0;   ///< FontStyle bits

    int formLeft = noStoredPosition;
    int formTop = 30;
    int formWidth = 30;
    int formHeight = 30;

    std::array<QString, 5> recentFiles; ///< most recent first; empty = empty slot

    /// The defaults; usNumFormat is on exactly when @p system already is '.' and ','.
    static Preferences defaults(const NumberSeparators &system);
    /// Reads every value from @p store, taking the default for each one missing or unreadable.
    static Preferences load(const SettingsStore &store, const NumberSeparators &system);
    /// Writes every value to @p store: Settings, Font, FormPos, then Files.
    void save(SettingsStore &store) const;

    /// True when the stored window bounds are to be applied instead of centring.
    bool hasStoredPosition() const { return formLeft != noStoredPosition; }
    /// The separators for the run: us() when usNumFormat is on, else @p system.
    NumberSeparators separatorsInForce(const NumberSeparators &system) const;

    bool operator==(const Preferences &) const = default;
};
