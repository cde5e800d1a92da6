#pragma once
// The unit's file sender: YMODEM batch with CRC-16, one file per batch. A header block 0 with the
// name, NUL, the decimal length and the modification time (octal), 1024-byte data blocks and
// 128-byte blocks for a short tail, EOT (sent again on NAK), then the empty block 0 that closes
// the batch. A block is sent again on NAK or when its answer does not come; ten retries or CAN
// CAN from the receiver end the transfer.
//
// Before each block 0 the sender waits for a quiet line after the receiver's 'C': receivers such
// as rz empty their input right after sending 'C', so a block sent at once would be lost.
//
// The sender is driven by time: receive() takes the receiver's bytes with their arrival time,
// advance() runs its timers, and what it sends goes to the OutputLine with the time it is ready.
#include "sim/OutputLine.h"
#include "sim/SimFaults.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mr3x::sim {

class YmodemSender {
public:
    struct Timing {
        Micros quiet = 10'000;            // line quiet after a 'C' before a block 0
        Micros offer = 30'000'000;        // the wait for the receiver's first 'C'
        Micros reply = 10'000'000;        // the wait for each ACK or 'C'
        Micros stalledGiveUp = 60'000'000;  // a sender stalled for good returns to commands
        int maxRetries = 10;
    };

    enum class State {
        Idle,
        Offering,   // waiting for the receiver's first 'C'
        Sending,
        Stalled,    // stopped for good by a fault: silent until CAN CAN or the give-up time
        Done,       // the batch was closed
        Failed,     // too many retries, CAN CAN from the receiver, a fault abort or a lost line
        Abandoned,  // no receiver came, or a command byte came instead of 'C'
    };

    explicit YmodemSender(OutputLine& line) : line_(line) {}
    YmodemSender(OutputLine& line, Timing timing) : line_(line), timing_(timing) {}

    /// Offers one file. `modifiedSeconds` is sent as the modification time.
    void offer(const std::string& name, std::vector<std::uint8_t> data, std::int64_t modifiedSeconds,
               Micros now, const TransferFaults& faults = {});
    /// The offer is withdrawn (a command arrived instead of the receiver's 'C').
    void abandon();
    /// Drops whatever transfer is under way, without a word on the line (the line went away).
    void stop();

    void receive(std::uint8_t byte, Micros at);
    void advance(Micros now);
    /// The next moment the sender acts on its own, if any.
    std::optional<Micros> nextDeadline() const;

    State state() const { return state_; }
    bool offering() const { return state_ == State::Offering; }
    bool busy() const { return state_ == State::Offering || state_ == State::Sending || state_ == State::Stalled; }
    /// The receiver has the whole file; only the batch's closing handshake is left.
    bool fileDelivered() const
    {
        return state_ == State::Sending
            && (step_ == Step::WaitCloseC || step_ == Step::QuietBeforeClose || step_ == Step::WaitCloseAck);
    }
    /// Ends a delivered batch without its closing handshake (the receiver went away without it).
    void finishDelivered()
    {
        if (fileDelivered())
            state_ = State::Done;
    }
    /// When a disconnect fault takes the line away.
    std::optional<Micros> lineLostAt() const { return lineLostAt_; }
    /// Blocks sent again after a NAK, a repeated 'C' or a missing answer.
    int resends() const { return resends_; }

    /// The frames of a file, as they go on the wire (exposed for tests).
    static std::vector<std::uint8_t> headerBlock(const std::string& name, std::size_t length,
                                                 std::int64_t modifiedSeconds);
    static std::vector<std::vector<std::uint8_t>> dataBlocks(const std::vector<std::uint8_t>& data);
    static std::vector<std::uint8_t> closingBlock();

private:
    enum class Step {
        WaitStartC,
        QuietBeforeHeader,
        WaitHeaderAck,
        WaitDataC,
        WaitDataAck,
        WaitEotAnswer,
        WaitCloseC,
        QuietBeforeClose,
        WaitCloseAck,
    };

    void onAnswer(std::uint8_t byte);
    void fire(Micros at);
    std::optional<Micros> stepDeadline() const;
    void sendFrame(int block, Micros at);
    void sendEot(Micros at);
    void afterAck(Micros at);
    void retry(Micros at, Step resendStep);
    void giveUp(Micros at);
    void put(std::vector<std::uint8_t> bytes, Micros at);
    std::vector<std::uint8_t> framed(int block);
    Micros quietFrom() const;

    OutputLine& line_;
    Timing timing_;
    TransferFaults faults_;
    State state_ = State::Idle;
    Step step_ = Step::WaitStartC;
    std::vector<std::vector<std::uint8_t>> frames_;  // header, data blocks..., closing block
    static constexpr int kEotFrame = -2;
    int current_ = 0;            // index into frames_ of the block awaiting its answer
    int lastFrameSent_ = -1;     // index into frames_, or kEotFrame
    bool headerSent_ = false;
    bool closeSent_ = false;
    int retries_ = 0;
    int resends_ = 0;
    Micros offeredAt_ = 0;
    Micros lastReceived_ = 0;
    Micros lastSentEnd_ = 0;
    Micros stalledAt_ = 0;
    Micros lastEvent_ = 0;  // the sender's own time never runs backwards
    bool lastWasCan_ = false;
    std::int64_t bytesSent_ = 0;
    bool stallUsed_ = false;
    int corruptLeft_ = 0;
    int dropLeft_ = 0;
    std::optional<Micros> lineLostAt_;
    std::optional<std::pair<Micros, std::vector<std::uint8_t>>> remainder_;  // the rest of a stalled frame
};

} // namespace mr3x::sim
