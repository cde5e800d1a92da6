#pragma once
// Drives a SimUnit through its pure interface on a time line of the test's own, and receives its
// files with the program's YMODEM receiver.
#include "link/ymodem/Crc16.h"
#include "link/ymodem/Receiver.h"
#include "sim/SimUnit.h"

#include <algorithm>
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
    /// "=" then "-", a second apart, as the program logs on.
    std::string logOn()
    {
        take();
        send("=");
        run(1000);
        send("-");
        run(200);
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

struct Reception {
    mr3x::ymodem::Outcome outcome = mr3x::ymodem::Outcome::Running;
    std::string name;
    Bytes data;
};

/// Receives one YMODEM batch from the unit, a millisecond at a time.
inline Reception receiveFile(UnitDriver& d)
{
    using namespace mr3x::ymodem;
    Receiver receiver;
    Reception file;
    const std::int64_t start = d.now;
    auto answer = [&d](const Bytes& bytes) { d.send(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())); };
    answer(receiver.start(d.now));
    // The receiver bounds every wait, so it ends well within this.
    while (receiver.running() && d.now - start < 300'000) {
        d.run(1);
        answer(receiver.receive(std::exchange(d.received, {}), d.now));
        const Bytes data = receiver.takeData();
        file.data.insert(file.data.end(), data.begin(), data.end());
    }
    file.outcome = receiver.outcome();
    file.name = receiver.announcedName();
    return file;
}

} // namespace mr3x::sim::test
