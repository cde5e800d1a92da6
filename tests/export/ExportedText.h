#pragma once
// What the export tests and the export fuzz target share: readers that take the exported text
// apart again without the exporters' own code.
#include <charconv>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace mr3x::exports::test {

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
