#include "export/Comtrade.h"

#include "common/Text.h"
#include "events/DipClasses.h"
#include "export/ChannelScales.h"
#include "export/EventSummary.h"
#include "export/EventTiming.h"
#include "export/ExportNumbers.h"

namespace mr3x::exports {

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr int kRawMin = 0, kRawMax = 255;

void appendLittleEndian(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes)
{
    for (int k = 0; k < bytes; ++k)
        out.push_back(static_cast<std::uint8_t>((value >> (8 * k)) & 0xFF));
}

std::string analogChannelLine(int index, const ChannelScale& channel)
{
    // An,ch_id,ph,ccbm,uu,a,b,skew,min,max,primary,secondary,PS
    return std::to_string(index) + "," + channel.name + "," + channel.phase + ",," + channel.unit + ","
           + decimalText(channel.a) + "," + decimalText(channel.b) + ",0," + std::to_string(kRawMin) + ","
           + std::to_string(kRawMax) + ",1,1,P";
}

std::string configuration(const events::EventRecord& record, const ComtradeOptions& options, const EventTiming& timing)
{
    const auto channels = channelScales(record);
    std::vector<std::string> lines;
    lines.push_back(comtradeField(options.stationName) + "," + comtradeField(options.deviceId) + ",1999");
    lines.push_back(std::to_string(channels.size()) + "," + std::to_string(channels.size()) + "A,0D");
    for (std::size_t c = 0; c < channels.size(); ++c)
        lines.push_back(analogChannelLine(int(c) + 1, channels[c]));
    lines.push_back(std::to_string(options.lineFrequency));
    lines.push_back("1");
    lines.push_back(decimalText(timing.rate) + "," + std::to_string(events::kSampleGroups));
    lines.push_back(comtradeTime(timing.firstSample));
    lines.push_back(comtradeTime(timing.trigger));
    lines.push_back(options.type == DataFileType::Binary ? "BINARY" : "ASCII");
    lines.push_back("1");
    std::string text;
    for (const std::string& line : lines)
        text.append(line).append(kLineEnd);
    return text;
}

std::vector<std::uint8_t> asciiData(const events::EventRecord& record, double rate)
{
    std::string text;
    text.reserve(std::size_t(events::kSampleGroups) * 32);
    for (int g = 0; g < events::kSampleGroups; ++g) {
        text.append(std::to_string(g + 1)).append(",").append(std::to_string(groupMicroseconds(g, rate)));
        for (int c = 0; c < events::kChannels; ++c)
            text.append(",").append(std::to_string(record.sample(g, c)));
        text.append(kLineEnd);
    }
    return {text.begin(), text.end()};
}

std::vector<std::uint8_t> binaryData(const events::EventRecord& record, double rate)
{
    std::vector<std::uint8_t> data;
    data.reserve(std::size_t(events::kSampleGroups) * (8 + 2 * events::kChannels));
    for (int g = 0; g < events::kSampleGroups; ++g) {
        appendLittleEndian(data, std::uint64_t(g + 1), 4);
        appendLittleEndian(data, std::uint64_t(groupMicroseconds(g, rate)), 4);
        for (int c = 0; c < events::kChannels; ++c)
            appendLittleEndian(data, record.sample(g, c), 2); // 0..255: the same in two's complement
    }
    return data;
}

/// A line of the header file: printable ASCII, anything else "_".
std::string headerLine(std::string_view text)
{
    std::string line;
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if ((byte & 0xC0) == 0x80 && !line.empty() && line.back() == '_')
            continue;
        line.push_back(byte >= 0x20 && byte < 0x7F ? ch : '_');
    }
    return trim(line);
}

std::string header(const events::EventRecord& record, const ComtradeOptions& options, const EventTiming& timing)
{
    std::vector<std::string> lines{"M-R3X event recorded by " + options.deviceId + " at " + options.stationName,
                                   "Triggered: " + isoText(timing.trigger),
                                   "Line frequency: " + std::to_string(options.lineFrequency) + " Hz", "", "Parameters:"};
    for (const ParameterRow& row : eventParameterRows(record))
        lines.push_back(row.label + ": " + row.value);
    lines.emplace_back("");
    lines.emplace_back("Dips, swells and interruptions (one-cycle rms refreshed every half cycle, EN 50160 cells):");
    for (const std::string& line : events::dipLines(events::measureDips(record), options.lineFrequency))
        lines.push_back(line);
    std::string text;
    for (const std::string& line : lines)
        text.append(headerLine(line)).append(kLineEnd);
    return text;
}

} // namespace

std::string comtradeField(std::string_view text, std::size_t maxLength)
{
    std::string field;
    for (const char ch : text) {
        const auto byte = static_cast<unsigned char>(ch);
        if ((byte & 0xC0) == 0x80 && !field.empty() && field.back() == '_')
            continue; // the rest of a UTF-8 character already written as "_"
        field.push_back(byte >= 0x20 && byte < 0x7F && ch != ',' ? ch : '_');
    }
    field = trim(field);
    if (field.size() > maxLength)
        field = trim(field.substr(0, maxLength));
    return field;
}

std::string comtradeTime(const CivilTime& t)
{
    return twoDigits(t.day) + "/" + twoDigits(t.month) + "/" + std::to_string(t.year) + "," + twoDigits(t.hour) + ":"
           + twoDigits(t.minute) + ":" + twoDigits(t.second) + "." + zeroPad(std::to_string(t.microsecond), 6);
}

std::optional<ComtradeFiles> comtradeFiles(const events::EventRecord& record, const ComtradeOptions& options)
{
    const std::optional<EventTiming> timing = eventTiming(record, options.lineFrequency);
    if (!timing)
        return std::nullopt;
    ComtradeFiles files;
    files.cfg = configuration(record, options, *timing);
    files.dat = options.type == DataFileType::Binary ? binaryData(record, timing->rate) : asciiData(record, timing->rate);
    files.hdr = header(record, options, *timing);
    return files;
}

} // namespace mr3x::exports
