#pragma once

#include <QStringList>

/// The find command: lists the cells the Find dialog's search reaches from
/// the start, one line each: the record number, a TAB, the field's name.
class FindCommand
{
public:
    /// Runs `find FILE TEXT [--field N] [--begins] [--password PW |
    /// --password-file PWFILE]`; returns the exit status (1 when nothing
    /// is found).
    static int run(const QStringList &arguments);

    /// The value of `--field N` at @p arguments[i + 1] (0 for all fields);
    /// -1 when it is no field number of a database of @p fields fields
    /// (@p fields -1: not known yet, any number from 0 will do).
    static int fieldNumber(const QString &text, int fields = -1);
};
