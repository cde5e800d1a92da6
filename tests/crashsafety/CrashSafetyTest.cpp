// Crash safety in short: a few kills during each kind of save. The full run is the crash_safety
// program (tests/crashsafety/README.md).
#include "crashsafety/CrashTrials.h"

#include <gtest/gtest.h>

using namespace mr3x::crash;

// A torn file, a failed kill and a next start that fails are each a problem line of their own.
TEST(CrashSafety, AKillDuringASaveLeavesTheOldFileOrTheNewOneAndTheNextStartWorks)
{
    const CrashReport report = runCrashTrials({.trials = 4, .seed = 11, .childProgram = MR3X_CRASH_CHILD});
    EXPECT_EQ(report.problems, QStringList()) << formatReport(report).toStdString();
    for (SaveKind kind : kSaveKinds) // each kill was made and judged
        EXPECT_EQ(report.counts(kind).old + report.counts(kind).newer, 4) << titleOf(kind).toStdString();
}
