// The colours of a test's label and of its trace.
#include "tdr/TraceColours.h"

#include <gtest/gtest.h>

using namespace mr3x::tdr;

namespace {

constexpr Rgb labelRN{255, 128, 128}, labelYN{255, 255, 128}, labelBN{192, 192, 255}, labelRY{255, 192, 128},
    labelYB{128, 255, 128}, labelBR{255, 128, 255}, labelTrs{192, 192, 192};

std::string path(std::string_view name)
{
    return "/m/Systems/S/Jobs/J/L/U/" + std::string(name) + ".TDR";
}

} // namespace

TEST(TraceColours, TheLabelShowsThePhaseFromThePathsEchoFormsAndTheListsCrossFormsTheLastMatchWinning)
{
    // Each name both in the path and in the list's text, unless told otherwise. Dashless names
    // come from older tools.
    struct Case { std::string name; Rgb label; };
    for (const Case& c : {Case{"26-12-05 14-03-09 (R-N=Y-N)", labelRN}, Case{"x (Y-N=B-N)", labelYN}, Case{"x (B-NxR-N)", labelBN},
                          Case{"x (R-Y=B-Y)", labelRY}, Case{"x (Y-BxR-B)", labelYB}, Case{"x (B-R=Y-R)", labelBR},
                          Case{"x (YN=Internal)", labelYN}, Case{"x (BRxYR)", labelBR},
                          Case{"26-12-05 14-03-09 (R-N=TRS)", labelTrs}, Case{"x (B-R=TRS)", labelTrs}})
        EXPECT_EQ(testLabelColour(path(c.name), c.name), c.label) << c.name;

    // An "x" form counts only in the list text, an "=" form only in the path.
    EXPECT_EQ(testLabelColour(path("x (R-NxY-N)"), "something else"), kWhite);
    EXPECT_EQ(testLabelColour("/m/U/other.TDR", "x (R-N=Y-N)"), kWhite);
    EXPECT_EQ(testLabelColour("", ""), kWhite);
    // The path names one phase, the list text a later one in the table: the later one shows.
    EXPECT_EQ(testLabelColour(path("x (B-R=Y-R)"), "x (R-NxY-N)"), labelBR);
    EXPECT_EQ(testLabelColour(path("x (R-N=Y-N)"), "x (B-RxY-R)"), labelBR);
    EXPECT_EQ(testLabelColour("/m/RN=/B-N=/x.TDR", ""), labelBN);
}

TEST(TraceColours, AManualTraceTakesItsPhaseColourAndTrsOrNoPhaseIsBlack)
{
    struct Case { const char* name; Rgb colour; };
    for (const Case& c : {Case{"26-12-05 14-03-09 (R-N=Y-N)", {255, 0, 0}}, Case{"x (Y-NxB-N)", {255, 255, 0}},
                          Case{"x (BN=RN)", {0, 0, 255}}, Case{"x (R-YxR-B)", {255, 128, 0}}, Case{"x (Y-B=R-B)", {0, 255, 0}},
                          Case{"x (BRxBY)", {192, 0, 192}}, Case{"x (B-N=TRS)", kBlack}, Case{"old trace", kBlack},
                          Case{"R-N= and Y-B=", {0, 255, 0}}})
        EXPECT_EQ(manualTraceColour(c.name), c.colour) << c.name;
}
