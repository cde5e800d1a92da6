// The simulated unit behind the Transport interface, on the program's test clock.
#include "sim/InProcessTransport.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::sim;

namespace {

QByteArray readAfter(TestClock& clock, InProcessTransport& transport, std::int64_t ms)
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
