#pragma once
// A serial line for the tests: the transports it hands out record every write with the clock's
// time and deliver what the test (or a scripted far end) sends back at the time it says.
#include "common/Clock.h"
#include "link/Transport.h"

#include <QByteArray>
#include <QPointer>

#include <deque>
#include <functional>
#include <vector>

namespace mr3x::test {

class FakeTransport;

class FakeLine {
public:
    struct Written {
        std::int64_t atMs;
        QByteArray bytes;
    };

    explicit FakeLine(Clock& clock) : clock(clock) {}

    /// Hands out transports on this line, for the serial control.
    TransportOpener opener();

    /// The far end sends `bytes`; they arrive `delayMs` from now.
    void deliver(const QByteArray& bytes, std::int64_t delayMs = 0);
    /// The cable is pulled: the open transport reports the loss.
    void pull();

    /// Everything written so far, joined.
    QByteArray wire() const;
    /// The writes so far as texts, in order.
    QList<QByteArray> writtenChunks() const;
    void clearWritten() { written.clear(); }

    Clock& clock;
    bool available = true;                                  // false: the port cannot be opened
    std::function<void(const QByteArray&)> farEnd;          // sees every write
    std::vector<Written> written;
    std::deque<Written> arriving;                           // what the far end sent, by arrival time
    int opened = 0;
    QString lastPortName;
    LineSettings lastSettings;
    QPointer<FakeTransport> transport;                      // the transport handed out last
};

class FakeTransport final : public Transport {
    Q_OBJECT
public:
    explicit FakeTransport(FakeLine& line) : line_(line) {}

    bool open(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return open_; }
    QString status() const override { return status_; }
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    void poll() override;

    void lose();

private:
    FakeLine& line_;
    bool open_ = false;
    QString status_ = QStringLiteral("Port closed");
    QByteArray readable_;
};

} // namespace mr3x::test
