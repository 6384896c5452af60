#pragma once

#include "cli/commandsyntax.h"

/// The find command: lists the cells the Find dialog's search reaches from
/// the start, one line each: the record number, a TAB, the field's name.
class FindCommand
{
public:
    /// `find FILE TEXT [--field N] [--begins] [--password PW |
    /// --password-file PWFILE]`.
    static const CommandSyntax &syntax();
    /// Runs the command on @p line; returns the exit status (1 when
    /// nothing is found).
    static int run(CommandLine &line);

    /// `--field N`: which field to search, 0 for all.
    static QCommandLineOption fieldOption();
    /// The value @p text of `--field N` (0 for all fields);
    /// -1 when it is no field number of a database of @p fields fields
    /// (@p fields -1: not known yet, any number from 0 will do).
    static int fieldNumber(const QString &text, int fields = -1);
};
