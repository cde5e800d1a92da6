#include "export/CommandLine.h"

#include "tdr/CableTypeTable.h"

#include <cctype>

namespace mr3x::exports {

std::optional<int> wholeNumber(std::string_view text)
{
    if (text.empty() || text.size() > 6)
        return std::nullopt;
    int value = 0;
    for (const char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool ArgumentCursor::isOption(const std::string& arg, std::string_view option)
{
    return arg == option || (arg.size() > option.size() && arg.compare(0, option.size(), option) == 0 && arg[option.size()] == '=');
}

std::optional<std::string> ArgumentCursor::valueOf(std::string_view option, const std::string& arg)
{
    if (arg.size() > option.size() && arg.compare(0, option.size(), option) == 0 && arg[option.size()] == '=')
        return arg.substr(option.size() + 1);
    if (done())
        return std::nullopt;
    return next();
}

bool takeCommonArgument(ArgumentCursor& cursor, const std::string& arg, CommonArguments& common, std::string& problem)
{
    if (arg.empty() || arg[0] != '-' || arg == "-") {
        common.files.push_back(arg);
    } else if (arg == "--") {
        while (!cursor.done())
            common.files.push_back(cursor.next());
    } else if (arg == "--help" || arg == "-h") {
        common.help = true;
    } else if (ArgumentCursor::isOption(arg, "--frequency")) {
        const auto value = cursor.valueOf("--frequency", arg);
        const auto hz = value ? wholeNumber(*value) : std::nullopt;
        if (!hz || (*hz != 50 && *hz != 60))
            problem = "--frequency takes 50 or 60 (Hz)";
        else
            common.lineFrequency = *hz;
    } else if (ArgumentCursor::isOption(arg, "--speed")) {
        const auto value = cursor.valueOf("--speed", arg);
        const auto speed = value ? tdr::speedOfPercentText(*value) : std::nullopt;
        if (!speed)
            problem = "--speed takes a percentage of the speed of light from 30.0 to 100.0";
        else
            common.speed = *speed;
    } else {
        return false;
    }
    return true;
}

} // namespace mr3x::exports
