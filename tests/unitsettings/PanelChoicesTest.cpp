// The balance code the unit reads back as the program sent it. (The hardware byte is checked on
// the wire and in the round trip through the simulated unit.)
#include "unitsettings/PanelChoices.h"

#include <gtest/gtest.h>

using namespace mr3x::unitsettings;

namespace {

FieldCheck inRange(long long value)
{
    return {value, true, {}};
}

} // namespace

TEST(PanelChoices, BalanceCodesAreReadByTheTagsTheProgramSends)
{
    // 0 to 4 name the reference by its tag: "Internal", Echo 2 and 1, Cross 2 and 1.
    const std::tuple<int, TdrModeButton, int> codes[] = {{0, TdrModeButton::Echo, 0}, {1, TdrModeButton::Echo, 2},
                                                         {2, TdrModeButton::Echo, 1}, {3, TdrModeButton::Cross, 2},
                                                         {4, TdrModeButton::Cross, 1}};
    for (const auto& [code, mode, reference] : codes) {
        const BalanceChoice choice = balanceChoice(inRange(code));
        EXPECT_EQ(choice.mode, mode) << code;
        EXPECT_EQ(choice.reference, reference) << code;
        EXPECT_EQ(choice.filterOn, true) << code;
        // 5 to 9 turn the filter off and leave mode and reference to the panel.
        const BalanceChoice filterOff = balanceChoice(inRange(code + 5));
        EXPECT_FALSE(filterOff.mode.has_value()) << code + 5;
        EXPECT_FALSE(filterOff.reference.has_value()) << code + 5;
        EXPECT_EQ(filterOff.filterOn, false) << code + 5;
        EXPECT_EQ(balanceCode(code, false), code + 5);
    }
    EXPECT_EQ(balanceCode(firstReferenceTag(2), true), 4); // Cross against reference button 1
    EXPECT_EQ(balanceCode(secondReferenceTag(0), true), 1); // Echo against reference button 2
}
