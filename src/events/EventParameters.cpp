#include "events/EventParameters.h"

#include <array>
#include <string_view>

namespace mr3x::events {

namespace {

constexpr int kAlwaysTdrModel = 26;

/// A conductor pair and the two others it can be tested against. Reference codes pick a
/// partner and how: 0 internal, 2 "=" the first, 1 "=" the second, 4 "x" the first, 3 "x" the
/// second; 5 to 9 repeat 0 to 4.
struct PairTests {
    std::string_view pair, first, second;
};

constexpr std::array<PairTests, 6> kPairs{{
    {"R-N", "Y-N", "B-N"},
    {"Y-N", "B-N", "R-N"},
    {"B-N", "R-N", "Y-N"},
    {"R-Y", "B-Y", "R-B"},
    {"Y-B", "R-B", "Y-R"},
    {"B-R", "Y-R", "B-Y"},
}};

/// A name of the trailer as the label shows it. Control characters (a unit may pad with NULs)
/// become blanks, so the label never holds a character it cannot draw; the width stays.
std::string shownText(std::string text)
{
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0))
            c = ' ';
    }
    return text;
}

EventParameters::DisplayMode displayModeOf(const std::string& mode)
{
    return mode == "TRS" ? EventParameters::DisplayMode::Trs : EventParameters::DisplayMode::Tdr;
}

} // namespace

ModelVersion modelOfByte(int modelByte)
{
    const std::string version = std::to_string(modelByte & 15);
    if (modelByte == 34 || modelByte == 43 || (modelByte >= 209 && modelByte <= 223))
        return {"M-R32", version};
    if (modelByte >= 225 && modelByte <= 239)
        return {"M-S32", version};
    return {"Type" + std::to_string(modelByte), ""};
}

bool isKnownModel(std::string_view unit)
{
    return unit == "M-R32" || unit == "M-S32";
}

std::optional<std::string> fullScaleText(int fsdCode)
{
    switch (fsdCode) {
    case 0: return "8000A";
    case 1: return "4000A";
    case 3: return "2000A";
    case 7: return "1000A";
    default: return std::nullopt;
    }
}

std::optional<std::string> triggerSourceText(int source)
{
    static constexpr std::array<std::string_view, 6> kSources{"Manual", "Ch1(Vr)", "Ch2(Vy)",
                                                              "Ch3(Vb)", "Ch0(I)",  "TRS"};
    if (source < 0 || source >= int(kSources.size()))
        return std::nullopt;
    return std::string(kSources[std::size_t(source)]);
}

std::optional<std::string> testText(int pair, int reference)
{
    if (pair < 0 || pair >= int(kPairs.size()) || reference < 0 || reference > 9)
        return std::nullopt;
    const PairTests& p = kPairs[std::size_t(pair)];
    std::string text(p.pair);
    switch (reference % 5) {
    case 0: return text.append("=Internal");
    case 2: return text.append("=").append(p.first);
    case 1: return text.append("=").append(p.second);
    case 4: return text.append("x").append(p.first);
    default: return text.append("x").append(p.second); // 3
    }
}

std::string prePostText(int flags)
{
    const int code = (flags >> 5) & 7;
    return std::to_string(7 - code) + "/" + std::to_string(code + 1);
}

std::optional<std::string> injectionText(int injection)
{
    if (injection < 0 || injection >= 32768)
        return std::nullopt;
    return std::to_string(injection);
}

std::optional<std::string> modeText(int modelByte, int modeByte)
{
    if (modelByte == kAlwaysTdrModel)
        return "TDR";
    if (modeByte == 0 || modeByte == 1)
        return "TRS";
    if (modeByte == 2 || modeByte == 3)
        return "TDR";
    return std::nullopt;
}

EventParameters describeEvent(const EventRecord& record)
{
    const RecordTrailer& t = record.trailer;
    EventParameters p;

    ModelVersion model = modelOfByte(t.modelByte());
    if (isKnownModel(model.unit))
        p.fsd = fullScaleText(record.fsdCode());
    p.unit = std::move(model.unit);
    p.version = std::move(model.version);

    p.trigChannel = triggerSourceText(record.triggerSource());
    p.triggeredByTrs = record.triggerSource() == 5;

    p.phase = testText(t.testCode(), t.reference());
    const bool internalTest = p.phase && p.phase->find("Internal") != std::string::npos;
    p.internal = internalTest ? std::to_string(t.balance()) : std::string("--");

    p.gain = std::to_string(t.gain());
    p.longShort = t.longRange() ? "800m" : "400m";
    p.onOff = t.pulseOn() ? "On" : "Off";
    p.pulseWidth = std::to_string(t.pulseWidthCode() + 1);
    p.preTrigger = prePostText(t.flags());
    p.threshold = std::to_string(t.threshold());
    p.duration = std::to_string(t.duration());
    p.injection = injectionText(t.injection());
    p.trailerJob = shownText(t.job());
    p.trailerLocation = shownText(t.location());

    p.mode = modeText(t.modelByte(), t.mode());
    if (p.mode)
        p.displayMode = displayModeOf(*p.mode);
    return p;
}

} // namespace mr3x::events
