// What the panel sends when arming comes back as the same choices at the next log-on.
#include "UnitSettingsFixture.h"
#include "link/ConnectionLifecycle.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

const Choices plain{"TDR Voltage Dip & Current", 3, 1, 0, 0, 0, 0, 0, 2, 0, 10, 10, true, true};

} // namespace

TEST(RoundTrip, EveryChoiceComesBackFromTheUnit)
{
    const Choices cases[] = {
        // TRS master without filter, Cross against reference 2, every other setting moved.
        {"TRS MASTER (Filter OFF)", 10, 5, 3, 5, 1, 2, 1, 5, 2, 17, 33, true, false},
        // TRS slave (no pulse), Echo against reference 1 (balance code 2).
        {"TRS SLAVE (Filter ON)", 23, 8, 2, 3, 0, 1, 0, 1, 1, 0, 60, false, true},
        // TDR on "Internal" with its filter off and no pulse.
        {"TDR Voltage Dip & Current", 0, 0, 1, 4, 0, 0, 1, 8, 0, 20, 0, false, false},
        // Cross, then Echo, against reference 2 with the filter on (balance codes 3 and 1).
        {"TRS MASTER (Filter ON)", 5, 2, 0, 1, 1, 2, 0, 3, 1, 7, 25, true, true},
        {"TDR Voltage Dip & Current", 12, 3, 2, 2, 0, 2, 0, 4, 0, 15, 40, true, true},
    };
    for (const Choices& c : cases) {
        SCOPED_TRACE(std::string(c.trigger) + " phase " + std::to_string(c.phase));
        Unit f;
        frmMaster& w = f.w;
        choose(w, c);
        const QString sent = panelState(w);
        // With the filter off the unit's balance value names no mode or reference: the panel
        // keeps its own, so those two are not scrambled.
        Choices scramble = plain;
        if (!c.filterOn) {
            scramble.mode = c.mode;
            scramble.reference = c.reference;
        }
        // Armed with the panel as it stands, the panel scrambled, and logged on again.
        press(w.cmdArm);
        EXPECT_TRUE(f.unit().armed());
        choose(w, scramble);
        w.connection->cmdConnect_Click();
        EXPECT_EQ(w.lblStatus->text(), QString("Index file downloaded"));
        EXPECT_EQ(panelState(w), sent);
        EXPECT_EQ(f.dialogs.shown().size(), 1u); // the arming question alone
    }
}
