#include "sim/Recorder.h"

#include "sim/TracePictures.h"
#include "sim/Waveforms.h"

#include <algorithm>

namespace mr3x::sim {

namespace {

constexpr std::int64_t kWeekSeconds = 7 * 86400;
constexpr std::int64_t kRecentSeconds = 3600;  // the newest event is at least an hour old
// The TRS pair's event falls within six hours after that; the unit's other events at least ten
// minutes before it.
constexpr std::int64_t kPairWindowSeconds = 6 * 3600;
constexpr std::int64_t kPairGapSeconds = 600;
constexpr int kPulseBlocks = 64;
// A TDR event's injection block: late enough for four blocks of the healthy cable before it,
// early enough for four blocks of the fault from it.
constexpr int kFirstInjectionBlock = 4;
constexpr int kLastInjectionBlock = kPulseBlocks - 4;

// Salts that keep the random streams of different recordings apart.
constexpr std::uint64_t kEventSalt = 1;
constexpr std::uint64_t kTimesSalt = 500;
constexpr std::uint64_t kManualSalt = 1000;
constexpr std::uint64_t kTraceSalt = 2000;
constexpr std::uint64_t kPairSalt = 3000;
constexpr std::uint64_t kRoleSalt = 4000;

/// An M-S32 keeps every event in the long form; other models keep every fourth in the short.
bool isShortSlot(Model model, int slot)
{
    return model != Model::MS32 && slot % 4 == 3;
}

/// The two units of a TRS pair share a seed but are two units: each records its own events.
SimRandom ownStream(std::uint64_t seed, TrsRole role)
{
    const SimRandom base(seed);
    return role == TrsRole::None ? base : base.fork(kRoleSalt + static_cast<std::uint64_t>(role));
}

} // namespace

UnitSettings armedForTrs(UnitSettings settings, TrsRole role)
{
    if (role == TrsRole::None)
        return settings;
    if (settings.tdrMode())
        settings.mode -= 2;
    constexpr int kPulseBit = 2;
    settings.hardware = role == TrsRole::Master ? (settings.hardware | kPulseBit) : (settings.hardware & ~kPulseBit);
    return settings;
}

Recorder::Recorder(Model model, std::uint64_t seed, const Cable& cable, TrsRole role)
    : model_(model), cable_(cable), role_(role), random_(ownStream(seed, role)),
      pairRandom_(SimRandom(seed).fork(kPairSalt))
{
}

Recorder::TraceArea Recorder::tdrArea(const UnitSettings& settings, SimRandom& random) const
{
    // The injection names the pulse block the trigger fell in (block R ends at sample 128 R - 1):
    // the arc strikes there, so the blocks before it show the healthy cable and the blocks from
    // it the fault as well. The viewer works out each block's place in the interleave from the
    // injection, so the blocks are sampled to match: block k leads by (phase + k) mod 4 plot
    // units, phase = 4 - R mod 4.
    const int arcBlock = random.between(kFirstInjectionBlock, kLastInjectionBlock);
    const int phase = 4 - arcBlock % 4;
    std::vector<TracePulse> healthy;
    std::vector<TracePulse> faulted;
    if (settings.pulseOn()) {
        healthy = tdrPicture(ownShot(cable_, role_, false), settings);
        faulted = tdrPicture(ownShot(cable_, role_, true), settings);
    }
    TraceArea area{{}, 128 * arcBlock - 1};
    area.samples.reserve(kTraceAreaBytes);
    for (int k = 0; k < kPulseBlocks; ++k) {
        const Bytes block = tdrBlock(k < arcBlock ? healthy : faulted, (phase + k) % 4, random);
        area.samples.insert(area.samples.end(), block.begin(), block.end());
    }
    return area;
}

Recorder::TraceArea Recorder::trsArea(const UnitSettings& settings, SimRandom& random) const
{
    // A unit that shoots alone sees its own pulse come back; with the pulse off, a quiet line.
    const int injection = random.between(kFirstTrsInjection, kLastTrsInjection);
    const std::vector<Arrival> arrivals = settings.pulseOn() ? ownShot(cable_, role_, true) : std::vector<Arrival>{};
    return {trsSamples(trsPicture(arrivals, settings, injection), random), injection};
}

Recorder::TraceArea Recorder::pairArea(const UnitSettings& settings, SimRandom& random) const
{
    // Both ends draw both injections in the same order, so the pair agrees whichever end this is.
    const int master = random.between(kFirstTrsInjection, kLastTrsInjection);
    const int slave = random.between(kFirstTrsInjection, kLastTrsInjection);
    if (role_ == TrsRole::Slave)
        return {trsSamples(trsPicture(slaveView(cable_), settings, slave), random), slave};
    return {trsSamples(trsPicture(ownShot(cable_, TrsRole::Master, true), settings, master), random), master};
}

Bytes Recorder::eventRecord(const UnitSettings& settings, const DateTime& when, std::uint8_t source, Area area,
                            int recordNumber, SimRandom& random, bool withDip) const
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
    TraceArea trace;
    if (area == Area::Pair)
        trace = pairArea(settings, random);
    else if (area == Area::Own)
        trace = settings.tdrMode() ? tdrArea(settings, random) : trsArea(settings, random);
    const Bytes trailer = makeTrailer(model_, settings, {when, trace.injection, recordNumber});
    return makeEventRecord(when, source, static_cast<std::uint8_t>(settings.fsdCode), samples,
                           area != Area::None ? &trace.samples : nullptr, trailer);
}

std::vector<std::int64_t> Recorder::eventAges(int count, std::int64_t youngest) const
{
    SimRandom times = random_.fork(kTimesSalt);
    std::vector<std::int64_t> ages;
    for (int i = 0; i < count; ++i)
        ages.push_back(youngest + static_cast<std::int64_t>(times.unit() * static_cast<double>(kWeekSeconds - youngest)));
    return ages;
}

std::vector<StoredEvent> Recorder::storedEvents(int count, const DateTime& now, const UnitSettings& earlier,
                                                const UnitSettings& current) const
{
    const bool holdsPair = role_ != TrsRole::None && count > 0;
    SimRandom pair = pairRandom_;
    std::vector<std::int64_t> ages;
    if (holdsPair) {
        const auto pairAge = kRecentSeconds + static_cast<std::int64_t>(pair.unit() * kPairWindowSeconds);
        ages = eventAges(count - 1, pairAge + kPairGapSeconds);
        ages.push_back(pairAge);
    } else {
        ages = eventAges(count, kRecentSeconds);
    }
    std::sort(ages.begin(), ages.end(), std::greater<>());  // slot 0 holds the oldest

    std::vector<StoredEvent> events;
    for (int slot = 0; slot < count; ++slot) {
        const DateTime when = DateTime::fromSeconds(now.toSeconds() - ages[static_cast<std::size_t>(slot)]);
        if (holdsPair && slot == count - 1) {
            events.push_back({when, eventRecord(current, when, kTriggerTrs, Area::Pair, slot, pair, true)});
            continue;
        }
        SimRandom random = random_.fork(kEventSalt + static_cast<std::uint64_t>(slot));
        const auto source = static_cast<std::uint8_t>(random.between(1, kTriggerCurrent));
        const Area area = isShortSlot(model_, slot) ? Area::None : Area::Own;
        events.push_back({when, eventRecord(earlier, when, source, area, slot, random, true)});
    }
    return events;
}

Bytes Recorder::manualRecording(const UnitSettings& settings, const DateTime& when, int recordNumber,
                                int sequence) const
{
    SimRandom random = random_.fork(kManualSalt + static_cast<std::uint64_t>(sequence));
    return eventRecord(settings, when, kTriggerManual, Area::Own, recordNumber, random, false);
}

Bytes Recorder::testTrace(const UnitSettings& settings, const DateTime& when, int recordNumber, int sequence) const
{
    SimRandom random = random_.fork(kTraceSalt + static_cast<std::uint64_t>(sequence));
    if (!settings.tdrMode()) {
        const TraceArea area = trsArea(settings, random);
        return makeTraceFile(area.samples, makeTrailer(model_, settings, {when, area.injection, recordNumber}));
    }
    // A test trace is four blocks, block i leading by i plot units, so they interleave in order.
    std::vector<TracePulse> picture;
    if (settings.pulseOn())
        picture = tdrPicture(ownShot(cable_, role_, true), settings);
    Bytes samples;
    for (int i = 0; i < 4; ++i) {
        const Bytes block = tdrBlock(picture, i, random);
        samples.insert(samples.end(), block.begin(), block.end());
    }
    return makeTraceFile(samples, makeTrailer(model_, settings, {when, 0, recordNumber}));
}

} // namespace mr3x::sim
