#pragma once
// What the export tests and the export fuzz target share: an event of a known moment, and readers
// that take the exported text apart again without the exporters' own code.
#include "events/EventBytes.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace mr3x::exports::test {

/// An M-R32 (version 2) TDR-mode event triggered by the current at `when` (year from 2000, month,
/// day, hour, minute, second), every sample at its channel's zero level.
inline events::EventRecord datedRecord(int fsdCode, int prePostCode,
                                       std::array<std::uint8_t, 6> when = {26, 12, 6, 12, 0, 0})
{
    events::EventRecord r = events::test::constantRecord({129, 129, 129, 124});
    std::copy(when.begin(), when.end(), r.head.begin());
    r.head[6] = 4;
    r.head[7] = std::uint8_t(fsdCode);
    r.trailer.bytes[8] = std::uint8_t(prePostCode << 5);
    r.trailer.bytes[10] = 3;
    r.trailer.bytes[18] = 210;
    return r;
}

/// The lines of a text; nothing unless every line ends in CR LF and holds no other CR or LF.
inline std::optional<std::vector<std::string>> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find("\r\n", start);
        if (end == std::string::npos)
            return std::nullopt;
        lines.push_back(text.substr(start, end - start));
        if (lines.back().find_first_of("\r\n") != std::string::npos)
            return std::nullopt;
        start = end + 2;
    }
    return lines;
}

/// The comma-separated fields of a line; one that ends in a comma has an empty last field.
inline std::vector<std::string> cells(const std::string& line)
{
    std::vector<std::string> out;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, ','))
        out.push_back(cell);
    if (!line.empty() && line.back() == ',')
        out.emplace_back();
    return out;
}

/// A number written plainly and whole (no blanks, no "+"); nothing for anything else.
inline std::optional<double> plainNumber(const std::string& text)
{
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

} // namespace mr3x::exports::test
