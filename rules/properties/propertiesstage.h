#pragma once

#include "core/document/databaseoptions.h"
#include "core/document/edit.h"
#include "core/document/fielddef.h"

#include <QString>

#include <optional>

class Document;

/**
 * What a confirmation of the Properties dialog has stored so far, before it
 * reaches the document.
 *
 * The confirmation stores value after value and may stop at a failed check
 * with the earlier values kept. The stage starts as a copy of the
 * database's values; flush() applies whatever differs from the database as
 * an undoable edit, and every later flush() or join() of the same
 * confirmation becomes part of that edit, so one undo takes back all that
 * the confirmation stored.
 */
class PropertiesStage
{
public:
    /// The values of the database and of the field in grid column @p column.
    PropertiesStage(Document &doc, int column);

    DatabaseOptions options;
    /// A new password (empty: none) until it goes to the document.
    std::optional<QString> password;
    QString fieldName;
    int columnWidth = 0;
    FieldDef def;
    /// Cells and check boxes of the column still to be set.
    EditStep::Cells cells;
    EditStep::CheckBoxes checkBoxes;
    std::optional<SortSettings> sortKeys;
    std::optional<SavedFilterList> filterList1;

    /// Whether the database has a password, counting one staged.
    bool hasPassword() const;
    int column() const { return mColumn; }

    /// Applies what differs from the database.
    void flush();
    /// Applies @p step as a part of what this confirmation stored.
    void join(EditStep::Step step);
    /// Whether anything reached the document.
    bool applied() const { return mApplied; }

private:
    void applyPart(Edit edit);

    Document &mDoc;
    int mColumn;
    bool mApplied = false;
};
