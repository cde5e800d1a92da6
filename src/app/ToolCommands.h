#pragma once
// The outside tools of the "Windows Tools" menu on a Linux desktop: which programs are tried, in
// which order, and how a desktop entry's command line is read. A program is started directly
// from its argument list, never through a shell, so a path with blanks stays one argument.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x {

struct ToolCommand {
    std::string program;
    std::vector<std::string> arguments;

    bool operator==(const ToolCommand&) const = default;
};

/// The MIME types whose desktop handler is tried first: the desktop's file manager for a folder,
/// its text editor for the system's file.
inline constexpr std::string_view kFolderMimeType = "inode/directory";
inline constexpr std::string_view kPlainTextMimeType = "text/plain";

/// The common file managers, opening `folder`, tried when the desktop names none; xdg-open last.
std::vector<ToolCommand> fileManagerCommands(const std::string& folder);
/// The common graphical text editors, opening `file`, tried when the desktop names none.
std::vector<ToolCommand> textEditorCommands(const std::string& file);
/// The common calculators, in the order they are tried.
std::vector<ToolCommand> calculatorCommands();

/// What the program reads from a desktop entry file (its "[Desktop Entry]" group).
struct DesktopEntry {
    std::string exec;      // the Exec value, string escapes (\s, \n, \t, \r, \\) undone
    bool terminal = false; // Terminal=true: the program needs a terminal to run in
};
DesktopEntry readDesktopEntry(const std::vector<std::string>& lines);

/// A desktop entry's Exec value split into program and arguments, with `file` put in place of its
/// file field code (%f, %F, %u or %U) or, where it has none, after the last argument. The other
/// field codes are dropped and "%%" is a percent sign. Nothing when the value cannot be split
/// (an unclosed quote, an empty command).
std::optional<ToolCommand> desktopExecCommand(std::string_view exec, std::string_view file);

} // namespace mr3x
