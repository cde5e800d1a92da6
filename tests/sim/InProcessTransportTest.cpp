// The simulated unit behind the Transport interface, on the program's test clock.
#include "sim/InProcessTransport.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::sim;

namespace {

std::shared_ptr<SimUnit> pacedUnit()
{
    SimOptions options;
    options.paced = true;
    return std::make_shared<SimUnit>(options);
}

} // namespace

TEST(InProcessTransport, CarriesBytesBothWaysOnTheProgramsClock)
{
    TestClock clock;
    auto unit = pacedUnit();
    InProcessTransport transport(clock, unit);
    int arrived = 0;
    QObject::connect(&transport, &Transport::readyRead, [&arrived] { ++arrived; });
    EXPECT_EQ(transport.status(), "Port closed");
    EXPECT_FALSE(transport.write("="));

    ASSERT_TRUE(transport.open(LineSettings{9600}));
    EXPECT_EQ(transport.status(), "Connected");
    EXPECT_EQ(unit->settings().baud, 9600);
    EXPECT_TRUE(transport.write("="));
    clock.advance(1000);
    EXPECT_TRUE(transport.write("-"));
    // 27 characters at 9600 baud: not all there after 20 ms, all there after 30.
    clock.advance(20);
    transport.poll();
    QByteArray text = transport.readAll();
    EXPECT_GT(text.size(), 0);
    EXPECT_LT(text.size(), 27);
    clock.advance(10);
    transport.poll();
    text += transport.readAll();
    EXPECT_EQ(text, "\r\nstopped by serial comm!\r\n");
    EXPECT_GE(arrived, 2);
    EXPECT_TRUE(transport.readAll().isEmpty());

    // Closing and reopening finds the unit as it was left: still under serial control.
    transport.close();
    EXPECT_EQ(transport.status(), "Port closed");
    ASSERT_TRUE(transport.open(LineSettings{115200}));
    transport.write("X");
    clock.advance(50);
    transport.poll();
    EXPECT_TRUE(transport.readAll().startsWith("M-R3X Local Unit M-R32\r\nParameters:115200,"));
}

TEST(InProcessTransport, APulledCableReadsCanceledUntilReopened)
{
    TestClock clock;
    SimOptions options;
    options.armed = false;
    options.faults.transfer.disconnectAfterBytes = 300;
    auto unit = std::make_shared<SimUnit>(options);
    InProcessTransport transport(clock, unit);
    int lost = 0;
    QObject::connect(&transport, &Transport::lost, [&lost] { ++lost; });
    ASSERT_TRUE(transport.open(LineSettings{}));

    transport.write("f00");
    clock.advance(500);
    transport.write("C");
    clock.advance(50);
    transport.poll();
    EXPECT_EQ(transport.status(), "Connected");
    transport.write(QByteArray("\x06" "C"));  // the header's ACK, then the data 'C'
    clock.advance(50);
    transport.poll();
    transport.poll();
    EXPECT_EQ(transport.status(), "Canceled");
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(transport.write("R"));

    // The cable goes back in when the port is opened again.
    ASSERT_TRUE(transport.open(LineSettings{}));
    EXPECT_EQ(transport.status(), "Connected");
    transport.write("R");
    clock.advance(10);
    transport.poll();
    EXPECT_EQ(transport.readAll(), "\r\nFinished R\r\n");

    // A cable pulled while idle is noticed at the next poll.
    unit->disconnect(clock.nowMs());
    transport.poll();
    EXPECT_EQ(transport.status(), "Canceled");
    EXPECT_EQ(lost, 2);
}

TEST(InProcessTransport, PortNameSaysTheUnitIsSimulated)
{
    EXPECT_EQ(simulatedPortName("M-R32"), "Simulated unit (M-R32)");
    EXPECT_TRUE(isSimulatedPortName(simulatedPortName("M-S32")));
    EXPECT_FALSE(isSimulatedPortName("COM3"));
    EXPECT_FALSE(isSimulatedPortName("/dev/pts/4"));

    // The opener hands out the unit for its own name and asks the real ports for any other.
    TestClock clock;
    SimOptions options;
    options.model = Model::MS32;
    QStringList asked;
    const TransportOpener opener = openerWithSimulatedUnit(
        clock, std::make_shared<SimUnit>(options), [&asked](const QString& name) -> std::unique_ptr<Transport> {
            asked << name;
            return nullptr;
        });
    EXPECT_NE(dynamic_cast<InProcessTransport*>(opener("Simulated unit (M-S32)").get()), nullptr);
    EXPECT_EQ(opener("COM3"), nullptr);
    EXPECT_EQ(asked, QStringList{"COM3"});
}
