// crash_safety [trials] [seed]: the program killed with SIGKILL at a random moment of each kind of
// save, 200 times each by default. Prints the counts; exits 1 when a file was torn or a next
// start failed.
#include "crashsafety/CrashTrials.h"
#include "support/LongRun.h"

int main(int argc, char* argv[])
{
    using namespace mr3x;
    return test::longRunMain(argc, argv, "Crash safety", "crash_safety [trials] [seed]", 200, [](int count, std::uint64_t seed) {
        const crash::CrashReport report = crash::runCrashTrials({.trials = count, .seed = seed, .childProgram = MR3X_CRASH_CHILD});
        return test::LongRunOutcome{crash::formatReport(report), report.problems.isEmpty()};
    });
}
