#include "app/ToolCommands.h"

#include <gtest/gtest.h>

using namespace mr3x;
using Args = std::vector<std::string>;

TEST(ToolCommands, ADesktopEntryCommandTakesTheFileWhereItsFieldCodeStands)
{
    const std::string file = "/home/eng/M-R3X Master/Grid System.cfg";
    struct Case {
        const char* exec;
        ToolCommand expected;
    };
    const Case cases[] = {
        {"gnome-text-editor %U", {"gnome-text-editor", {file}}},
        {"kate -b %U", {"kate", {"-b", file}}},
        {"\"/opt/My Editor/edit\" --new-window %f", {"/opt/My Editor/edit", {"--new-window", file}}},
        {"editor --open=%f", {"editor", {"--open=" + file}}},
        // Codes that stand for nothing here go; "%%" is a percent sign; only one file is given.
        {"gedit %i %c %k --width=50%% %F %U", {"gedit", {"--width=50%", file}}},
        // Without a file code the file goes last.
        {"mousepad", {"mousepad", {file}}},
        // Inside quotes a backslash takes the next character as it is.
        {"sh -c \"exec ed \\\"$0\\\"\" %f", {"sh", {"-c", "exec ed \"$0\"", file}}},
        {"  env  LANG=C   xed   %f  ", {"env", {"LANG=C", "xed", file}}},
    };
    for (const Case& c : cases) {
        const std::optional<ToolCommand> command = desktopExecCommand(c.exec, file);
        ASSERT_TRUE(command) << c.exec;
        EXPECT_EQ(*command, c.expected) << c.exec;
    }
    for (const char* broken : {"", "   ", "\"unclosed %f", "%i %c"})
        EXPECT_FALSE(desktopExecCommand(broken, file)) << broken;
}

TEST(ToolCommands, OnlyTheMainGroupOfADesktopEntryIsRead)
{
    const DesktopEntry entry = readDesktopEntry({
        "# a comment",
        "[Desktop Entry]",
        "Name=Text Editor",
        "Exec=\"/opt/Text\\sEditor/run\" --path\\\\x %U",
        "Terminal = false",
        "[Desktop Action new-window]",
        "Exec=other --new-window",
        "Terminal=true",
    });
    EXPECT_EQ(entry.exec, "\"/opt/Text Editor/run\" --path\\x %U");
    EXPECT_FALSE(entry.terminal);
    EXPECT_TRUE(readDesktopEntry({"[Desktop Entry]", "Exec=vim %F", "Terminal=true"}).terminal);
    EXPECT_EQ(readDesktopEntry({"Exec=stray", "[Desktop Entry]"}).exec, "");
}

TEST(ToolCommands, EveryToolsFallbacksTakeThePathAsOneArgument)
{
    for (const std::vector<ToolCommand>& commands : {fileManagerCommands("/a b"), textEditorCommands("/a b")}) {
        ASSERT_GE(commands.size(), 3u);
        for (const ToolCommand& command : commands)
            EXPECT_EQ(command.arguments, Args{"/a b"}) << command.program;
    }
    EXPECT_EQ(fileManagerCommands("/a b").back().program, "xdg-open"); // the last resort
    for (const ToolCommand& calculator : calculatorCommands())
        EXPECT_TRUE(calculator.arguments.empty()) << calculator.program;
}
