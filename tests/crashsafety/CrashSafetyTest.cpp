// Crash safety in short: a few kills during each kind of save. The full run is the crash_safety
// program (tests/crashsafety/README.md).
#include "crashsafety/CrashTrials.h"

#include <gtest/gtest.h>

using namespace mr3x::crash;

TEST(CrashSafety, AKillDuringASaveLeavesTheOldFileOrTheNewOneAndTheNextStartWorks)
{
    const CrashReport report = runCrashTrials({.trials = 4, .seed = 11, .childProgram = MR3X_CRASH_CHILD});
    EXPECT_EQ(report.problems, QStringList()) << formatReport(report).toStdString();
    for (SaveKind kind : kSaveKinds) {
        const CrashCounts& counts = report.counts(kind);
        EXPECT_EQ(counts.trials, 4) << titleOf(kind).toStdString();
        EXPECT_EQ(counts.old + counts.newer, 4) << titleOf(kind).toStdString();
        EXPECT_EQ(counts.torn, 0);
        EXPECT_EQ(counts.startsWorked, 4);
    }
}
