// What loading an event sets on the TDR viewer, for the models with their own rules and others.
#include "EventBytes.h"
#include "events/TdrPresets.h"

#include <gtest/gtest.h>

using namespace mr3x::events;
using namespace mr3x::events::test;

namespace {

void expectPresets(const TdrPresets& p, int start, const char* scale, std::optional<std::string> range, int model)
{
    EXPECT_EQ(p.plotStart, start) << model;
    EXPECT_EQ(p.cursorX, start) << model;
    EXPECT_EQ(p.scale, scale) << model;
    EXPECT_EQ(p.longShort, range) << model;
}

} // namespace

TEST(TdrPresets, TheRangeBitSetsStartCursorsAndScale)
{
    for (const int model : {34, 209, 225, 0, 27, 39, 44}) {
        const auto m = std::uint8_t(model);
        expectPresets(tdrPresetsFor(trailerWith({{18, m}})), 25, "1", std::nullopt, model);
        expectPresets(tdrPresetsFor(trailerWith({{18, m}, {8, 0xFF}})), 21, "2", std::nullopt, model);
    }
}

TEST(TdrPresets, Models38And43StartAt25AndSetTheRangeLabel)
{
    for (const int model : {38, 43}) {
        const auto m = std::uint8_t(model);
        expectPresets(tdrPresetsFor(trailerWith({{18, m}, {8, 0xFE}, {10, 0xFF}})), 25, "1", "400m", model);
        expectPresets(tdrPresetsFor(trailerWith({{18, m}, {8, 0x01}})), 25, "2", "800m", model);
    }
}

TEST(TdrPresets, Model26TakesItsRangeFromTheModeByte)
{
    expectPresets(tdrPresetsFor(trailerWith({{18, 26}, {8, 0x01}, {10, 0x02}})), 25, "1", "400m", 26);
    expectPresets(tdrPresetsFor(trailerWith({{18, 26}, {8, 0x00}, {10, 0x03}})), 25, "2", "800m", 26);
}
