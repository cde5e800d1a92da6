#include "tdr/CableTypeTable.h"

#include "common/Rounding.h"
#include "common/Text.h"
#include "tdr/Distance.h"

#include <algorithm>
#include <cctype>
#include <cmath>

namespace mr3x::tdr {

namespace {

bool isNote(std::string_view trimmed)
{
    return !trimmed.empty() && trimmed.front() == '#';
}

/// The name and speed texts of a type's line: split at its last comma.
std::optional<std::pair<std::string, std::string>> splitLine(std::string_view line)
{
    const std::size_t comma = line.rfind(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    return std::pair{trim(line.substr(0, comma)), trim(line.substr(comma + 1))};
}

bool isNumberText(std::string_view text)
{
    bool digits = false, point = false;
    for (const char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)))
            digits = true;
        else if (c == '.' && !point)
            point = true;
        else
            return false;
    }
    return digits;
}

std::optional<CableType> typeOfLine(std::string_view line, std::string& reason)
{
    const auto fields = splitLine(line);
    if (!fields) {
        reason = "it has no comma between the name and the speed";
        return std::nullopt;
    }
    if (const auto problem = cableNameProblem(fields->first)) {
        reason = *problem;
        return std::nullopt;
    }
    const std::optional<int> speed = speedOfPercentText(fields->second);
    if (!speed) {
        reason = "\"" + fields->second + "\" is not a speed from 30.0 to 100.0%";
        return std::nullopt;
    }
    return CableType{fields->first, *speed};
}

} // namespace

std::optional<int> speedOfPercentText(std::string_view text)
{
    std::string number = trim(text);
    if (!number.empty() && number.back() == '%')
        number = trim(std::string_view(number).substr(0, number.size() - 1));
    if (!isNumberText(number))
        return std::nullopt;
    const long long tenths = roundHalfAway(leadingNumber(number) * 10);
    if (tenths < kSpeedMin || tenths > kSpeedMax)
        return std::nullopt;
    return int(tenths);
}

std::string percentText(int speed)
{
    return std::to_string(speed / 10) + "." + std::to_string(std::abs(speed % 10));
}

std::string cableTypeLine(const CableType& type)
{
    return type.name + "," + percentText(type.speed);
}

std::optional<std::string> cableNameProblem(std::string_view name)
{
    const std::string trimmed = trim(name);
    if (trimmed.empty())
        return "it has no name";
    if (isNote(trimmed))
        return "a name cannot start with \"#\"";
    if (trimmed.size() > kCableNameMax)
        return "a name has at most " + std::to_string(kCableNameMax) + " characters";
    if (std::any_of(trimmed.begin(), trimmed.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; }))
        return "a name cannot hold control characters";
    return std::nullopt;
}

CableTable readCableTable(const std::vector<std::string>& lines)
{
    CableTable table;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string trimmed = trim(lines[i]);
        if (trimmed.empty() || isNote(trimmed))
            continue;
        std::string reason;
        std::optional<CableType> type = typeOfLine(trimmed, reason);
        if (type) {
            const bool listed = std::any_of(table.types.begin(), table.types.end(),
                                            [&](const CableType& t) { return equalsNoCase(t.name, type->name); });
            if (listed) {
                reason = "\"" + type->name + "\" is listed on an earlier line";
                type.reset();
            }
        }
        if (type)
            table.types.push_back(std::move(*type));
        else
            table.broken.push_back({int(i) + 1, lines[i], reason});
    }
    return table;
}

std::vector<std::string> shippedCableTable()
{
    return {
        "# Cable types for the propagation speed: a name, a comma, and the speed in percent of the",
        "# speed of light (30.0 to 100.0). Lines starting with # are notes. Edit freely; the",
        "# figures below are starting points, and \"Calibrate...\" on a known length does better.",
        "XLPE,63.2",
        "TR-XLPE,67.0",
        "PE,65.9",
        "EPR,57.7",
        "Paper (mass-impregnated),50.0",
        "Paper (oil-filled),52.7",
    };
}

std::vector<std::string> withCableType(const std::vector<std::string>& lines, const CableType& type)
{
    std::vector<std::string> out = lines;
    for (std::string& line : out) {
        const std::string trimmed = trim(line);
        if (trimmed.empty() || isNote(trimmed))
            continue;
        const auto fields = splitLine(trimmed);
        if (fields && equalsNoCase(fields->first, trim(type.name))) {
            line = cableTypeLine(type);
            return out;
        }
    }
    out.push_back(cableTypeLine(type));
    return out;
}

} // namespace mr3x::tdr
