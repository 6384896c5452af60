#include "core/document/database.h"
#include "core/document/document.h"
#include "documentaccess.h"
#include "interchange/lookup/lookupformrules.h"
#include "memoryfilesystem.h"
#include "pdbbuilder.h"
#include "scriptedmessages.h"
#include "scriptedpasswords.h"
#include "scriptedshell.h"

#include <gtest/gtest.h>

namespace {

/// The lookup dialog, its Open button clicked until it closes or the
/// clicks run out.
class ClickingOpen : public LookupPrompt
{
public:
    void exec(LookupFormRules &rules) override
    {
        ++shown;
        for (int i = 0; i < clicks; ++i) {
            if (rules.open())
                return;
            errors << rules.errorLabel();
        }
    }
    int clicks = 1;
    int shown = 0;
    QStringList errors;
};

struct Outcome
{
    int shown = 0;
    QStringList errors;
    QStringList messages;
    int passwordsAsked = 0;
    int fileDialogs = 0;
    bool loaded = false;
    QStringList items;
    bool changed = false;
    bool canUndo = false;
    QString password;
    bool operator==(const Outcome &) const = default;
};

void PrintTo(const Outcome &o, std::ostream *os)
{
    *os << "shown " << o.shown << " errors " << o.errors.join('|').toStdString() << " messages "
        << o.messages.join('|').toStdString() << " passwords " << o.passwordsAsked << " dialogs "
        << o.fileDialogs << " loaded " << o.loaded << " items " << o.items.join('|').toStdString()
        << " changed " << o.changed << " undo " << o.canUndo << " password "
        << o.password.toStdString();
}

/// Cities: Code and Name, three records whose names are Oslo, empty, Oslo.
PdbBuilder cities()
{
    PdbBuilder b = PdbBuilder::withFields(2);
    b.fields[0].name = "Code";
    b.fields[1].name = "Name";
    b.records = {{"1", "Oslo"}, {"2", ""}, {"3", "Oslo"}};
    return b;
}

struct LookupCase
{
    QByteArray file = cities().build();
    QString filePath = QStringLiteral("/init/Cities.pdb");
    QStringList items{QStringLiteral("Cities"), QStringLiteral("Name")};
    qint32 setting2 = 1;
    std::deque<QString> passwords;
    std::deque<QString> fileAnswers;
};

Outcome offer(const LookupCase &s)
{
    MemoryFileSystem fs;
    fs.addFile(s.filePath, s.file);
    ScriptedMessages messages;
    ScriptedPasswords passwords;
    passwords.answers = s.passwords;
    ScriptedShell shell;
    shell.fileAnswers = s.fileAnswers;
    Document doc;
    Database &db = DocumentAccess::database(doc);
    db.grid().resize(2, 2);
    db.field(1).type = FieldType::NormalPopup;
    db.field(1).setting2 = s.setting2;
    db.field(1).popupItems = s.items;
    db.setPassword(QStringLiteral("mine"));
    ClickingOpen prompt;
    OfferLookupLoad(doc, 1, prompt,
                    {messages, passwords, fs, shell, shell, QStringLiteral("/init")});

    Outcome o;
    o.shown = prompt.shown;
    o.errors = prompt.errors;
    for (const Message &m : messages.shown)
        o.messages << m.text();
    o.passwordsAsked = passwords.asked;
    o.fileDialogs = int(shell.requests.size());
    o.loaded = doc.database().field(1).lookupLoaded;
    o.items = doc.database().field(1).popupItems;
    o.changed = doc.database().isChanged();
    o.canUndo = doc.canUndo();
    o.password = doc.database().password();
    return o;
}

} // namespace

TEST(LookupList, loadingAListLeavesTheOpenDatabaseAsItWas)
{
    const QStringList names{QStringLiteral("Cities"), QStringLiteral("Name")};
    const QStringList oslo{QStringLiteral("Oslo"), QString(), QStringLiteral("Oslo")};
    PdbBuilder enciphered = cities();
    enciphered.password = "sesame";
    enciphered.flags = 0x0002;
    PdbBuilder version4 = cities();
    version4.type = "Lx4D";
    PdbBuilder shortBlock = cities();
    const qsizetype size = shortBlock.build().size();
    shortBlock.appInfoOffsetOverride = quint32(size - 100);

    const auto with = [](auto change) {
        LookupCase s;
        change(s);
        return s;
    };
    const struct
    {
        const char *what;
        LookupCase setup;
        Outcome expected;
    } cases[] = {
        {"found in the initial folder",
         LookupCase(),
         {1, {}, {}, 0, 0, true, oslo, false, false, "mine"}},
        {"elsewhere, chosen in the file dialog",
         with([](LookupCase &s) {
             s.filePath = QStringLiteral("/else/Towns.pdb");
             s.fileAnswers = {s.filePath};
         }),
         {1, {}, {}, 0, 1, true, oslo, false, false, "mine"}},
        {"file dialog cancelled",
         with([](LookupCase &s) { s.filePath = QStringLiteral("/x.pdb"); }),
         {1, {QString()}, {}, 0, 1, false, names, false, false, "mine"}},
        {"enciphered, with a password of its own",
         with([&](LookupCase &s) {
             s.file = enciphered.build();
             s.passwords = {QStringLiteral("sesame")};
         }),
         {1, {}, {}, 1, 0, true, oslo, false, false, "mine"}},
        {"a database without the field",
         with([](LookupCase &s) { s.items[1] = QStringLiteral("Town"); }),
         {1,
          {QStringLiteral("Wrong file, this database has no Field: Town")},
          {},
          0,
          0,
          false,
          {QStringLiteral("Cities"), QStringLiteral("Town")},
          false,
          false,
          "mine"}},
        {"a version-4 file",
         with([&](LookupCase &s) { s.file = version4.build(); }),
         {1,
          {QString()},
          {QStringLiteral("Sorry, this database is created by Listora 4 or Listora pro.")},
          0,
          0,
          false,
          names,
          false,
          false,
          "mine"}},
        {"a short application-info block",
         with([&](LookupCase &s) { s.file = shortBlock.build(); }),
         {1,
          {QString()},
          {QStringLiteral("Error: Unnormal Size LoStruc")},
          0,
          0,
          false,
          names,
          false,
          false,
          "mine"}},
        {"no Lookup Popup",
         with([](LookupCase &s) { s.setting2 = 0; }),
         {0, {}, {}, 0, 0, false, names, false, false, "mine"}},
        {"an incomplete reference",
         with([](LookupCase &s) { s.items = QStringList{QStringLiteral("Cities")}; }),
         {0, {}, {}, 0, 0, false, {QStringLiteral("Cities")}, false, false, "mine"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(offer(c.setup), c.expected) << c.what;
}

TEST(LookupList, probableFileName)
{
    EXPECT_EQ(LookupList::probableFileName(QStringLiteral("Cities")), QStringLiteral("Cities.pdb"));
    EXPECT_EQ(LookupList::probableFileName(QStringLiteral("Cities.db")),
              QStringLiteral("Cities.pdb"));
    EXPECT_EQ(LookupList::probableFileName(QStringLiteral("My.Cities.PDB")),
              QStringLiteral("My.Cities.pdb"));
}
