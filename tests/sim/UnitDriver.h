#pragma once
// Drives a SimUnit through its pure interface on a time line of the test's own, and receives its
// files with a small YMODEM receiver written here (so the sender is checked against code that is
// not its own).
#include "sim/SimUnit.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x::sim::test {

class UnitDriver {
public:
    explicit UnitDriver(SimOptions options = {}) : unit(std::move(options)) {}

    /// Sends bytes at the present time (they are heard at once).
    void send(std::string_view text) { unit.receive(text, now); }
    void sendByte(std::uint8_t byte) { send(std::string_view(reinterpret_cast<const char*>(&byte), 1)); }
    /// Lets `ms` pass, gathering what the unit sends.
    void run(std::int64_t ms);
    /// Everything received since the last take, as text.
    std::string take();
    /// Sends a command and returns what came back within `ms`.
    std::string ask(std::string_view command, std::int64_t ms = 200);
    /// "=" then "-", a second apart, as the program logs on.
    std::string logOn();

    SimUnit unit;
    std::int64_t now = 0;
    std::vector<std::uint8_t> received;
};

struct ReceiverOptions {
    int nakBlocks = 0;          // NAK this many good data blocks before taking them
    bool nakFirstEot = true;    // answer the first EOT with NAK, as many receivers do
    bool closeBatch = true;     // ask for and acknowledge the batch's closing block
    std::int64_t limitMs = 200'000;
};

struct ReceivedFile {
    bool complete = false;      // the batch was closed and the file had its announced length
    bool canceled = false;      // the sender sent CAN CAN
    bool gaveUp = false;        // the receiver ran out of patience or retries
    std::string name;
    std::size_t announced = 0;
    std::vector<std::uint8_t> data;
    int crcErrors = 0;
    int duplicates = 0;
    std::int64_t startedMs = 0;
    std::int64_t endedMs = 0;
};

/// Receives one YMODEM batch from the unit: starts with 'C', checks CRC-16 and block numbers,
/// NAKs bad blocks (ten errors in a row end it), bounds each block's start (10 s) and each
/// character (1 s), and closes the batch.
ReceivedFile receiveFile(UnitDriver& driver, const ReceiverOptions& options = {});

/// The settings text split the way the program splits it: lines joined, the text after
/// "Parameters:" cut at every ",".
std::vector<std::string> settingsFields(const std::string& answer);

std::vector<std::uint8_t> bytesOf(std::string_view text);

} // namespace mr3x::sim::test
