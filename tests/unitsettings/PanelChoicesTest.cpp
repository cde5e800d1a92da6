// What the unit's fields choose on the control panel, and the panel's tables.
#include "unitsettings/PanelChoices.h"

#include <gtest/gtest.h>

using namespace mr3x::unitsettings;

namespace {

FieldCheck inRange(long long value)
{
    return {value, true, {}};
}

FieldCheck outOfRange(long long value)
{
    return {value, false, "message"};
}

} // namespace

TEST(PanelChoices, ListEntriesAndDefaults)
{
    EXPECT_EQ(thresholdEntry(inRange(12)), 0);
    EXPECT_EQ(thresholdEntry(inRange(35)), 23);
    EXPECT_EQ(thresholdEntry(outOfRange(36)), 3);
    EXPECT_EQ(durationEntry(inRange(10)), 8);
    EXPECT_EQ(durationEntry(outOfRange(11)), 1);
    EXPECT_EQ(phaseButton(inRange(4)), 4);
    EXPECT_EQ(phaseButton(outOfRange(6)), 0);
    EXPECT_EQ(gainValue(inRange(20)), 20);
    EXPECT_EQ(gainValue(outOfRange(21)), 10);
    EXPECT_EQ(balanceValue(inRange(0)), 0);
    EXPECT_EQ(balanceValue(outOfRange(61)), 10);
}

TEST(PanelChoices, CurrentCodesChooseTheirButtonOrNothing)
{
    EXPECT_EQ(fsdButton(inRange(0)), 0);
    EXPECT_EQ(fsdButton(inRange(1)), 1);
    EXPECT_EQ(fsdButton(inRange(3)), 2); // "2kA"
    EXPECT_EQ(fsdButton(inRange(7)), 3);
    for (int code : {2, 4, 5, 6})
        EXPECT_FALSE(fsdButton(inRange(code)).has_value()) << code;
    EXPECT_EQ(fsdButton(outOfRange(8)), 0); // "8kA"
}

TEST(PanelChoices, ModesTwoAndThreeAreTdr)
{
    EXPECT_FALSE(tdrMode(inRange(0)));
    EXPECT_FALSE(tdrMode(inRange(1)));
    EXPECT_TRUE(tdrMode(inRange(2)));
    EXPECT_TRUE(tdrMode(inRange(3)));
    EXPECT_TRUE(tdrMode(outOfRange(4)));
}

TEST(PanelChoices, TheHardwareByteUnpacksAndPacksAlike)
{
    const RangeAndPulse widest = rangeAndPulse(inRange(95));
    EXPECT_EQ(widest.range, 1);
    EXPECT_TRUE(widest.pulseOn);
    EXPECT_EQ(widest.pulseWidth, 8);
    EXPECT_EQ(widest.prePostEntry, 2);

    // 400m, pulse on at width 3, "6/2".
    EXPECT_EQ(hardwareByte({0, true, 3, 1}), 42);
    const RangeAndPulse fortyTwo = rangeAndPulse(inRange(42));
    EXPECT_EQ(fortyTwo.range, 0);
    EXPECT_TRUE(fortyTwo.pulseOn);
    EXPECT_EQ(fortyTwo.pulseWidth, 3);
    EXPECT_EQ(fortyTwo.prePostEntry, 1);

    // Every byte the program can send comes back as the same choice.
    for (int range = 0; range <= 1; ++range)
        for (int width = 1; width <= 8; ++width)
            for (int prePost = 0; prePost <= 2; ++prePost)
                for (bool pulse : {false, true}) {
                    const int byte = hardwareByte({range, pulse, width, prePost});
                    ASSERT_LE(byte, 95);
                    const RangeAndPulse back = rangeAndPulse(inRange(byte));
                    EXPECT_EQ(back.range, range);
                    EXPECT_EQ(back.pulseOn, pulse);
                    EXPECT_EQ(back.prePostEntry, prePost);
                    if (pulse) {
                        EXPECT_EQ(back.pulseWidth, width);
                    }
                }

    const RangeAndPulse fallback = rangeAndPulse(outOfRange(96));
    EXPECT_EQ(fallback.range, 0);
    EXPECT_TRUE(fallback.pulseOn);
    EXPECT_EQ(fallback.pulseWidth, 2);
    EXPECT_EQ(fallback.prePostEntry, 0);
}

TEST(PanelChoices, BalanceCodesAreReadByTheTagsTheProgramSends)
{
    struct Expected {
        int code;
        TdrModeButton mode;
        int reference;
    };
    for (const Expected& e : {Expected{0, TdrModeButton::Echo, 0}, Expected{1, TdrModeButton::Echo, 2},
                              Expected{2, TdrModeButton::Echo, 1}, Expected{3, TdrModeButton::Cross, 2},
                              Expected{4, TdrModeButton::Cross, 1}}) {
        const BalanceChoice choice = balanceChoice(inRange(e.code));
        EXPECT_EQ(choice.mode, e.mode) << e.code;
        EXPECT_EQ(choice.reference, e.reference) << e.code;
        EXPECT_EQ(choice.filterOn, true) << e.code;
        const BalanceChoice filterOff = balanceChoice(inRange(e.code + 5));
        EXPECT_EQ(filterOff.mode, e.mode) << e.code + 5;
        EXPECT_EQ(filterOff.reference, e.reference) << e.code + 5;
        EXPECT_EQ(filterOff.filterOn, false) << e.code + 5;
    }

    // What the program sends for any mode, reference and filter reads back as that choice.
    for (int modeTag : {0, 2})
        for (int reference = 0; reference <= 2; ++reference) {
            if (modeTag == 2 && reference == 0)
                continue; // "Internal" is not offered in Cross mode
            const int tag = reference == 0 ? 0 : reference == 1 ? firstReferenceTag(modeTag) : secondReferenceTag(modeTag);
            const BalanceChoice filterOn = balanceChoice(inRange(balanceCode(tag, true)));
            EXPECT_EQ(filterOn.mode, modeTag == 0 ? TdrModeButton::Echo : TdrModeButton::Cross);
            EXPECT_EQ(filterOn.reference, reference);
            EXPECT_EQ(filterOn.filterOn, true);
            const BalanceChoice filterOff = balanceChoice(inRange(balanceCode(tag, false)));
            EXPECT_EQ(filterOff.filterOn, false);
            EXPECT_EQ(filterOff.mode, filterOn.mode);
            EXPECT_EQ(filterOff.reference, reference);
        }

    const BalanceChoice fallback = balanceChoice(outOfRange(10));
    EXPECT_EQ(fallback.mode, TdrModeButton::Echo);
    EXPECT_EQ(fallback.reference, 0);
    EXPECT_FALSE(fallback.filterOn.has_value());
}

TEST(PanelChoices, TriggerModeEntries)
{
    const TriggerModeEntry tdr = triggerModeEntry(0);
    EXPECT_TRUE(tdr.filterOn && tdr.pulseOn && tdr.pulseFrameEnabled);
    EXPECT_EQ(tdr.triggerIndex, 0);
    EXPECT_EQ(tdr.triggerTag, 2);
    const TriggerModeEntry slaveOff = triggerModeEntry(4);
    EXPECT_FALSE(slaveOff.filterOn || slaveOff.pulseOn || slaveOff.pulseFrameEnabled);
    EXPECT_EQ(slaveOff.triggerIndex, 1);
    EXPECT_EQ(slaveOff.triggerTag, 0);
    EXPECT_FALSE(triggerModeEntry(3).pulseFrameEnabled);
    EXPECT_TRUE(triggerModeEntry(2).pulseFrameEnabled);

    // A TRS unit's pulse and filter choose back the entry that set them.
    for (int entry = 1; entry < triggerModeCount; ++entry) {
        const TriggerModeEntry e = triggerModeEntry(entry);
        EXPECT_EQ(triggerModeFor(false, e.pulseOn, e.filterOn), entry);
    }
    EXPECT_EQ(triggerModeFor(true, false, false), 0);
}

TEST(PanelChoices, ReferencesFollowThePhaseWithTheirColours)
{
    const std::pair<std::string_view, std::string_view> expected[6] = {
        {"Y-N", "B-N"}, {"B-N", "R-N"}, {"R-N", "Y-N"}, {"B-Y", "R-B"}, {"R-B", "Y-R"}, {"Y-R", "B-Y"}};
    for (int phase = 0; phase < 6; ++phase) {
        EXPECT_EQ(referenceCaptions(phase).first, expected[phase].first);
        EXPECT_EQ(referenceCaptions(phase).second, expected[phase].second);
    }
    EXPECT_EQ(referenceColour("R-N"), 0x0000FF);
    EXPECT_EQ(referenceColour("Y-N"), 0x00FFFF);
    EXPECT_EQ(referenceColour("B-N"), 0xFF0000);
    EXPECT_EQ(referenceColour("B-Y"), 0x00FF00);
    EXPECT_EQ(referenceColour("R-B"), 0xFF00FF);
    EXPECT_EQ(referenceColour("Y-R"), 0x0080FF);
    EXPECT_EQ(referenceColour("Internal"), -1);
    EXPECT_EQ(firstReferenceTag(2), 4);
    EXPECT_EQ(secondReferenceTag(2), 3);
}
