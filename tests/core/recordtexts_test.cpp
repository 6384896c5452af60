// The record grid keeps each row's texts in one allocation, as the file's
// bytes where they give the text back exactly and as UTF-16 otherwise: every
// text set comes back as it was, through every change of rows and columns.

#include "core/document/recordgrid.h"
#include "core/format/codepage.h"

#include <gtest/gtest.h>

#include <QRandomGenerator>

namespace {

constexpr int Fields = 50;

QString range(char16_t from, char16_t to, bool (*keep)(char16_t) = nullptr)
{
    QString text;
    for (char16_t c = from; c <= to; ++c) {
        if (!keep || keep(c))
            text += QChar(c);
    }
    return text;
}

/// Every character with a byte in the file's code page but LF, and CR LF.
QString everyStoredCharacter()
{
    return range(1, 0xFF, [](char16_t c) { return c != '\n' && Codepage::byteFor(c) >= 0; }) +
           QStringLiteral("\r\n\x20AC\x2122\x0178");
}

enum class Form
{
    Stored,
    StoredAsIs,
    Wide
};

struct TextCase
{
    const char *name;
    QString text;
    Form form; ///< how the record that holds it is kept
};

std::vector<TextCase> textCases()
{
    return {
        {"every character U+0001..U+00FF", range(1, 0xFF), Form::Wide},
        {"every character with a byte", everyStoredCharacter(), Form::Stored},
        {"beyond the code page", QStringLiteral("\x03A9 \xD83D\xDE00"), Form::Wide},
        {"a lone surrogate", QString(QChar(0xD800)), Form::Wide},
        {"a zero character", QStringLiteral("a") + QChar(0) + QStringLiteral("b"), Form::Wide},
        {"CR LF", QStringLiteral("one\r\ntwo\r\n"), Form::StoredAsIs},
        {"LF alone", QStringLiteral("one\ntwo"), Form::Wide},
        {"CR alone", QStringLiteral("one\rtwo\r"), Form::Stored},
        {"CR CR LF", QStringLiteral("one\r\r\ntwo"), Form::Stored},
        {"TAB", QStringLiteral("a\tb"), Form::StoredAsIs},
        {"4,000 characters", QString(4000, QLatin1Char('x')), Form::StoredAsIs},
        {"4,001 characters", QString(4001, QChar(0xE9)), Form::StoredAsIs},
        {"empty", QString(), Form::StoredAsIs},
    };
}

std::vector<QString> rowTexts(const RecordGrid &grid, int row)
{
    std::vector<QString> texts;
    for (int c = 0; c < grid.columnCount(); ++c)
        texts.push_back(grid.cell(c, row));
    return texts;
}

std::vector<std::vector<QString>> allTexts(const RecordGrid &grid)
{
    std::vector<std::vector<QString>> texts;
    for (int r = 0; r < grid.rowCount(); ++r)
        texts.push_back(rowTexts(grid, r));
    return texts;
}

/// The cells whose check box is on, as "column,row".
std::vector<QString> boxesOn(const RecordGrid &grid)
{
    std::vector<QString> on;
    for (int r = 0; r < grid.rowCount(); ++r) {
        for (int c = 0; c < grid.columnCount(); ++c) {
            if (grid.hasCheckBox(c, r))
                on.push_back(QStringLiteral("%1,%2").arg(c).arg(r));
        }
    }
    return on;
}

} // namespace

TEST(RecordTexts, everyTextComesBackAsSetInTheMiddleOfAFullRecord)
{
    for (const TextCase &c : textCases()) {
        RecordGrid grid;
        grid.resize(Fields + 1, 2);
        std::vector<QString> expected(Fields + 1);
        for (int k = 1; k <= Fields; ++k) {
            expected[size_t(k)] = QStringLiteral("field %1").arg(k);
            grid.setCell(k, 1, expected[size_t(k)]);
        }
        grid.setCell(25, 1, c.text);
        expected[25] = c.text;
        EXPECT_EQ(rowTexts(grid, 1), expected) << c.name;
        // The record is written by one copy only when every text is kept
        // as the file stores it, and written so.
        const Form form =
            RecordTexts::fromTexts(&c.text, 1).isWide()
                ? Form::Wide
                : (RecordTexts::fromTexts(&c.text, 1).isStored() ? Form::StoredAsIs : Form::Stored);
        EXPECT_EQ(form, c.form) << c.name;
        EXPECT_EQ(grid.storedTexts(1) != nullptr, c.form == Form::StoredAsIs) << c.name;
    }
}

TEST(RecordTexts, storedBytesAreSplitAtTheirZeroBytesAndDecodedWhenAskedFor)
{
    struct Case
    {
        const char *name;
        QByteArray bytes;
        std::vector<QString> texts; // columns 1..3
        RecordTexts::Summary summary;
    };
    const std::vector<Case> cases = {
        {"three texts", QByteArray("ab\0\0c\0", 6), {"ab", "", "c"}, {2, 3}},
        {"the last one unended", QByteArray("ab\0x\0yz", 7), {"ab", "x", "yz"}, {3, 5}},
        {"fewer texts", QByteArray("a\nb\0", 4), {"a\r\nb", "", ""}, {1, 4}},
        {"none", QByteArray(), {"", "", ""}, {0, 0}},
        {"bytes after the texts",
         QByteArray("1\0"
                    "2\0"
                    "3\0"
                    "junk",
                    10),
         {"1", "2", "3"},
         {3, 3}},
        {"code page",
         QByteArray("\x80\x81\x9F\xFF\0", 5),
         {QString::fromUtf16(u"\x20AC\x0081\x0178\x00FF"), "", ""},
         {1, 4}},
    };
    for (const Case &c : cases) {
        RecordGrid grid;
        grid.resize(4, 2);
        RecordTexts::Summary summary;
        grid.setStoredTexts(1, c.bytes.constData(), c.bytes.size(), &summary);
        std::vector<QString> expected = {QString()};
        expected.insert(expected.end(), c.texts.begin(), c.texts.end());
        EXPECT_EQ(rowTexts(grid, 1), expected) << c.name;
        EXPECT_EQ(summary.texts, c.summary.texts) << c.name;
        EXPECT_EQ(summary.characters, c.summary.characters) << c.name;
    }
}

TEST(RecordTexts, rowsAndColumnsMoveOverBothFormsAsAPlainTableWould)
{
    // A plain table of texts is the oracle; the grid takes the same steps.
    QRandomGenerator rng(16);
    const std::vector<TextCase> cases = textCases();
    const auto someText = [&] { return cases[rng.bounded(int(cases.size()))].text; };
    RecordGrid grid;
    grid.resize(6, 5);
    std::vector<std::vector<QString>> table(5, std::vector<QString>(6));
    // The check boxes ride along in a table of their own.
    std::vector<std::vector<bool>> boxes(5, std::vector<bool>(6));
    const QByteArray stored("one\0two\nlines\0\0four\0five\0", 25);
    grid.setStoredTexts(2, stored.constData(), stored.size());
    table[2] = {"", "one", "two\r\nlines", "", "four", "five"};
    for (int step = 0; step < 400; ++step) {
        const int columns = grid.columnCount();
        const int rows = grid.rowCount();
        switch (rng.bounded(8)) {
        case 0: { // a text in the middle of a record
            const int c = rng.bounded(1, columns), r = rng.bounded(1, rows);
            const QString text = someText();
            grid.setCell(c, r, text);
            table[size_t(r)][size_t(c)] = text;
            const bool on = rng.bounded(2) != 0;
            grid.setCheckBox(c, r, on);
            boxes[size_t(r)][size_t(c)] = on;
            break;
        }
        case 7: { // several texts of a record at once, a cell named twice
            const int r = rng.bounded(1, rows);
            std::vector<QString> texts;
            std::vector<std::pair<int, QStringView>> cells;
            for (int k = rng.bounded(1, 6); k > 0; --k)
                texts.push_back(someText());
            for (const QString &text : texts) {
                const int c = rng.bounded(1, columns);
                cells.emplace_back(c, text);
                table[size_t(r)][size_t(c)] = text;
            }
            grid.setCells(r, cells);
            break;
        }
        case 1: { // a column moves
            const int from = rng.bounded(1, columns), to = rng.bounded(1, columns);
            grid.moveColumn(from, to);
            for (auto &row : table) {
                QString moved = row[size_t(from)];
                row.erase(row.begin() + from);
                row.insert(row.begin() + to, moved);
            }
            for (auto &row : boxes) {
                const bool moved = row[size_t(from)];
                row.erase(row.begin() + from);
                row.insert(row.begin() + to, moved);
            }
            break;
        }
        case 2: { // a column comes in
            if (columns > Fields)
                break;
            const int at = rng.bounded(1, columns + 1);
            RecordGrid::Column column;
            for (int r = 0; r < rows; ++r)
                column.cells.push_back(r % 2 ? someText() : QString());
            for (int r = 0; r < rows; ++r) {
                table[size_t(r)].insert(table[size_t(r)].begin() + at, column.cells[size_t(r)]);
                column.checkBoxes.push_back(r % 3 == 1);
                boxes[size_t(r)].insert(boxes[size_t(r)].begin() + at, r % 3 == 1);
            }
            grid.insertColumn(at, std::move(column));
            break;
        }
        case 3: { // a column goes, and gives back its texts
            if (columns < 3)
                break;
            const int at = rng.bounded(1, columns);
            std::vector<QString> gone;
            for (auto &row : table) {
                gone.push_back(row[size_t(at)]);
                row.erase(row.begin() + at);
            }
            std::vector<bool> goneBoxes;
            for (auto &row : boxes) {
                goneBoxes.push_back(row[size_t(at)]);
                row.erase(row.begin() + at);
            }
            const RecordGrid::Column taken = grid.takeColumn(at);
            EXPECT_EQ(taken.cells, gone) << "step " << step;
            EXPECT_EQ(taken.checkBoxes, goneBoxes) << "step " << step;
            break;
        }
        case 4: { // records come in, empty and full
            const int at = rng.bounded(1, rows + 1);
            RecordGrid::Row row;
            row.cells.push_back(QString());
            for (int c = 1; c < columns; ++c)
                row.cells.push_back(rng.bounded(3) ? someText() : QString());
            row.checkBoxes.assign(size_t(columns), false);
            row.checkBoxes[size_t(columns - 1)] = true;
            table.insert(table.begin() + at, row.cells);
            boxes.insert(boxes.begin() + at, row.checkBoxes);
            std::vector<RecordGrid::Row> in{std::move(row), RecordGrid::Row{}};
            table.insert(table.begin() + at + 1, std::vector<QString>(size_t(columns)));
            boxes.insert(boxes.begin() + at + 1, std::vector<bool>(size_t(columns)));
            grid.insertRows(at, std::move(in));
            break;
        }
        case 5: { // a record goes, and gives back its texts
            if (rows < 4)
                break;
            const int at = rng.bounded(1, rows);
            const std::vector<RecordGrid::Row> taken = grid.takeRows(at, 1);
            ASSERT_EQ(taken.size(), 1u);
            EXPECT_EQ(taken[0].cells, table[size_t(at)]) << "step " << step;
            EXPECT_EQ(taken[0].checkBoxes, boxes[size_t(at)]) << "step " << step;
            table.erase(table.begin() + at);
            boxes.erase(boxes.begin() + at);
            break;
        }
        default: { // a record moves
            const int from = rng.bounded(1, rows), to = rng.bounded(1, rows);
            grid.moveRow(from, to);
            auto moved = table[size_t(from)];
            table.erase(table.begin() + from);
            table.insert(table.begin() + to, moved);
            auto movedBoxes = boxes[size_t(from)];
            boxes.erase(boxes.begin() + from);
            boxes.insert(boxes.begin() + to, movedBoxes);
            break;
        }
        }
        ASSERT_EQ(allTexts(grid), table) << "step " << step;
        std::vector<QString> expectedBoxes;
        for (size_t r = 0; r < boxes.size(); ++r) {
            for (size_t c = 0; c < boxes[r].size(); ++c) {
                if (boxes[r][c])
                    expectedBoxes.push_back(QStringLiteral("%1,%2").arg(c).arg(r));
            }
        }
        ASSERT_EQ(boxesOn(grid), expectedBoxes) << "step " << step;
    }
}

TEST(RecordTexts, rowsReadIntoAnArenaOutliveItAndChangeAloneAsAPlainTableWould)
{
    // Enough rows for several blocks, and rows too large to share one.
    // Each change goes to the grid and to a plain table; a copy of the grid
    // made before the changes keeps the texts as they were read.
    struct Record
    {
        QByteArray bytes;
        std::vector<QString> texts; // columns 0..3
    };
    std::vector<Record> records;
    for (int r = 0; r < 4000; ++r) {
        const QByteArray a = QByteArray::number(r) + QByteArray(r % 600, 'x');
        const QByteArray b = r % 700 ? QByteArray("two\nlines") : QByteArray(3 << 17, 'y');
        records.push_back(
            {a + '\0' + b + '\0' + "\xE9" + '\0',
             {QString(), QString::fromLatin1(a),
              b.size() > 100 ? QString::fromLatin1(b) : QStringLiteral("two\r\nlines"),
              QStringLiteral("\xE9")}});
    }
    RecordGrid grid;
    grid.resize(4, int(records.size()) + 1);
    {
        RecordTexts::Arena arena;
        for (size_t r = 0; r < records.size(); ++r)
            grid.setStoredTexts(int(r) + 1, records[r].bytes.constData(), records[r].bytes.size(),
                                nullptr, &arena);
    }
    std::vector<std::vector<QString>> table = {std::vector<QString>(4)};
    for (const Record &record : records)
        table.push_back(record.texts);
    const std::vector<std::vector<QString>> asRead = table;
    const RecordGrid copy = grid;

    for (int r = 1; r < grid.rowCount(); r += 3) {
        grid.setCell(1 + r % 3, r, QStringLiteral("changed %1").arg(r));
        table[size_t(r)][size_t(1 + r % 3)] = QStringLiteral("changed %1").arg(r);
    }
    for (int r = 2; r < grid.rowCount(); r += 5) {
        grid.setCells(r, {{3, u"\x20AC"}, {1, u"euro"}});
        table[size_t(r)][3] = QStringLiteral("\x20AC");
        table[size_t(r)][1] = QStringLiteral("euro");
    }
    grid.takeRows(1, 10);
    table.erase(table.begin() + 1, table.begin() + 11);
    grid.takeColumn(2);
    for (auto &row : table)
        row.erase(row.begin() + 2);

    EXPECT_EQ(allTexts(grid), table);
    EXPECT_EQ(allTexts(copy), asRead);
}
