#include "UnitDriver.h"

#include "link/ymodem/Crc16.h"

#include <algorithm>

namespace mr3x::sim::test {

void UnitDriver::run(std::int64_t ms)
{
    for (const std::int64_t end = now + ms; now < end;) {
        const auto bytes = unit.transmit(++now);
        received.insert(received.end(), bytes.begin(), bytes.end());
    }
}

std::string UnitDriver::take()
{
    std::string text(received.begin(), received.end());
    received.clear();
    return text;
}

std::string UnitDriver::ask(std::string_view command, std::int64_t ms)
{
    take();
    send(command);
    run(ms);
    return take();
}

std::string UnitDriver::logOn()
{
    take();
    send("=");
    run(1000);
    send("-");
    run(200);
    return take();
}

SimOptions disarmed(Model model)
{
    SimOptions options;
    options.armed = false;
    options.model = model;
    return options;
}

Reception receiveFile(UnitDriver& d, bool leaveWhenWhole)
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
        const Bytes out = receiver.receive(d.received, d.now);
        d.received.clear();
        answer(out);
        const Bytes data = receiver.takeData();
        file.data.insert(file.data.end(), data.begin(), data.end());
        const bool whole = receiver.announcedLength() && receiver.bytesReceived() == *receiver.announcedLength();
        if (leaveWhenWhole && whole && std::ranges::find(out, CRC_REQUEST) != out.end())
            break;
    }
    file.outcome = receiver.outcome();
    file.name = receiver.announcedName();
    file.tookMs = d.now - start;
    return file;
}

} // namespace mr3x::sim::test
