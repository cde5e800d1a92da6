#include "sim/UnitClock.h"

#include <chrono>
#include <cstdio>

namespace mr3x::sim {

namespace {

std::chrono::year_month_day calendarDate(const DateTime& t)
{
    return std::chrono::year_month_day(std::chrono::year(t.year),
                                       std::chrono::month(static_cast<unsigned>(t.month)),
                                       std::chrono::day(static_cast<unsigned>(t.day)));
}

// Floor division, so times before 1970 still split into a day and a time of day.
std::int64_t floorDiv(std::int64_t a, std::int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

bool DateTime::isValid() const
{
    if (month < 1 || month > 12 || day < 1 || day > 31)
        return false;
    return calendarDate(*this).ok() && hour >= 0 && hour < 24 && minute >= 0 && minute < 60
        && second >= 0 && second < 60;
}

std::int64_t DateTime::toSeconds() const
{
    const std::chrono::sys_days days(calendarDate(*this));
    return static_cast<std::int64_t>(days.time_since_epoch().count()) * 86400 + hour * 3600
        + minute * 60 + second;
}

DateTime DateTime::fromSeconds(std::int64_t seconds)
{
    const std::int64_t dayNumber = floorDiv(seconds, 86400);
    const std::int64_t inDay = seconds - dayNumber * 86400;
    const std::chrono::year_month_day date{
        std::chrono::sys_days(std::chrono::days(static_cast<int>(dayNumber)))};
    DateTime t;
    t.year = static_cast<int>(date.year());
    t.month = static_cast<int>(static_cast<unsigned>(date.month()));
    t.day = static_cast<int>(static_cast<unsigned>(date.day()));
    t.hour = static_cast<int>(inDay / 3600);
    t.minute = static_cast<int>(inDay / 60 % 60);
    t.second = static_cast<int>(inDay % 60);
    return t;
}

std::optional<DateTime> DateTime::parse(std::string_view text)
{
    // Fixed layout: digits at every place but the separators.
    static constexpr std::string_view layout = "dddd-dd-dd dd:dd:dd";
    if (text.size() != layout.size())
        return std::nullopt;
    for (std::size_t i = 0; i < layout.size(); ++i) {
        const bool digitWanted = layout[i] == 'd';
        const bool isDigit = text[i] >= '0' && text[i] <= '9';
        if (digitWanted != isDigit || (!digitWanted && text[i] != layout[i]))
            return std::nullopt;
    }
    auto number = [&](std::size_t at, std::size_t width) {
        int value = 0;
        for (std::size_t i = at; i < at + width; ++i)
            value = value * 10 + (text[i] - '0');
        return value;
    };
    DateTime t{number(0, 4), number(5, 2), number(8, 2), number(11, 2), number(14, 2), number(17, 2)};
    if (!t.isValid())
        return std::nullopt;
    return t;
}

std::string DateTime::text() const
{
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                  minute, second);
    return buffer;
}

void UnitClock::set(const DateTime& time, std::int64_t atMs)
{
    baseSeconds_ = time.toSeconds();
    baseMs_ = atMs;
}

DateTime UnitClock::at(std::int64_t nowMs) const
{
    return DateTime::fromSeconds(baseSeconds_ + floorDiv(nowMs - baseMs_, 1000));
}

} // namespace mr3x::sim
