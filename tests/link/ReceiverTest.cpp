// The YMODEM receiver driven by hand-made frames and a hand-moved clock.
#include "YmodemFrames.h"
#include "link/ymodem/Receiver.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;
using ymodem::Outcome;

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

TEST(YmodemReceiver, TakesWholeFilesOfTheirExactLengthUpToTheLargestAllowed)
{
    // lrzsz puts the modification time and mode after the length and leaves old data in the
    // rest of block 0; the largest file allowed is taken whole.
    ymodem::ReceiverLimits limits;
    limits.maxFileBytes = 11520;
    for (const std::size_t size : {std::size_t{1}, std::size_t{629}, std::size_t{3328}, std::size_t{11520}}) {
        for (const std::size_t blockSize : {std::size_t{128}, std::size_t{1024}}) {
            SCOPED_TRACE(testing::Message() << size << " bytes in blocks of " << blockSize);
            const Bytes file = testFile(size);
            Link link(limits);
            ASSERT_EQ(link.start(), C);
            ASSERT_EQ(link.send(header("Event_05.EVT", size, " 14575373620 100644 0 1", 'x', blockSize)), ACK + C);
            sendFile(link, file, blockSize);
            EXPECT_TRUE(link.rx.running()) << "the batch is not over before its closing block 0";
            EXPECT_EQ(link.send(endOfBatch()), ACK);
            EXPECT_EQ(link.rx.outcome(), Outcome::Complete);
            EXPECT_EQ(link.stored, file);
            EXPECT_EQ(link.rx.announcedName(), "Event_05.EVT");
        }
    }

    // Long and short blocks mixed, every byte arriving on its own.
    const Bytes file = testFile(8309);
    Link link;
    announce(link, file);
    Bytes wire;
    std::size_t blocks = 0;
    for (std::size_t at = 0; at < file.size(); ++blocks) {
        const std::size_t size = blocks % 3 == 2 ? 128 : 1024;
        const Bytes part(file.begin() + static_cast<std::ptrdiff_t>(at),
                         file.begin() + static_cast<std::ptrdiff_t>(std::min(file.size(), at + size)));
        wire = wire + frame(static_cast<std::uint8_t>(blocks + 1), part, size);
        at += size;
    }
    Bytes answers;
    for (const std::uint8_t byte : wire)
        answers = answers + link.send({byte});
    EXPECT_EQ(answers, times(blocks, ACK));
    EXPECT_EQ(link.sendAndWait(EOT + EOT + endOfBatch(), 0), NAK + ACK + C + ACK);
    EXPECT_EQ(link.stored, file);
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

TEST(YmodemReceiver, EveryFailedReceptionEndsAtItsLimitTellingTheSenderToStop)
{
    const Bytes file = testFile(3328);
    const auto blocks = dataFrames(file, 1024);
    const Bytes halfBlock(blocks[1].begin(), blocks[1].begin() + 300);
    struct Case {
        const char* what;
        bool announced;         // the header for `file` was accepted first
        Bytes bytes;            // sent `sendings` times, each followed by `waitMs`
        std::int64_t waitMs;
        Bytes answers;
        Outcome outcome = Outcome::Failed;
        int sendings = 1;
        std::int64_t endsAtMs = 0; // when the time limits end it
    };
    const Case cases[] = {
        {"the tenth bad block in a row", true, corrupted(blocks[0], 100), 200, times(9, NAK) + CANCAN, Outcome::Failed, 10},
        {"a sender that never starts: 'C' every 10 s", false, {}, 200'000, times(9, C) + CANCAN, Outcome::Failed, 1, 100'000},
        {"a sender that stops in the middle of a block", true, blocks[0] + halfBlock, 200'000,
         ACK + times(9, NAK) + CANCAN, Outcome::Failed, 1, 91'000},
        {"CAN CAN from the sender, after a block of CAN bytes that is data", true,
         frame(1, Bytes(1024, ymodem::CAN), 1024) + CANCAN, 0, ACK, Outcome::Aborted},
        {"a header without a length", false, header("x.EVT", std::nullopt), 0, CANCAN},
        {"a header whose name has no NUL", false, frame(0, Bytes(128, 'n'), 128), 0, CANCAN},
        {"a length beyond 1 MiB", false, header("x.EVT", (1u << 20) + 1), 0, CANCAN},
        {"an absurd length", false, header("x.EVT", std::nullopt, "99999999999999999999999999"), 0, CANCAN},
        {"a data block before any header", false, blocks[0], 0, CANCAN},
        {"an empty batch", false, endOfBatch(), 0, ACK},
        {"block 2 where block 1 was due", true, blocks[1], 0, CANCAN},
        {"a block past the announced length", true, blocks[0] + blocks[1] + blocks[2] + blocks[3] + frame(5, file, 128), 0,
         times(4, ACK) + CANCAN},
        {"a file that ends before its announced length", true, blocks[0] + EOT + EOT, 0, ACK + NAK + ACK + CANCAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Link link;
        if (c.announced)
            announce(link, file);
        else
            link.start();
        Bytes answers;
        for (int sending = 0; sending < c.sendings; ++sending)
            answers = answers + link.sendAndWait(c.bytes, c.waitMs);
        EXPECT_EQ(answers, c.answers);
        EXPECT_EQ(link.rx.outcome(), c.outcome);
        if (c.endsAtMs > 0) {
            EXPECT_EQ(link.endedMs, c.endsAtMs);
        }
    }
}

TEST(YmodemReceiver, KeepsAWholeFileWhoseBatchIsNotClosedAndLeavesWhatFollowsUnread)
{
    const Bytes file = testFile(629);
    Link unclosed;
    announce(unclosed, file);
    sendFile(unclosed, file);
    // The EOT's ACK was lost once: the EOT comes again and is answered again.
    EXPECT_EQ(unclosed.send(EOT), ACK + C);
    EXPECT_TRUE(unclosed.wait(9'900).empty());
    EXPECT_EQ(unclosed.wait(200), CANCAN);
    EXPECT_EQ(unclosed.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(unclosed.stored, file);

    // A closing block that never arrives intact, or a second file: the first is whole all the same.
    Link garbled;
    announce(garbled, file);
    sendFile(garbled, file);
    Bytes answers;
    for (int attempt = 0; attempt < 10; ++attempt)
        answers = answers + garbled.sendAndWait(corrupted(endOfBatch(), 40), 200);
    EXPECT_EQ(answers, times(9, C) + CANCAN);
    EXPECT_EQ(garbled.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(garbled.stored, file);

    Link twoFiles;
    announce(twoFiles, file);
    sendFile(twoFiles, file);
    EXPECT_EQ(twoFiles.send(header("second.EVT", 10)), CANCAN);
    EXPECT_EQ(twoFiles.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(twoFiles.stored, file);

    // The unit's next words after the batch are left for the program to read.
    Link closed;
    announce(closed, file);
    sendFile(closed, file);
    const Bytes trailing = endOfBatch() + Bytes{'F', 'i', 'n'};
    std::size_t consumed = 0;
    closed.rx.receive(trailing, closed.now, &consumed);
    EXPECT_EQ(closed.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(consumed, trailing.size() - 3);
}
