#pragma once

#include <QString>

#include <array>

/**
 * An advanced filter of five conditions; also the layout of a named filter
 * list. A condition field of -1 means all fields, 0 to 49 the field at that
 * position.
 */
struct AdvancedFilterSettings
{
    /// Always set by the program.
    static constexpr quint16 BaseOption = 0x0001;
    /// Condition @p i (1..4) joins the preceding ones with AND (clear: OR).
    static constexpr quint16 andOption(int i) { return quint16(0x0002u << (i - 1)); }
    /// Condition @p i (0..4) must begin with its text.
    static constexpr quint16 beginOption(int i) { return quint16(0x0020u << i); }
    /// Condition @p i (0..4) excludes what it matches.
    static constexpr quint16 excludeOption(int i) { return quint16(0x0400u << i); }

    static constexpr quint16 DefaultOptions = 31;

    QString name = QStringLiteral("Unused");
    std::array<QString, 5> texts;
    quint16 options = DefaultOptions;
    std::array<qint8, 5> fields = {-1, -1, -1, -1, -1};

    bool operator==(const AdvancedFilterSettings &) const = default;
};
