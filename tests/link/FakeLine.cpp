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

void FakeLine::deliver(const QByteArray& bytes, std::int64_t delayMs)
{
    arriving.push_back({clock.nowMs() + delayMs, bytes});
    std::stable_sort(arriving.begin(), arriving.end(), [](const Written& a, const Written& b) { return a.atMs < b.atMs; });
}

void FakeLine::pull()
{
    if (transport)
        transport->lose();
}

QByteArray FakeLine::wire() const
{
    QByteArray all;
    for (const Written& w : written)
        all += w.bytes;
    return all;
}

QList<QByteArray> FakeLine::writtenChunks() const
{
    QList<QByteArray> chunks;
    for (const Written& w : written)
        chunks << w.bytes;
    return chunks;
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

void FakeTransport::close()
{
    open_ = false;
    status_ = QStringLiteral("Port closed");
}

bool FakeTransport::write(const QByteArray& bytes)
{
    if (!open_)
        return false;
    line_.written.push_back({line_.clock.nowMs(), bytes});
    if (line_.farEnd)
        line_.farEnd(bytes);
    return true;
}

QByteArray FakeTransport::readAll()
{
    return std::exchange(readable_, QByteArray());
}

void FakeTransport::poll()
{
    while (open_ && !line_.arriving.empty() && line_.arriving.front().atMs <= line_.clock.nowMs()) {
        readable_ += line_.arriving.front().bytes;
        line_.arriving.pop_front();
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
