#pragma once

#include "core/document/database.h"
#include "core/document/edit.h"

#include <QtGlobal>

#include <algorithm>
#include <climits>
#include <variant>
#include <vector>

class Document;

/**
 * What each kind of step does, one family of steps to a file (cellsteps,
 * recordsteps, fieldsteps, settingsteps): whether it may be applied and
 * would change anything (effect), applying it with its announcement and the
 * step that takes it back (apply), and what it holds in the undo history
 * (bytes).
 *
 * Document and EditHistory visit a step with a generic lambda that calls
 * these overloads, so a kind of step without its three functions does not
 * compile, and the count below stops one that is not in the documentation.
 */
namespace EditSteps {

/// The kinds of step: the rows of the step table in docs/architecture.md.
inline constexpr size_t Kinds = 18;
static_assert(std::variant_size_v<EditStep::Step> == Kinds,
              "a new kind of step needs its row in the step table of docs/architecture.md "
              "and its effect, apply and bytes in its family's file (see editsteps.h)");

/// Where a step is applied: the document, whose signals announce it, its
/// database and the document's keep of the passwords a Password step
/// replaced.
struct Target
{
    Document &doc;
    Database &db;
    RecordGrid &grid;
    std::vector<QString> &keptPasswords;
};

/// What a step would do to the database as it stands.
enum class Effect
{
    Invalid, ///< it names what the database does not hold: a programming error
    None,    ///< it would change nothing
    Changes,
};

// Each kind of step: effect() says what it would do to the database as it
// stands; apply() applies one whose effect is Changes (it may take the
// step's contents), announces it through the document's signals and
// returns its inverse; bytes() is what it holds in the undo history,
// roughly.

// cellsteps.cpp: the texts and check boxes of cells
Effect effect(const Target &t, const EditStep::Cells &s);
EditStep::Step apply(Target &t, EditStep::Cells &s);
qint64 bytes(const EditStep::Cells &s);
Effect effect(const Target &t, const EditStep::CheckBoxes &s);
EditStep::Step apply(Target &t, EditStep::CheckBoxes &s);
qint64 bytes(const EditStep::CheckBoxes &s);

// recordsteps.cpp: records in, out, moved, reordered, their heights
Effect effect(const Target &t, const EditStep::InsertRecords &s);
EditStep::Step apply(Target &t, EditStep::InsertRecords &s);
qint64 bytes(const EditStep::InsertRecords &s);
Effect effect(const Target &t, const EditStep::RemoveRecords &s);
EditStep::Step apply(Target &t, EditStep::RemoveRecords &s);
qint64 bytes(const EditStep::RemoveRecords &s);
Effect effect(const Target &t, const EditStep::MoveRecord &s);
EditStep::Step apply(Target &t, EditStep::MoveRecord &s);
qint64 bytes(const EditStep::MoveRecord &s);
Effect effect(const Target &t, const EditStep::PermuteRecords &s);
EditStep::Step apply(Target &t, EditStep::PermuteRecords &s);
qint64 bytes(const EditStep::PermuteRecords &s);
Effect effect(const Target &t, const EditStep::RowHeights &s);
EditStep::Step apply(Target &t, EditStep::RowHeights &s);
qint64 bytes(const EditStep::RowHeights &s);

// fieldsteps.cpp: fields moved, in, out, their definitions and widths
Effect effect(const Target &t, const EditStep::MoveField &s);
EditStep::Step apply(Target &t, EditStep::MoveField &s);
qint64 bytes(const EditStep::MoveField &s);
Effect effect(const Target &t, const EditStep::InsertField &s);
EditStep::Step apply(Target &t, EditStep::InsertField &s);
qint64 bytes(const EditStep::InsertField &s);
Effect effect(const Target &t, const EditStep::RemoveField &s);
EditStep::Step apply(Target &t, EditStep::RemoveField &s);
qint64 bytes(const EditStep::RemoveField &s);
Effect effect(const Target &t, const EditStep::FieldDefs &s);
EditStep::Step apply(Target &t, EditStep::FieldDefs &s);
qint64 bytes(const EditStep::FieldDefs &s);
Effect effect(const Target &t, const EditStep::ColumnWidths &s);
EditStep::Step apply(Target &t, EditStep::ColumnWidths &s);
qint64 bytes(const EditStep::ColumnWidths &s);

// settingsteps.cpp: what the database keeps besides its table
Effect effect(const Target &t, const EditStep::ViewOptions &s);
EditStep::Step apply(Target &t, EditStep::ViewOptions &s);
qint64 bytes(const EditStep::ViewOptions &s);
Effect effect(const Target &t, const EditStep::SortKeys &s);
EditStep::Step apply(Target &t, EditStep::SortKeys &s);
qint64 bytes(const EditStep::SortKeys &s);
Effect effect(const Target &t, const EditStep::FindSettings &s);
EditStep::Step apply(Target &t, EditStep::FindSettings &s);
qint64 bytes(const EditStep::FindSettings &s);
Effect effect(const Target &t, const EditStep::Options &s);
EditStep::Step apply(Target &t, EditStep::Options &s);
qint64 bytes(const EditStep::Options &s);
Effect effect(const Target &t, const EditStep::NamedLists &s);
EditStep::Step apply(Target &t, EditStep::NamedLists &s);
qint64 bytes(const EditStep::NamedLists &s);
Effect effect(const Target &t, const EditStep::Password &s);
EditStep::Step apply(Target &t, EditStep::Password &s);
qint64 bytes(const EditStep::Password &s);

/// The same for any step.
inline Effect effectOf(const Target &t, const EditStep::Step &step)
{
    return std::visit([&t](const auto &s) { return effect(t, s); }, step);
}
inline EditStep::Step applyStep(Target &t, EditStep::Step &step)
{
    return std::visit([&t](auto &s) { return apply(t, s); }, step);
}
inline qint64 bytesOf(const EditStep::Step &step)
{
    return std::visit([](const auto &s) { return bytes(s); }, step);
}

/// The memory a text takes, roughly.
inline qint64 textBytes(const QString &text)
{
    return 24 + text.size() * 2;
}

/// The effect of (position, value) pairs put in place over @p current(position):
/// Invalid when a position lies outside [1, @p limit], None when every value
/// is already there.
template <typename Value, typename Current>
Effect pairsEffect(const std::vector<std::pair<int, Value>> &pairs, int limit, Current current)
{
    bool changes = false;
    for (const auto &[position, value] : pairs) {
        if (position < 1 || position > limit)
            return Effect::Invalid;
        changes = changes || !(current(position) == value);
    }
    return changes ? Effect::Changes : Effect::None;
}

/// Puts each (position, value) of @p pairs in place through @p take, which
/// returns the value it replaced; announces the range changed with
/// @p announce. The inverse gives a position named twice its first value
/// back last.
template <typename Value, typename Take, typename Announce>
std::vector<std::pair<int, Value>> swapPairs(std::vector<std::pair<int, Value>> &pairs, Take take,
                                             Announce announce)
{
    std::vector<std::pair<int, Value>> inverse;
    inverse.reserve(pairs.size());
    int first = INT_MAX, last = -1;
    for (auto &[position, value] : pairs) {
        inverse.emplace_back(position, take(position, std::move(value)));
        first = std::min(first, position);
        last = std::max(last, position);
    }
    std::reverse(inverse.begin(), inverse.end());
    if (last >= 0)
        announce(first, last);
    return inverse;
}

} // namespace EditSteps
