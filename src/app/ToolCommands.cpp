#include "app/ToolCommands.h"

#include "common/Text.h"

namespace mr3x {

namespace {

std::vector<ToolCommand> opening(std::initializer_list<const char*> programs, const std::string& path)
{
    std::vector<ToolCommand> commands;
    for (const char* program : programs)
        commands.push_back({program, {path}});
    return commands;
}

// Splits a command line into arguments by the desktop entry rules: blanks separate arguments,
// double quotes hold one argument in which a backslash takes the next character literally.
std::optional<std::vector<std::string>> splitArguments(std::string_view exec)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c == ' ' || c == '\t') {
            if (inArgument)
                arguments.push_back(std::move(current));
            current.clear();
            inArgument = false;
        } else if (c == '"') {
            inArgument = true;
            for (++i;; ++i) {
                if (i >= exec.size())
                    return std::nullopt; // an unclosed quote
                if (exec[i] == '"')
                    break;
                if (exec[i] == '\\' && i + 1 < exec.size())
                    ++i;
                current += exec[i];
            }
        } else {
            inArgument = true;
            current += c;
        }
    }
    if (inArgument)
        arguments.push_back(std::move(current));
    return arguments;
}

bool isFileCode(char code)
{
    return code == 'f' || code == 'F' || code == 'u' || code == 'U';
}

// One argument with its field codes expanded; `fileUsed` tells that the file went in.
std::string expandFieldCodes(const std::string& argument, std::string_view file, bool& fileUsed)
{
    std::string out;
    for (std::size_t i = 0; i < argument.size(); ++i) {
        if (argument[i] != '%' || i + 1 >= argument.size()) {
            out += argument[i];
            continue;
        }
        const char code = argument[++i];
        if (code == '%') {
            out += '%';
        } else if (isFileCode(code) && !fileUsed) {
            out += file;
            fileUsed = true;
        }
        // Every other code (%i, %c, %k and the deprecated ones) stands for nothing here.
    }
    return out;
}

// The character a desktop entry's string escape (\s, \n, \t, \r, \\) stands for; NUL for none.
char stringEscape(char code)
{
    switch (code) {
    case 's': return ' ';
    case 'n': return '\n';
    case 't': return '\t';
    case 'r': return '\r';
    case '\\': return '\\';
    default: return '\0';
    }
}

std::string unescapeValue(std::string_view value)
{
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char plain = value[i] == '\\' && i + 1 < value.size() ? stringEscape(value[i + 1]) : '\0';
        if (plain != '\0') {
            out += plain;
            ++i;
        } else {
            out += value[i]; // any other backslash belongs to the command line's own quoting
        }
    }
    return out;
}

} // namespace

std::vector<ToolCommand> fileManagerCommands(const std::string& folder)
{
    return opening({"nautilus", "dolphin", "nemo", "caja", "thunar", "pcmanfm-qt", "pcmanfm", "konqueror", "xdg-open"},
                   folder);
}

std::vector<ToolCommand> textEditorCommands(const std::string& file)
{
    return opening({"gnome-text-editor", "gedit", "kate", "kwrite", "mousepad", "pluma", "xed", "featherpad",
                    "leafpad", "geany"},
                   file);
}

std::vector<ToolCommand> calculatorCommands()
{
    std::vector<ToolCommand> commands;
    for (const char* program : {"gnome-calculator", "kcalc", "galculator", "mate-calc", "qalculate-qt",
                                "qalculate-gtk", "speedcrunch", "xcalc"})
        commands.push_back({program, {}});
    return commands;
}

DesktopEntry readDesktopEntry(const std::vector<std::string>& lines)
{
    DesktopEntry entry;
    bool inMainGroup = false;
    for (const std::string& raw : lines) {
        const std::string line = trim(raw);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inMainGroup = line == "[Desktop Entry]";
            continue;
        }
        const auto equals = line.find('=');
        if (!inMainGroup || equals == std::string::npos)
            continue;
        const std::string key = trim(std::string_view(line).substr(0, equals));
        const std::string value = trim(std::string_view(line).substr(equals + 1));
        if (key == "Exec")
            entry.exec = unescapeValue(value);
        else if (key == "Terminal")
            entry.terminal = value == "true";
    }
    return entry;
}

std::optional<ToolCommand> desktopExecCommand(std::string_view exec, std::string_view file)
{
    const std::optional<std::vector<std::string>> arguments = splitArguments(exec);
    if (!arguments || arguments->empty())
        return std::nullopt;
    bool fileUsed = false;
    std::vector<std::string> expanded;
    for (const std::string& argument : *arguments) {
        const bool wholeCode = argument.size() == 2 && argument[0] == '%' && argument[1] != '%';
        std::string out = expandFieldCodes(argument, file, fileUsed);
        if (!(wholeCode && out.empty()))
            expanded.push_back(std::move(out)); // a code that stood alone and stands for nothing goes
    }
    if (expanded.empty() || expanded.front().empty())
        return std::nullopt;
    if (!fileUsed)
        expanded.emplace_back(file);
    ToolCommand command{expanded.front(), {expanded.begin() + 1, expanded.end()}};
    return command;
}

} // namespace mr3x
