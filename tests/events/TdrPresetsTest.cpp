// What loading an event sets on the TDR viewer, for the models with their own rules and others.
#include "EventBytes.h"
#include "events/TdrPresets.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace mr3x::events;
using namespace mr3x::events::test;

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
