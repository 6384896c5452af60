#include "table/operations/clipboardtext.h"

#include "core/document/recordgrid.h"

namespace ClipboardText {

namespace {

const QChar kTab(u'\t');
const QChar kQuote(u'"');
const QChar kCr(u'\r');
const QChar kLf(u'\n');

bool needsQuotes(const QString &cell)
{
    for (QChar ch : cell) {
        if (ch == kTab || ch == kCr || ch == kLf || ch == kQuote)
            return true;
    }
    return false;
}

} // namespace

QString CopyRecordText(const RecordGrid &grid, int row)
{
    QString text;
    for (int column = 1; column <= grid.fieldCount(); ++column) {
        if (column > 1)
            text += kTab;
        text += grid.cell(column, row);
    }
    return text;
}

std::vector<QString> PasteRecordText(const QString &text, int fields)
{
    std::vector<QString> cells;
    qsizetype start = 0;
    for (int field = 1; field <= fields && start < text.size(); ++field) {
        const qsizetype tab = text.indexOf(kTab, start);
        if (tab < 0) {
            cells.push_back(text.mid(start));
            break;
        }
        cells.push_back(text.mid(start, tab - start));
        start = tab + 1;
    }
    return cells;
}

QString blockText(const Block &block)
{
    QString text;
    for (const std::vector<QString> &line : block) {
        for (size_t i = 0; i < line.size(); ++i) {
            if (i > 0)
                text += kTab;
            const QString &cell = line[i];
            if (needsQuotes(cell)) {
                text += kQuote;
                text += QString(cell).replace(kQuote, QStringLiteral("\"\""));
                text += kQuote;
            } else {
                text += cell;
            }
        }
        text += QStringLiteral("\r\n");
    }
    return text;
}

Block parseBlock(const QString &text)
{
    Block block;
    std::vector<QString> line;
    QString cell;
    bool lineOpen = false;
    bool cellStart = true;
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n) {
        lineOpen = true;
        if (cellStart && text[i] == kQuote) {
            cellStart = false;
            // A quoted cell runs to the quote that no second quote follows.
            ++i;
            while (i < n) {
                if (text[i] == kQuote) {
                    if (i + 1 < n && text[i + 1] == kQuote) {
                        cell += kQuote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                cell += text[i++];
            }
            // Text after the closing quote up to the separator stays with
            // the cell, as spreadsheets keep it.
            while (i < n && text[i] != kTab && text[i] != kCr && text[i] != kLf)
                cell += text[i++];
            continue;
        }
        const QChar ch = text[i];
        cellStart = ch == kTab || ch == kCr || ch == kLf;
        if (ch == kTab) {
            line.push_back(std::move(cell));
            cell.clear();
            ++i;
        } else if (ch == kCr || ch == kLf) {
            line.push_back(std::move(cell));
            cell.clear();
            block.push_back(std::move(line));
            line.clear();
            lineOpen = false;
            i += (ch == kCr && i + 1 < n && text[i + 1] == kLf) ? 2 : 1;
        } else {
            cell += ch;
            ++i;
        }
    }
    if (lineOpen) {
        line.push_back(std::move(cell));
        block.push_back(std::move(line));
    }
    return block;
}

} // namespace ClipboardText
