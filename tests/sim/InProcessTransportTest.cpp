// The simulated unit behind the Transport interface, on the program's test clock.
#include "sim/DemoUnits.h"
#include "sim/InProcessTransport.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::sim;

namespace {

QByteArray readAfter(TestClock& clock, Transport& transport, std::int64_t ms)
{
    clock.advance(ms);
    transport.poll();
    return transport.readAll();
}

} // namespace

TEST(InProcessTransport, CarriesBytesBothWaysOnTheProgramsClock)
{
    TestClock clock;
    SimOptions options;
    options.paced = true;
    auto unit = std::make_shared<SimUnit>(options);
    InProcessTransport transport(clock, unit);
    int arrived = 0;
    QObject::connect(&transport, &Transport::readyRead, [&arrived] { ++arrived; });
    EXPECT_EQ(transport.status(), "Port closed");
    EXPECT_FALSE(transport.write("="));

    ASSERT_TRUE(transport.open(LineSettings{9600}));
    EXPECT_EQ(transport.status(), "Connected");
    EXPECT_TRUE(transport.write("="));
    clock.advance(1000);
    EXPECT_TRUE(transport.write("-"));
    EXPECT_EQ(readAfter(clock, transport, 30), "\r\nstopped by serial comm!\r\n");

    // Closing and reopening finds the unit as it was left, under serial control. Its answer
    // leaves at the line rate, the settings text and then the "Finished" line: 129 characters
    // at 9600 baud take 135 ms.
    transport.close();
    EXPECT_EQ(transport.status(), "Port closed");
    ASSERT_TRUE(transport.open(LineSettings{9600}));
    transport.write("X");
    QByteArray text = readAfter(clock, transport, 130);
    EXPECT_LT(text.size(), 129);
    text += readAfter(clock, transport, 5);
    EXPECT_EQ(text, "M-R3X Local Unit M-R32\r\nParameters:9600,15,3,12,0,0,3,34,10,10,0,R2,06/12/26,Feeder 7 Fault,"
                    "North Yard,,,SIM 4401\r\nFinished X\r\n");
    EXPECT_EQ(arrived, 3);
}

TEST(InProcessTransport, TheDemoOffersTheTrsPairOnOnePortEachAndLeavesOtherNamesToTheRealPorts)
{
    TestClock clock;
    const DateTime now{2027, 3, 4, 10, 30, 0};
    const std::vector<SimulatedPort> ports = demoUnits(Model::MR32, now);
    ASSERT_EQ(ports.size(), 2u);
    EXPECT_EQ(std::tuple(ports[0].name, ports[0].unit->trsRole()), std::tuple(QString("Simulated unit (M-R32)"), TrsRole::Master));
    const UnitSettings& slaveSettings = ports[1].unit->settings();
    EXPECT_EQ(std::tuple(ports[1].name, ports[1].unit->trsRole(), slaveSettings.location, slaveSettings.simNumber),
              std::tuple(QString("Simulated unit (M-R32 slave)"), TrsRole::Slave, std::string("South Yard"), std::string("SIM 4402")));
    // Both ends hold the pair's event, taken at one moment.
    const Bytes& master = ports[0].unit->eventRecord(ports[0].unit->storedEvents() - 1);
    const Bytes& slave = ports[1].unit->eventRecord(ports[1].unit->storedEvents() - 1);
    EXPECT_TRUE(std::equal(master.begin(), master.begin() + 6, slave.begin()));

    QStringList realPortsAsked;
    const TransportOpener open = openerWithSimulatedPorts(clock, ports, [&realPortsAsked](const QString& name) {
        realPortsAsked << name;
        return std::unique_ptr<Transport>();
    });
    EXPECT_EQ(open(QStringLiteral("/dev/ttyUSB0")), nullptr);
    EXPECT_EQ(realPortsAsked, QStringList{QStringLiteral("/dev/ttyUSB0")});

    // Each port reaches its own unit: the version command names its serial number.
    for (const auto& [port, serial] : {std::pair(ports[0].name, "MR-0101"), std::pair(ports[1].name, "MR-0102")}) {
        const std::unique_ptr<Transport> transport = open(port);
        ASSERT_NE(transport, nullptr);
        ASSERT_TRUE(transport->open(LineSettings{115200}));
        transport->write("=");
        clock.advance(1000);
        transport->write("-");
        readAfter(clock, *transport, 100);
        transport->write("V");
        EXPECT_EQ(readAfter(clock, *transport, 100), QByteArray("\r\nM-R3X M-R32 firmware 2.4 serial ") + serial + "\r\nFinished V\r\n");
    }
    EXPECT_EQ(realPortsAsked.size(), 1);

    // An M-S32 demo is the one unit.
    const std::vector<SimulatedPort> single = demoUnits(Model::MS32, now);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0].name, "Simulated unit (M-S32)");
    EXPECT_EQ(single[0].unit->trsRole(), TrsRole::None);
}
