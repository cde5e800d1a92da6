#include "sim/ArgumentDecoding.h"

#include <array>
#include <vector>

namespace mr3x::sim {

namespace {

std::optional<int> inRange(std::optional<int> value, int lo, int hi)
{
    if (!value || *value < lo || *value > hi)
        return std::nullopt;
    return value;
}

std::vector<std::string_view> splitAtCommas(std::string_view text)
{
    std::vector<std::string_view> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = text.find(',', start);
        pieces.push_back(text.substr(start, comma == std::string_view::npos ? text.npos : comma - start));
        if (comma == std::string_view::npos)
            return pieces;
        start = comma + 1;
    }
}

std::string withoutTrailingBlanks(std::string_view text)
{
    const std::size_t end = text.find_last_not_of(' ');
    return std::string(end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1));
}

} // namespace

std::optional<int> readNumber(std::string_view text, bool blankLead)
{
    std::size_t i = 0;
    if (blankLead)
        while (i < text.size() && text[i] == ' ')
            ++i;
    if (i == text.size())
        return std::nullopt;
    int value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

std::optional<int> decodeSlot(std::string_view argument)
{
    return argument.size() == 2 ? readNumber(argument, false) : std::nullopt;
}

std::optional<DateTime> decodeTime(std::string_view argument)
{
    if (argument.size() != 12)
        return std::nullopt;
    std::array<int, 6> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        const auto part = readNumber(argument.substr(2 * i, 2), false);
        if (!part)
            return std::nullopt;
        parts[i] = *part;
    }
    const DateTime time{2000 + parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
    if (!time.isValid())
        return std::nullopt;
    return time;
}

std::optional<int> decodeThreshold(std::string_view argument)
{
    return argument.size() == 2 ? inRange(readNumber(argument, true), 12, 35) : std::nullopt;
}

std::optional<int> decodeDuration(std::string_view argument)
{
    return argument.size() == 2 ? inRange(readNumber(argument, true), 2, 10) : std::nullopt;
}

std::optional<Identity> decodeIdentity(std::string_view argument)
{
    // Fixed places: date 0-5, job 7-30, location 32-55, spare 57-72, commas after each.
    if (argument.size() != 74 || argument[6] != ',' || argument[31] != ',' || argument[56] != ','
        || argument[73] != ',')
        return std::nullopt;
    const std::string_view date = argument.substr(0, 6);
    if (!readNumber(date, false))
        return std::nullopt;
    const DateTime check{2000 + *readNumber(date.substr(0, 2), false), *readNumber(date.substr(2, 2), false),
                         *readNumber(date.substr(4, 2), false), 0, 0, 0};
    if (!check.isValid())
        return std::nullopt;
    return Identity{std::string(date), withoutTrailingBlanks(argument.substr(7, 24)),
                    withoutTrailingBlanks(argument.substr(32, 24)),
                    withoutTrailingBlanks(argument.substr(57, 16))};
}

std::optional<Hardware> decodeHardware(std::string_view argument)
{
    struct FieldRule {
        std::size_t width;
        bool blankLead;
        int lo;
        int hi;
    };
    // threshold, duration, FSD code, phase, mode digit, hardware byte, gain, balance, balance mode
    static constexpr std::array<FieldRule, 9> rules{{{2, true, 12, 35},
                                                     {2, true, 2, 10},
                                                     {1, false, 0, 7},
                                                     {1, false, 0, 5},
                                                     {1, false, 0, 3},
                                                     {3, false, 0, 95},
                                                     {2, false, 0, 20},
                                                     {2, false, 0, 60},
                                                     {1, false, 0, 9}}};
    const auto fields = splitAtCommas(argument);
    if (fields.size() != rules.size())
        return std::nullopt;
    std::array<int, 9> values{};
    for (std::size_t i = 0; i < rules.size(); ++i) {
        if (fields[i].size() != rules[i].width)
            return std::nullopt;
        const auto value = inRange(readNumber(fields[i], rules[i].blankLead), rules[i].lo, rules[i].hi);
        if (!value)
            return std::nullopt;
        values[i] = *value;
    }
    return Hardware{values[0], values[1], values[2], values[3], values[4],
                    values[5], values[6], values[7], values[8]};
}

} // namespace mr3x::sim
