// The sender's protocol, driven byte by byte with crafted receiver answers.
#include "sim/YmodemSender.h"

#include "link/ymodem/Crc16.h"

#include <gtest/gtest.h>

#include <string>

using namespace mr3x::sim;
using namespace mr3x::ymodem;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr Micros ms = 1000;

struct SenderRig {
    OutputLine line;
    YmodemSender sender{line};
    Micros now = 0;

    explicit SenderRig(std::size_t length = 3000) { sender.offer("EVENT_01.EVT", Bytes(length, 7), 8, now); }
    void at(Micros t) { now = t; sender.advance(now); }
    void answer(std::uint8_t byte) { sender.receive(byte, now); }
    Bytes out() { return line.take(now); }
    /// The block number of what went out; EOT as -EOT, nothing as -1.
    int sent()
    {
        const Bytes frame = out();
        return frame.size() == 1 ? -frame[0] : frame.size() > 2 ? frame[1] : -1;
    }
    /// The receiver's 'C', the header after the quiet time, its ACK and the data 'C'.
    void startData()
    {
        answer(CRC_REQUEST);
        at(20 * ms);
        answer(ACK);
        answer(CRC_REQUEST);
        out();
    }
};

} // namespace

TEST(YmodemSender, WaitsForAQuietLineBeforeEachBlockZeroAndResendsWhatWasNotTaken)
{
    SenderRig rig(1500);  // one large block and four small ones
    rig.at(5 * ms);
    rig.answer(CRC_REQUEST);
    rig.at(14 * ms);
    EXPECT_TRUE(rig.out().empty());
    // Another 'C' restarts the quiet time.
    rig.answer(CRC_REQUEST);
    rig.at(23 * ms);
    EXPECT_TRUE(rig.out().empty());
    rig.at(24 * ms);
    // Block 0 carries the name, the length and the modification time in octal.
    const Bytes header = rig.out();
    ASSERT_EQ(header.size(), 133u);
    EXPECT_EQ(header[1], 0);
    EXPECT_EQ(std::string(header.begin() + 3, header.begin() + 27), std::string("EVENT_01.EVT\0" "1500 10\0\0\0\0", 24));

    // A 'C' that crossed the header is answered by a resend once the line is quiet, unless the
    // header's ACK comes first.
    rig.answer(CRC_REQUEST);
    rig.at(28 * ms);
    rig.answer(ACK);
    rig.at(60 * ms);
    EXPECT_TRUE(rig.out().empty());
    // The data 'C' gets the first data block at once; another 'C' means it was lost, as does a
    // NAK. EOT is sent again on NAK.
    std::vector<int> numbers;
    for (std::uint8_t answer : {CRC_REQUEST, CRC_REQUEST, NAK, ACK, ACK, ACK, ACK, ACK, NAK}) {
        rig.answer(answer);
        numbers.push_back(rig.sent());
    }
    EXPECT_EQ(numbers, (std::vector<int>{1, 1, 1, 2, 3, 4, 5, -EOT, -EOT}));
    EXPECT_EQ(rig.sender.resends(), 2);
    // Then the closing block after a quiet line.
    rig.answer(ACK);
    rig.answer(CRC_REQUEST);
    EXPECT_TRUE(rig.out().empty());
    rig.at(80 * ms);
    const Bytes closing = rig.out();
    ASSERT_EQ(closing.size(), 133u);
    EXPECT_EQ(closing[3], 0);
    rig.answer(ACK);
    EXPECT_EQ(rig.sender.state(), YmodemSender::State::Done);
}

TEST(YmodemSender, GivesUpAfterTenRetriesStopsOnCanCanAndWithdrawsAnUnansweredOffer)
{
    // Ten NAKs are borne; the eleventh ends the transfer with CAN CAN.
    SenderRig stubborn;
    stubborn.startData();
    for (int i = 0; i < 10; ++i) {
        stubborn.answer(NAK);
        ASSERT_EQ(stubborn.out().size(), 1029u) << i;
    }
    stubborn.answer(NAK);
    EXPECT_EQ(stubborn.out(), (Bytes{CAN, CAN}));
    EXPECT_EQ(stubborn.sender.state(), YmodemSender::State::Failed);

    // A missing ACK counts as well: the block goes again after the reply time.
    SenderRig quiet;
    quiet.answer(CRC_REQUEST);
    quiet.at(20 * ms);
    quiet.out();
    quiet.at(20 * ms + 10'000 * ms);
    EXPECT_EQ(quiet.out().size(), 133u);

    // CAN CAN from the receiver ends it; one CAN is line noise.
    SenderRig canceled;
    canceled.startData();
    canceled.answer(CAN);
    EXPECT_EQ(canceled.sender.state(), YmodemSender::State::Sending);
    canceled.answer(CAN);
    EXPECT_EQ(canceled.sender.state(), YmodemSender::State::Failed);
    canceled.at(30'000 * ms);
    EXPECT_TRUE(canceled.out().empty());

    // Nobody asks for the file: the offer is withdrawn after 30 s.
    SenderRig lonely;
    lonely.at(29'999 * ms);
    EXPECT_EQ(lonely.sender.state(), YmodemSender::State::Offering);
    lonely.at(30'000 * ms);
    EXPECT_EQ(lonely.sender.state(), YmodemSender::State::Abandoned);
    EXPECT_TRUE(lonely.out().empty());
}
