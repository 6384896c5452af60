#pragma once

#include <QString>

#include <array>

/**
 * The five most recently opened files, most recent first, and the captions of
 * their menu items. Slots are numbered 1 to 5; an empty text is an empty slot.
 */
class RecentFiles
{
public:
    static constexpr int slotCount = 5;
    using Entries = std::array<QString, slotCount>;

    RecentFiles() = default;
    explicit RecentFiles(const Entries &entries) : mEntries(entries) {}

    /**
     * Puts @p path at slot 1, moving the others down one slot and dropping
     * slot 5. When @p path already is in the list (exact, case-sensitive), the
     * list stays as it is, order included. True when the list changed.
     */
    bool AddRecentFile(const QString &path);

    /// The path in @p slot (1..5); empty for an empty or unknown slot.
    QString entry(int slot) const;

    /**
     * The menu caption of @p slot: "&k" and two spaces, then the file's name
     * without folder ('/' or '\\') and without extension. Every '&' of the
     * name is doubled so that it shows as itself rather than marking an
     * access key. Empty for an unknown slot.
     */
    QString caption(int slot) const;
    /// True when the item of @p slot is shown: its entry is not empty.
    bool isVisible(int slot) const { return !entry(slot).isEmpty(); }
    /// True when the separator above the list is shown: slot 1 is not empty.
    bool separatorVisible() const { return isVisible(1); }

    const Entries &entries() const { return mEntries; }
    void setEntries(const Entries &entries) { mEntries = entries; }

private:
    Entries mEntries;
};
