#include "sim/Records.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace mr3x::sim {

namespace {

std::uint8_t byteOf(int value)
{
    return static_cast<std::uint8_t>(value & 0xFF);
}

void putDateTime(Bytes& out, const DateTime& t)
{
    for (int v : {t.year - 2000, t.month, t.day, t.hour, t.minute, t.second})
        out.push_back(byteOf(v));
}

// A fixed-width text: cut to the width, padded with blanks.
void putText(Bytes& out, const std::string& text, std::size_t width)
{
    std::string field = text.substr(0, std::min(text.size(), width));
    field.resize(width, ' ');
    out.insert(out.end(), field.begin(), field.end());
}

std::string stampText(const DateTime& t)
{
    char buffer[24];
    std::snprintf(buffer, sizeof buffer, "%02d/%02d/%02d %02d:%02d:%02d", t.day % 100, t.month % 100,
                  t.year % 100, t.hour % 100, t.minute % 100, t.second % 100);
    return buffer;
}

} // namespace

Bytes makeTrailer(Model model, const UnitSettings& s, const TrailerFacts& facts)
{
    const ModelInfo& info = modelInfo(model);
    Bytes out;
    out.reserve(kTrailerBytes);
    putDateTime(out, facts.when);                      // 0..5
    out.push_back(byteOf(s.phase));                    // 6 test code
    out.push_back(byteOf(s.gain));                     // 7
    out.push_back(byteOf(s.hardware));                 // 8 range, pulse, width, pre/post
    out.push_back(byteOf(s.balance));                  // 9
    out.push_back(byteOf(s.mode));                     // 10
    out.push_back(byteOf(s.balanceMode));              // 11 reference code
    out.push_back(byteOf(facts.injection >> 8));       // 12, 13 injection, high byte first
    out.push_back(byteOf(facts.injection));
    out.push_back(byteOf(s.threshold));                // 14
    out.push_back(byteOf(s.duration));                 // 15
    out.push_back(byteOf(facts.recordNumber));         // 16
    out.push_back(0);                                  // 17
    out.push_back(info.modelByte);                     // 18
    putText(out, info.name, 6);                        // 19..24
    out.push_back(',');                                // 25
    putText(out, s.job, kTrailerTextWidth);            // 26..49
    out.push_back(',');                                // 50
    putText(out, s.location, kTrailerTextWidth);       // 51..74
    out.push_back(',');                                // 75
    putText(out, stampText(facts.when), 17);           // 76..92
    out.push_back(',');                                // 93
    putText(out, s.simNumber, 22);                     // 94..115
    out.push_back(0);                                  // 116
    return out;
}

Bytes makeEventRecord(const DateTime& when, std::uint8_t triggerSource, std::uint8_t fsdCode,
                      const Bytes& samples, const Bytes* traceArea, const Bytes& trailer)
{
    Bytes out;
    out.reserve(traceArea != nullptr ? kLongRecordBytes : kShortRecordBytes);
    putDateTime(out, when);
    out.push_back(triggerSource);
    out.push_back(fsdCode);
    out.insert(out.end(), samples.begin(), samples.end());
    if (traceArea != nullptr)
        out.insert(out.end(), traceArea->begin(), traceArea->end());
    out.insert(out.end(), trailer.begin(), trailer.end());
    out.insert(out.end(), kSpareBytes, 0);
    return out;
}

Bytes makeTraceFile(const Bytes& samples, const Bytes& trailer)
{
    Bytes out(samples);
    out.insert(out.end(), trailer.begin(), trailer.end());
    return out;
}

Bytes makeIndex(int slots, const std::vector<IndexEntry>& entries)
{
    Bytes out(static_cast<std::size_t>(slots) * kIndexRecordBytes, 0);
    for (const IndexEntry& entry : entries) {
        if (entry.slot < 0 || entry.slot >= slots)
            continue;
        auto* record = &out[static_cast<std::size_t>(entry.slot) * kIndexRecordBytes];
        record[0] = byteOf(entry.slot);
        Bytes stamp;
        putDateTime(stamp, entry.when);
        std::copy(stamp.begin(), stamp.end(), record + 2);
    }
    return out;
}

} // namespace mr3x::sim
