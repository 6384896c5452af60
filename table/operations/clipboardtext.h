#pragma once

#include <QString>

#include <vector>

class RecordGrid;

/**
 * The texts that records and blocks of cells travel in on the clipboard.
 *
 * A record travels as its field texts joined by TABs, as the handheld's
 * desktop programs have always passed it. A block travels as spreadsheets
 * pass one: lines of TAB-separated cells with CR LF after each line, and a
 * cell that holds a TAB, a line break or a double quote in double quotes,
 * its own double quotes doubled.
 */
namespace ClipboardText {

/// The texts of fields 1..f of record @p row joined by one TAB each, with
/// no record number, no TAB at the end and no line end.
QString CopyRecordText(const RecordGrid &grid, int row);

/// The texts @p text gives fields 1..@p fields, as a pasted record: each
/// field in turn takes the text up to the next TAB. Once the text is used
/// up the fields that remain get nothing and keep their texts, so the
/// result may be shorter than @p fields; text left over after the last
/// field is dropped.
std::vector<QString> PasteRecordText(const QString &text, int fields);

/// A block of cells, one vector of texts per line.
using Block = std::vector<std::vector<QString>>;

/// @p block as TAB-separated lines, each ended by CR LF.
QString blockText(const Block &block);
/// The block a TAB-separated text holds. Lines end with CR LF, LF or CR;
/// a line end after the last line adds no line. A double quote at the start
/// of a cell opens a quoted cell, in which TABs and line ends are text and
/// two double quotes stand for one; elsewhere a double quote is text.
Block parseBlock(const QString &text);

} // namespace ClipboardText
