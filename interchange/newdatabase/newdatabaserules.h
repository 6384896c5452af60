#pragma once

#include "core/platform/message.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

class Database;

/**
 * The rules of the new-database dialog, without its widgets: the checks of
 * its OK in their order, and the database they create. The dialog copies its
 * controls into Choices; the command-line tool fills them from its options.
 */
class NewDatabaseRules
{
public:
    struct Choices
    {
        QString name = QStringLiteral("New");
        QString rows = QStringLiteral("10");
        QString columns = QStringLiteral("5");
        int type = 0; ///< FieldType index
        QString width = QStringLiteral("60");
    };

    /// The type list's texts, in FieldType index order.
    static QStringList typeTexts();
    /// The index of a type given as its index or as its text in the list
    /// (letter case aside); -1 for neither.
    static int typeFromText(const QString &text);

    /// The message of the first check that fails, or nothing.
    static std::optional<Message> check(const Choices &choices);

    /// Fills @p db as a new database of the (checked) choices, dated
    /// @p now, its file built from the name in @p folder.
    static void create(Database &db, const Choices &choices, const QDateTime &now,
                       const QString &folder);

    /// The file of a database name: the nine characters a file name cannot
    /// hold become "_", then ".pdb", in @p folder.
    static QString fileNameFor(const QString &name, const QString &folder);
};
