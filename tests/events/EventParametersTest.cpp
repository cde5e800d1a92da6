// The tables a record's head and trailer are shown through, a whole record described, and what
// loading an event sets on the TDR viewer for the models with their own rules and others.
#include "EventBytes.h"
#include "events/EventParameters.h"
#include "events/TdrPresets.h"

#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

using namespace mr3x::events;
using namespace mr3x::events::test;
using DisplayMode = EventParameters::DisplayMode;

namespace {

EventParameters describe(std::uint8_t triggerSource, std::uint8_t fsdCode, std::initializer_list<ByteAt> trailerBytes)
{
    EventRecord record;
    record.head[6] = triggerSource;
    record.head[7] = fsdCode;
    record.trailer = trailerWith(trailerBytes);
    return describeEvent(record);
}

} // namespace

TEST(EventParameters, ModelBytesAtTheEdgesOfEachRangeOnlyAKnownModelWithAFullScaleAndTheTriggerSources)
{
    struct Case { int byte; const char* unit; const char* version; };
    for (const Case& c : {Case{33, "Type33", ""}, Case{34, "M-R32", "2"}, Case{43, "M-R32", "11"},
                          Case{208, "Type208", ""}, Case{209, "M-R32", "1"}, Case{223, "M-R32", "15"},
                          Case{224, "Type224", ""}, Case{225, "M-S32", "1"}, Case{239, "M-S32", "15"},
                          Case{240, "Type240", ""}, Case{0, "Type0", ""}}) {
        const EventParameters p = describe(0, 0, {{18, std::uint8_t(c.byte)}});
        EXPECT_EQ(p.unit, c.unit) << c.byte;
        EXPECT_EQ(p.version, c.version) << c.byte;
        EXPECT_EQ(p.fsd, std::string(c.version).empty() ? std::nullopt : std::optional<std::string>("8000A")) << c.byte;
    }
    for (const auto& [code, text] : {std::pair{0, "8000A"}, {1, "4000A"}, {3, "2000A"}, {7, "1000A"}})
        EXPECT_EQ(fullScaleText(code), text) << code;
    for (const int code : {2, 4, 6, 8, 255, -1})
        EXPECT_FALSE(fullScaleText(code)) << code;
    EXPECT_EQ(describe(0, 7, {{18, 225}}).fsd, "1000A");
    EXPECT_FALSE(describe(0, 2, {{18, 43}}).fsd);

    // Trigger sources (6 is none the units know), and the locator reset on a TRS trigger.
    const std::optional<std::string> names[] = {"Manual", "Ch1(Vr)", "Ch2(Vy)", "Ch3(Vb)", "Ch0(I)", "TRS", std::nullopt};
    for (int source = 0; source <= 6; ++source) {
        const EventParameters p = describe(std::uint8_t(source), 0, {});
        EXPECT_EQ(p.trigChannel, names[source]) << source;
        EXPECT_EQ(p.triggeredByTrs, source == 5) << source;
    }
    EXPECT_FALSE(triggerSourceText(-1));
}

TEST(EventParameters, EveryTestOfEveryPairTheBalanceOnlyForAnInternalTestTheFlagsInjectionAndMode)
{
    // Columns in reference order 0 to 4; references 5 to 9 name the same tests.
    const char* table[6][5] = {
        {"R-N=Internal", "R-N=B-N", "R-N=Y-N", "R-NxB-N", "R-NxY-N"},
        {"Y-N=Internal", "Y-N=R-N", "Y-N=B-N", "Y-NxR-N", "Y-NxB-N"},
        {"B-N=Internal", "B-N=Y-N", "B-N=R-N", "B-NxY-N", "B-NxR-N"},
        {"R-Y=Internal", "R-Y=R-B", "R-Y=B-Y", "R-YxR-B", "R-YxB-Y"},
        {"Y-B=Internal", "Y-B=Y-R", "Y-B=R-B", "Y-BxY-R", "Y-BxR-B"},
        {"B-R=Internal", "B-R=B-Y", "B-R=Y-R", "B-RxB-Y", "B-RxY-R"},
    };
    for (int pair = 0; pair < 6; ++pair)
        for (int r = 0; r < 5; ++r) {
            EXPECT_EQ(testText(pair, r), table[pair][r]) << pair << " " << r;
            EXPECT_EQ(testText(pair, r + 5), table[pair][r]) << pair << " " << r + 5;
        }
    for (const auto& [pair, reference] : {std::pair{0, 10}, {6, 0}, {-1, 0}, {0, -1}})
        EXPECT_FALSE(testText(pair, reference)) << pair << " " << reference;

    EXPECT_EQ(describe(0, 0, {{6, 1}, {9, 77}, {11, 5}}).internal, "77");  // Y-N=Internal
    EXPECT_EQ(describe(0, 0, {{6, 0}, {9, 77}, {11, 7}}).internal, "--");  // R-N=Y-N
    // An unknown test leaves the test's mark, which holds no "Internal" either.
    const EventParameters unknown = describe(0, 0, {{6, 9}, {9, 77}, {11, 0}});
    EXPECT_FALSE(unknown.phase);
    EXPECT_EQ(unknown.internal, "--");

    // The flags, the injection and the mode byte.
    const EventParameters flags = describe(0, 0, {{8, 0x1E}});
    EXPECT_EQ(std::vector({flags.longShort, flags.onOff, flags.pulseWidth, flags.preTrigger}),
              (std::vector<std::optional<std::string>>{"400m", "On", "8", "7/1"}));
    const char* splits[] = {"7/1", "6/2", "5/3", "4/4", "3/5", "2/6", "1/7", "0/8"};
    for (int code = 0; code < 8; ++code)
        EXPECT_EQ(prePostText(code << 5 | 0x1F), splits[code]);

    // The injection shows only below 32768.
    EXPECT_EQ(describe(0, 0, {{12, 0x7F}, {13, 0xFF}}).injection, "32767");
    EXPECT_FALSE(describe(0, 0, {{12, 0x80}, {13, 0x00}}).injection);
    EXPECT_EQ(injectionText(0), "0");
    EXPECT_FALSE(injectionText(-1));

    // Model 26 is always TDR; otherwise the mode byte decides, and an unknown one changes nothing.
    struct Case { int model; int mode; std::optional<std::string> text; DisplayMode display; };
    for (const Case& c : {Case{43, 0, "TRS", DisplayMode::Trs}, Case{43, 1, "TRS", DisplayMode::Trs},
                          Case{43, 2, "TDR", DisplayMode::Tdr}, Case{43, 3, "TDR", DisplayMode::Tdr},
                          Case{43, 4, std::nullopt, DisplayMode::Unchanged},
                          Case{43, 255, std::nullopt, DisplayMode::Unchanged},
                          Case{26, 0, "TDR", DisplayMode::Tdr}, Case{26, 200, "TDR", DisplayMode::Tdr}}) {
        const EventParameters p = describe(0, 0, {{18, std::uint8_t(c.model)}, {10, std::uint8_t(c.mode)}});
        EXPECT_EQ(p.mode, c.text) << c.model << " " << c.mode;
        EXPECT_EQ(p.displayMode, c.display) << c.model << " " << c.mode;
    }
}

TEST(EventParameters, AWholeRecordDescribed)
{
    EventRecord record;
    record.head[6] = 4;
    record.head[7] = 3;
    record.trailer = trailerWith({{6, 3}, {7, 12}, {8, 0x45}, {9, 200}, {10, 2}, {11, 9}, {12, 0x12}, {13, 0x34},
                                  {14, 55}, {15, 6}, {18, 213}});
    std::memcpy(record.trailer.bytes.data() + 26, "North Substation        ", 24);
    std::memcpy(record.trailer.bytes.data() + 51, "Feeder 7", 8);
    record.trailer.bytes[59] = 0;  // a NUL and a tab inside a name, a Latin-1 letter kept
    record.trailer.bytes[60] = '\t';
    record.trailer.bytes[61] = 0xE9;

    const EventParameters p = describeEvent(record);
    EXPECT_EQ(std::vector({p.unit, p.version, p.fsd, p.trigChannel, p.phase, p.internal, p.gain, p.longShort, p.onOff,
                           p.pulseWidth, p.preTrigger, p.threshold, p.duration, p.injection, p.trailerJob, p.mode}),
              (std::vector<std::optional<std::string>>{"M-R32", "5", "2000A", "Ch0(I)", "R-YxB-Y", "--", "12", "800m", "Off",
                                                       "2", "5/3", "55", "6", "4660", "North Substation        ", "TDR"}));
    EXPECT_EQ(p.trailerLocation, std::string("Feeder 7  \xE9") + std::string(13, ' '));
    EXPECT_EQ(p.displayMode, DisplayMode::Tdr);
    EXPECT_FALSE(p.triggeredByTrs);
}

TEST(TdrPresets, TheRangeBitSetsStartCursorsAndScaleAndModels26_38And43SetTheRangeLabel)
{
    struct Case { int model; std::uint8_t flags; std::uint8_t mode; int start; const char* scale; std::optional<std::string> range; };
    std::vector<Case> cases;
    for (const int model : {34, 209, 225, 0, 27, 39, 44}) {
        cases.push_back({model, 0x00, 0, 25, "1", std::nullopt});
        cases.push_back({model, 0xFF, 0, 21, "2", std::nullopt});
    }
    for (const int model : {38, 43}) {
        cases.push_back({model, 0xFE, 0xFF, 25, "1", "400m"});
        cases.push_back({model, 0x01, 0, 25, "2", "800m"});
    }
    // Model 26 takes its range from the mode byte.
    cases.push_back({26, 0x01, 0x02, 25, "1", "400m"});
    cases.push_back({26, 0x00, 0x03, 25, "2", "800m"});
    for (const Case& c : cases) {
        const TdrPresets p = tdrPresetsFor(trailerWith({{18, std::uint8_t(c.model)}, {8, c.flags}, {10, c.mode}}));
        EXPECT_EQ(std::tuple(p.plotStart, p.cursorX, p.scale, p.longShort),
                  std::tuple(c.start, c.start, std::string(c.scale), c.range)) << c.model << " " << int(c.flags);
    }
}
