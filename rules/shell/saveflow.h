#pragma once

#include "core/files/savedatabasefile.h"
#include "rules/shell/shellquestions.h"

class ColumnAutoSize;
class Document;

/**
 * The Save and Save as commands: SaveDatabaseFile wrapped in the question
 * about auto-sized widths.
 *
 * While auto-sizing is on and @p expertMode is off, @p services.messages
 * asks whether to save the widths from before auto-sizing (Yes), the
 * auto-sized ones (No), or nothing (Cancel). Whatever was saved, auto-sizing
 * is switched on again afterwards, which sizes the columns anew and keeps
 * the widths of that moment as the ones to give back. @p variant Save writes
 * to the database's own file, SaveAs asks for a name. Returns whether the
 * file was written; failures have been reported through @p services.
 */
bool SaveFlow(Document &doc, ColumnAutoSize &autoSize, bool expertMode,
              ShellQuestions::SaveVariant variant, const SaveServices &services);
