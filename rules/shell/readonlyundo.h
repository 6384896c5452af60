#pragma once

class Document;

/**
 * A read-only database refuses every edit but one: the Properties step
 * that set or cleared read-only may still be taken back and done again.
 */
namespace ReadOnlyUndo {

/// Whether Undo (Redo) of @p doc would set or clear its read-only flag.
bool undoSwitches(Document &doc);
bool redoSwitches(Document &doc);

} // namespace ReadOnlyUndo
