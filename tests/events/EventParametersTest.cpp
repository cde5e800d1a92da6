// The tables a record's head and trailer are shown through, and a whole record described.
#include "EventBytes.h"
#include "events/EventParameters.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace mr3x::events;
using namespace mr3x::events::test;
using DisplayMode = EventParameters::DisplayMode;

namespace {

EventRecord recordWith(std::uint8_t triggerSource, std::uint8_t fsdCode, std::initializer_list<ByteAt> trailerBytes)
{
    EventRecord record;
    record.head[6] = triggerSource;
    record.head[7] = fsdCode;
    record.trailer = trailerWith(trailerBytes);
    return record;
}

void putText(EventRecord& record, std::size_t offset, const char* text)
{
    std::memcpy(record.trailer.bytes.data() + offset, text, std::strlen(text));
}

} // namespace

TEST(EventParameters, ModelBytesAtTheEdgesOfEachRange)
{
    struct Case { int byte; const char* unit; const char* version; };
    for (const Case& c : {Case{33, "Type33", ""}, Case{34, "M-R32", "2"}, Case{43, "M-R32", "11"},
                          Case{208, "Type208", ""}, Case{209, "M-R32", "1"}, Case{223, "M-R32", "15"},
                          Case{224, "Type224", ""}, Case{225, "M-S32", "1"}, Case{239, "M-S32", "15"},
                          Case{240, "Type240", ""}, Case{0, "Type0", ""}}) {
        const ModelVersion model = modelOfByte(c.byte);
        EXPECT_EQ(model.unit, c.unit) << c.byte;
        EXPECT_EQ(model.version, c.version) << c.byte;
    }
}

TEST(EventParameters, OnlyAKnownModelGetsAFullScaleText)
{
    EXPECT_EQ(fullScaleText(0), "8000A");
    EXPECT_EQ(fullScaleText(1), "4000A");
    EXPECT_EQ(fullScaleText(3), "2000A");
    EXPECT_EQ(fullScaleText(7), "1000A");
    for (const int code : {2, 4, 6, 8, 255, -1})
        EXPECT_FALSE(fullScaleText(code)) << code;

    EXPECT_EQ(describeEvent(recordWith(0, 7, {{18, 225}})).fsd, "1000A");
    EXPECT_EQ(describeEvent(recordWith(0, 0, {{18, 43}})).fsd, "8000A");
    EXPECT_FALSE(describeEvent(recordWith(0, 2, {{18, 43}})).fsd);
    // A "Type" unit never gets one, even for a code in the table.
    const EventParameters typeUnit = describeEvent(recordWith(0, 0, {{18, 208}}));
    EXPECT_EQ(typeUnit.unit, "Type208");
    EXPECT_EQ(typeUnit.version, "");
    EXPECT_FALSE(typeUnit.fsd);
}

TEST(EventParameters, TriggerSourcesAndTheLocatorResetOnATrsTrigger)
{
    const char* names[] = {"Manual", "Ch1(Vr)", "Ch2(Vy)", "Ch3(Vb)", "Ch0(I)", "TRS"};
    for (int source = 0; source <= 5; ++source) {
        const EventParameters p = describeEvent(recordWith(std::uint8_t(source), 0, {}));
        EXPECT_EQ(p.trigChannel, names[source]);
        EXPECT_EQ(p.triggeredByTrs, source == 5) << source;
    }
    const EventParameters unknown = describeEvent(recordWith(6, 0, {}));
    EXPECT_FALSE(unknown.trigChannel);
    EXPECT_FALSE(unknown.triggeredByTrs);
    EXPECT_FALSE(triggerSourceText(-1));
}

TEST(EventParameters, EveryTestOfEveryPairAndTheReferencesThatNameTheSameTest)
{
    // Columns in reference order 0 to 4.
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
    EXPECT_FALSE(testText(0, 10));
    EXPECT_FALSE(testText(6, 0));
    EXPECT_FALSE(testText(-1, 0));
    EXPECT_FALSE(testText(0, -1));
}

TEST(EventParameters, TheBalanceShowsOnlyForAnInternalTest)
{
    const EventParameters internal = describeEvent(recordWith(0, 0, {{6, 1}, {9, 77}, {11, 5}}));
    EXPECT_EQ(internal.phase, "Y-N=Internal");
    EXPECT_EQ(internal.internal, "77");
    const EventParameters paired = describeEvent(recordWith(0, 0, {{6, 0}, {9, 77}, {11, 7}}));
    EXPECT_EQ(paired.phase, "R-N=Y-N");
    EXPECT_EQ(paired.internal, "--");
    // An unknown test leaves the test's mark, which holds no "Internal" either.
    const EventParameters unknown = describeEvent(recordWith(0, 0, {{6, 9}, {9, 77}, {11, 0}}));
    EXPECT_FALSE(unknown.phase);
    EXPECT_EQ(unknown.internal, "--");
}

TEST(EventParameters, TheFlagsByteGivesRangePulseWidthAndPrePost)
{
    const EventParameters e5 = describeEvent(recordWith(0, 0, {{8, 0xE5}}));
    EXPECT_EQ(e5.longShort, "800m");
    EXPECT_EQ(e5.onOff, "Off");
    EXPECT_EQ(e5.pulseWidth, "2");
    EXPECT_EQ(e5.preTrigger, "0/8");

    const EventParameters other = describeEvent(recordWith(0, 0, {{8, 0x1E}}));
    EXPECT_EQ(other.longShort, "400m");
    EXPECT_EQ(other.onOff, "On");
    EXPECT_EQ(other.pulseWidth, "8");
    EXPECT_EQ(other.preTrigger, "7/1");

    const char* splits[] = {"7/1", "6/2", "5/3", "4/4", "3/5", "2/6", "1/7", "0/8"};
    for (int code = 0; code < 8; ++code)
        EXPECT_EQ(prePostText(code << 5 | 0x1F), splits[code]);
}

TEST(EventParameters, InjectionShowsOnlyBelow32768)
{
    EXPECT_EQ(describeEvent(recordWith(0, 0, {{12, 0x7F}, {13, 0xFF}})).injection, "32767");
    EXPECT_FALSE(describeEvent(recordWith(0, 0, {{12, 0x80}, {13, 0x00}})).injection);
    EXPECT_EQ(describeEvent(recordWith(0, 0, {{12, 0x01}, {13, 0x02}})).injection, "258");
    EXPECT_EQ(injectionText(0), "0");
    EXPECT_FALSE(injectionText(-1));
}

TEST(EventParameters, ModeByteAndTheModelThatIsAlwaysTdr)
{
    struct Case { int model; int mode; std::optional<std::string> text; DisplayMode display; };
    for (const Case& c : {Case{43, 0, "TRS", DisplayMode::Trs}, Case{43, 1, "TRS", DisplayMode::Trs},
                          Case{43, 2, "TDR", DisplayMode::Tdr}, Case{43, 3, "TDR", DisplayMode::Tdr},
                          Case{43, 4, std::nullopt, DisplayMode::Unchanged},
                          Case{43, 255, std::nullopt, DisplayMode::Unchanged},
                          Case{26, 0, "TDR", DisplayMode::Tdr}, Case{26, 200, "TDR", DisplayMode::Tdr}}) {
        const EventParameters p = describeEvent(recordWith(0, 0, {{18, std::uint8_t(c.model)}, {10, std::uint8_t(c.mode)}}));
        EXPECT_EQ(p.mode, c.text) << c.model << " " << c.mode;
        EXPECT_EQ(p.displayMode, c.display) << c.model << " " << c.mode;
    }
}

TEST(EventParameters, AWholeRecordDescribed)
{
    EventRecord record = recordWith(4, 3, {{6, 3}, {7, 12}, {8, 0x45}, {9, 200}, {10, 2}, {11, 9},
                                           {12, 0x12}, {13, 0x34}, {14, 55}, {15, 6}, {18, 213}});
    putText(record, 26, "North Substation        ");
    putText(record, 51, "Feeder 7");
    record.trailer.bytes[59] = 0;    // a NUL and a tab inside a name, a Latin-1 letter kept
    record.trailer.bytes[60] = '\t';
    record.trailer.bytes[61] = 0xE9;

    const EventParameters p = describeEvent(record);
    EXPECT_EQ(p.unit, "M-R32");
    EXPECT_EQ(p.version, "5");
    EXPECT_EQ(p.fsd, "2000A");
    EXPECT_EQ(p.trigChannel, "Ch0(I)");
    EXPECT_EQ(p.phase, "R-YxB-Y");
    EXPECT_EQ(p.internal, "--");
    EXPECT_EQ(p.gain, "12");
    EXPECT_EQ(p.longShort, "800m");
    EXPECT_EQ(p.onOff, "Off");
    EXPECT_EQ(p.pulseWidth, "2");
    EXPECT_EQ(p.preTrigger, "5/3");
    EXPECT_EQ(p.threshold, "55");
    EXPECT_EQ(p.duration, "6");
    EXPECT_EQ(p.injection, "4660");
    EXPECT_EQ(p.trailerJob, "North Substation        ");
    EXPECT_EQ(p.trailerLocation, std::string("Feeder 7  \xE9") + std::string(13, ' '));
    EXPECT_EQ(p.mode, "TDR");
    EXPECT_EQ(p.displayMode, DisplayMode::Tdr);
    EXPECT_FALSE(p.triggeredByTrs);
}
