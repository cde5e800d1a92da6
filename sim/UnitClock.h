#pragma once
// The unit's real-time clock: a calendar date and time that runs on with the link's time base
// and is set by the time command.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mr3x::sim {

/// A calendar date and time of day, as the unit keeps it (no time zone).
struct DateTime {
    int year = 2026;
    int month = 12;
    int day = 6;
    int hour = 12;
    int minute = 0;
    int second = 0;

    bool operator==(const DateTime&) const = default;

    /// True for a real calendar date (leap years included) and a time of day.
    bool isValid() const;
    /// Seconds since 1970-01-01 00:00:00 on the unit's calendar.
    std::int64_t toSeconds() const;
    static DateTime fromSeconds(std::int64_t seconds);
    /// "YYYY-MM-DD hh:mm:ss"; nothing for any other form or an impossible date.
    static std::optional<DateTime> parse(std::string_view text);
    /// "YYYY-MM-DD hh:mm:ss".
    std::string text() const;
};

class UnitClock {
public:
    explicit UnitClock(DateTime start = {}, std::int64_t atMs = 0) { set(start, atMs); }

    /// The clock reads `time` at link time `atMs` and runs on from there.
    void set(const DateTime& time, std::int64_t atMs);
    DateTime at(std::int64_t nowMs) const;

private:
    std::int64_t baseSeconds_ = 0;
    std::int64_t baseMs_ = 0;
};

} // namespace mr3x::sim
