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

    explicit SenderRig(std::size_t length = 3000)
    {
        Bytes data(length);
        for (std::size_t i = 0; i < length; ++i)
            data[i] = static_cast<std::uint8_t>(i * 7);
        sender.offer("EVENT_01.EVT", data, 0, now);
    }
    void at(Micros t) { now = t; sender.advance(now); }
    void answer(std::uint8_t byte) { sender.receive(byte, now); }
    Bytes out() { return line.take(now); }
};

bool crcOk(const Bytes& frame)
{
    const std::size_t size = frame[0] == STX ? 1024 : 128;
    return frame.size() == size + 5 && frame[2] == 255 - frame[1]
        && crc16(std::span<const std::uint8_t>(frame.data() + 3, size + 2)) == 0;
}

} // namespace

TEST(YmodemSender, FramesCarryNameLengthDataAndValidCrc)
{
    const Bytes header = YmodemSender::headerBlock("EVENT_05.EVT", 11520, 8);
    ASSERT_TRUE(crcOk(header));
    EXPECT_EQ(header[0], SOH);
    EXPECT_EQ(header[1], 0);
    const std::string content(header.begin() + 3, header.begin() + 3 + 24);
    EXPECT_EQ(content, std::string("EVENT_05.EVT\0" "11520 10\0\0\0", 24));

    // 11520 bytes: eleven 1024-byte blocks, then the 256-byte tail as two 128-byte blocks.
    Bytes data(11520, 0x55);
    const auto blocks = YmodemSender::dataBlocks(data);
    ASSERT_EQ(blocks.size(), 13u);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        EXPECT_TRUE(crcOk(blocks[i])) << i;
        EXPECT_EQ(blocks[i][0], i < 11 ? STX : SOH) << i;
        EXPECT_EQ(blocks[i][1], i + 1) << i;
    }
    // A short tail is padded with 0x1A; a tail over seven small blocks takes a large one.
    const auto one = YmodemSender::dataBlocks(Bytes{0x42});
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0][3], 0x42);
    EXPECT_EQ(one[0][4], 0x1A);
    EXPECT_EQ(YmodemSender::dataBlocks(Bytes(1000)).size(), 1u);
    EXPECT_EQ(YmodemSender::dataBlocks(Bytes(1000))[0][0], STX);
    EXPECT_EQ(YmodemSender::dataBlocks(Bytes(629)).size(), 5u);
    const Bytes closing = YmodemSender::closingBlock();
    EXPECT_TRUE(crcOk(closing));
    EXPECT_TRUE(std::all_of(closing.begin() + 1, closing.end() - 2,
                            [](std::uint8_t b) { return b == 0 || b == 0xFF; }));
}

TEST(YmodemSender, WaitsForAQuietLineBeforeEachBlockZero)
{
    SenderRig rig;
    rig.at(5 * ms);
    rig.answer(CRC_REQUEST);
    rig.at(14 * ms);
    EXPECT_TRUE(rig.out().empty());
    // Another 'C' restarts the quiet time.
    rig.answer(CRC_REQUEST);
    rig.at(23 * ms);
    EXPECT_TRUE(rig.out().empty());
    rig.at(24 * ms);
    const Bytes header = rig.out();
    ASSERT_EQ(header.size(), 133u);
    EXPECT_EQ(header[1], 0);

    // A 'C' that crossed the header is answered by a resend once the line is quiet, unless the
    // header's ACK comes first.
    rig.answer(CRC_REQUEST);
    rig.at(28 * ms);
    rig.answer(ACK);
    rig.at(60 * ms);
    EXPECT_TRUE(rig.out().empty());
    EXPECT_EQ(rig.sender.resends(), 0);
    // The data 'C' gets the first data block at once.
    rig.answer(CRC_REQUEST);
    Bytes block = rig.out();
    ASSERT_EQ(block.size(), 1029u);
    EXPECT_EQ(block[1], 1);
    // A 'C' after the first data block means it was lost: it goes again.
    rig.at(61 * ms);
    rig.answer(CRC_REQUEST);
    block = rig.out();
    ASSERT_EQ(block.size(), 1029u);
    EXPECT_EQ(block[1], 1);
    EXPECT_EQ(rig.sender.resends(), 1);
}

TEST(YmodemSender, ResendsOnNakEndsTheBatchAndGivesUpAfterTenRetries)
{
    SenderRig rig(1500);  // one large block and four small ones
    rig.answer(CRC_REQUEST);
    rig.at(20 * ms);
    ASSERT_EQ(rig.out().size(), 133u);
    rig.answer(ACK);
    rig.answer(CRC_REQUEST);
    ASSERT_EQ(rig.out()[1], 1);
    rig.answer(NAK);
    ASSERT_EQ(rig.out()[1], 1);
    std::vector<int> numbers;
    for (int i = 0; i < 5; ++i) {
        rig.answer(ACK);
        const Bytes next = rig.out();
        numbers.push_back(next.size() == 1 ? -next[0] : next[1]);
    }
    EXPECT_EQ(numbers, (std::vector<int>{2, 3, 4, 5, -EOT}));
    // EOT is sent again on NAK, then the closing block after a quiet line.
    rig.answer(NAK);
    EXPECT_EQ(rig.out(), Bytes{EOT});
    rig.answer(ACK);
    rig.answer(CRC_REQUEST);
    EXPECT_TRUE(rig.out().empty());
    rig.at(40 * ms);
    const Bytes closing = rig.out();
    ASSERT_EQ(closing.size(), 133u);
    EXPECT_EQ(closing[3], 0);
    rig.answer(ACK);
    EXPECT_EQ(rig.sender.state(), YmodemSender::State::Done);

    // Ten NAKs are borne; the eleventh ends the transfer with CAN CAN.
    SenderRig stubborn;
    stubborn.answer(CRC_REQUEST);
    stubborn.at(20 * ms);
    stubborn.answer(ACK);
    stubborn.answer(CRC_REQUEST);
    stubborn.out();
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
}

TEST(YmodemSender, StopsOnCanCanAndWithdrawsAnUnansweredOffer)
{
    SenderRig rig;
    rig.answer(CRC_REQUEST);
    rig.at(20 * ms);
    rig.answer(ACK);
    rig.answer(CRC_REQUEST);
    rig.out();
    rig.answer(CAN);
    EXPECT_EQ(rig.sender.state(), YmodemSender::State::Sending);  // one CAN is line noise
    rig.answer(CAN);
    EXPECT_EQ(rig.sender.state(), YmodemSender::State::Failed);
    rig.at(30'000 * ms);
    EXPECT_TRUE(rig.out().empty());

    SenderRig lonely;
    lonely.at(29'999 * ms);
    EXPECT_EQ(lonely.sender.state(), YmodemSender::State::Offering);
    lonely.at(30'000 * ms);
    EXPECT_EQ(lonely.sender.state(), YmodemSender::State::Abandoned);
    EXPECT_TRUE(lonely.out().empty());
}

TEST(OutputLine, PacesBytesAtTenBitsEach)
{
    OutputLine line;
    line.setRate(9600, true);
    const Micros end = line.send(Bytes(1029, 1), 0);
    EXPECT_EQ(end, 1029 * 10'000'000LL / 9600);
    EXPECT_EQ(line.take(1'041), Bytes(1, 1));
    EXPECT_EQ(line.take(104'166).size(), 99u);
    // Bytes queued behind a busy line start when it is free.
    EXPECT_EQ(line.send(Bytes(2, 2), 500'000), end + 2 * 10'000'000LL / 9600);
    EXPECT_EQ(line.take(end + 2'084).size(), 1029u - 100u + 2u);

    OutputLine fast;
    fast.setRate(115200, false);
    fast.send(Bytes(5000, 3), 7);
    EXPECT_TRUE(fast.take(6).empty());
    EXPECT_EQ(fast.take(7).size(), 5000u);
}
