#include "tdr/Distance.h"

#include "common/Rounding.h"
#include "common/Text.h"
#include "tdr/HeldRounding.h"

#include <cmath>
#include <cstdlib>

namespace mr3x::tdr {

namespace {

constexpr std::size_t percentCharacters = 4;
constexpr double tdrMetresPerUnit = 1.5;  // at 100% and scale 1, per percent
constexpr double trsMetresPerUnit = 6.0;

/// Tenths as "##.0": one decimal, no leading zero before the point ("54.0", ".5", "-3.2").
std::string oneDecimal(long long tenths)
{
    const long long size = std::llabs(tenths);
    std::string text = tenths < 0 ? "-" : "";
    if (size >= 10)
        text += std::to_string(size / 10);
    return text + "." + std::to_string(size % 10);
}

/// n / 2 rounded half away from zero, in whole numbers.
long long halvedHalfAway(long long n)
{
    return n >= 0 ? (n + 1) / 2 : -((-n + 1) / 2);
}

} // namespace

std::string dielectricCaption(int speedValue)
{
    // P = V / 10 is V tenths; v/2 = V x 0.15 is 1.5 V tenths, kept exact in whole numbers.
    const long long percentTenths = speedValue;
    const long long halfSpeedTenths = halvedHalfAway(3LL * speedValue);
    return oneDecimal(percentTenths) + "% (v/2=" + oneDecimal(halfSpeedTenths) + "m/us)";
}

double percentFromCaption(std::string_view caption)
{
    return leadingNumber(caption.substr(0, percentCharacters));
}

double distanceMetres(double scale, double difference, double percent, bool tdrMode)
{
    return scale * difference * percent * (tdrMode ? tdrMetresPerUnit : trsMetresPerUnit) / 100;
}

std::string distanceText(double metres)
{
    return std::to_string(wholeMetres(metres)) + " m";
}

long long wholeMetres(double metres)
{
    return roundHalfAway(held(metres));
}

long long readoutMetres(double scale, double difference, int speed, bool tdrMode)
{
    return wholeMetres(distanceMetres(scale, difference, percentFromCaption(dielectricCaption(speed)), tdrMode));
}

long long cursorPosition(double x)
{
    return static_cast<long long>(std::floor(held(x) + 0.5));
}

std::string cursorText(long long position)
{
    return (position < 0 ? "" : " ") + std::to_string(position);
}

double clampCursorX(double x)
{
    if (!(x >= kCursorMin))  // NaN too
        return kCursorMin;
    return x > kCursorMax ? kCursorMax : x;
}

} // namespace mr3x::tdr
