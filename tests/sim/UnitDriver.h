#pragma once
// Drives a SimUnit through its pure interface on a time line of the test's own, and receives its
// files with the program's YMODEM receiver.
#include "link/ymodem/Receiver.h"
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

/// A unit already under serial control.
SimOptions disarmed(Model model = Model::MR32);

struct Reception {
    mr3x::ymodem::Outcome outcome = mr3x::ymodem::Outcome::Running;
    std::string name;
    Bytes data;
    std::int64_t tookMs = 0;
};

/// Receives one YMODEM batch from the unit, a millisecond at a time. With `leaveWhenWhole` the
/// receiver goes as soon as the file is whole and its end acknowledged, without the batch's
/// closing block, as rz does at times.
Reception receiveFile(UnitDriver& driver, bool leaveWhenWhole = false);

} // namespace mr3x::sim::test
