#pragma once
// The receiving side of a YMODEM batch that carries one file, as a state machine: it is handed
// the bytes that arrived and the present time, and answers with the bytes to send back. It does
// no input or output of its own, so the serial control drives it from real ports and tests drive
// it with crafted blocks and a clock of their own.
//
// The conversation:
//   receiver 'C'             sender block 0: name NUL decimal-length [more fields], padding
//   receiver ACK 'C'         sender block 1, 2, ... (128 or 1024 bytes each, CRC-16)
//   receiver ACK per block   (a repeated block is acknowledged and dropped, a bad one NAKed)
//   sender EOT, receiver NAK; sender EOT, receiver ACK 'C'
//   sender empty block 0, receiver ACK: the batch is over.
//
// Every reception ends: each block must start within blockStartMs of the last answer and each
// character of a block arrive within characterMs of the one before; the 10th error in a row ends
// the reception with CAN CAN, as does a file without a length, one longer than maxFileBytes or one
// that brings more data than it announced. Two CANs from the sender end it as aborted.
#include "link/ymodem/TransferEvent.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace mr3x::ymodem {

using Bytes = std::vector<std::uint8_t>;

struct ReceiverLimits {
    int maxErrors = 10;                    // errors in a row before giving up
    std::int64_t blockStartMs = 10'000;    // from our last answer to the first byte of a block
    std::int64_t characterMs = 1'000;      // between two characters of one block
    std::int64_t quietMs = 100;            // after a bad block, the line must be quiet this long before NAK
    std::uint64_t maxFileBytes = 1u << 20; // no file the unit sends comes near this
};

enum class Outcome {
    Running,
    Complete, // the file arrived whole, of its announced length
    Failed,   // errors, time-outs, a refused file: nothing usable arrived
    Aborted,  // the sender cancelled (CAN CAN)
};

class Receiver {
public:
    explicit Receiver(ReceiverLimits limits = {});

    /// Begins at `nowMs`: returns the first 'C'.
    Bytes start(std::int64_t nowMs);

    /// Takes bytes that arrived by `nowMs` and returns the answer to send. Once the reception has
    /// ended the remaining bytes are left alone; `consumed` (when given) says how many were used.
    Bytes receive(std::span<const std::uint8_t> bytes, std::int64_t nowMs, std::size_t* consumed = nullptr);

    /// Checks the time limits at `nowMs`; returns what to send (a repeated 'C', a NAK, CAN CAN).
    Bytes tick(std::int64_t nowMs);

    /// Gives up on our side (the file could not be written): returns CAN CAN.
    Bytes cancel(const std::string& reason);

    Outcome outcome() const { return outcome_; }
    bool running() const { return outcome_ == Outcome::Running; }
    /// Why the reception failed or was aborted, in words for a log.
    const std::string& failure() const { return failure_; }

    /// The name and length the sender announced in block 0.
    const std::string& announcedName() const { return name_; }
    std::optional<std::uint64_t> announcedLength() const { return length_; }
    /// File bytes accepted so far.
    std::uint64_t bytesReceived() const { return received_; }
    /// File bytes accepted since the last call, in order (never more than the announced length).
    Bytes takeData();
    /// What happened to the blocks since the last call, in order (for the link log).
    std::vector<TransferEvent> takeEvents();

private:
    enum class Phase { Header, Data, EndOfBatch };
    enum class Reading { BlockStart, InBlock, Purging };

    void takeByte(std::uint8_t byte, std::int64_t nowMs, Bytes& out);
    void takeBlockStart(std::uint8_t byte, std::int64_t nowMs, Bytes& out);
    void takeBlock(Bytes& out);
    void takeHeader(std::span<const std::uint8_t> payload, Bytes& out);
    void takeDataBlock(std::uint8_t number, std::span<const std::uint8_t> payload, Bytes& out);
    void takeEot(Bytes& out);
    void checkTime(std::int64_t nowMs, Bytes& out);
    void finishWithoutBatchEnd(Bytes& out);

    /// Counts an error; answers with NAK (or 'C' while a block 0 is awaited) once the line is quiet.
    void error(const std::string& reason, Bytes& out, int block = -1);
    void giveUp(const std::string& reason, Bytes& out);
    void answer(Bytes& out, std::initializer_list<std::uint8_t> bytes);
    void finish(Outcome outcome, const std::string& reason = {});
    std::uint8_t retryByte() const;
    void note(TransferEvent::Kind kind, int block = -1, std::uint64_t bytes = 0, std::string text = {});

    ReceiverLimits limits_;
    Outcome outcome_ = Outcome::Running;
    std::string failure_;
    Phase phase_ = Phase::Header;
    Reading reading_ = Reading::BlockStart;

    Bytes block_;                // the block being read, from its SOH or STX
    std::size_t blockTotal_ = 0; // its full size: 3 header bytes, payload, 2 CRC bytes
    bool canSeen_ = false;       // the last byte at a block start was one CAN
    bool eotSeen_ = false;       // one EOT has been NAKed

    int errors_ = 0;
    std::int64_t nowMs_ = 0;
    std::int64_t lastAnswerMs_ = 0;
    std::int64_t lastByteMs_ = 0;
    std::int64_t purgeStartMs_ = 0;

    std::uint8_t expected_ = 1;  // the number of the next new data block
    std::string name_;
    std::optional<std::uint64_t> length_;
    std::uint64_t received_ = 0;
    Bytes data_;
    std::vector<TransferEvent> events_;
};

} // namespace mr3x::ymodem
