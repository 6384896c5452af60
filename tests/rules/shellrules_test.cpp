#include "rules/shell/commandline.h"
#include "rules/shell/commandtable.h"
#include "rules/shell/editorcommandline.h"
#include "rules/shell/shellquestions.h"
#include "rules/shell/statusbarcontent.h"
#include "scriptedmessages.h"

#include <QSet>

#include <gtest/gtest.h>

using CommandTable::State;

TEST(CommandTable, enablingFollowsTheDatabaseState)
{
    const State closed{false, false, true};
    const State open{true, false, false};
    const State readOnly{true, true, true};
    const State withText{true, false, true};
    for (Command c :
         {Command::New, Command::Open, Command::Import, Command::Exit, Command::Homepage,
          Command::About, Command::RecentFile, Command::DeliverySetup}) {
        EXPECT_TRUE(CommandTable::isEnabled(c, closed));
        EXPECT_TRUE(CommandTable::isEnabled(c, readOnly));
    }
    // Browsing, searching, filtering, sorting, printing, exporting and
    // copying work on a read-only database; nothing that changes it does.
    // Install, with or without a handheld user: without one it opens
    // delivery's set-up.
    for (Command c :
         {Command::Close, Command::Clone, Command::Save, Command::SaveAs, Command::Install,
          Command::Export, Command::Print, Command::Properties, Command::Find, Command::FindNext,
          Command::Replace, Command::Filter, Command::AdvancedFilter, Command::SortNormal,
          Command::SortReverse, Command::CopyCell, Command::CopyRow}) {
        EXPECT_FALSE(CommandTable::isEnabled(c, closed));
        EXPECT_TRUE(CommandTable::isEnabled(c, readOnly));
    }
    for (Command c : {Command::EditCell, Command::CutCell, Command::CutRow, Command::Font,
                      Command::AutoSizing, Command::ColumnSum, Command::DeleteRow,
                      Command::AppendColumn, Command::FillUp, Command::Append}) {
        EXPECT_FALSE(CommandTable::isEnabled(c, closed));
        EXPECT_TRUE(CommandTable::isEnabled(c, open));
        EXPECT_FALSE(CommandTable::isEnabled(c, readOnly));
    }
    EXPECT_FALSE(CommandTable::isEnabled(Command::PasteCell, open)); // no text on the clipboard
    EXPECT_TRUE(CommandTable::isEnabled(Command::PasteRow, withText));
    EXPECT_FALSE(CommandTable::isEnabled(Command::PasteCell, readOnly));
}

TEST(CommandTable, menusAndToolbar)
{
    QSet<int> seen;
    QStringList shortcuts;
    for (const CommandTable::Entry &e : CommandTable::menuEntries()) {
        EXPECT_FALSE(seen.contains(int(e.command)));
        seen.insert(int(e.command));
        if (*e.shortcut)
            shortcuts << QLatin1String(e.shortcut);
    }
    EXPECT_EQ(seen.size(), int(Command::About) + 1);
    EXPECT_EQ(shortcuts.removeDuplicates(), 0);
    EXPECT_EQ(CommandTable::toolbar().size(), 31u);
    EXPECT_STREQ(CommandTable::entry(Command::CutCell).hint, " Cut cell");
    EXPECT_STREQ(CommandTable::entry(Command::FillDown).shortcut, "Ctrl+Alt+D");
    EXPECT_TRUE(CommandTable::entry(Command::FillDown).submenu);
    EXPECT_TRUE(CommandTable::isToggle(Command::AdvancedFilter));
}

TEST(StatusBarContent, captionAndPanels)
{
    StatusBarContent::Input in;
    EXPECT_EQ(StatusBarContent::caption(in), QStringLiteral("Quillgrid 5"));
    in.databaseName = QStringLiteral("Addresses");
    in.currentRow = 5;
    in.records = 120;
    in.currentColumn = 2;
    in.fields = 7;
    in.filterMode = 2;
    in.changed = true;
    in.dateText = QStringLiteral("12/8/2026");
    in.filePath = QStringLiteral("/palm/Addresses.pdb");
    EXPECT_EQ(StatusBarContent::caption(in), QStringLiteral("Quillgrid 5 - Addresses"));
    const auto p = StatusBarContent::panels(in);
    EXPECT_EQ(p[0], QStringLiteral("R5 of 120"));
    EXPECT_EQ(p[1], QStringLiteral("C2 of 7"));
    EXPECT_EQ(p[2], QString());
    EXPECT_EQ(p[3], QStringLiteral("Adv. Filter"));
    EXPECT_EQ(p[4], QString());
    EXPECT_EQ(p[5], QStringLiteral("Changed"));
    EXPECT_EQ(p[6], QStringLiteral("12/8/2026"));
    EXPECT_EQ(p[7], QStringLiteral("/palm/Addresses.pdb"));
    in.autoSize = true;
    in.filterMode = 1;
    EXPECT_EQ(StatusBarContent::panels(in)[2], QStringLiteral("Auto Size"));
    EXPECT_EQ(StatusBarContent::panels(in)[3], QStringLiteral("Filter"));
    EXPECT_TRUE(StatusBarContent::isCentred(6));
    EXPECT_FALSE(StatusBarContent::isCentred(7));
}

TEST(ShellQuestions, unsavedChangesAreAskedAbout)
{
    ScriptedMessages messages;
    EXPECT_TRUE(ShellQuestions::ConfirmDiscardChanges(false, messages));
    EXPECT_TRUE(messages.shown.empty());
    messages.answers = {MessageButton::No, MessageButton::Yes};
    EXPECT_FALSE(ShellQuestions::ConfirmDiscardChanges(true, messages));
    EXPECT_TRUE(ShellQuestions::ConfirmDiscardChanges(true, messages));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].caption, QStringLiteral("Information"));
    EXPECT_EQ(messages.shown[0].icon, MessageIcon::Warning);
    EXPECT_EQ(messages.shown[0].buttons, MessageButton::Yes | MessageButton::No);
    EXPECT_EQ(messages.shown[0].text(),
              QStringLiteral("You have not saved the changes to this file and you will lose the "
                             "changes if you close this file. Are sure that you want to close "
                             "this file?"));
}

TEST(ShellQuestions, autoSizeQuestionHasThreeWordings)
{
    using ShellQuestions::SaveVariant;
    const Message save = ShellQuestions::autoSizeQuestion(SaveVariant::Save);
    EXPECT_EQ(save.lines[0], QStringLiteral("The column width is changed by auto-width and could "
                                            "be unsuitable for your handheld display."));
    EXPECT_EQ(save.lines[1],
              QStringLiteral("Do you prefer to save the file with the prevouis width settings?"));
    EXPECT_EQ(save.buttons, MessageButton::Yes | MessageButton::No | MessageButton::Cancel);
    const Message saveAs = ShellQuestions::autoSizeQuestion(SaveVariant::SaveAs);
    EXPECT_EQ(saveAs.lines[0], QStringLiteral("The column width is changed by auto-width and "
                                              "could be unsuitable for the handheld display."));
    EXPECT_EQ(saveAs.lines[1], save.lines[1]);
    const Message install = ShellQuestions::autoSizeQuestion(SaveVariant::Install);
    EXPECT_EQ(install.lines[0], saveAs.lines[0]);
    EXPECT_EQ(install.lines[1],
              QStringLiteral("Do you want to save the file with the prevouis width settings?"));
}

TEST(CommandLine, theEditorTakesAFileOrAsksForHelpOrTheVersion)
{
    using Action = EditorCommandLine::Action;
    const struct
    {
        QStringList arguments;
        Action action;
        QString file;
    } cases[] = {
        {{}, Action::Open, {}},
        {{"Garden.pdb"}, Action::Open, "Garden.pdb"},
        {{"/home/ann/My", "Files/Garden.pdb"}, Action::Open, "/home/ann/My Files/Garden.pdb"},
        // A single dash begins no option: a file may begin with one.
        {{"-old.pdb"}, Action::Open, "-old.pdb"},
        {{"--", "--help"}, Action::Open, "--help"},
        {{"--help"}, Action::Help, {}},
        {{"Garden.pdb", "-h"}, Action::Help, {}},
        {{"--version"}, Action::Version, {}},
        {{"-v"}, Action::Version, {}},
        {{"--help=1"}, Action::UsageError, {}},
        {{"--bogus", "Garden.pdb"}, Action::UsageError, {}},
    };
    QStringList expected;
    QStringList found;
    for (const auto &c : cases) {
        const EditorCommandLine line = EditorCommandLine::parse(c.arguments);
        const QString what = c.arguments.join(QLatin1Char(' ')) + QStringLiteral(" -> %1 %2");
        expected << what.arg(int(c.action)).arg(c.file);
        // A fault is told in Qt's words.
        found << what.arg(int(line.action))
                     .arg(line.action == Action::UsageError ? QString() : line.file);
    }
    EXPECT_EQ(found, expected);
}

TEST(CommandLine, argumentsAreJoinedBySingleSpaces)
{
    EXPECT_EQ(commandLineFile({QStringLiteral("C:\\My"), QStringLiteral("Files\\Addresses.pdb")}),
              QStringLiteral("C:\\My Files\\Addresses.pdb"));
    EXPECT_EQ(commandLineFile({}), QString());
}
