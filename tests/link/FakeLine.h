#pragma once
// A serial line for the tests: the transports it hands out record every write and deliver what
// the test sends back at the time it says, by the test's clock.
#include "common/Clock.h"
#include "link/Transport.h"

#include <QByteArray>
#include <QList>
#include <QPointer>

#include <map>

namespace mr3x::test {

class FakeTransport;

class FakeLine {
public:
    explicit FakeLine(Clock& clock) : clock(clock) {}

    /// Hands out transports on this line, for the serial control.
    TransportOpener opener();
    /// The far end sends `bytes`; they arrive `delayMs` from now.
    void deliver(const QByteArray& bytes, std::int64_t delayMs = 0) { arriving.emplace(clock.nowMs() + delayMs, bytes); }
    /// The cable is pulled: the open transport reports the loss.
    void pull();
    /// Everything written so far, joined.
    QByteArray wire() const { return written.join(); }

    Clock& clock;
    bool available = true;                           // false: the port cannot be opened
    QList<QByteArray> written;                       // every write, in order
    std::multimap<std::int64_t, QByteArray> arriving; // what the far end sent, by arrival time
    int opened = 0;
    QString lastPortName;
    LineSettings lastSettings;
    QPointer<FakeTransport> transport;               // the transport handed out last
};

class FakeTransport final : public Transport {
public:
    explicit FakeTransport(FakeLine& line) : line_(line) {}

    bool open(const LineSettings& settings) override;
    void close() override { open_ = false; status_ = QStringLiteral("Port closed"); }
    bool isOpen() const override { return open_; }
    QString status() const override { return status_; }
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override { return std::exchange(readable_, QByteArray()); }
    void poll() override;
    void lose();

private:
    FakeLine& line_;
    bool open_ = false;
    QString status_ = QStringLiteral("Port closed");
    QByteArray readable_;
};

} // namespace mr3x::test
