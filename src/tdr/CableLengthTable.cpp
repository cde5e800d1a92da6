#include "tdr/CableLengthTable.h"

#include "common/Text.h"

#include <charconv>
#include <cmath>

namespace mr3x::tdr {

namespace {

constexpr const char* kNote = "# Cable lengths of TRS unit pairs: one unit, the other unit, the length in metres";

struct PairLine {
    std::string unit, otherUnit;
    double metres = 0;
};

std::optional<PairLine> pairOfLine(std::string_view line)
{
    const std::string trimmed = trim(line);
    if (trimmed.empty() || trimmed.front() == '#')
        return std::nullopt;
    const std::size_t first = trimmed.find(',');
    const std::size_t last = trimmed.rfind(',');
    if (first == std::string::npos || first == last)
        return std::nullopt;
    const std::optional<double> metres = cableLengthOfText(std::string_view(trimmed).substr(last + 1));
    PairLine pair{trim(std::string_view(trimmed).substr(0, first)), trim(std::string_view(trimmed).substr(first + 1, last - first - 1)),
                  metres.value_or(0)};
    if (!metres || pair.unit.empty() || pair.otherUnit.empty())
        return std::nullopt;
    return pair;
}

bool namesPair(const PairLine& line, std::string_view unit, std::string_view otherUnit)
{
    return (equalsNoCase(line.unit, unit) && equalsNoCase(line.otherUnit, otherUnit))
           || (equalsNoCase(line.unit, otherUnit) && equalsNoCase(line.otherUnit, unit));
}

} // namespace

std::optional<double> cableLengthOf(const std::vector<std::string>& lines, std::string_view unit, std::string_view otherUnit)
{
    for (const std::string& line : lines)
        if (const std::optional<PairLine> pair = pairOfLine(line); pair && namesPair(*pair, unit, otherUnit))
            return pair->metres;
    return std::nullopt;
}

std::vector<std::string> withCableLength(std::vector<std::string> lines, std::string_view unit, std::string_view otherUnit,
                                         std::optional<double> metres)
{
    const std::string line = std::string(trim(unit)) + "," + trim(otherUnit) + (metres ? "," + cableLengthText(*metres) : "");
    for (auto it = lines.begin(); it != lines.end(); ++it) {
        const std::optional<PairLine> pair = pairOfLine(*it);
        if (!pair || !namesPair(*pair, unit, otherUnit))
            continue;
        if (metres)
            *it = line;
        else
            lines.erase(it);
        return lines;
    }
    if (!metres)
        return lines;
    if (lines.empty())
        lines.emplace_back(kNote);
    lines.push_back(line);
    return lines;
}

std::optional<double> cableLengthOfText(std::string_view text)
{
    std::string number = trim(text);
    if (!number.empty() && (number.back() == 'm' || number.back() == 'M'))
        number = trim(std::string_view(number).substr(0, number.size() - 1));
    for (char& c : number)
        if (c == ',')
            c = '.';
    double metres = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), metres, std::chars_format::fixed);
    if (number.empty() || error != std::errc() || end != number.data() + number.size() || !std::isfinite(metres)
        || metres < kShortestCableM || metres > kLongestCableM)
        return std::nullopt;
    return metres;
}

std::string cableLengthText(double metres)
{
    const long long tenths = std::llround(metres * 10);
    return std::to_string(tenths / 10) + (tenths % 10 != 0 ? "." + std::to_string(tenths % 10) : "");
}

} // namespace mr3x::tdr
