// A unit over a network link. First over a slow one: the standalone simulated unit listening as a
// device server (telnet with the COM-PORT-OPTION), reached through a relay that holds the bytes
// 300 ms each way with jitter, as a cellular link does. The whole road of one event completes,
// every file byte for byte; a link cut in the middle of any reception is a plain failure that
// leaves no file. Then behind a serial device server nobody here wrote: Debian's ser2net in front
// of two standalone simulated units' ptys, one behind a "telnet(rfc2217)" and one behind a raw
// "tcp" accepter on loopback, through either of which an event record comes byte for byte, its
// 0xFF bytes (telnet's IAC) included, on the PC's own clock.
#include "common/Clock.h"
#include "link/CommandTable.h"
#include "link/NetworkTransport.h"
#include "sim/SimUnit.h"
#include "support/LatencyProxy.h"
#include "support/LongRun.h"
#include "support/Ser2netProcess.h"
#include "support/TempFolder.h"
#include "support/UnitRoad.h"
#include "support/UnitSimProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace mr3x;
using test::RoadStep;

namespace {

constexpr test::LinkDelay kCellular{.oneWayMs = 300, .jitterMs = 60, .seed = 17};

/// The unit on the network and the slow link in front of it.
struct SlowUnit {
    SlowUnit()
        : unit({"--listen", "127.0.0.1:0", "--rfc2217", "--seed", "5"})
        , address(networkPortFromName(unit.path()).value_or(NetworkPort{}))
        , proxy(address.host, address.port, kCellular)
    {
        listening = address.kind == NetworkPort::Kind::Rfc2217 && address.error.isEmpty() && proxy.listen();
    }

    test::RoadOutcome run(test::RoadPlan plan)
    {
        plan.port = proxy.portName(QStringLiteral("rfc2217"));
        RealClock clock;
        return test::runRoad(clock, openerForPorts(clock), plan);
    }

    test::UnitSimProcess unit;
    NetworkPort address;
    test::LatencyProxy proxy;
    bool listening = false;
};

sim::SimUnit sameUnit()
{
    sim::SimOptions options;
    options.seed = 5;
    options.clock = *sim::DateTime::parse(test::kUnitSimClock);
    return sim::SimUnit(options);
}

std::string trail(const test::RoadOutcome& road)
{
    const QString step = road.failedAt ? test::stepName(*road.failedAt) + QStringLiteral(": ") : QString();
    return (step + road.statuses.join(QStringLiteral(" | "))).toStdString();
}

} // namespace

TEST(RemoteRoad, TheRoadOfOneEventCompletesOverA600MsRoundTripWithJitterEachWaitGrownByFourRoundTrips)
{
    SlowUnit slow;
    ASSERT_TRUE(slow.listening) << slow.unit.path().toStdString();
    test::TempFolder root;
    test::RoadPlan plan;
    plan.folder = root.mkdirs("MR-0101");
    // Two short records: every block waits for the round trip, and a long record takes ten
    // seconds so (a long one crosses ser2net below).
    plan.firstEvent = "04";
    plan.secondEvent = "08";
    const test::RoadOutcome road = slow.run(plan);

    ASSERT_FALSE(road.failedAt) << trail(road);
    EXPECT_EQ(road.messages, QStringList());
    EXPECT_EQ(road.lastStatus(), QString("Local Unit armed"));
    EXPECT_GT(slow.proxy.turns(), 40) << "the road waited on the link's round trip";
    // The allowance the waits were given: four round trips of the telnet negotiation, which crosses
    // the whole link, one round trip of 600 ms give or take the jitter of both ways.
    const QString log = QString::fromUtf8(test::readWhole(plan.folder + "/MR-0101 Link.log"));
    const QRegularExpressionMatch allowance =
        QRegularExpression("Link allowance (\\d+) ms on every wait \\(measured at opening\\)").match(log);
    ASSERT_TRUE(allowance.hasMatch()) << log.left(600).toStdString();
    EXPECT_GE(allowance.captured(1).toInt(), 4 * (600 - 2 * kCellular.jitterMs));
    EXPECT_LE(allowance.captured(1).toInt(), 4 * (600 + 2 * kCellular.jitterMs) + 200);
    // A raw port's connection is taken by the relay near the PC: the trip it shows is short.
    RealClock clock;
    const std::unique_ptr<Transport> raw = openNetworkPort(clock, *networkPortFromName(slow.proxy.portName("socket")));
    ASSERT_TRUE(raw->open(LineSettings{115200}));
    EXPECT_EQ(raw->linkAllowanceMs(), NetworkLimits{}.allowanceFloorMs);

    sim::SimUnit unit = sameUnit();
    std::vector<std::pair<StoredFile::Kind, QString>> stored;
    for (const StoredFile& file : road.stored)
        stored.emplace_back(file.kind, QFileInfo(file.path).fileName());
    const std::vector<std::pair<StoredFile::Kind, QString>> expected = {
        {StoredFile::Kind::Settings, "MR-0101 Settings.txt"},
        {StoredFile::Kind::Index, "MR-0101.IDX"},
        {StoredFile::Kind::Event, test::storedNameOf(unit.eventRecord(3))},
        {StoredFile::Kind::Event, test::storedNameOf(unit.eventRecord(7))},
        {StoredFile::Kind::Trace, test::kRoadTrace},
    };
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(test::readWhole(road.stored[1].path), test::toQBytes(unit.indexFile()));
    EXPECT_EQ(test::readWhole(road.stored[2].path), test::toQBytes(unit.eventRecord(3)));
    EXPECT_EQ(test::readWhole(road.stored[3].path), test::toQBytes(unit.eventRecord(7)));
    EXPECT_EQ(QFileInfo(road.stored[4].path).size(), 629) << "a TDR test's trace and its trailer";
}

TEST(RemoteRoad, ALinkCutInTheMiddleOfAReceptionIsAPlainFailureThatLeavesNoFile)
{
    const test::QuietWarnings quiet; // each failed reception is logged
    const QString transferFailed = QString::fromLatin1(commands::transferFailedText.data());
    const QString settingsTimeout = QString::fromLatin1(commands::rowOf(commands::Command::Settings).timeout.data());
    struct Cut {
        RoadStep step;
        qint64 afterBytes; // of the unit's, from the step's start: within its answer or its file
        QString failure;
    };
    const Cut cuts[] = {
        {RoadStep::Settings, 60, settingsTimeout},
        {RoadStep::Index, 250, transferFailed},
        {RoadStep::FirstEvent, 5000, transferFailed},
        {RoadStep::Test, 400, transferFailed},
    };
    for (const Cut& cut : cuts) {
        SCOPED_TRACE(test::stepName(cut.step).toStdString());
        SlowUnit slow; // a fresh unit: the one cut off is left in the middle of its transfer
        ASSERT_TRUE(slow.listening);
        test::TempFolder root;
        test::RoadPlan plan;
        plan.folder = root.mkdirs("MR-0101");
        plan.steps = {RoadStep::LogOn, cut.step};
        plan.beforeStep = [&](RoadStep step) {
            if (step == cut.step)
                slow.proxy.cutAfter(cut.afterBytes);
        };
        const test::RoadOutcome road = slow.run(plan);

        EXPECT_TRUE(slow.proxy.wasCut());
        ASSERT_TRUE(road.failedAt) << trail(road);
        EXPECT_EQ(*road.failedAt, cut.step);
        EXPECT_EQ(road.portStatus, portstatus::Canceled);
        EXPECT_TRUE(road.statuses.contains(cut.failure)) << trail(road);
        EXPECT_TRUE(road.stored.empty());
        // Nothing but the link log: no partial file, no temporary one.
        EXPECT_EQ(QDir(plan.folder).entryList(QDir::Files | QDir::Hidden), QStringList{"MR-0101 Link.log"});
    }
}

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

    sim::SimUnit unit = sameUnit();
    const std::vector<std::uint8_t>& record = unit.eventRecord(0);
    ASSERT_NE(std::count(record.begin(), record.end(), 0xFF), 0) << "the record must hold bytes telnet escapes";

    for (const QString& port : {server.rfc2217Port(), server.rawPort()}) {
        SCOPED_TRACE(port.toStdString());
        RealClock clock;
        test::RoadPlan plan;
        plan.port = port;
        plan.folder = root.mkdirs(port.section(QLatin1Char(':'), 0, 0));
        plan.steps = {RoadStep::LogOn, RoadStep::FirstEvent};
        const test::RoadOutcome road = test::runRoad(clock, openerForPorts(clock), plan);
        ASSERT_FALSE(road.failedAt) << trail(road);
        EXPECT_TRUE(road.statuses.contains("Event 01 received"));
        ASSERT_EQ(road.stored.size(), 1u);
        EXPECT_EQ(road.stored[0].path, plan.folder + '/' + test::storedNameOf(record));
        EXPECT_EQ(test::readWhole(road.stored[0].path), test::toQBytes(record));
    }
}
