#include "cancellingprogress.h"
#include "core/document/database.h"
#include "core/document/document.h"
#include "interchange/text/delimitedtext.h"
#include "interchange/text/textcommands.h"
#include "interchange/text/textfiletype.h"
#include "memoryfilesystem.h"
#include "scriptedmessages.h"
#include "scriptedshell.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Table = std::vector<std::vector<QString>>;

/// Rows 0..n, fields 1..f; hidden records left out when @p visibleOnly.
Table cells(const Database &db, bool visibleOnly = false)
{
    Table table;
    const RecordGrid &grid = db.grid();
    for (int r = 0; r < grid.rowCount(); ++r) {
        if (visibleOnly && r > 0 && grid.isRowHidden(r))
            continue;
        std::vector<QString> row;
        for (int k = 1; k < grid.columnCount(); ++k)
            row.push_back(grid.cell(k, r));
        table.push_back(row);
    }
    return table;
}

Database databaseOf(const Table &table)
{
    Database db;
    db.grid().resize(int(table[0].size()) + 1, int(table.size()));
    db.grid().showAllRows();
    for (size_t r = 0; r < table.size(); ++r) {
        for (size_t k = 0; k < table[r].size(); ++k)
            db.grid().setCell(int(k + 1), int(r), table[r][k]);
    }
    return db;
}

class TextCommandsTest : public ::testing::Test
{
protected:
    TextCommandsTest() { fs.folders.insert(QStringLiteral("/data")); }

    bool import(const QByteArray &bytes, int fileType = TextFileType::Comma)
    {
        fs.addFile(QStringLiteral("/data/in.csv"), bytes);
        Database db;
        if (!commands.importFile(QStringLiteral("/data/in.csv"), fileType, TextEncoding::Auto, db))
            return false;
        doc.replace(std::move(db));
        return true;
    }
    bool append(const QByteArray &bytes)
    {
        fs.addFile(QStringLiteral("/data/more.csv"), bytes);
        return commands.appendFile(QStringLiteral("/data/more.csv"), TextFileType::Comma,
                                   TextEncoding::Auto);
    }
    QByteArray exported(int fileType)
    {
        EXPECT_TRUE(
            commands.exportFile(QStringLiteral("/data/out.txt"), fileType, TextEncoding::Cp1252));
        return fs.files.value(QStringLiteral("/data/out.txt"));
    }
    /// The questions asked (the messages that offer Cancel).
    int questions() const
    {
        return int(
            std::count_if(messages.shown.begin(), messages.shown.end(),
                          [](const Message &m) { return m.buttons & MessageButton::Cancel; }));
    }

    MemoryFileSystem fs;
    ScriptedMessages messages;
    ScriptedShell shell;
    CancellingProgress progress;
    Document doc;
    TextCommands commands{doc, {messages, fs, shell, progress}};
};

} // namespace

TEST_F(TextCommandsTest, importMakesTheGridOfTheFile)
{
    const QString e;
    QByteArray sixty;
    for (int i = 1; i <= 60; ++i)
        sixty += QByteArray::number(i) + (i < 60 ? "," : "\r\n");
    const struct
    {
        const char *what;
        QByteArray bytes;
        int questions;
        Table cells;
    } cases[] = {
        {"a quoted separator",
         "Name,Price\r\n\"Smith, J\",12\r\n",
         0,
         {{"Name", "Price"}, {"Smith, J", "12"}}},
        {"one line: the names and one empty record", "a,b\r\n", 1, {{"a", "b"}, {e, e}}},
        {"the widest line sets the fields; shorter lines leave cells empty",
         "a,b\r\nc,d,e,f\r\ng\r\n",
         1,
         {{"a", "b", e, e}, {"c", "d", "e", "f"}, {"g", e, e, e}}},
        {"a line break in a text becomes CR LF",
         "a,b\n\"x\ny\",z\n",
         0,
         {{"a", "b"}, {"x\r\ny", "z"}}},
        {"a UTF-8 file",
         "N\xC3\xA4me,x\r\nZo\xC3\xAB,1\r\n",
         0,
         {{QStringLiteral("Näme"), "x"}, {QStringLiteral("Zoë"), "1"}}},
        {"the same in Windows-1252",
         "N\xE4me,x\r\nZo\xEB,1\r\n",
         0,
         {{QStringLiteral("Näme"), "x"}, {QStringLiteral("Zoë"), "1"}}},
    };
    for (const auto &c : cases) {
        messages.shown.clear();
        ASSERT_TRUE(import(c.bytes)) << c.what;
        EXPECT_EQ(questions(), c.questions) << c.what;
        EXPECT_EQ(cells(doc.database()), c.cells) << c.what;
    }

    // Fifty fields at most: the surplus overwrite one another in the last.
    ASSERT_TRUE(import(sixty + sixty));
    const Table table = cells(doc.database());
    EXPECT_EQ(table[1].size(), 50u);
    EXPECT_EQ(table[1].back(), QStringLiteral("60"));
}

TEST_F(TextCommandsTest, importedDatabaseTakesItsNameDateAndPathFromTheFile)
{
    fs.addFile(QStringLiteral("/data/Price:List?.v2.csv"), "a,b\r\nc,d\r\n");
    Database db;
    ASSERT_TRUE(commands.importFile(QStringLiteral("/data/Price:List?.v2.csv"), TextFileType::Comma,
                                    TextEncoding::Auto, db));
    const auto summary = [](const Database &d) {
        return QStringList{d.name(),
                           d.filePath(),
                           d.date().toString(Qt::ISODate),
                           QString::number(d.grid().columnWidth(1)),
                           QString::number(d.grid().columnWidth(2)),
                           QString::number(d.field(2).type),
                           QString::number(d.isChanged())};
    };
    EXPECT_EQ(summary(db), (QStringList{"Price_List_.v2", "/data/Price:List?.v2.pdb",
                                        "2024-05-06T07:08:09Z", "90", "90", "0", "0"}));
}

TEST_F(TextCommandsTest, importKeepsAtMost32000Records)
{
    QByteArray bytes;
    for (int i = 0; i < 32005; ++i)
        bytes += "a,b\r\n";
    ASSERT_TRUE(import(bytes));
    EXPECT_EQ(questions(), 1); // more than 32001 lines
    EXPECT_EQ(doc.database().recordCount(), 32000);
}

TEST_F(TextCommandsTest, cancellingLeavesTheDatabaseAsItWas)
{
    ASSERT_TRUE(import("a,b\r\nx,y\r\n"));
    const Table before = cells(doc.database());
    QByteArray big;
    for (int i = 0; i < 5000; ++i)
        big += "c,d\r\n";

    messages.answers = {MessageButton::Cancel}; // the format question
    EXPECT_FALSE(import("only one line\r\n"));
    messages.answers = {MessageButton::Cancel}; // the fit question
    EXPECT_FALSE(append("1,2,3\r\n"));
    for (int at : {1, 3, 6}) { // at the 256th, the 768th and the 1536th line
        progress.reports = 0;
        progress.at = at;
        EXPECT_FALSE(import(big)) << at;
        progress.reports = 0;
        EXPECT_FALSE(append(big)) << at;
    }
    progress.reports = 0;
    progress.at = 1;
    EXPECT_FALSE(commands.exportFile(QStringLiteral("/data/out.csv"), 1, TextEncoding::Cp1252));
    EXPECT_FALSE(fs.files.contains(QStringLiteral("/data/out.csv")));
    EXPECT_EQ(cells(doc.database()), before);
    EXPECT_FALSE(doc.database().isChanged());
    EXPECT_FALSE(doc.canUndo());
}

TEST_F(TextCommandsTest, appendIsOneEditThatUndoes)
{
    ASSERT_TRUE(import("A,B\r\nx,y\r\n"));
    const Table before = cells(doc.database());
    // Every line is a record; a LF stays a LF; fields beyond the database go.
    ASSERT_TRUE(append("a,b\r\n\"c\nd\",e,f\r\n"));
    EXPECT_EQ(questions(), 2); // the format question and the fit question
    const Table after{{"A", "B"}, {"x", "y"}, {"a", "b"}, {"c\nd", "e"}};
    EXPECT_EQ(cells(doc.database()), after);
    EXPECT_TRUE(doc.database().isChanged());
    doc.undo();
    EXPECT_EQ(cells(doc.database()), before);
    EXPECT_FALSE(doc.database().isChanged());
    doc.redo();
    EXPECT_EQ(cells(doc.database()), after);
}

TEST_F(TextCommandsTest, appendFillsTheFieldsInTheOrderShown)
{
    // Once a field has moved, the grid keeps the texts in other slots than
    // the columns show; the appended texts still go to the fields in order.
    ASSERT_TRUE(import("A,B,C\r\nx,y,z\r\n"));
    doc.apply(Edit::change(QStringLiteral("move"), EditStep::MoveField{3, 1}));
    ASSERT_TRUE(append("1,2,3\r\n4,5\r\n"));
    EXPECT_EQ(cells(doc.database()),
              (Table{{"C", "A", "B"}, {"z", "x", "y"}, {"1", "2", "3"}, {"4", "5", ""}}));
}

TEST_F(TextCommandsTest, appendStopsAt31999Records)
{
    QByteArray bytes = "A,B\r\n";
    for (int i = 0; i < 31997; ++i)
        bytes += "a,b\r\n";
    ASSERT_TRUE(import(bytes));
    ASSERT_TRUE(append("1,2\r\n3,4\r\n5,6\r\n"));
    EXPECT_EQ(doc.database().recordCount(), 31999);
    EXPECT_EQ(doc.database().grid().cell(1, 31999), QStringLiteral("3"));
    ASSERT_TRUE(append("7,8\r\n"));
    EXPECT_EQ(doc.database().recordCount(), 31999);
}

TEST_F(TextCommandsTest, exportWritesTheVisibleRecordsOfEachFileType)
{
    Database db = databaseOf(
        {{"Name", "Note"}, {"Smith, J", "a\"b"}, {"hidden", "x"}, {"line\r\nbreak", "tab\there"}});
    db.grid().setRowHeight(2, 0);
    doc.replace(std::move(db));
    const struct
    {
        int fileType;
        QByteArray bytes;
    } cases[] = {
        {TextFileType::Comma, "\"Name\",\"Note\"\r\n\"Smith, J\",\"a\"\"b\"\r\n"
                              "\"line\nbreak\",\"tab\there\"\r\n"},
        {TextFileType::Semicolon, "\"Name\";\"Note\"\r\n\"Smith, J\";\"a\"\"b\"\r\n"
                                  "\"line\nbreak\";\"tab\there\"\r\n"},
        {TextFileType::Tab, "Name\tNote\r\nSmith, J\ta\"b\r\nline\nbreak\t\"tab\there\"\r\n"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(exported(c.fileType), c.bytes) << c.fileType;
}

TEST_F(TextCommandsTest, exportWritesRowsOfBothFormsInEachEncoding)
{
    // Rows the grid keeps as the file's bytes (written from them where the
    // file's code page is theirs) and rows it keeps as UTF-16 (a character
    // without a byte, a LF alone) come out alike.
    Database db = databaseOf({{"Name", "Note"},
                              {"a\"b", "line\r\nbreak"},
                              {"one\rtwo", "tab\there"},
                              {"\u03A9 omega", "x"},
                              {"lf\nonly", "\"q"},
                              {"hidden", "x"},
                              {"\u20AC 5", "Zo\u00EB"},
                              {"12345678\"0", "123456789\rX\ttab"}});
    db.grid().setRowHeight(5, 0);
    doc.replace(std::move(db));
    const struct
    {
        int fileType;
        TextEncoding encoding;
        QByteArray bytes;
    } cases[] = {
        {TextFileType::Comma, TextEncoding::Cp1252,
         "\"Name\",\"Note\"\r\n\"a\"\"b\",\"line\nbreak\"\r\n\"onetwo\",\"tab\there\"\r\n"
         "\"? omega\",\"x\"\r\n\"lf\nonly\",\"\"\"q\"\r\n\"\x80 5\",\"Zo\xEB\"\r\n"
         "\"12345678\"\"0\",\"123456789X\ttab\"\r\n"},
        {TextFileType::Tab, TextEncoding::Cp1252,
         "Name\tNote\r\na\"b\tline\nbreak\r\nonetwo\t\"tab\there\"\r\n"
         "? omega\tx\r\nlf\nonly\t\"\"\"q\"\r\n\x80 5\tZo\xEB\r\n"
         "12345678\"0\t\"123456789X\ttab\"\r\n"},
        {TextFileType::Comma, TextEncoding::Utf8,
         "\xEF\xBB\xBF\"Name\",\"Note\"\r\n\"a\"\"b\",\"line\nbreak\"\r\n"
         "\"onetwo\",\"tab\there\"\r\n\"\xCE\xA9 omega\",\"x\"\r\n\"lf\nonly\",\"\"\"q\"\r\n"
         "\"\xE2\x82\xAC 5\",\"Zo\xC3\xAB\"\r\n\"12345678\"\"0\",\"123456789X\ttab\"\r\n"},
        {TextFileType::Tab, TextEncoding::Utf8,
         "\xEF\xBB\xBFName\tNote\r\na\"b\tline\nbreak\r\nonetwo\t\"tab\there\"\r\n"
         "\xCE\xA9 omega\tx\r\nlf\nonly\t\"\"\"q\"\r\n\xE2\x82\xAC 5\tZo\xC3\xAB\r\n"
         "12345678\"0\t\"123456789X\ttab\"\r\n"},
    };
    for (const auto &c : cases) {
        // Windows-1252 has no byte for the omega: the question is agreed to.
        messages.answers = {MessageButton::Yes};
        ASSERT_TRUE(commands.exportFile(QStringLiteral("/data/forms.txt"), c.fileType, c.encoding));
        EXPECT_EQ(fs.files.value(QStringLiteral("/data/forms.txt")), c.bytes)
            << c.fileType << int(c.encoding);
    }
}

TEST_F(TextCommandsTest, exportKeepsTheFileItReplacesAsItsBackup)
{
    doc.replace(databaseOf({{"A"}, {"new"}}));
    fs.addFile(QStringLiteral("/data/Data.CSV"), "old");
    fs.addFile(QStringLiteral("/data/Data.CS_"), "older");
    fs.addFile(QStringLiteral("/data/Data.TXT"), "old tab");
    ASSERT_TRUE(commands.exportFile(QStringLiteral("/data/Data.CSV"), TextFileType::Comma,
                                    TextEncoding::Cp1252));
    ASSERT_TRUE(commands.exportFile(QStringLiteral("/data/Data.TXT"), TextFileType::Tab,
                                    TextEncoding::Cp1252));
    EXPECT_EQ(fs.files, (QHash<QString, QByteArray>{{"/data/Data.CSV", "\"A\"\r\n\"new\"\r\n"},
                                                    {"/data/Data.CS_", "old"},
                                                    {"/data/Data.TXT", "A\r\nnew\r\n"},
                                                    {"/data/Data.TX_", "old tab"}}));

    // A failed write leaves the earlier file whole and says so.
    const QHash<QString, QByteArray> before = fs.files;
    doc.replace(databaseOf({{"A"}, {"newer"}}));
    fs.failCall = fs.calls() + 2; // the write of the new file
    EXPECT_FALSE(commands.exportFile(QStringLiteral("/data/Data.CSV"), TextFileType::Comma,
                                     TextEncoding::Cp1252));
    EXPECT_EQ(fs.files, before);
    EXPECT_EQ(messages.shown.back().lines,
              QStringList({TextCommands::saveErrorText(),
                           QStringLiteral("/data/Data.CSV: Input/output error")}));
}

TEST_F(TextCommandsTest, exportThenImportGivesTheSameCells)
{
    const Table table{{"Name", "Te;xt", "Quote\"d"},
                      {"Smith, J", "12\" screen", "\"quoted\""},
                      {"two\r\nlines", "tab\there", ""},
                      {"\"", "a\"\"b", "end,"}};
    for (int fileType : {TextFileType::Comma, TextFileType::Semicolon, TextFileType::Tab}) {
        for (TextEncoding encoding : {TextEncoding::Cp1252, TextEncoding::Utf8}) {
            Table accented = table;
            accented[1][0] = QStringLiteral("Zoë Ærø");
            doc.replace(databaseOf(accented));
            ASSERT_TRUE(commands.exportFile(QStringLiteral("/data/round.txt"), fileType, encoding));
            const QByteArray bytes = fs.files.value(QStringLiteral("/data/round.txt"));
            ASSERT_TRUE(import(bytes, fileType));
            EXPECT_EQ(cells(doc.database()), accented) << fileType << int(encoding);
        }
    }
}

namespace {

/// The lines a message names ("Line 12 ...").
std::vector<qint64> namedLines(const Message &message)
{
    std::vector<qint64> lines;
    static const QRegularExpression line(QStringLiteral("\\bLine (\\d+)"));
    for (const auto &m : line.globalMatch(message.text()))
        lines.push_back(m.captured(1).toLongLong());
    return lines;
}

/// What the user was told of an import or append.
struct Told
{
    bool done;                      ///< the command changed the database
    std::vector<qint64> question;   ///< the lines the format question names
    std::vector<qint64> afterwards; ///< the lines the closing message or the error names
    int records;
    bool operator==(const Told &) const = default;
};

void PrintTo(const Told &t, std::ostream *os)
{
    *os << "{done " << t.done << ", question";
    for (qint64 l : t.question)
        *os << ' ' << l;
    *os << ", afterwards";
    for (qint64 l : t.afterwards)
        *os << ' ' << l;
    *os << ", records " << t.records << '}';
}

} // namespace

TEST_F(TextCommandsTest, theUserIsToldWhatWasNotTakenAsItStands)
{
    const auto lines = [](int n, const char *line) {
        QByteArray bytes;
        for (int i = 0; i < n; ++i)
            bytes += line;
        return bytes;
    };
    const QByteArray x5000(5000, 'x');
    const struct
    {
        const char *what;
        bool append;
        QByteArray bytes;
        Told told;
    } cases[] = {
        {"a file as it stands says nothing", false, "a,b\r\nc,d\r\n", {true, {}, {}, 1}},
        {"an unbalanced quote in a LF file is named, and swallows nothing",
         false,
         "Name,Town\n\"Smith,Oslo\n" + lines(998, "a,b\n"),
         {true, {2}, {2}, 999}},
        {"a line that ends inside quotes", false, "a,b\r\n\"c,d\r\ne,f\r\n", {true, {2}, {2}, 2}},
        {"NUL bytes", false, QByteArray("a,b\r\nc\0,d\r\n", 11), {true, {}, {2}, 1}},
        {"a text too long for a cell", false, "a,b\r\nc," + x5000 + "\r\n", {true, {}, {2}, 1}},
        {"lines past the record limit",
         false,
         lines(32005, "a,b\r\n"),
         {true, {32002}, {32002}, 32000}},
        {"a line longer than a record can take stops the import",
         false,
         "a,b\r\nc,d\r\n" + QByteArray(DelimitedText::MaxLineBytes + 1, ','),
         {false, {}, {3}, 1}},
        {"append: a line wider than the database", true, "1,2,3\r\n4,5\r\n", {true, {1}, {1}, 3}},
        {"append: a line too long appends nothing",
         true,
         "1,2\r\n" + QByteArray(DelimitedText::MaxLineBytes + 1, 'x'),
         {false, {}, {2}, 1}},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(import("A,B\r\nx,y\r\n"));
        messages.shown.clear();
        const bool done = c.append ? append(c.bytes) : import(c.bytes);
        Told told{done, {}, {}, doc.database().recordCount()};
        for (const Message &m : messages.shown) {
            std::vector<qint64> &named =
                m.buttons & MessageButton::Cancel ? told.question : told.afterwards;
            for (qint64 line : namedLines(m))
                named.push_back(line);
        }
        EXPECT_EQ(told, c.told) << c.what;
    }
}

TEST_F(TextCommandsTest, anExportOverTheOpenFileAsksWhenAnotherProgramChangedIt)
{
    // The open database's own file, changed since it was read: the export
    // over it asks first, and Cancel leaves the other program's bytes.
    const QString own = QStringLiteral("/data/Own.txt");
    struct Case
    {
        bool changedOutside;
        MessageButton answer;
        QByteArray left;
        int questions;
    };
    const std::vector<Case> cases = {{false, MessageButton::Cancel, "A\r\nnew\r\n", 0},
                                     {true, MessageButton::Cancel, "theirs", 1},
                                     {true, MessageButton::Yes, "A\r\nnew\r\n", 1}};
    for (const Case &c : cases) {
        fs.addFile(own, "ours");
        Database db = databaseOf({{"A"}, {"new"}});
        db.setFilePath(own);
        doc.replace(std::move(db), fs.status(own).stamp());
        if (c.changedOutside) {
            fs.files[own] = "theirs";
            fs.modifiedAt[own] = fs.modified.addSecs(1);
        }
        messages.shown.clear();
        messages.answers = {c.answer};
        commands.exportFile(own, TextFileType::Tab, TextEncoding::Cp1252);
        EXPECT_EQ(std::make_pair(fs.files.value(own), questions()),
                  std::make_pair(c.left, c.questions))
            << c.changedOutside;
        fs.modifiedAt.clear();
    }
}
