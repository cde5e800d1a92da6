#pragma once
// Faults the simulated unit can be told to make, so tests can see the program cope with a unit
// that misbehaves or a line that fails.
#include <cstdint>
#include <vector>

namespace mr3x::sim {

/// Faults inside one file transfer. Blocks are numbered as on the wire: 0 is the header block,
/// 1 the first data block.
struct TransferFaults {
    /// From this block on, the first `corruptTimes` block transmissions carry one flipped data
    /// byte (so the receiver sees a CRC error). More than ten in a row exhaust the receiver.
    int corruptFromBlock = 1;
    int corruptTimes = 0;
    /// From this block on, the first `dropTimes` block transmissions lose `dropCount` bytes from
    /// their middle.
    int dropFromBlock = 1;
    int dropTimes = 0;
    int dropCount = 16;
    /// After this many bytes of the transfer have gone out (0: before the first), the sender
    /// stops for `stallMs` milliseconds, or for good when `stallMs` is negative.
    std::int64_t stallAfterBytes = -1;
    std::int64_t stallMs = -1;
    /// Instead of this block the sender sends CAN CAN and gives up.
    int abortAtBlock = -1;
    /// After this many bytes of the transfer have gone out the line goes away.
    std::int64_t disconnectAfterBytes = -1;

    bool any() const
    {
        return corruptTimes > 0 || dropTimes > 0 || stallAfterBytes >= 0 || abortAtBlock >= 0
            || disconnectAfterBytes >= 0;
    }
};

/// A command the unit does not hear.
struct SilentCommand {
    char letter = 0;     // as sent; '=' for the stop pair
    int occurrence = 0;  // 1 = only the first time it is sent, 2 = only the second, 0 = every time
};

struct SimFaults {
    std::vector<SilentCommand> silent;
    /// Which transfer of the session the transfer faults hit: 1 = the first, 0 = every one.
    int faultyTransfer = 0;
    TransferFaults transfer;
};

} // namespace mr3x::sim
