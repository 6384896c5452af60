#pragma once

#include <QString>

#include <array>

/**
 * What the window's caption and its eight status panels say, refreshed
 * every 100 ms. The window copies the texts into its widgets.
 */
class StatusBarContent
{
public:
    static constexpr int PanelCount = 8;
    static constexpr std::array<int, PanelCount> PanelWidths = {90, 65, 60, 60, 60, 60, 75, 1000};

    /// The title in the caption and of the program.
    static QString programTitle() { return QStringLiteral("Quillgrid 5"); }

    struct Input
    {
        QString databaseName; ///< empty when no database is open
        int currentRow = 0;   ///< grid row of the current cell
        int currentColumn = 0;
        int records = 0; ///< hidden ones included
        int fields = 0;
        bool autoSize = false;
        int filterMode = 0;
        bool changed = false;
        QString dateText; ///< the database date in the short date format
        QString filePath;
    };

    /// "Quillgrid 5", or "Quillgrid 5 - NAME" while a database is open.
    static QString caption(const Input &input);
    /// The texts of panels 0 to 7.
    static std::array<QString, PanelCount> panels(const Input &input);
    /// The widest text each panel may show: the last record and field of
    /// the largest database, every flag on, and @p dateText as the date.
    static std::array<QString, PanelCount> widestPanels(const QString &dateText);
    /// Panels 0 to 6 are centred, panel 7 left-aligned.
    static bool isCentred(int panel) { return panel < PanelCount - 1; }
};
