#pragma once
// What the command-line tools (mr3x-export, mr3x-analyse) read the same way: options take their
// value as "--name=value" or as the next argument, "--" ends the options, an argument that does
// not start with "-" (and "-" itself) is a file, and --help, --frequency and --speed mean the
// same to each.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x::exports {

/// A whole number of up to six digits; nothing for anything else.
std::optional<int> wholeNumber(std::string_view text);

/// The arguments the tools share.
struct CommonArguments {
    bool help = false;
    int lineFrequency = 50;          // 50 or 60 Hz
    int speed = 540;                 // tenths of a percent, for distances
    std::vector<std::string> files;
};

class ArgumentCursor {
public:
    explicit ArgumentCursor(const std::vector<std::string>& args) : args_(args) {}
    bool done() const { return i_ >= args_.size(); }
    const std::string& next() { return args_[i_++]; }
    /// Whether `arg` is `option`, alone or as "option=value".
    static bool isOption(const std::string& arg, std::string_view option);
    /// The value of `option` given as `arg`: after its "=", else the next argument.
    std::optional<std::string> valueOf(std::string_view option, const std::string& arg);

private:
    const std::vector<std::string>& args_;
    std::size_t i_ = 0;
};

/// Takes `arg` when it is one the tools share (a file, "--", --help, --frequency, --speed) into
/// `common`. False when it is not one of them; `problem` is set when it is, but its value is
/// wrong.
bool takeCommonArgument(ArgumentCursor& cursor, const std::string& arg, CommonArguments& common, std::string& problem);

} // namespace mr3x::exports
