// The YMODEM receiver driven by hand-made frames and a hand-moved clock.
#include "YmodemFrames.h"
#include "link/ymodem/Receiver.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;
using ymodem::Outcome;
using Kind = ymodem::TransferEvent::Kind;

namespace {

const Bytes C{'C'};
const Bytes ACK{ymodem::ACK};
const Bytes NAK{ymodem::NAK};
const Bytes EOT{ymodem::EOT};
const Bytes CANCAN{ymodem::CAN, ymodem::CAN};

Bytes times(std::size_t count, const Bytes& answer)
{
    Bytes all;
    for (std::size_t i = 0; i < count; ++i)
        all = all + answer;
    return all;
}

/// The receiver with its clock and the data it handed on.
struct Link {
    explicit Link(ymodem::ReceiverLimits limits = {}) : rx(limits) {}

    Bytes start() { return keep(rx.start(now)); }
    Bytes send(const Bytes& bytes) { return keep(rx.receive(bytes, now)); }
    /// Lets `ms` pass, looking at the time every 10 ms as the serial control does.
    Bytes wait(std::int64_t ms)
    {
        Bytes answered;
        for (const std::int64_t end = now + ms; now < end;) {
            now += 10;
            answered = answered + keep(rx.tick(now));
        }
        return answered;
    }
    Bytes sendAndWait(const Bytes& bytes, std::int64_t ms)
    {
        const Bytes answered = send(bytes);
        return answered + wait(ms);
    }
    Bytes keep(Bytes answer)
    {
        stored = stored + rx.takeData();
        if (!rx.running() && endedMs < 0)
            endedMs = now;
        return answer;
    }

    ymodem::Receiver rx;
    std::int64_t now = 0;
    std::int64_t endedMs = -1;
    Bytes stored;
};

/// Starts a reception and has the header for `file` accepted.
void announce(Link& link, const Bytes& file)
{
    ASSERT_EQ(link.start(), C);
    ASSERT_EQ(link.send(header("Event_05.EVT", file.size())), ACK + C);
}

/// Sends the file's blocks, each acknowledged, and the EOT twice.
void sendFile(Link& link, const Bytes& file, std::size_t blockSize = 1024)
{
    for (const Bytes& block : dataFrames(file, blockSize))
        ASSERT_EQ(link.send(block), ACK);
    EXPECT_EQ(link.send(EOT), NAK);
    EXPECT_EQ(link.send(EOT), ACK + C);
}

Bytes corrupted(Bytes block, std::size_t at)
{
    block[at] ^= 0x40;
    return block;
}

} // namespace

// The test frames are made with this same function, so only the published check value and an
// outside sender (sz) can tell a wrong CRC.
TEST(YmodemReceiver, FramesWithTheXmodemCrc)
{
    EXPECT_EQ(ymodem::crc16(Bytes{'1', '2', '3', '4', '5', '6', '7', '8', '9'}), 0x31C3);
}

TEST(YmodemReceiver, TakesWholeFilesOfTheirExactLengthUpToTheLargestAllowedAndNothingAfterTheBatch)
{
    // lrzsz puts the modification time and mode after the length and leaves old data in the
    // rest of block 0; the largest file allowed is taken whole.
    ymodem::ReceiverLimits limits;
    limits.maxFileBytes = 11520;
    for (const std::size_t size : {std::size_t{1}, std::size_t{629}, std::size_t{3328}, std::size_t{11520}}) {
        for (const std::size_t blockSize : {std::size_t{128}, std::size_t{1024}}) {
            SCOPED_TRACE(testing::Message() << size << " bytes in blocks of " << blockSize);
            const Bytes file = testFile(size);
            const auto blocks = dataFrames(file, blockSize);
            Link link(limits);
            ASSERT_EQ(link.start(), C);
            ASSERT_EQ(link.send(header("Event_05.EVT", size, " 14575373620 100644 0 1", 'x', blockSize)), ACK + C);
            Bytes wire;
            for (const Bytes& block : blocks)
                wire = wire + block;
            Bytes answers;
            if (blockSize == 128) { // every byte arriving on its own
                for (const std::uint8_t byte : wire)
                    answers = answers + link.send({byte});
            } else { // every block in one read
                answers = link.send(wire);
            }
            EXPECT_EQ(answers, times(blocks.size(), ACK));
            EXPECT_EQ(link.send(EOT + EOT), NAK + ACK + C);
            EXPECT_TRUE(link.rx.running()) << "the batch is not over before its closing block 0";
            // The closing block 0 ends it; the unit's words after it are left unread.
            const Bytes trailing = endOfBatch() + Bytes{'F', 'i', 'n'};
            std::size_t consumed = 0;
            EXPECT_EQ(link.keep(link.rx.receive(trailing, link.now, &consumed)), ACK);
            EXPECT_EQ(consumed, trailing.size() - 3);
            EXPECT_EQ(link.rx.outcome(), Outcome::Complete);
            EXPECT_EQ(link.stored, file);
        }
    }
}

TEST(YmodemReceiver, RecoversFromRepeatedBadAndLateBlocksAndLineNoise)
{
    const Bytes file = testFile(11520);
    const auto blocks = dataFrames(file, 1024);
    Link link;
    announce(link, file);
    // The header's ACK was lost: block 0 comes again and is answered as before.
    EXPECT_EQ(link.send(header("Event_05.EVT", file.size())), ACK + C);
    EXPECT_EQ(link.send(blocks[0]), ACK);

    // A bad CRC is answered once the line is quiet; nine in a row are forgiven when the tenth
    // sending is good.
    EXPECT_TRUE(link.send(corrupted(blocks[1], 100)).empty()) << "no answer while the block may still come";
    EXPECT_EQ(link.wait(200), NAK);
    for (int attempt = 2; attempt <= 9; ++attempt)
        EXPECT_EQ(link.sendAndWait(corrupted(blocks[1], 100), 200), NAK);
    EXPECT_EQ(link.send(blocks[1]), ACK);
    EXPECT_EQ(link.sendAndWait(corrupted(blocks[2], 5), 200), NAK) << "the count started again";
    EXPECT_EQ(link.send(blocks[2]), ACK);
    EXPECT_EQ(link.send(blocks[2]), ACK) << "a repeat is acknowledged and not stored twice";

    Bytes badComplement = blocks[3];
    badComplement[2] = 0x00;
    EXPECT_EQ(link.sendAndWait(badComplement, 200), NAK);
    EXPECT_EQ(link.send(blocks[3]), ACK);

    // Noise where a block should start: the noise and what follows it are dropped, then NAK.
    EXPECT_EQ(link.sendAndWait(Bytes{'#', '#'} + blocks[4], 200), NAK);
    EXPECT_EQ(link.send(blocks[4]), ACK);

    // A dropped byte: each character has a second to come, then the block is NAKed.
    Bytes shortBlock = blocks[5];
    shortBlock.erase(shortBlock.begin() + 500);
    EXPECT_TRUE(link.sendAndWait(shortBlock, 990).empty());
    EXPECT_EQ(link.wait(20), NAK);
    EXPECT_EQ(link.send(blocks[5]), ACK);

    // One CAN alone is line noise.
    EXPECT_EQ(link.send(Bytes{ymodem::CAN} + blocks[6]), ACK);
    for (std::size_t i = 7; i < blocks.size(); ++i)
        EXPECT_EQ(link.send(blocks[i]), ACK);
    EXPECT_EQ(link.sendAndWait(EOT + EOT + endOfBatch(), 0), NAK + ACK + C + ACK);
    EXPECT_EQ(link.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(link.stored, file);
}

TEST(YmodemReceiver, EveryUnfinishedReceptionEndsAtItsLimitKeepingOnlyAWholeFile)
{
    const Bytes file = testFile(3328);
    const auto blocks = dataFrames(file, 1024);
    const Bytes halfBlock(blocks[1].begin(), blocks[1].begin() + 300);
    enum Stage { Started, Announced, FileSent }; // FileSent: the second EOT acknowledged
    struct Case {
        const char* what;
        Stage stage;
        Bytes bytes; // sent `sendings` times, each followed by `waitMs`
        std::int64_t waitMs;
        Bytes answers;
        Outcome outcome = Outcome::Failed;
        int sendings = 1;
        std::int64_t endsAtMs = 0; // when the time limits end it
    };
    const Case cases[] = {
        {"the tenth bad block in a row", Announced, corrupted(blocks[0], 100), 200, times(9, NAK) + CANCAN,
         Outcome::Failed, 10},
        {"a sender that never starts: 'C' every 10 s", Started, {}, 200'000, times(9, C) + CANCAN, Outcome::Failed, 1,
         100'000},
        {"a sender that stops in the middle of a block", Announced, blocks[0] + halfBlock, 200'000,
         ACK + times(9, NAK) + CANCAN, Outcome::Failed, 1, 91'000},
        {"CAN CAN from the sender, after a block of CAN bytes that is data", Announced,
         frame(1, Bytes(1024, ymodem::CAN), 1024) + CANCAN, 0, ACK, Outcome::Aborted},
        {"a header without a length", Started, header("x.EVT", std::nullopt), 0, CANCAN},
        {"a header whose name has no NUL", Started, frame(0, Bytes(128, 'n'), 128), 0, CANCAN},
        {"a length beyond 1 MiB", Started, header("x.EVT", (1u << 20) + 1), 0, CANCAN},
        {"an absurd length", Started, header("x.EVT", std::nullopt, "99999999999999999999999999"), 0, CANCAN},
        {"a data block before any header", Started, blocks[0], 0, CANCAN},
        {"an empty batch", Started, endOfBatch(), 0, ACK},
        {"block 2 where block 1 was due", Announced, blocks[1], 0, CANCAN},
        {"a block past the announced length", Announced,
         blocks[0] + blocks[1] + blocks[2] + blocks[3] + frame(5, file, 128), 0, times(4, ACK) + CANCAN},
        {"a file that ends before its announced length", Announced, blocks[0] + EOT + EOT, 0, ACK + NAK + ACK + CANCAN},
        // The whole file was acknowledged: it is kept whatever becomes of the batch.
        {"an EOT again (its ACK was lost), then no closing block", FileSent, EOT, 10'100, ACK + C + CANCAN,
         Outcome::Complete, 1, 10'000},
        {"a closing block that never arrives intact", FileSent, corrupted(endOfBatch(), 40), 200, times(9, C) + CANCAN,
         Outcome::Complete, 10},
        {"a second file", FileSent, header("second.EVT", 10), 0, CANCAN, Outcome::Complete},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Link link;
        if (c.stage == Started)
            link.start();
        else
            announce(link, file);
        if (c.stage == FileSent)
            sendFile(link, file);
        Bytes answers;
        for (int sending = 0; sending < c.sendings; ++sending)
            answers = answers + link.sendAndWait(c.bytes, c.waitMs);
        EXPECT_EQ(answers, c.answers);
        EXPECT_EQ(link.rx.outcome(), c.outcome);
        if (c.endsAtMs > 0) {
            EXPECT_EQ(link.endedMs, c.endsAtMs);
        }
        if (c.outcome == Outcome::Complete) {
            EXPECT_EQ(link.stored, file);
        }
        // Our CAN CAN, or the sender's, is the last the link log is told of.
        const std::vector<ymodem::TransferEvent> events = link.rx.takeEvents();
        if (c.answers.back() == ymodem::CAN || c.outcome == Outcome::Aborted) {
            ASSERT_FALSE(events.empty());
            EXPECT_EQ(events.back().kind, c.outcome == Outcome::Aborted ? Kind::Aborted : Kind::Cancelled);
        }
    }
}

TEST(YmodemReceiver, ReportsEachBlockRepeatErrorRetryAndEndInOrderForTheLinkLog)
{
    const Bytes file = testFile(300);
    const auto blocks = dataFrames(file, 128);
    Link link;
    announce(link, file);
    link.send(blocks[0]);
    link.sendAndWait(corrupted(blocks[1], 40), 200);
    link.send(blocks[0]); // our ACK of block 1 was lost
    link.send(blocks[1]);
    link.send(blocks[2]);
    link.send(EOT + EOT);
    const std::vector<ymodem::TransferEvent> events = link.rx.takeEvents();
    const std::vector<ymodem::TransferEvent> expected = {
        {Kind::Announced, 0, 0, 0, 300, "Event_05.EVT"},
        {Kind::Block, 1, 128, 128, 300, ""},
        {Kind::BadBlock, 2, 0, 128, 300, "CRC error"},
        {Kind::Retry, -1, 0, 128, 300, "NAK"},
        {Kind::Repeated, 1, 0, 128, 300, ""},
        {Kind::Block, 2, 128, 256, 300, ""},
        {Kind::Block, 3, 44, 300, 300, ""},
        {Kind::EndOfFile, -1, 0, 300, 300, ""},
    };
    EXPECT_EQ(events, expected);
}
