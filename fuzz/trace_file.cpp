// Trace files as the TDR tests panel reads them, whatever their bytes and names, and the points
// the viewer would draw from what was read.
//
// The input's first byte gives the length of a file name, which follows; four bytes then choose
// the pulse block, the injection phase's offset, Plotstart and the alignment; the rest is the
// file.
//
// What must hold whatever the file and its name hold:
// - a TDR record exactly when the file holds 629 bytes or more, a TRS record from 8309, each
//   the file's own bytes; the kind follows "TRS" in the path;
// - a legacy trailer exactly when the file reaches past the samples its name announces, the
//   117 bytes found there;
// - a legacy name is one safe file name "dd-dd-dd dd-dd-dd (<name up to its first '.'>).TDR",
//   its middle the name's own characters but for the ones that would lead elsewhere;
// - the interleaved points of a manual test are its samples reordered; an event's pulse blocks
//   give 128 points each while they lie within the 64, and nothing past the trace is read;
// - every TRS line point lies in its window and on the trace, drawn at its own sample.
#include "FuzzCheck.h"
#include "common/Text.h"
#include "tdr/Locator.h"
#include "tdr/TdrPlot.h"
#include "tdr/TestNames.h"
#include "tdr/TraceRecord.h"

#include <algorithm>
#include <cctype>
#include <string>

using namespace mr3x;
using namespace mr3x::tdr;

namespace {

struct DrawChoices {
    int pulse;      // -4..67, past both ends of the 64 blocks
    int phase;      // any small number, as a damaged injection could give
    int plotStart;  // -20..235
    int align;      // -128..127, past the bars' -100..100
};

DrawChoices drawChoices(fuzz::Input& in)
{
    DrawChoices c{};
    c.pulse = in.byte() % 72 - 4;
    c.phase = static_cast<std::int8_t>(in.byte());
    c.plotStart = in.byte() - 20;
    c.align = static_cast<std::int8_t>(in.byte());
    return c;
}

bool sameBytes(std::span<const std::uint8_t> read, std::span<const std::uint8_t> file)
{
    return std::equal(read.begin(), read.end(), file.begin(), file.end());
}

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

bool isStem(std::string_view name)
{
    for (std::size_t i = 0; i < 17; ++i) {
        const char c = name[i];
        const bool ok = i == 8 ? c == ' ' : (i % 3 == 2 ? c == '-' : std::isdigit(static_cast<unsigned char>(c)) != 0);
        if (!ok)
            return false;
    }
    return true;
}

void checkLegacy(std::string_view name, std::span<const std::uint8_t> file)
{
    const std::string_view base = legacyBaseName(name);
    FUZZ_CHECK(!contains(base, "."));
    const std::size_t at = contains(base, "TRS") ? kTrsSamples : kTdrSamples;
    const std::optional<events::RecordTrailer> trailer = legacyTrailer(name, file);
    FUZZ_CHECK(trailer.has_value() == (file.size() >= at + events::kTrailerBytes));
    if (trailer)
        FUZZ_CHECK(sameBytes(trailer->bytes, file.subspan(at, events::kTrailerBytes)));

    const std::string converted = legacyTraceName(name, trailer.value_or(events::RecordTrailer::from(file)));
    FUZZ_CHECK(isSafeName(converted));
    FUZZ_CHECK(converted.size() == 17 + 2 + base.size() + 5);
    FUZZ_CHECK(isStem(converted));
    FUZZ_CHECK(converted.substr(17, 2) == " (");
    FUZZ_CHECK(converted.ends_with(").TDR"));
    for (std::size_t i = 0; i < base.size(); ++i) {
        const char c = base[i], kept = converted[19 + i];
        FUZZ_CHECK(kept == c || (kept == '_' && std::string_view("/\\:\0", 4).find(c) != std::string_view::npos));
    }
}

void checkPolylineX(const Polyline& line, double first, double last)
{
    for (std::size_t i = 2; i < line.size(); ++i)  // past the lead-in
        FUZZ_CHECK(line[i].x >= first && line[i].x <= last);
}

void checkManual(const TdrTrace& trace, const DrawChoices& c)
{
    const std::array<std::uint8_t, 512> points = interleaveManual(trace.samples);
    std::array<std::uint8_t, 512> in = trace.samples, out = points;
    std::sort(in.begin(), in.end());
    std::sort(out.begin(), out.end());
    FUZZ_CHECK(in == out);
    for (const bool interlace : {false, true}) {
        const Polyline line = manualTrace(points, c.plotStart, c.align, interlace);
        FUZZ_CHECK(line.size() >= 2 && line[0] == (PlotPoint{0, 128}));
        checkPolylineX(line, std::max(1, c.plotStart), 512);
        for (std::size_t i = 2; i < line.size(); ++i)
            FUZZ_CHECK(line[i].y == points[static_cast<std::size_t>(line[i].x) - 1] + c.align);
    }
}

void checkTrs(std::span<const std::uint8_t, 8192> samples, const events::RecordTrailer& trailer, const DrawChoices& c)
{
    // The trace taken for an event's trace area, shown from any pulse.
    const int phase = injectionPhase(trailer.injection()) + c.phase;
    FUZZ_CHECK(injectionPhase(trailer.injection()) >= 1 && injectionPhase(trailer.injection()) <= 4);
    const Interleaved points = interleaveEvent(samples, c.pulse, phase);
    int blocks = 0;
    for (int k = 0; k < 4; ++k)
        blocks += c.pulse + k >= 0 && c.pulse + k < 64 ? 1 : 0;
    FUZZ_CHECK(std::count(points.present.begin(), points.present.end(), true) == 128 * blocks);
    checkPolylineX(eventInterlaced(points, c.plotStart, c.align), std::max(1, c.plotStart), 512);
    const Polyline sweep = eventSweep(samples, c.pulse, c.plotStart, c.align);
    FUZZ_CHECK(sweep.empty() == (c.pulse < 0 || c.pulse > 63 || c.plotStart / 4 > 128));

    // The Master and Slave lines of a window the locator could open.
    const LockResult lock = lockTraces(c.phase * 97, c.align, trailer.injection() % 8192 + 0.5);
    FUZZ_CHECK(lock.panPosition >= kPanMin && lock.panPosition <= kPanMax);
    const int width = c.pulse < 32 ? kLockedWidth : kUnlockedWidth;
    const Polyline slave = trsSlaveLine(samples, lock.panPosition, width, lock.slaveOffset, c.align);
    for (const PlotPoint& p : slave) {
        const long long sample = static_cast<long long>(p.x) + lock.slaveOffset;
        FUZZ_CHECK(p.x >= lock.panPosition && p.x <= lock.panPosition + width);
        FUZZ_CHECK(sample >= 1 && sample <= 8191);
        FUZZ_CHECK(p.y == samples[static_cast<std::size_t>(sample - 1)] + c.align);
    }
    const Polyline master = trsMasterLine(samples, lock.panPosition, width, c.align);
    FUZZ_CHECK(!master.empty());
    for (const PlotPoint& p : master)
        FUZZ_CHECK(p.x >= 1 && p.x <= 8191 && p.y == samples[static_cast<std::size_t>(p.x) - 1] + c.align);
    FUZZ_CHECK(trsTestLine(samples, c.align).size() == 8191);

    for (int index = 0; index < 4; ++index) {
        const LocateResult at = locateWindow(index, trailer.injection(), lock.slaveOffset);
        FUZZ_CHECK(at.inRange == (at.windowStart >= 1 && at.windowStart <= kPanMax));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::vector<std::uint8_t> nameBytes = in.bytes(in.byte());
    const std::string name(nameBytes.begin(), nameBytes.end());
    const DrawChoices choices = drawChoices(in);
    const std::vector<std::uint8_t> fileBytes = in.bytes(in.left());
    const std::span<const std::uint8_t> file(fileBytes);

    FUZZ_CHECK((traceKindOfPath(name) == TraceKind::Trs) == contains(name, "TRS"));

    const std::optional<TdrTrace> tdr = readTdrTrace(file);
    FUZZ_CHECK(tdr.has_value() == (file.size() >= kTdrTraceBytes));
    if (tdr) {
        FUZZ_CHECK(sameBytes(tdr->samples, file.first(kTdrSamples)));
        FUZZ_CHECK(sameBytes(tdr->trailer.bytes, file.subspan(kTdrSamples, events::kTrailerBytes)));
        checkManual(*tdr, choices);
    }
    const std::optional<TrsTrace> trs = readTrsTrace(file);
    FUZZ_CHECK(trs.has_value() == (file.size() >= kTrsTraceBytes));
    if (trs) {
        FUZZ_CHECK(sameBytes(trs->samples, file.first(kTrsSamples)));
        FUZZ_CHECK(sameBytes(trs->trailer.bytes, file.subspan(kTrsSamples, events::kTrailerBytes)));
        checkTrs(trs->samples, trs->trailer, choices);
    }

    checkLegacy(name, file);
    return 0;
}
