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

TEST(TraceColours, TheLabelShowsThePhaseFromThePathsEchoFormsAndTheListsCrossForms)
{
    EXPECT_EQ(testLabelColour(path("26-12-05 14-03-09 (R-N=Y-N)"), "26-12-05 14-03-09 (R-N=Y-N)"), labelRN);
    EXPECT_EQ(testLabelColour(path("x (Y-N=B-N)"), "x (Y-N=B-N)"), labelYN);
    EXPECT_EQ(testLabelColour(path("x (B-NxR-N)"), "x (B-NxR-N)"), labelBN);
    EXPECT_EQ(testLabelColour(path("x (R-Y=B-Y)"), "x (R-Y=B-Y)"), labelRY);
    EXPECT_EQ(testLabelColour(path("x (Y-BxR-B)"), "x (Y-BxR-B)"), labelYB);
    EXPECT_EQ(testLabelColour(path("x (B-R=Y-R)"), "x (B-R=Y-R)"), labelBR);
    // Dashless names from older tools.
    EXPECT_EQ(testLabelColour(path("x (YN=Internal)"), "x (YN=Internal)"), labelYN);
    EXPECT_EQ(testLabelColour(path("x (BRxYR)"), "x (BRxYR)"), labelBR);

    // An "x" form counts only in the list text, an "=" form only in the path.
    EXPECT_EQ(testLabelColour(path("x (R-NxY-N)"), "something else"), kWhite);
    EXPECT_EQ(testLabelColour("/m/U/other.TDR", "x (R-N=Y-N)"), kWhite);
    EXPECT_EQ(testLabelColour("", ""), kWhite);
}

TEST(TraceColours, TheLastMatchWinsAndTrsIsGreyOverAnyPhase)
{
    // The path names one phase, the list text a later one in the table: the later one shows.
    EXPECT_EQ(testLabelColour(path("x (B-R=Y-R)"), "x (R-NxY-N)"), labelBR);
    EXPECT_EQ(testLabelColour(path("x (R-N=Y-N)"), "x (B-RxY-R)"), labelBR);
    EXPECT_EQ(testLabelColour("/m/RN=/B-N=/x.TDR", ""), labelBN);
    EXPECT_EQ(testLabelColour(path("26-12-05 14-03-09 (R-N=TRS)"), "26-12-05 14-03-09 (R-N=TRS)"), labelTrs);
    EXPECT_EQ(testLabelColour(path("x (B-R=TRS)"), "x (B-R=TRS)"), labelTrs);
}

TEST(TraceColours, AManualTraceTakesItsPhaseColourAndTrsOrNoPhaseIsBlack)
{
    EXPECT_EQ(manualTraceColour("26-12-05 14-03-09 (R-N=Y-N)"), (Rgb{255, 0, 0}));
    EXPECT_EQ(manualTraceColour("x (Y-NxB-N)"), (Rgb{255, 255, 0}));
    EXPECT_EQ(manualTraceColour("x (BN=RN)"), (Rgb{0, 0, 255}));
    EXPECT_EQ(manualTraceColour("x (R-YxR-B)"), (Rgb{255, 128, 0}));
    EXPECT_EQ(manualTraceColour("x (Y-B=R-B)"), (Rgb{0, 255, 0}));
    EXPECT_EQ(manualTraceColour("x (BRxBY)"), (Rgb{192, 0, 192}));
    EXPECT_EQ(manualTraceColour("x (B-N=TRS)"), kBlack);
    EXPECT_EQ(manualTraceColour("old trace"), kBlack);
    EXPECT_EQ(manualTraceColour("R-N= and Y-B="), (Rgb{0, 255, 0}));
}
