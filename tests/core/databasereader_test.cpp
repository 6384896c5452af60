#include "core/crypto/cipherstate.h"
#include "core/document/database.h"
#include "core/format/databasereader.h"
#include "pdbbuilder.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

QByteArray zeros(int n)
{
    return QByteArray(n, '\0');
}

/// Reads @p bytes as a file with scripted answers.
struct ReadRun
{
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    CipherState cipher;
    Database db;
    bool expertMode = false;

    ReadResult read(const QByteArray &bytes)
    {
        QByteArray data = bytes;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        DatabaseReader reader(messages, passwords, cipher);
        reader.setExpertMode(expertMode);
        return reader.read(buffer, QStringLiteral("/data/test.pdb"), db);
    }

    QString cell(int column, int row) const { return db.grid().cell(column, row); }
};

QStringList lines(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *s : list)
        out << QString::fromUtf8(s);
    return out;
}

PdbBuilder twoRecords()
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.records = {{"alpha", "1"}, {"beta", "2"}};
    return b;
}

} // namespace

TEST(DatabaseReader, readsNamesTextsAndHeaderValues)
{
    PdbBuilder b = twoRecords();
    b.name = "Garden";
    b.flags = 0x0001 | 0x0008 | 0x0400;
    b.modificationDate = 86400;
    b.fields[0].name = "Plant";
    ReadRun run;
    const ReadResult result = run.read(b.build());
    ASSERT_TRUE(result.ok) << result.message.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(run.db.name(), QStringLiteral("Garden"));
    EXPECT_EQ(run.db.filePath(), QStringLiteral("/data/test.pdb"));
    EXPECT_EQ(run.db.fieldCount(), 2);
    EXPECT_EQ(run.db.recordCount(), 2);
    EXPECT_EQ(run.cell(1, 0), QStringLiteral("Plant"));
    EXPECT_EQ(run.cell(2, 0), QStringLiteral("F2"));
    EXPECT_EQ(run.cell(1, 2), QStringLiteral("beta"));
    EXPECT_EQ(run.cell(2, 1), QStringLiteral("1"));
    EXPECT_TRUE(run.db.isAutoSort());
    EXPECT_TRUE(run.db.isReadOnly());
    EXPECT_FALSE(run.db.isChanged());
    EXPECT_EQ(run.db.date(), QDateTime(QDate(1970, 1, 2), QTime(1, 0), Qt::UTC));
    EXPECT_EQ(Database::fileSecondsFromDate(run.db.date()), 86400);
    EXPECT_TRUE(run.messages.shown.empty());
    for (int r = 1; r <= 2; ++r)
        EXPECT_EQ(run.db.grid().rowHeight(r), RecordGrid::VisibleRowHeight);
}

TEST(DatabaseReader, refusesWhatIsNoVersion5Database)
{
    PdbBuilder b = twoRecords();
    {
        ReadRun run;
        const ReadResult r = run.read(b.build().left(77));
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.message, lines({"Sorry, this is not a Listora database."}));
    }
    {
        b.type = "DATA";
        ReadRun run;
        EXPECT_EQ(run.read(b.build()).message, lines({"Sorry, this is not a Listora database."}));
    }
    {
        b.type = "Lx3D";
        ReadRun run;
        EXPECT_EQ(run.read(b.build()).message,
                  lines({"Sorry, this database is created by Listora 3.", "",
                         "Please use Quillgrid 2.xx to access this database. "}));
    }
    {
        b.type = "Lx4D";
        ReadRun run;
        EXPECT_EQ(run.read(b.build()).message,
                  lines({"Sorry, this database is created by Listora 4 or Listora pro.", "",
                         "There are two solutions:",
                         "- Use Listora5 to convert your Listora databases to the Listora5 format.",
                         "- Use Quillgrid pro 3.xx to access this database."}));
    }
    {
        // The creator plays no part.
        b.type = "Lx5D";
        b.creator = "xxxx";
        ReadRun run;
        EXPECT_TRUE(run.read(b.build()).ok);
    }
}

TEST(DatabaseReader, warnsOfHandheldPasswordUnlessExpert)
{
    PdbBuilder b = twoRecords();
    b.flags = 0x0004;
    {
        ReadRun run;
        ASSERT_TRUE(run.read(b.build()).ok);
        ASSERT_EQ(run.messages.shown.size(), 1u);
        const Message &m = run.messages.shown[0];
        EXPECT_EQ(m.caption, QStringLiteral("Warning"));
        EXPECT_EQ(m.icon, MessageIcon::Warning);
        EXPECT_EQ(m.buttons, MessageButtons(MessageButton::Ok));
        EXPECT_EQ(m.lines, lines({"The database is protected with the PalmOS Security app's "
                                  "password, but not encrypted. This is medium security."}));
    }
    {
        ReadRun run;
        run.expertMode = true;
        ASSERT_TRUE(run.read(b.build()).ok);
        EXPECT_TRUE(run.messages.shown.empty());
    }
}

TEST(DatabaseReader, reportsDamagedApplicationInfo)
{
    PdbBuilder b = twoRecords();
    const QByteArray file = b.build();
    {
        b.appInfoOffsetOverride = quint32(file.size() + 1);
        ReadRun run;
        EXPECT_EQ(run.read(b.build()).message, lines({"Error: Seek LoStruc"}));
        b.appInfoOffsetOverride.reset();
    }
    {
        ReadRun run;
        EXPECT_EQ(run.read(file.left(78 + 16 + 2 + 1701)).message,
                  lines({"Error: Normal Size LoStruc"}));
    }
    {
        b.marker = 0x0241;
        ReadRun run;
        EXPECT_EQ(run.read(b.build()).message, lines({"Error: CURRENT_MARKER"}));
        b.marker = 0x0240;
    }
    for (quint16 count : {quint16(0), quint16(51), quint16(0xFFFF)}) {
        b.fieldCountOverride = count;
        ReadRun run;
        const ReadResult r = run.read(b.build());
        EXPECT_FALSE(r.ok);
        ASSERT_EQ(r.message.size(), 1);
        EXPECT_TRUE(r.message[0].startsWith(QStringLiteral("Error: "))) << count;
    }
}

TEST(DatabaseReader, recordListRules)
{
    {
        // 0 records: one empty record row.
        PdbBuilder b = PdbBuilder::withFields(3);
        ReadRun run;
        ASSERT_TRUE(run.read(b.build()).ok);
        EXPECT_EQ(run.db.grid().rowCount(), 2);
        for (int k = 1; k <= 3; ++k)
            EXPECT_TRUE(run.cell(k, 1).isEmpty());
    }
    {
        // An entry at or past the end of the file shortens the database
        // silently to the records before it.
        PdbBuilder b = PdbBuilder::withFields(1);
        b.records = {{"one"}, {"two"}, {"three"}, {"four"}};
        const int size = int(b.build().size());
        b.offsetOverrides = {std::nullopt, std::nullopt, quint32(size), quint32(10)};
        ReadRun run;
        ASSERT_TRUE(run.read(b.build()).ok);
        EXPECT_EQ(run.db.recordCount(), 2);
        EXPECT_EQ(run.cell(1, 2), QStringLiteral("two"));
        EXPECT_TRUE(run.messages.shown.empty());
    }
    {
        // A list that runs off the end of the file before any entry does.
        // Every 4-byte group that the overlong list reads must point inside
        // the file, so the words that would not are cleared.
        PdbBuilder b = PdbBuilder::withFields(1);
        b.dataWidth = 0;
        b.patchFixedPart = [](QByteArray &lo) {
            std::fill(lo.begin() + 1052, lo.begin() + 1150, '\0');
            std::fill(lo.begin() + 1156, lo.begin() + 1254, '\0');
        };
        b.rawRecords = {zeros(200000)};
        b.recordCountOverride = 0xFFFF;
        ReadRun run;
        EXPECT_EQ(run.read(b.build()).message, lines({"Error: Record Ptr"}));
    }
}

TEST(DatabaseReader, recordTexts)
{
    PdbBuilder b = PdbBuilder::withFields(3);
    b.records = {{"a\nb\n", "x", "\x80\x81\xe9\xff"}};
    // Texts missing at the end of the data stay empty; a text without its
    // terminator ends with the data.
    QByteArray shortRecord = b.recordBytes({"p", "q", "r"});
    shortRecord.chop(3); // "q" loses its zero byte, "r" is gone
    b.rawRecords = {shortRecord};
    ReadRun run;
    ASSERT_TRUE(run.read(b.build()).ok);
    EXPECT_EQ(run.cell(1, 1), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(run.cell(3, 1), QString::fromUtf8("\u20ac\u0081\u00e9\u00ff"));
    EXPECT_EQ(run.cell(1, 2), QStringLiteral("p"));
    EXPECT_EQ(run.cell(2, 2), QStringLiteral("q"));
    EXPECT_EQ(run.cell(3, 2), QString());
}

TEST(DatabaseReader, recordEndsAtTheNextOffsetAndAfterAtMost200250Bytes)
{
    PdbBuilder b = PdbBuilder::withFields(2);
    const QByteArray huge(250000, 'h');
    b.records = {{huge, "tail"}, {"next", "n"}};
    ReadRun run;
    ASSERT_TRUE(run.read(b.build()).ok);
    EXPECT_EQ(run.cell(1, 1).size(), 200250 - 4);
    EXPECT_EQ(run.cell(2, 1), QString());
    EXPECT_EQ(run.cell(1, 2), QStringLiteral("next"));
}

TEST(DatabaseReader, fieldTableFromFixedPart)
{
    PdbBuilder b = PdbBuilder::withFields(4);
    b.fields[0] = {"Done", 0x02, 0x80, -40, 0, 0};
    b.fields[1] = {"Counter", 0x43, 0x00, 127, 5, 2};
    b.fields[2] = {"Sum", 0x46, 0x01, 10, 0x00010001, -1};
    b.fields[3].width = -128 & 0xFF; // low byte 0x80
    b.dataWidth = 150;
    b.sortKeys[0] = -3;
    b.sortKeys[1] = 2;
    b.findField = 2;
    b.findText = "fifteen chars!!";
    b.filterField = -1;
    b.filterText = "flt";
    b.firstUnlockedField = 1;
    b.records = {{"1", "7", "", ""}, {"0", "8", "", ""}};
    ReadRun run;
    run.db.setWidthScale(1.5);
    ASSERT_TRUE(run.read(b.build()).ok);
    const Database &db = run.db;
    EXPECT_EQ(db.field(1).type, FieldType::Boolean);
    EXPECT_EQ(db.field(1).attributes, 0x80);
    EXPECT_TRUE(db.field(1).isReadOnly());
    EXPECT_TRUE(db.field(1).locked);
    EXPECT_EQ(db.grid().columnWidth(1), 60);
    EXPECT_EQ(db.PixelsToFieldWidth(db.grid().columnWidth(1)), 40);
    EXPECT_EQ(db.field(2).type, FieldType::AutoIncrementInteger);
    EXPECT_EQ(db.field(2).setting1, 5);
    EXPECT_EQ(db.field(2).setting2, 2);
    EXPECT_FALSE(db.field(2).locked);
    EXPECT_EQ(db.PixelsToFieldWidth(db.grid().columnWidth(2)), 127);
    EXPECT_EQ(db.field(3).type, FieldType::CalcFieldOpField);
    EXPECT_EQ(db.field(3).setting2, -1);
    EXPECT_TRUE(db.field(4).locked);
    EXPECT_EQ(db.PixelsToFieldWidth(db.grid().columnWidth(4)), 128);
    EXPECT_EQ(db.dataWidth(), 150);
    EXPECT_EQ(db.sort().keys[0], -3);
    EXPECT_EQ(db.sort().keys[1], 2);
    EXPECT_EQ(db.findField(), 2);
    EXPECT_EQ(db.findText(), QStringLiteral("fifteen chars!!"));
    EXPECT_EQ(db.filter().field, -1);
    EXPECT_EQ(db.filter().text, QStringLiteral("flt"));
    EXPECT_EQ(db.firstUnlockedField(), 1);
    // Every record cell of a Boolean column carries a check box.
    EXPECT_TRUE(db.grid().hasCheckBox(1, 1));
    EXPECT_TRUE(db.grid().hasCheckBox(1, 2));
    EXPECT_FALSE(db.grid().hasCheckBox(2, 1));
    EXPECT_FALSE(db.grid().hasCheckBox(1, 0));
}

TEST(DatabaseReader, keepsTheFixedPartAsRead)
{
    PdbBuilder b = twoRecords();
    b.reserved = 0xBEEF;
    b.patchFixedPart = [](QByteArray &lo) {
        lo[5] = 'x';           // after the terminator of the first name
        lo[30 * 21 + 3] = 'y'; // a name slot beyond the field count
    };
    ReadRun run;
    ASSERT_TRUE(run.read(b.build()).ok);
    EXPECT_EQ(run.db.loStruc().bytes(), b.fixedPart());
}

TEST(DatabaseReader, unknownFieldTypeAsksRetryOrCancel)
{
    PdbBuilder b = PdbBuilder::withFields(3);
    b.fields[2].typeCode = 0x7E;
    b.records = {{"a", "b", "c"}};
    {
        ReadRun run;
        run.messages.answers = {MessageButton::Retry};
        ASSERT_TRUE(run.read(b.build()).ok);
        ASSERT_EQ(run.messages.shown.size(), 1u);
        const Message &m = run.messages.shown[0];
        EXPECT_EQ(m.caption, QStringLiteral("Warning"));
        EXPECT_EQ(m.icon, MessageIcon::Warning);
        EXPECT_EQ(m.buttons, MessageButton::Retry | MessageButton::Cancel);
        ASSERT_EQ(m.lines.size(), 2);
        EXPECT_EQ(m.lines[0],
                  QStringLiteral("There is a unknown fieldtype. This may cause serious problems."));
        EXPECT_EQ(m.lines[1], QStringLiteral("Please contact instantly the developer by email:  ") +
                                  DatabaseReader::supportAddress());
        EXPECT_EQ(run.db.field(3).type, FieldType::String);
        EXPECT_EQ(run.cell(3, 1), QStringLiteral("c"));
    }
    {
        ReadRun run;
        run.messages.answers = {MessageButton::Cancel};
        EXPECT_EQ(run.read(b.build()).message, lines({"Error: Seek Fieldtype3"}));
    }
}

TEST(DatabaseReader, typeCodesMapToTheFirstMatchingIndex)
{
    EXPECT_EQ(FieldType::indexOfCode(0x43), FieldType::AutoIncrementInteger);
    EXPECT_EQ(FieldType::indexOfCode(0x01), FieldType::String);
    EXPECT_EQ(FieldType::indexOfCode(0x00), -1);
    for (int i = 0; i < FieldType::kCount; ++i)
        EXPECT_EQ(FieldType::indexOfCode(FieldType::code(i)), i);
    EXPECT_EQ(FieldType::name(7), QStringLiteral("Modification Time "));
    EXPECT_EQ(FieldType::name(13), QStringLiteral("Calc  <field><op><field>"));
}

class EncryptedRead : public ::testing::Test
{
protected:
    EncryptedRead()
    {
        b = PdbBuilder::withFields(2);
        b.name = "Secret";
        b.flags = 0x0002;
        b.password = "correct horse";
        b.extension = PdbBuilder::strings({PdbBuilder::key("popup", 2), "red", "green", ""});
        b.records = {{"hidden", "red"}, {"multi\nline", "green"}, {QByteArray(3000, 'z'), ""}};
    }
    PdbBuilder b;
};

TEST_F(EncryptedRead, rightPasswordOpensTheFile)
{
    ReadRun run;
    run.passwords.answers = {QStringLiteral("correct horse")};
    ASSERT_TRUE(run.read(b.build()).ok);
    EXPECT_EQ(run.passwords.asked, 1);
    EXPECT_EQ(run.db.password(), QStringLiteral("correct horse"));
    EXPECT_EQ(run.db.name(), QStringLiteral("Secret"));
    EXPECT_EQ(run.cell(1, 1), QStringLiteral("hidden"));
    EXPECT_EQ(run.cell(1, 2), QStringLiteral("multi\r\nline"));
    EXPECT_EQ(run.cell(1, 3).size(), 3000);
    EXPECT_EQ(run.db.field(2).popupItems,
              QStringList({QStringLiteral("red"), QStringLiteral("green")}));
    EXPECT_TRUE(run.messages.shown.empty());
}

TEST_F(EncryptedRead, wrongPasswordIsReportedAndAskedAgain)
{
    ReadRun run;
    run.passwords.answers = {QStringLiteral("wrong one"), QStringLiteral("correct horse")};
    ASSERT_TRUE(run.read(b.build()).ok);
    EXPECT_EQ(run.passwords.asked, 2);
    ASSERT_EQ(run.messages.shown.size(), 1u);
    const Message &m = run.messages.shown[0];
    EXPECT_EQ(m.caption, QStringLiteral("Password Error"));
    EXPECT_EQ(m.icon, MessageIcon::Error);
    EXPECT_EQ(m.lines, lines({"Incorrect Password given.", "Please re-enter"}));
}

TEST_F(EncryptedRead, cancelEndsWithoutAMessage)
{
    ReadRun run;
    run.passwords.answers = {QStringLiteral("wrong one")};
    const ReadResult r = run.read(b.build());
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.message.isEmpty());
    EXPECT_EQ(run.passwords.asked, 2);
    EXPECT_TRUE(run.db.password().isEmpty());
}

TEST_F(EncryptedRead, truncatedFileFailsBeforeThePasswordIsAsked)
{
    const QByteArray file = b.build();
    const int appInfo = 78 + 3 * 8 + 2;
    {
        ReadRun run;
        EXPECT_EQ(run.read(file.left(appInfo + 1000)).message,
                  lines({"Error: Normal Size LoStruc"}));
        EXPECT_EQ(run.passwords.asked, 0);
    }
    {
        b.appInfoOffsetOverride = quint32(file.size() + 8);
        ReadRun run;
        EXPECT_EQ(run.read(b.build()).message, lines({"Error: Seek LoStruc"}));
        EXPECT_EQ(run.passwords.asked, 0);
    }
}

TEST_F(EncryptedRead, headerAndRecordListStayReadable)
{
    const QByteArray file = b.build();
    EXPECT_EQ(file.left(6), QByteArray("Secret"));
    EXPECT_EQ(file.mid(60, 8), QByteArray("Lx5DLxr5"));
    // The enciphered fixed part does not show its marker.
    const int appInfo = 78 + 3 * 8 + 2;
    EXPECT_NE(file.mid(appInfo + 1152, 2), QByteArray("\x02\x40", 2));
}
