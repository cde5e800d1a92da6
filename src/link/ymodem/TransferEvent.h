#pragma once
// What happens to one file transfer, block by block, as the link log tells it: the receiver
// reports the blocks, repeats, errors and retries; the file reception its start and its end.
#include <cstdint>
#include <string>

namespace mr3x::ymodem {

struct TransferEvent {
    enum class Kind {
        Started,   // the program asks for the file `text`
        Announced, // block 0: the sender names its file `text`, `length` bytes
        Block,     // block `block` accepted: `bytes` of the file, `received` of `length` so far
        Repeated,  // block `block` came again (our ACK was lost): acknowledged and dropped
        BadBlock,  // a block (number `block`, or -1 when none could be read) refused: `text` says why
        Retry,     // the receiver asked again: `text` is "NAK" or "C"
        EndOfFile, // the sender's EOT accepted after `received` bytes
        Cancelled, // the receiver sent CAN CAN to stop the sender
        Aborted,   // the sender sent CAN CAN
        Stored,    // the file `text` is stored whole, `length` bytes
        Failed,    // the reception ended without a file: `text` says why
    };
    Kind kind = Kind::Started;
    int block = -1;
    std::uint64_t bytes = 0;
    std::uint64_t received = 0;
    std::uint64_t length = 0;
    std::string text;
    friend bool operator==(const TransferEvent&, const TransferEvent&) = default;
};

} // namespace mr3x::ymodem
