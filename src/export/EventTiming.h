#pragma once
// When an event's samples were taken. The head of an event holds the moment the unit triggered,
// to the second: year (from 2000), month and day, then hour, minute and second, the order in
// which the unit keeps its clock and the program names its TDR tests. The recording samples 80
// groups a cycle of the line frequency (4,000 a second at 50 Hz), and its pre/post code says how
// many eighths of the 800 groups come before the trigger: code 0 ("7/1") seven eighths, code 7
// ("0/8") none. So the first group lies that many groups before the trigger.
#include "events/EventRecord.h"

#include <optional>
#include <string>

namespace mr3x::exports {

inline constexpr int kGroupsPerCycle = 80;
inline constexpr int kGroupsPerEighth = events::kSampleGroups / 8;

/// A calendar date and time of day, with the microseconds of the second.
struct CivilTime {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
    int microsecond = 0;
    friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

/// The trigger moment the head holds; nothing when its six bytes are no calendar date and time
/// of day (a year byte above 99, month 13, 30 February, hour 24 ...).
std::optional<CivilTime> triggerTime(const events::EventRecord& record);

/// The time `microseconds` later (earlier when negative), across days, months and years.
CivilTime addMicroseconds(const CivilTime& time, long long microseconds);

/// Groups recorded before the trigger: (7 - pre/post code) x 100, from 700 down to 0. The trigger
/// is the group of that index (counted from 0).
int preTriggerGroups(const events::EventRecord& record);

/// Sample groups a second at a line frequency: 80 a cycle.
double samplesPerSecond(int lineFrequency);

/// Microseconds from the first group to group `index` at that rate, rounded to whole ones.
long long groupMicroseconds(int index, double rate);

struct EventTiming {
    double rate = 0;            // groups a second
    int triggerGroup = 0;       // index of the trigger's group, from 0
    CivilTime firstSample;      // when group 0 was taken
    CivilTime trigger;          // when the unit triggered (the head's time)
};

/// The event's timing at a line frequency; nothing when the head holds no calendar time.
std::optional<EventTiming> eventTiming(const events::EventRecord& record, int lineFrequency);

/// "2026-12-06 12:00:00": the date and time as a report shows them (no fraction).
std::string isoText(const CivilTime& time);

} // namespace mr3x::exports
