#include "sim/Recorder.h"

#include "sim/Waveforms.h"

#include <algorithm>

namespace mr3x::sim {

namespace {

constexpr double kMetresPerUnit = 0.81;        // at 54.0 % of light speed, 10 ns a plot unit
constexpr std::int64_t kWeekSeconds = 7 * 86400;
constexpr std::int64_t kRecentSeconds = 3600;  // the newest event is at least an hour old
constexpr int kPulseBlocks = 64;
constexpr double kTrsStep = 45.0;

// Salts that keep the random streams of different recordings apart.
constexpr std::uint64_t kEventSalt = 1;
constexpr std::uint64_t kTimesSalt = 500;
constexpr std::uint64_t kManualSalt = 1000;
constexpr std::uint64_t kTraceSalt = 2000;

/// An M-S32 keeps every event in the long form; other models keep every fourth in the short.
bool isShortSlot(Model model, int slot)
{
    return model != Model::MS32 && slot % 4 == 3;
}

} // namespace

Recorder::Recorder(Model model, std::uint64_t seed, double faultDistanceM)
    : model_(model), random_(seed), faultDistanceM_(faultDistanceM)
{
}

double Recorder::launchUnits(const UnitSettings& settings)
{
    return settings.longRange() ? 21.0 : 25.0;
}

double Recorder::reflectionUnits(const UnitSettings& settings) const
{
    const double scale = settings.longRange() ? 2.0 : 1.0;
    return launchUnits(settings) + faultDistanceM_ / (kMetresPerUnit * scale);
}

Recorder::TraceArea Recorder::eventTraceArea(const UnitSettings& settings, SimRandom& random) const
{
    if (!settings.tdrMode()) {
        const int injection = random.between(1000, 7000);
        return {trsTrace(random, injection, kTrsStep), injection};
    }
    // The injection names the pulse block the trigger fell in (block R starts at 128 R); the
    // viewer works out each block's place in the interleave from it, so the sweeps are sampled
    // to match: block k is (phase + k) mod 4 quarter samples late, phase = 4 - R mod 4.
    const int block = random.between(1, 60);
    const int injection = 128 * block - 1;
    const int phase = 4 - block % 4;
    const TdrScene scene{settings.pulseOn(), settings.pulseWidth(), static_cast<double>(settings.gain),
                         launchUnits(settings), reflectionUnits(settings)};
    return {tdrSweeps(scene, random, kPulseBlocks, [phase](int k) { return (phase + k) % 4; }), injection};
}

Bytes Recorder::eventRecord(const UnitSettings& settings, const DateTime& when, std::uint8_t source,
                            bool longForm, int recordNumber, SimRandom& random, bool withDip) const
{
    Disturbance dip;
    if (withDip) {
        dip.dipChannel = source >= 1 && source <= 3 ? source - 1 : random.between(0, 2);
        dip.startGroup = random.between(100, 200);
        dip.groups = random.between(2, 8) * kGroupsPerCycle;
        dip.remaining = 0.3 + 0.5 * random.unit();
    } else {
        dip.groups = 0;
    }
    const Bytes samples = mainsSamples(random, dip);
    TraceArea area;
    if (longForm)
        area = eventTraceArea(settings, random);
    const Bytes trailer = makeTrailer(model_, settings, {when, area.injection, recordNumber});
    return makeEventRecord(when, source, static_cast<std::uint8_t>(settings.fsdCode), samples,
                           longForm ? &area.samples : nullptr, trailer);
}

std::vector<StoredEvent> Recorder::storedEvents(int count, const DateTime& now, const UnitSettings& settings) const
{
    SimRandom times = random_.fork(kTimesSalt);
    std::vector<std::int64_t> ages;
    for (int i = 0; i < count; ++i)
        ages.push_back(kRecentSeconds + static_cast<std::int64_t>(times.unit() * (kWeekSeconds - kRecentSeconds)));
    std::sort(ages.begin(), ages.end(), std::greater<>());  // slot 0 holds the oldest

    std::vector<StoredEvent> events;
    for (int slot = 0; slot < count; ++slot) {
        SimRandom random = random_.fork(kEventSalt + static_cast<std::uint64_t>(slot));
        const DateTime when = DateTime::fromSeconds(now.toSeconds() - ages[static_cast<std::size_t>(slot)]);
        const auto source = static_cast<std::uint8_t>(random.between(1, kTriggerCurrent));
        events.push_back({when, eventRecord(settings, when, source, !isShortSlot(model_, slot), slot, random, true)});
    }
    return events;
}

Bytes Recorder::manualRecording(const UnitSettings& settings, const DateTime& when, int recordNumber,
                                int sequence) const
{
    SimRandom random = random_.fork(kManualSalt + static_cast<std::uint64_t>(sequence));
    return eventRecord(settings, when, kTriggerManual, true, recordNumber, random, false);
}

Bytes Recorder::testTrace(const UnitSettings& settings, const DateTime& when, int recordNumber, int sequence) const
{
    SimRandom random = random_.fork(kTraceSalt + static_cast<std::uint64_t>(sequence));
    if (!settings.tdrMode()) {
        const int injection = random.between(1000, 7000);
        const Bytes trailer = makeTrailer(model_, settings, {when, injection, recordNumber});
        return makeTraceFile(trsTrace(random, injection, kTrsStep), trailer);
    }
    // A test trace is four sweeps, sweep i sampled i quarter samples late.
    const TdrScene scene{settings.pulseOn(), settings.pulseWidth(), static_cast<double>(settings.gain),
                         launchUnits(settings), reflectionUnits(settings)};
    const Bytes trailer = makeTrailer(model_, settings, {when, 0, recordNumber});
    return makeTraceFile(tdrSweeps(scene, random, 4, [](int k) { return k; }), trailer);
}

} // namespace mr3x::sim
