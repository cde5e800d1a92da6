// soak_link [downloads] [seed]: the link under faults at length (1,000 downloads by default), on
// the test clock, asked for by the window's buttons and again straight through the unit session.
// Prints the counts by fault kind for each; exits 1 when any download broke a rule.
#include "soak/LinkSoak.h"
#include "support/LongRun.h"

int main(int argc, char* argv[])
{
    using namespace mr3x;
    return test::longRunMain(argc, argv, "Link soak", "soak_link [downloads] [seed]", 1000, [](int count, std::uint64_t seed) {
        test::LongRunOutcome outcome{{}, true};
        for (const auto& [road, title] : {std::pair{soak::SoakRoad::WindowHandlers, "Through the window's buttons"},
                                          std::pair{soak::SoakRoad::UnitSession, "Through the unit session"}}) {
            const soak::SoakReport report = soak::runLinkSoak({.downloads = count, .seed = seed, .road = road});
            outcome.report += QString::fromLatin1(title) + QStringLiteral(":\n") + soak::formatReport(report) + QLatin1Char('\n');
            outcome.held = outcome.held && report.violations.isEmpty();
        }
        return outcome;
    });
}
