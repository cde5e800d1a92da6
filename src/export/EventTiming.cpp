#include "export/EventTiming.h"

#include "common/Text.h"

#include <cmath>

namespace mr3x::exports {

namespace {

constexpr long long kMicrosecondsPerDay = 86'400'000'000LL;

bool isLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int daysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days since 1970-01-01 for a proleptic Gregorian date, and back (eras of 400 years).
long long daysFromCivil(int year, int month, int day)
{
    const long long y = year - (month <= 2 ? 1 : 0);
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yearOfEra = y - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void civilFromDays(long long days, int& year, int& month, int& day)
{
    days += 719468;
    const long long era = (days >= 0 ? days : days - 146096) / 146097;
    const long long dayOfEra = days - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long mp = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

long long floorDiv(long long a, long long b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

} // namespace

std::optional<CivilTime> triggerTime(const events::EventRecord& record)
{
    const auto& h = record.head;
    CivilTime t{2000 + h[0], h[1], h[2], h[3], h[4], h[5], 0};
    if (h[0] > 99 || t.month < 1 || t.month > 12 || t.day < 1 || t.day > daysInMonth(t.year, t.month))
        return std::nullopt;
    if (t.hour > 23 || t.minute > 59 || t.second > 59)
        return std::nullopt;
    return t;
}

CivilTime addMicroseconds(const CivilTime& time, long long microseconds)
{
    const long long ofDay =
        ((time.hour * 60LL + time.minute) * 60 + time.second) * 1'000'000 + time.microsecond + microseconds;
    const long long days = daysFromCivil(time.year, time.month, time.day) + floorDiv(ofDay, kMicrosecondsPerDay);
    long long rest = ofDay - floorDiv(ofDay, kMicrosecondsPerDay) * kMicrosecondsPerDay;
    CivilTime out;
    civilFromDays(days, out.year, out.month, out.day);
    out.microsecond = static_cast<int>(rest % 1'000'000);
    rest /= 1'000'000;
    out.second = static_cast<int>(rest % 60);
    rest /= 60;
    out.minute = static_cast<int>(rest % 60);
    out.hour = static_cast<int>(rest / 60);
    return out;
}

int preTriggerGroups(const events::EventRecord& record)
{
    return (7 - record.trailer.prePostCode()) * kGroupsPerEighth;
}

double samplesPerSecond(int lineFrequency)
{
    return double(kGroupsPerCycle) * lineFrequency;
}

long long groupMicroseconds(int index, double rate)
{
    return std::llround(index * 1e6 / rate);
}

std::optional<EventTiming> eventTiming(const events::EventRecord& record, int lineFrequency)
{
    const std::optional<CivilTime> trigger = triggerTime(record);
    if (!trigger)
        return std::nullopt;
    EventTiming timing;
    timing.rate = samplesPerSecond(lineFrequency);
    timing.triggerGroup = preTriggerGroups(record);
    timing.trigger = *trigger;
    timing.firstSample = addMicroseconds(*trigger, -groupMicroseconds(timing.triggerGroup, timing.rate));
    return timing;
}

std::string isoText(const CivilTime& t)
{
    return std::to_string(t.year) + "-" + twoDigits(t.month) + "-" + twoDigits(t.day) + " " + twoDigits(t.hour) + ":"
           + twoDigits(t.minute) + ":" + twoDigits(t.second);
}

} // namespace mr3x::exports
