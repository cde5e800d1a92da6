// Telnet with the COM-PORT-OPTION against the byte strings of RFC 854, 856, 858 and 2217.
#include "link/telnet/ComPortClient.h"

#include <gtest/gtest.h>

using namespace mr3x::telnet;

namespace {

constexpr std::uint8_t IAC = 255, SB = 250, SE = 240, WILL = 251, WONT = 252, DO = 253, DONT = 254;

} // namespace

TEST(Telnet, TheClientSetsTheFarPortOnceTheServerTakesTheComPortOptionThenPassesTheDataBothWaysWithTheirFFBytes)
{
    ComPortClient client;
    EXPECT_EQ(client.start({115200, 8, 'n', 1}),
              (Bytes{IAC, WILL, 0, IAC, DO, 0, IAC, WILL, 3, IAC, DO, 3, IAC, WILL, 44}));
    EXPECT_EQ(client.state(), ComPortClient::State::Negotiating);
    EXPECT_EQ(client.setLine({115200, 8, 'n', 1}), Bytes{}) << "nothing is set before the server agrees";

    // The server agrees to what we offered and asked, and asks for ECHO and TERMINAL-TYPE (24), which
    // we refuse once each; then it takes the COM-PORT-OPTION.
    Bytes reply;
    EXPECT_EQ(client.receive(Bytes{IAC, DO, 0, IAC, WILL, 0, IAC, WILL, 3, IAC, DO, 3, IAC, WILL, 1, IAC, DO, 24}, reply),
              Bytes{});
    EXPECT_EQ(reply, (Bytes{IAC, DONT, 1, IAC, WONT, 24}));
    reply.clear();
    client.receive(Bytes{IAC, WILL, 1, IAC, DO, 24}, reply);
    EXPECT_EQ(reply, Bytes{}) << "an option refused once is not answered again: the two sides never loop";

    client.receive(Bytes{IAC, DO, 44}, reply);
    EXPECT_TRUE(client.ready());
    // SET-BAUDRATE 115200 (0x0001C200, high byte first), SET-DATASIZE 8, SET-PARITY NONE (1),
    // SET-STOPSIZE 1, then PURGE-DATA of both buffers (3).
    EXPECT_EQ(reply, (Bytes{IAC, SB, 44, 1, 0x00, 0x01, 0xC2, 0x00, IAC, SE, IAC, SB, 44, 2, 8, IAC, SE,
                            IAC, SB, 44, 3, 1, IAC, SE, IAC, SB, 44, 4, 1, IAC, SE, IAC, SB, 44, 12, 3, IAC, SE}));
    reply.clear();
    client.receive(Bytes{IAC, DO, 44}, reply);
    EXPECT_EQ(reply, Bytes{}) << "a repeated DO sets nothing twice";

    // A new line speed goes out at once: 9600 is 0x00002580. A speed with a 0xFF byte has it doubled.
    EXPECT_EQ(client.setLine({9600, 8, 'n', 1}), (Bytes{IAC, SB, 44, 1, 0, 0, 0x25, 0x80, IAC, SE, IAC, SB, 44, 2, 8, IAC, SE,
                                                        IAC, SB, 44, 3, 1, IAC, SE, IAC, SB, 44, 4, 1, IAC, SE}));
    const Bytes odd = lineSettingCommands({0x1FF, 7, 'e', 2});
    EXPECT_EQ(odd, (Bytes{IAC, SB, 44, 1, 0, 0, 0x01, IAC, IAC, IAC, SE, IAC, SB, 44, 2, 7, IAC, SE,
                          IAC, SB, 44, 3, 3, IAC, SE, IAC, SB, 44, 4, 2, IAC, SE}));

    // The data then pass both ways. Out: 0xFF doubled, nothing else touched (a YMODEM block is all bytes).
    EXPECT_EQ(client.send(Bytes{0x01, 0xFF, 0xFE, 0xFF, 0xFF}), (Bytes{0x01, 0xFF, 0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF}));

    // In: IAC IAC is one 0xFF, also when the two are split over two reads; the server's answers
    // (SET-BAUDRATE + 100 with 115200, SET-DATASIZE + 100) and a NOTIFY-MODEMSTATE (107) between
    // data bytes are consumed, an IAC IAC inside one of them included; a NOP is dropped.
    EXPECT_EQ(client.receive(Bytes{'F', 'i', IAC}, reply), (Bytes{'F', 'i'}));
    EXPECT_EQ(client.receive(Bytes{IAC, 'n', IAC, SB, 44, 101, 0x00, 0x01, 0xC2, 0x00, IAC, SE, 'i'}, reply),
              (Bytes{0xFF, 'n', 'i'}));
    EXPECT_EQ(client.receive(Bytes{IAC, SB, 44, 102, 8, IAC, SE, IAC, SB, 44, 107, IAC, IAC, IAC}, reply), Bytes{});
    EXPECT_EQ(client.receive(Bytes{SE, 's', IAC, 241, 'h'}, reply), (Bytes{'s', 'h'}));
    EXPECT_EQ(reply, Bytes{}) << "answers from the server are not answered";
    EXPECT_EQ(client.serverAnswers(), 3);
    EXPECT_EQ(client.serverBaud(), 115200u);

    // The framing alone: a subnegotiation's payload comes out undoubled.
    Decoder decoder;
    const Decoder::Output out = decoder.feed(Bytes{'a', IAC, SB, 44, 1, IAC, IAC, 2, IAC, SE, 'b'});
    ASSERT_EQ(out.commands.size(), 1u);
    EXPECT_EQ(out.commands[0].kind, Command::Kind::Subnegotiation);
    EXPECT_EQ(out.commands[0].payload, (Bytes{1, 0xFF, 2}));

    // A server that will not let its port be set: the link cannot be used.
    ComPortClient refused;
    refused.start({9600, 8, 'n', 1});
    reply.clear();
    refused.receive(Bytes{IAC, DONT, 44}, reply);
    EXPECT_EQ(refused.state(), ComPortClient::State::Refused);
    EXPECT_EQ(reply, Bytes{});
}
