// A stored event file read into a slot's record, described for the labels, listed under each
// filter, metered at any measuring point, and the waveform's click rules at any x.
//
// The input is: a flags byte (bit 0 the form the body is laid into, bit 1 a wider spread of
// measuring points), a 16-bit measuring point, an 8-byte x, a name length and that many bytes of
// file name, then the file's body. The body is read once as it is (any length) and once laid into a file of the
// chosen form, zeros after it and its excess dropped, so every input also reaches the decoders.
//
// What must hold whatever the file holds:
// - only the two exact lengths are read, and every field comes from its place in the file, the
//   trace area staying zero for a short file;
// - every caption is short and printable; the unit and version are always set, a full-scale text
//   only for a known model, the names keep their 24 characters, the mode matches the display;
// - a list line begins with the name's first 17 characters and ends in a two-character bracket,
//   and shows exactly when the filter lets the name through;
// - the meters at any point read a point from 1 to 800 (80 in raw mode), a window of 80 groups
//   inside the recording that holds the group read, and give finite, bounded values;
// - a click picks a grid position 0 to 63 near where it was, or nothing, and a measuring point
//   from 40 (80 raw) to 760; the zoomed view of any version a record can show holds its grid;
// - the TDR presets start the plot and both cursors at 21 or 25 with a scale that matches.
// Reads outside the record are caught by AddressSanitizer.
#include "FuzzCheck.h"
#include "common/Text.h"
#include "events/EventListLines.h"
#include "events/EventParameters.h"
#include "events/EventRecord.h"
#include "events/Meters.h"
#include "events/TdrPresets.h"
#include "events/WaveformGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>

using namespace mr3x;
using namespace mr3x::events;

namespace {

constexpr std::size_t kLongestCaption = 24;

bool isPrintable(std::string_view text)
{
    return std::all_of(text.begin(), text.end(), [](char c) {
        const auto b = static_cast<unsigned char>(c);
        return (b >= 0x20 && b < 0x7F) || b >= 0xA0;
    });
}

void checkCaption(const std::optional<std::string>& caption)
{
    if (caption) {
        FUZZ_CHECK(caption->size() <= kLongestCaption);
        FUZZ_CHECK(isPrintable(*caption));
    }
}

bool sameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

void checkFields(const EventRecord& record, std::span<const std::uint8_t> file)
{
    const bool isLong = file.size() == kLongFileBytes;
    FUZZ_CHECK(sameBytes(record.head, file.subspan(0, kHeadBytes)));
    FUZZ_CHECK(sameBytes(record.samples, file.subspan(kHeadBytes, kSampleBytes)));
    if (isLong)
        FUZZ_CHECK(sameBytes(record.traceArea, file.subspan(kHeadBytes + kSampleBytes, kTraceAreaBytes)));
    else
        FUZZ_CHECK(std::all_of(record.traceArea.begin(), record.traceArea.end(), [](std::uint8_t b) { return b == 0; }));
    FUZZ_CHECK(sameBytes(record.trailer.bytes, file.subspan(*trailerOffsetForLength(file.size()), kTrailerBytes)));
}

void checkParameters(const EventRecord& record, const EventParameters& p)
{
    for (const auto* caption : {&p.unit, &p.version, &p.fsd, &p.trigChannel, &p.phase, &p.internal, &p.gain,
                                &p.longShort, &p.onOff, &p.pulseWidth, &p.preTrigger, &p.threshold, &p.duration,
                                &p.injection, &p.trailerJob, &p.trailerLocation, &p.mode})
        checkCaption(*caption);
    FUZZ_CHECK(p.unit && p.version && p.internal);
    FUZZ_CHECK(!p.fsd || isKnownModel(*p.unit));
    FUZZ_CHECK(p.trailerJob->size() == 24 && p.trailerLocation->size() == 24);
    FUZZ_CHECK(p.triggeredByTrs == (record.triggerSource() == 5));
    if (!p.mode)
        FUZZ_CHECK(p.displayMode == EventParameters::DisplayMode::Unchanged);
    else if (*p.mode == "TRS")
        FUZZ_CHECK(p.displayMode == EventParameters::DisplayMode::Trs);
    else
        FUZZ_CHECK(*p.mode == "TDR" && p.displayMode == EventParameters::DisplayMode::Tdr);

    // Whatever version a record shows, its zoomed view holds its whole marker grid.
    const int origin = markerOrigin(*p.version);
    const double start = zoomStart(*p.version);
    FUZZ_CHECK(origin >= start && gridX(kGridPositions - 1, origin) <= start + kZoomWidth);
}

void checkListLines(std::string_view name, std::uintmax_t length, const RecordTrailer* trailer)
{
    const std::string_view stem = name.substr(0, std::min(name.size(), kListStemLength));
    for (const EventFilter filter : {EventFilter::All, EventFilter::Trg, EventFilter::Vlt}) {
        const std::optional<std::string> line = eventListLine(name, length, trailer, filter);
        const bool shown = filter == EventFilter::All
                        || containsNoCase(name, filter == EventFilter::Trg ? ".TRG" : ".VLT");
        FUZZ_CHECK(line.has_value() == shown);
        if (!line)
            continue;
        FUZZ_CHECK(line->starts_with(stem));
        FUZZ_CHECK(line->size() == stem.size() + 5);
        FUZZ_CHECK(line->substr(stem.size(), 2) == " (" && line->back() == ')');
    }
}

void checkMeters(const EventRecord& record, int m, double amps)
{
    for (const bool raw : {false, true}) {
        const MeterReadings r = readMeters(record, m, raw, amps);
        FUZZ_CHECK(r.measuringPoint >= (raw ? 80 : 1) && r.measuringPoint <= kSampleGroups);
        FUZZ_CHECK(r.windowStart >= 0 && r.windowStart + kRmsWindowGroups <= kSampleGroups);
        const int group = std::min(r.measuringPoint, kSampleGroups - 1);
        FUZZ_CHECK(group >= r.windowStart && group < r.windowStart + kRmsWindowGroups);
        for (int c = 0; c < kChannels; ++c) {
            const ChannelMeter& meter = r.channel[std::size_t(c)];
            const double scale = c == kCurrentChannel ? std::abs(amps) : kVoltsPerLevel;
            const double largest = 131 * (std::isfinite(scale) ? std::min(scale, 1e12) : 0.0) + 1;
            FUZZ_CHECK(std::abs(double(meter.instant)) <= largest);
            FUZZ_CHECK(meter.rms >= 0 && double(meter.rms) <= largest);
            FUZZ_CHECK(std::isfinite(meter.rawScaled));
            FUZZ_CHECK(raw ? std::abs(meter.rawLevels) <= 131 : meter.rawLevels == 0);
            const std::string caption = meterCaption(c, meter, raw);
            FUZZ_CHECK(caption.size() <= 64 && isPrintable(caption));
        }
    }
}

void checkClicks(double x, int origin)
{
    for (const bool raw : {false, true}) {
        const int m = measuringPointAt(x, raw);
        FUZZ_CHECK(m >= (raw ? 80 : 40) && m <= 760);
    }
    if (const std::optional<int> k = gridPositionAt(x, origin)) {
        FUZZ_CHECK(*k >= 0 && *k < kGridPositions);
        const double offset = x - origin;
        FUZZ_CHECK(offset > -20.5 && offset < 20.0 * (*k + 1) + 0.5);
    }
}

void checkPresets(const RecordTrailer& trailer)
{
    const TdrPresets p = tdrPresetsFor(trailer);
    FUZZ_CHECK(p.plotStart == 21 || p.plotStart == 25);
    FUZZ_CHECK(p.cursorX == p.plotStart);
    FUZZ_CHECK(p.scale == "1" || p.scale == "2");
    if (p.longShort)
        FUZZ_CHECK(*p.longShort == (p.scale == "2" ? "800m" : "400m"));
    if (p.plotStart == 21)
        FUZZ_CHECK(p.scale == "2");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input in(data, size);
    const std::uint8_t flags = in.byte();
    const std::uint8_t high = in.byte();
    const int m = static_cast<std::int16_t>(high << 8 | in.byte());
    double x = 0;
    const std::vector<std::uint8_t> xBytes = in.bytes(sizeof x);
    if (!xBytes.empty())
        std::memcpy(&x, xBytes.data(), xBytes.size());
    const std::vector<std::uint8_t> nameBytes = in.bytes(in.byte() % 48);
    const std::string name(nameBytes.begin(), nameBytes.end());
    const std::vector<std::uint8_t> body = in.bytes(in.left());

    // The body as it is: read only when it is exactly one of the two forms.
    const std::optional<EventRecord> asIs = readEventRecord(body);
    FUZZ_CHECK(asIs.has_value() == eventFormOfLength(body.size()).has_value());
    if (asIs)
        checkFields(*asIs, body);
    checkListLines(name, body.size(), asIs ? &asIs->trailer : nullptr);

    // The body laid into a file of the chosen form.
    std::vector<std::uint8_t> file((flags & 1) != 0 ? kLongFileBytes : kShortFileBytes, 0);
    std::copy_n(body.begin(), std::min(body.size(), file.size()), file.begin());
    const std::optional<EventRecord> record = readEventRecord(file);
    FUZZ_CHECK(record.has_value());
    checkFields(*record, file);

    const EventParameters parameters = describeEvent(*record);
    checkParameters(*record, parameters);
    checkListLines(name, file.size(), &record->trailer);
    checkPresets(record->trailer);

    // The meters with the record's own full scale, and with any text read as one.
    checkMeters(*record, m, ampsPerLevel(parameters.fsd.value_or("---")));
    const double anyScale = ampsPerLevel(name);
    FUZZ_CHECK(std::isfinite(anyScale));
    checkMeters(*record, (flags & 2) != 0 ? m * 31 : m, anyScale);

    checkClicks(x, markerOrigin(*parameters.version));
    return 0;
}
