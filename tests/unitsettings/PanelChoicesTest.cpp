// The two codes the unit reads back as the program sent them: the hardware byte and the
// balance code.
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
        // 5 to 9 turn the filter off and leave mode and reference to the panel.
        const BalanceChoice filterOff = balanceChoice(inRange(e.code + 5));
        EXPECT_FALSE(filterOff.mode.has_value()) << e.code + 5;
        EXPECT_FALSE(filterOff.reference.has_value()) << e.code + 5;
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
            EXPECT_EQ(balanceChoice(inRange(balanceCode(tag, false))).filterOn, false);
        }

    const BalanceChoice fallback = balanceChoice(outOfRange(10));
    EXPECT_EQ(fallback.mode, TdrModeButton::Echo);
    EXPECT_EQ(fallback.reference, 0);
    EXPECT_FALSE(fallback.filterOn.has_value());
}
