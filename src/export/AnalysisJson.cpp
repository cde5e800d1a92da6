#include "export/AnalysisJson.h"

#include "common/Text.h"
#include "events/DipClasses.h"

#include <cstdio>

namespace mr3x::exports {

namespace {

/// The length of the UTF-8 sequence that starts at `i`; 0 when none does.
std::size_t utf8Length(std::string_view text, std::size_t i)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    const std::size_t length = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC2 && lead < 0xE0 ? 2 : 0;
    if (length == 0 || i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    // No overlong forms, no surrogates, nothing past U+10FFFF.
    if ((lead == 0xE0 && byte(i + 1) < 0xA0) || (lead == 0xED && byte(i + 1) >= 0xA0) || (lead == 0xF0 && byte(i + 1) < 0x90)
        || (lead == 0xF4 && byte(i + 1) >= 0x90))
        return 0;
    return length;
}

std::string decimals(double value, int places)
{
    const std::string out = fixedDecimals(value, places);
    return out == "-0.0" || out == "-0.00" ? out.substr(1) : out;
}

std::string pointJson(const std::optional<tdr::FoundPoint>& p)
{
    if (!p)
        return "null";
    return "{\"point\": " + std::to_string(p->point) + ", \"distance_m\": " + std::to_string(p->distanceM) + "}";
}

std::string dipJson(const events::Dip& dip, int lineFrequency)
{
    return "{\"channel\": " + jsonString(events::voltageChannelName(dip.channel)) + ", \"residual_v\": "
           + decimals(dip.residualVolts, 1) + ", \"residual_percent\": " + decimals(dip.residualPercent, 1)
           + ", \"start_ms\": " + decimals(events::groupsToMs(dip.startGroup, lineFrequency), 1) + ", \"duration_ms\": "
           + decimals(events::groupsToMs(dip.durationGroups, lineFrequency), 1) + ", \"past_end\": "
           + (dip.pastEnd ? "true" : "false") + ", \"class\": " + jsonString(events::dipClass(dip, lineFrequency)) + "}";
}

} // namespace

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
            out += escaped;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (const std::size_t length = utf8Length(text, i)) {
            out.append(text.substr(i, length));
            i += length - 1;
        } else {
            out += "\\ufffd";
        }
    }
    return out + "\"";
}

std::string traceJson(std::string_view file, bool trs, const tdr::TraceFinding& finding)
{
    return "{\"file\": " + jsonString(file) + ", \"kind\": \"" + (trs ? "trs" : "tdr") + "\", \"fault\": " + pointJson(finding.fault)
           + ", \"far_end\": " + pointJson(finding.farEnd) + ", \"noise\": " + decimals(finding.noise, 2) + "}";
}

std::string eventJson(std::string_view file, const events::DipMeasurement& m, int lineFrequency)
{
    std::string dips;
    for (const events::Dip& dip : m.dips)
        dips += (dips.empty() ? "" : ", ") + dipJson(dip, lineFrequency);
    return "{\"file\": " + jsonString(file) + ", \"kind\": \"event\", \"reference_v\": " + decimals(m.referenceVolts, 1)
           + ", \"dips\": [" + dips + "]}";
}

} // namespace mr3x::exports
