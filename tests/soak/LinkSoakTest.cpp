// The link under faults, in short: every kind of fault, mixed with clean downloads, and every
// outcome either the unit's exact record stored or a plain failure that leaves nothing behind,
// asked for by the window's buttons and straight through the unit session.
// The full run is the soak_link program (tests/soak/README.md).
#include "soak/LinkSoak.h"

#include <gtest/gtest.h>

using namespace mr3x::soak;

TEST(LinkSoak, FortyDownloadsUnderEveryKindOfFaultStoreTheUnitsBytesOrFailPlainly)
{
    for (const SoakRoad road : {SoakRoad::WindowHandlers, SoakRoad::UnitSession}) {
        SCOPED_TRACE(road == SoakRoad::UnitSession ? "through the unit session" : "through the window's buttons");
        const SoakReport report = runLinkSoak({.downloads = 42, .seed = 7, .road = road});
        // A clean download that fails, a wrong status line, a stray file and a silence past the
        // bound are each a violation of their own.
        EXPECT_EQ(report.violations, QStringList()) << formatReport(report).toStdString();
        EXPECT_GT(report.indexDownloads, 0);
        int failed = 0;
        for (std::size_t k = 0; k < kFaultKinds; ++k) {
            EXPECT_EQ(report.byKind[k].downloads, 7) << kindName(static_cast<FaultKind>(k));
            failed += report.byKind[k].failed;
        }
        EXPECT_GT(failed, 0) << "the faults were felt";
    }
}
