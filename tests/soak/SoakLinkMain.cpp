// soak_link [downloads] [seed]: the link under faults at length (1,000 downloads by default), on
// the test clock. Prints the counts by fault kind; exits 1 when any download broke a rule.
#include "soak/LinkSoak.h"
#include "support/LongRun.h"

int main(int argc, char* argv[])
{
    using namespace mr3x;
    return test::longRunMain(argc, argv, "Link soak", "soak_link [downloads] [seed]", 1000, [](int count, std::uint64_t seed) {
        const soak::SoakReport report = soak::runLinkSoak({.downloads = count, .seed = seed});
        return test::LongRunOutcome{soak::formatReport(report), report.violations.isEmpty()};
    });
}
