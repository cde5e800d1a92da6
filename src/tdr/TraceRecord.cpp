#include "tdr/TraceRecord.h"

#include <algorithm>

namespace mr3x::tdr {

namespace {

constexpr std::string_view trsMark = "TRS";

bool containsTrs(std::string_view text)
{
    return text.find(trsMark) != std::string_view::npos;
}

/// The samples and the trailer that follows them, when the file holds both whole.
template <typename Trace>
std::optional<Trace> readTrace(std::span<const std::uint8_t> file)
{
    Trace trace;
    const std::size_t sampleCount = trace.samples.size();
    if (file.size() < sampleCount + events::kTrailerBytes)
        return std::nullopt;
    std::copy_n(file.begin(), sampleCount, trace.samples.begin());
    trace.trailer = events::RecordTrailer::from(file.subspan(sampleCount, events::kTrailerBytes));
    return trace;
}

} // namespace

TraceKind traceKindOfPath(std::string_view path)
{
    return containsTrs(path) ? TraceKind::Trs : TraceKind::Tdr;
}

std::optional<TdrTrace> readTdrTrace(std::span<const std::uint8_t> file)
{
    return readTrace<TdrTrace>(file);
}

std::optional<TrsTrace> readTrsTrace(std::span<const std::uint8_t> file)
{
    return readTrace<TrsTrace>(file);
}

std::string_view legacyBaseName(std::string_view fileName)
{
    return fileName.substr(0, fileName.find('.'));
}

std::optional<events::RecordTrailer> legacyTrailer(std::string_view fileName, std::span<const std::uint8_t> file)
{
    const std::size_t offset = containsTrs(legacyBaseName(fileName)) ? kTrsSamples : kTdrSamples;
    if (file.size() < offset + events::kTrailerBytes)
        return std::nullopt;
    return events::RecordTrailer::from(file.subspan(offset, events::kTrailerBytes));
}

} // namespace mr3x::tdr
