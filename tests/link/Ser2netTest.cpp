// Units behind a serial device server nobody here wrote: Debian's ser2net in front of two
// standalone simulated units' ptys, one behind a "telnet(rfc2217)" and one behind a raw "tcp"
// accepter on loopback.
// Through either the program logs on and downloads an event record byte for byte, its 0xFF bytes
// (telnet's IAC) included, on the PC's own clock.
#include "common/Clock.h"
#include "link/NetworkTransport.h"
#include "sim/SimUnit.h"
#include "support/LongRun.h"
#include "support/Ser2netProcess.h"
#include "support/TempFolder.h"
#include "support/UnitRoad.h"
#include "support/UnitSimProcess.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(Ser2net, AnEventRecordComesThroughItsTelnetAndItsRawAccepterByteForByte)
{
    if (test::Ser2netProcess::program().isEmpty())
        GTEST_SKIP() << "ser2net is not installed (Debian's package ser2net): the device server's tests are not run";
    test::UnitSimProcess telnetUnit({"--seed", "5", "--baud", "115200"});
    test::UnitSimProcess rawUnit({"--seed", "5", "--baud", "115200"});
    ASSERT_FALSE(telnetUnit.path().isEmpty() || rawUnit.path().isEmpty());
    test::TempFolder root;
    const test::Ser2netProcess server(telnetUnit.path(), rawUnit.path(), root.path());
    ASSERT_EQ(server.error(), QString());

    sim::SimOptions options;
    options.seed = 5;
    options.clock = *sim::DateTime::parse(test::kUnitSimClock);
    sim::SimUnit unit(options);
    const std::vector<std::uint8_t>& record = unit.eventRecord(0);
    ASSERT_NE(std::count(record.begin(), record.end(), 0xFF), 0) << "the record must hold bytes telnet escapes";

    for (const QString& port : {server.rfc2217Port(), server.rawPort()}) {
        SCOPED_TRACE(port.toStdString());
        RealClock clock;
        test::RoadPlan plan;
        plan.port = port;
        plan.folder = root.mkdirs(port.section(QLatin1Char(':'), 0, 0));
        plan.steps = {test::RoadStep::LogOn, test::RoadStep::FirstEvent};
        const test::RoadOutcome road = test::runRoad(clock, openerForPorts(clock), plan);
        ASSERT_FALSE(road.failedAt) << test::stepName(*road.failedAt).toStdString() << ": "
                                    << road.statuses.join(" | ").toStdString();
        EXPECT_TRUE(road.statuses.contains("Event 01 received"));
        ASSERT_EQ(road.stored.size(), 1u);
        EXPECT_EQ(road.stored[0].path, plan.folder + '/' + test::storedNameOf(record));
        EXPECT_EQ(test::readWhole(road.stored[0].path), test::toQBytes(record));
    }
}
