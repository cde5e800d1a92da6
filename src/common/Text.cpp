#include "common/Text.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cctype>
#include <charconv>

namespace mr3x {

std::string twoDigits(long long value)
{
    return zeroPad(std::to_string(value), 2);
}

std::string zeroPad(std::string_view text, std::size_t width)
{
    std::string padded(width, '0');
    padded.append(text);
    return padded.substr(padded.size() - width);
}

double leadingNumber(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    double sign = 1.0;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        if (text[i] == '-')
            sign = -1.0;
        ++i;
    }
    double value = 0.0;
    bool any = false;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
        value = value * 10.0 + (text[i] - '0');
        any = true;
        ++i;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        double scale = 0.1;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            value += (text[i] - '0') * scale;
            scale /= 10.0;
            any = true;
            ++i;
        }
    }
    return any ? sign * value : 0.0;
}

long long leadingInteger(std::string_view text)
{
    // A run of digits longer than any field is held to a size every range check refuses,
    // rather than overflowing the conversion.
    constexpr double limit = 1e15;
    return static_cast<long long>(std::clamp(leadingNumber(text), -limit, limit));
}

std::string fixedDecimals(double value, int places)
{
    // Room for any double in fixed notation (up to 309 digits before the point) and the decimals.
    std::array<char, 400> text{};
    const auto [end, error] =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, std::clamp(places, 0, 40));
    return error == std::errc() ? std::string(text.data(), end) : std::string("0");
}

std::vector<std::string> splitTrimmedFields(std::string_view line)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const auto comma = line.find(',', start);
        fields.push_back(trim(line.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start)));
        if (comma == std::string_view::npos)
            return fields;
        start = comma + 1;
    }
}

std::string toUpper(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return out;
}

std::string trim(std::string_view text)
{
    const auto blank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    std::size_t first = 0;
    while (first < text.size() && blank(text[first]))
        ++first;
    std::size_t last = text.size();
    while (last > first && blank(text[last - 1]))
        --last;
    return std::string(text.substr(first, last - first));
}

bool containsNoCase(std::string_view haystack, std::string_view needle)
{
    return toUpper(haystack).find(toUpper(needle)) != std::string::npos;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && toUpper(a) == toUpper(b);
}

bool isNameCharacter(char c)
{
    return static_cast<unsigned char>(c) >= 32 && std::string_view("/\\:*?\"<>|").find(c) == std::string_view::npos;
}

namespace {

/// CON, PRN, AUX, NUL, COM0..COM9 and LPT0..LPT9, in any case, with or without an extension
/// (and blanks before it, which Windows drops too).
bool isDeviceName(std::string_view name)
{
    const std::string stem = toUpper(trim(name.substr(0, name.find('.'))));
    if (stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL")
        return true;
    return stem.size() == 4 && (stem.starts_with("COM") || stem.starts_with("LPT")) && stem[3] >= '0' && stem[3] <= '9';
}

} // namespace

bool isSafeName(std::string_view name)
{
    if (name.empty() || name == "." || name == "..")
        return false;
    return std::all_of(name.begin(), name.end(), isNameCharacter) && !isDeviceName(name);
}

bool isLeftOverSaveName(std::string_view name)
{
    constexpr std::size_t kRandomLetters = 6;
    if (name.size() < kRandomLetters + 5 || name[name.size() - kRandomLetters - 1] != '.')
        return false;
    const std::string_view saved = name.substr(0, name.size() - kRandomLetters - 1);
    const std::string_view suffix = name.substr(name.size() - kRandomLetters);
    const std::string_view extension = saved.substr(saved.size() - 4);
    if (!std::ranges::any_of(std::array{".cfg", ".ini", ".bak", ".txt"},
                             [&](const char* known) { return equalsNoCase(extension, known); }))
        return false;
    const auto isUpper = [](char c) { return c >= 'A' && c <= 'Z'; };
    const auto isLetter = [&](char c) { return isUpper(c) || (c >= 'a' && c <= 'z'); };
    if (!std::ranges::all_of(suffix, isLetter))
        return false;
    const auto capitals = std::ranges::count_if(suffix, isUpper);
    const bool capitalised = capitals == 1 && isUpper(suffix.front());
    return capitals > 0 && capitals < static_cast<std::ptrdiff_t>(kRandomLetters) && !capitalised;
}

} // namespace mr3x
