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

/// The receiver with its clock and everything it sent and stored.
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
    /// Sends, then lets `ms` pass: everything answered, in order.
    Bytes sendAndWait(const Bytes& bytes, std::int64_t ms)
    {
        Bytes answered = send(bytes);
        return answered + wait(ms);
    }
    Bytes keep(Bytes answer)
    {
        stored = stored + rx.takeData();
        sent = sent + answer;
        return answer;
    }

    ymodem::Receiver rx;
    std::int64_t now = 0;
    Bytes sent;
    Bytes stored;
};

/// Starts a reception and has the header for `file` accepted.
void announce(Link& link, const Bytes& file)
{
    ASSERT_EQ(link.start(), C);
    ASSERT_EQ(link.send(header("Event_05.EVT", file.size())), ACK + C);
}

/// Sends the end of the file and of the batch, checking each answer.
void finishBatch(Link& link)
{
    EXPECT_EQ(link.send(EOT), NAK);
    EXPECT_EQ(link.send(EOT), ACK + C);
    EXPECT_EQ(link.send(endOfBatch()), ACK);
}

} // namespace

TEST(YmodemReceiver, TakesWholeFilesInShortAndLongBlocksKeepingTheirExactLength)
{
    for (const std::size_t size : {std::size_t{1}, std::size_t{128}, std::size_t{629}, std::size_t{3328}, std::size_t{11520}}) {
        for (const std::size_t blockSize : {std::size_t{128}, std::size_t{1024}}) {
            SCOPED_TRACE(testing::Message() << size << " bytes in blocks of " << blockSize);
            const Bytes file = testFile(size);
            Link link;
            announce(link, file);
            for (const Bytes& block : dataFrames(file, blockSize))
                ASSERT_EQ(link.send(block), ACK);
            EXPECT_TRUE(link.rx.running()) << "the batch is not over before its closing block 0";
            finishBatch(link);
            EXPECT_EQ(link.rx.outcome(), Outcome::Complete);
            EXPECT_EQ(link.stored, file);
            EXPECT_EQ(link.rx.announcedName(), "Event_05.EVT");
            EXPECT_EQ(link.rx.bytesReceived(), size);
        }
    }
}

TEST(YmodemReceiver, TakesAMixOfBlockSizesAndBytesSplitAnywhere)
{
    // 8309 bytes: two long blocks, then short ones, fed one byte at a time.
    const Bytes file = testFile(8309);
    Link link;
    announce(link, file);
    Bytes wire;
    std::size_t at = 0;
    std::size_t count = 0;
    const std::size_t sizes[] = {1024, 1024, 128};
    for (std::uint8_t number = 1; at < file.size(); ++number, ++count) {
        const std::size_t size = sizes[count % 3];
        const Bytes part(file.begin() + static_cast<std::ptrdiff_t>(at),
                         file.begin() + static_cast<std::ptrdiff_t>(std::min(file.size(), at + size)));
        wire = wire + frame(number, part, size);
        at += size;
    }
    Bytes answers;
    for (const std::uint8_t byte : wire)
        answers = answers + link.send({byte});
    EXPECT_EQ(answers, Bytes(count, ymodem::ACK));
    finishBatch(link);
    EXPECT_EQ(link.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(link.stored, file);
}

TEST(YmodemReceiver, ReadsBlockZeroWhosePaddingCarriesData)
{
    // lrzsz puts the modification time and mode after the length, and leaves old data in the
    // rest of the block.
    const Bytes file = testFile(360);
    for (const std::size_t size : {std::size_t{128}, std::size_t{1024}}) {
        Link link;
        link.start();
        EXPECT_EQ(link.send(header("a.bin", 360, " 14575373620 100644 0 1 360", 'x', size)), ACK + C);
        EXPECT_EQ(link.rx.announcedLength(), 360u);
        for (const Bytes& block : dataFrames(file, 1024))
            link.send(block);
        finishBatch(link);
        EXPECT_EQ(link.rx.outcome(), Outcome::Complete);
        EXPECT_EQ(link.stored, file);
    }
}

TEST(YmodemReceiver, AcknowledgesAndDropsARepeatedBlock)
{
    const Bytes file = testFile(3328);
    const auto blocks = dataFrames(file, 1024);
    Link link;
    announce(link, file);
    // The header's ACK was lost: block 0 comes again and is answered as before.
    EXPECT_EQ(link.send(header("Event_05.EVT", file.size())), ACK + C);
    EXPECT_EQ(link.send(blocks[0]), ACK);
    EXPECT_EQ(link.send(blocks[0]), ACK) << "the repeat is acknowledged";
    for (std::size_t i = 1; i < blocks.size(); ++i)
        EXPECT_EQ(link.send(blocks[i]), ACK);
    finishBatch(link);
    EXPECT_EQ(link.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(link.stored, file) << "the repeat is not stored twice";
}

TEST(YmodemReceiver, AnswersABadBlockWithNakOnceTheLineIsQuietAndTakesItsRepeat)
{
    const Bytes file = testFile(3328);
    const auto blocks = dataFrames(file, 1024);
    Link link;
    announce(link, file);
    EXPECT_EQ(link.send(blocks[0]), ACK);

    Bytes badCrc = blocks[1];
    badCrc.back() ^= 0x55;
    EXPECT_TRUE(link.send(badCrc).empty()) << "no answer while the rest of the block may still come";
    EXPECT_EQ(link.wait(200), NAK);
    EXPECT_EQ(link.send(blocks[1]), ACK);

    Bytes badComplement = blocks[2];
    badComplement[2] = 0x00;
    EXPECT_EQ(link.sendAndWait(badComplement, 200), NAK);
    EXPECT_EQ(link.send(blocks[2]), ACK);

    // Noise where a block should start: the noise and what follows it are dropped, then NAK.
    EXPECT_EQ(link.sendAndWait(bytes({'#', '#'}) + blocks[3], 200), NAK);
    EXPECT_EQ(link.send(blocks[3]), ACK);

    finishBatch(link);
    EXPECT_EQ(link.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(link.stored, file);
}

TEST(YmodemReceiver, GivesUpWithCanCanAtTheTenthErrorInARow)
{
    const Bytes file = testFile(3328);
    const auto blocks = dataFrames(file, 1024);
    Link link;
    announce(link, file);
    Bytes bad = blocks[0];
    bad[100] ^= 0x01;
    Bytes answers;
    for (int attempt = 1; attempt <= 10 && link.rx.running(); ++attempt)
        answers = answers + link.sendAndWait(bad, 200);
    EXPECT_EQ(answers, Bytes(9, ymodem::NAK) + CANCAN);
    EXPECT_EQ(link.rx.outcome(), Outcome::Failed);
    EXPECT_TRUE(link.stored.empty());

    // A good block between errors starts the count again.
    Link patient;
    announce(patient, file);
    for (int attempt = 0; attempt < 9; ++attempt) {
        patient.send(bad);
        patient.wait(200);
    }
    EXPECT_EQ(patient.send(blocks[0]), ACK);
    Bytes badSecond = blocks[1];
    badSecond[5] ^= 0x80;
    EXPECT_EQ(patient.sendAndWait(badSecond, 200), NAK);
    EXPECT_TRUE(patient.rx.running());
}

TEST(YmodemReceiver, ADroppedByteEndsTheBlockAfterOneSecondWithNak)
{
    const Bytes file = testFile(3328);
    const auto blocks = dataFrames(file, 1024);
    Link link;
    announce(link, file);
    Bytes shortBlock = blocks[0];
    shortBlock.erase(shortBlock.begin() + 500);
    EXPECT_TRUE(link.send(shortBlock).empty());
    EXPECT_TRUE(link.wait(990).empty()) << "each character has a second to come";
    EXPECT_EQ(link.wait(20), NAK);
    for (const Bytes& block : blocks)
        EXPECT_EQ(link.send(block), ACK);
    finishBatch(link);
    EXPECT_EQ(link.stored, file);
}

TEST(YmodemReceiver, ASenderThatNeverStartsIsAskedTenTimesThenCancelled)
{
    Link link;
    link.start();
    link.wait(99'000);
    EXPECT_EQ(link.sent, Bytes(10, 'C')) << "'C' every 10 s while no block comes";
    EXPECT_TRUE(link.rx.running());
    link.wait(1'000);
    EXPECT_EQ(link.sent, Bytes(10, 'C') + CANCAN);
    EXPECT_EQ(link.rx.outcome(), Outcome::Failed);
}

TEST(YmodemReceiver, ASenderThatStallsMidBlockEndsTheReceptionInBoundedTime)
{
    const Bytes file = testFile(11520);
    const auto blocks = dataFrames(file, 1024);
    Link link;
    announce(link, file);
    link.send(blocks[0]);
    link.send(Bytes(blocks[1].begin(), blocks[1].begin() + 300));
    const Bytes answers = link.wait(100'000);
    EXPECT_EQ(link.rx.outcome(), Outcome::Failed);
    // A NAK after the first second, one every 10 s after it, and CAN CAN at the tenth error.
    EXPECT_EQ(answers, Bytes(9, ymodem::NAK) + CANCAN);
}

TEST(YmodemReceiver, TwoCansFromTheSenderAbortTheReception)
{
    const Bytes file = testFile(3328);
    const auto blocks = dataFrames(file, 1024);
    Link link;
    announce(link, file);
    EXPECT_EQ(link.send(blocks[0]), ACK);
    // CAN bytes inside a block are data.
    Bytes cans(1024, ymodem::CAN);
    EXPECT_EQ(link.send(frame(2, cans, 1024)), ACK);
    EXPECT_TRUE(link.send(CANCAN).empty());
    EXPECT_EQ(link.rx.outcome(), Outcome::Aborted);

    // One CAN alone is line noise: the reception goes on.
    Link noisy;
    announce(noisy, file);
    EXPECT_EQ(noisy.send(Bytes{ymodem::CAN} + blocks[0]), ACK);
    EXPECT_TRUE(noisy.rx.running());
}

TEST(YmodemReceiver, RefusesFilesWithoutALengthTooLongOrLongerThanAnnounced)
{
    struct Case {
        const char* what;
        Bytes header;
    };
    for (const Case& c : {Case{"no length", header("x.EVT", std::nullopt)},
                          Case{"no name ended by NUL", frame(0, Bytes(128, 'n'), 128)},
                          Case{"beyond 1 MiB", header("x.EVT", (1u << 20) + 1)},
                          Case{"absurd length", header("x.EVT", std::nullopt, "99999999999999999999999999")}}) {
        SCOPED_TRACE(c.what);
        Link link;
        link.start();
        EXPECT_EQ(link.send(c.header), CANCAN);
        EXPECT_EQ(link.rx.outcome(), Outcome::Failed);
    }

    const Bytes file = testFile(100);
    Link link;
    announce(link, file);
    EXPECT_EQ(link.send(frame(1, file, 128)), ACK);
    EXPECT_EQ(link.send(frame(2, file, 128)), CANCAN) << "a block past the announced length";
    EXPECT_EQ(link.rx.outcome(), Outcome::Failed);

    Link shortFile;
    announce(shortFile, testFile(3328));
    shortFile.send(dataFrames(testFile(3328), 1024)[0]);
    EXPECT_EQ(shortFile.send(EOT), NAK);
    EXPECT_EQ(shortFile.send(EOT), ACK + CANCAN) << "the file ended 2304 bytes early";
    EXPECT_EQ(shortFile.rx.outcome(), Outcome::Failed);
}

TEST(YmodemReceiver, AcceptsAFileOfExactlyTheLargestLength)
{
    ymodem::ReceiverLimits limits;
    limits.maxFileBytes = 2048;
    const Bytes file = testFile(2048);
    Link link(limits);
    ASSERT_EQ(link.start(), C);
    ASSERT_EQ(link.send(header("big", 2048)), ACK + C);
    for (const Bytes& block : dataFrames(file, 1024))
        EXPECT_EQ(link.send(block), ACK);
    finishBatch(link);
    EXPECT_EQ(link.stored, file);
}

TEST(YmodemReceiver, ABlockOutOfSequenceOrBeforeTheHeaderEndsTheReception)
{
    const Bytes file = testFile(3328);
    const auto blocks = dataFrames(file, 1024);
    Link skipped;
    announce(skipped, file);
    EXPECT_EQ(skipped.send(blocks[1]), CANCAN) << "block 2 where block 1 was due";
    EXPECT_EQ(skipped.rx.outcome(), Outcome::Failed);

    Link noHeader;
    noHeader.start();
    EXPECT_EQ(noHeader.send(blocks[0]), CANCAN) << "an XMODEM sender announces no length";
    EXPECT_EQ(noHeader.rx.outcome(), Outcome::Failed);
}

TEST(YmodemReceiver, AnEmptyBatchBringsNoFile)
{
    Link link;
    link.start();
    EXPECT_EQ(link.send(endOfBatch()), ACK);
    EXPECT_EQ(link.rx.outcome(), Outcome::Failed);
}

TEST(YmodemReceiver, KeepsAWholeFileWhenTheBatchIsNotClosedAndStopsASecondFile)
{
    const Bytes file = testFile(629);
    Link unclosed;
    announce(unclosed, file);
    unclosed.send(dataFrames(file, 1024)[0]);
    unclosed.send(EOT);
    EXPECT_EQ(unclosed.send(EOT), ACK + C);
    // The EOT's ACK was lost once: the EOT comes again and is answered again.
    EXPECT_EQ(unclosed.send(EOT), ACK + C);
    EXPECT_TRUE(unclosed.wait(9'900).empty());
    EXPECT_EQ(unclosed.wait(200), CANCAN);
    EXPECT_EQ(unclosed.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(unclosed.stored, file);

    // A closing block that never arrives intact: the file is whole all the same.
    Link garbled;
    announce(garbled, file);
    garbled.send(dataFrames(file, 1024)[0]);
    garbled.send(EOT);
    garbled.send(EOT);
    Bytes badEnd = endOfBatch();
    badEnd[40] = 0x33;
    Bytes answers;
    for (int attempt = 0; attempt < 10; ++attempt)
        answers = answers + garbled.sendAndWait(badEnd, 200);
    EXPECT_EQ(answers, Bytes(9, 'C') + CANCAN);
    EXPECT_EQ(garbled.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(garbled.stored, file);

    Link twoFiles;
    announce(twoFiles, file);
    twoFiles.send(dataFrames(file, 1024)[0]);
    twoFiles.send(EOT);
    twoFiles.send(EOT);
    EXPECT_EQ(twoFiles.send(header("second.EVT", 10)), CANCAN);
    EXPECT_EQ(twoFiles.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(twoFiles.stored, file);
}

TEST(YmodemReceiver, LeavesBytesAfterTheBatchUnread)
{
    const Bytes file = testFile(1);
    Link link;
    announce(link, file);
    link.send(frame(1, file, 128));
    link.send(EOT);
    link.send(EOT);
    const Bytes trailing = endOfBatch() + Bytes{'F', 'i', 'n'};
    std::size_t consumed = 0;
    link.rx.receive(trailing, link.now, &consumed);
    EXPECT_EQ(link.rx.outcome(), Outcome::Complete);
    EXPECT_EQ(consumed, trailing.size() - 3);
}
