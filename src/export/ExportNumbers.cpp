#include "export/ExportNumbers.h"

#include <array>
#include <charconv>
#include <cmath>

namespace mr3x::exports {

namespace {

double finiteOrZero(double value)
{
    return std::isfinite(value) ? value : 0.0;
}

} // namespace

std::string decimalText(double value)
{
    value = finiteOrZero(value);
    if (value == 0)
        return "0";
    // Fixed notation of the shortest round trip: at most a few hundred characters for any double.
    std::array<char, 400> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
    if (error != std::errc())
        return "0";
    return std::string(buffer.data(), end);
}

std::string fixedText(double value, int decimals)
{
    const double scale = std::pow(10.0, decimals);
    double rounded = std::round(finiteOrZero(value) * scale) / scale;
    if (rounded == 0)
        rounded = 0; // no "-0.00"
    std::array<char, 400> buffer{};
    const auto [end, error] =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded, std::chars_format::fixed, decimals);
    if (error != std::errc())
        return "0";
    return std::string(buffer.data(), end);
}

} // namespace mr3x::exports
