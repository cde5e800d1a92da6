// End to end through a real pty: the main window with its serial control and QSerialPort transport
// on one side, the standalone simulated unit on the other, on the PC's own clock.
#include "common/Clock.h"
#include "unit/UnitSession.h"
#include "link/ConnectionLifecycle.h"
#include "sim/SimUnit.h"
#include "support/LinkFixture.h"
#include "support/UnitSimProcess.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(EndToEnd, TheWindowLogsOnFetchesARecordByteForByteAndLogsOffThroughARealPty)
{
    test::UnitSimProcess unit({"--seed", "5", "--baud", "115200", "--pace"});
    ASSERT_FALSE(unit.path().isEmpty());
    RealClock realClock;
    test::LinkFixture f;
    f.clockOverride = &realClock;
    frmMaster& w = f.start();
    w.cboCommports->addItem(unit.path());
    w.cboCommports->setCurrentIndex(w.cboCommports->count() - 1);
    w.optBaud[1]->setChecked(true);
    w.connection->cboCommports_Click();
    ASSERT_EQ(w.lblStatus->text(), unit.path() + " (Ready)");

    w.connection->cmdConnect_Click();
    EXPECT_TRUE(f.statusHistory.contains("Local unit disarmed")) << f.statusHistory.join(" | ").toStdString();
    EXPECT_EQ(w.cmdConnect->text(), QString("Disconnect from Local Unit"));
    EXPECT_TRUE(w.cmdArm->isEnabled());

    // The record the standalone unit sends is the one a unit of the same seed and clock holds.
    sim::SimOptions options;
    options.seed = 5;
    options.clock = *sim::DateTime::parse(test::kUnitSimClock);
    ASSERT_TRUE(w.unit->sendCommand(commands::eventRecordRequest("01")));
    ASSERT_TRUE(w.unit->receiveFile(f.root.mkdirs(QStringLiteral("unit")), QStringLiteral("Event_01.EVT")));
    EXPECT_EQ(f.root.read(QStringLiteral("unit/Event_01.EVT")), test::bytesOf(sim::SimUnit(options).eventRecord(0)));

    // Log off, letting the unit arm itself.
    f.dialogs.answer(MsgAnswer::Ok);
    w.connection->cmdConnect_Click();
    EXPECT_EQ(w.lblStatus->text(), QString("Disconnected"));
    EXPECT_FALSE(w.Comm->PortOpen());

    // The unit is recording again: a fresh log-on stops it again.
    w.connection->cboCommports_Click();
    w.connection->cmdConnect_Click();
    EXPECT_EQ(f.statusHistory.count("Local unit disarmed"), 2);
}
