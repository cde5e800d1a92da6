#include "FakeLine.h"

namespace mr3x::test {

TransportOpener FakeLine::opener()
{
    return [this](const QString& portName) {
        lastPortName = portName;
        auto made = std::make_unique<FakeTransport>(*this);
        transport = made.get();
        return std::unique_ptr<Transport>(std::move(made));
    };
}

void FakeLine::pull()
{
    if (transport)
        transport->lose();
}

bool FakeTransport::open(const LineSettings& settings)
{
    line_.lastSettings = settings;
    if (!line_.available) {
        status_ = QStringLiteral("Port unavailable");
        return false;
    }
    ++line_.opened;
    open_ = true;
    status_ = QStringLiteral("Connected");
    return true;
}

bool FakeTransport::write(const QByteArray& bytes)
{
    if (open_)
        line_.written << bytes;
    return open_;
}

void FakeTransport::poll()
{
    auto& arriving = line_.arriving;
    while (open_ && !arriving.empty() && arriving.begin()->first <= line_.clock.nowMs()) {
        readable_ += arriving.begin()->second;
        arriving.erase(arriving.begin());
    }
}

void FakeTransport::lose()
{
    if (!open_)
        return;
    open_ = false;
    status_ = QStringLiteral("Canceled");
    emit lost();
}

} // namespace mr3x::test
