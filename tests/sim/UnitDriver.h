#pragma once
// Drives a SimUnit through its pure interface on a time line of the test's own.
#include "sim/SimUnit.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mr3x::sim::test {

class UnitDriver {
public:
    explicit UnitDriver(SimOptions options = {}) : unit(std::move(options)) {}

    /// Sends bytes at the present time (they are heard at once).
    void send(std::string_view text) { unit.receive(text, now); }
    /// Lets `ms` pass, gathering what the unit sends.
    void run(std::int64_t ms)
    {
        for (const std::int64_t end = now + ms; now < end;) {
            const auto bytes = unit.transmit(++now);
            received.insert(received.end(), bytes.begin(), bytes.end());
        }
    }
    /// Everything received since the last take, as text.
    std::string take()
    {
        const auto bytes = std::exchange(received, {});
        return std::string(bytes.begin(), bytes.end());
    }
    /// Sends a command and returns what came back within `ms`.
    std::string ask(std::string_view command, std::int64_t ms = 200)
    {
        take();
        send(command);
        run(ms);
        return take();
    }

    SimUnit unit;
    std::int64_t now = 0;
    std::vector<std::uint8_t> received;
};

/// A valid identity record: date, job and location padded to 24, 16 blanks, each field ended by ",".
inline std::string identity(const std::string& date, std::string job, std::string location)
{
    job.resize(24, ' ');
    location.resize(24, ' ');
    return "N" + date + "," + job + "," + location + "," + std::string(16, ' ') + ",";
}

/// A unit already under serial control.
inline SimOptions disarmed(Model model = Model::MR32)
{
    SimOptions options;
    options.armed = false;
    options.model = model;
    return options;
}

} // namespace mr3x::sim::test
