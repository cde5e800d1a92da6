#pragma once
// A relay on loopback between the program and a unit's network port that holds the bytes a while
// each way, as a cellular link does, and can cut the link after a number of bytes from the unit.
// Each read is held for the one-way delay give or take the jitter, but never overtakes the read
// before it: a TCP link delays, it does not reorder. One client at a time: a new one ends the
// last one's link. It runs on the Qt event loop of its thread, which the program's clock turns
// in every wait.
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <cstdint>
#include <deque>
#include <memory>
#include <random>

namespace mr3x::test {

struct LinkDelay {
    int oneWayMs = 300;
    int jitterMs = 0;       // each read's delay is oneWayMs +- up to this
    std::uint64_t seed = 1;
};

class LatencyProxy final : public QObject {
    Q_OBJECT
public:
    LatencyProxy(QString unitHost, quint16 unitPort, LinkDelay delay);
    ~LatencyProxy() override;

    /// Listens on 127.0.0.1 at a port the system picks; false when it cannot.
    bool listen();
    /// The proxy's address as a port name of `scheme` ("rfc2217" -> "rfc2217://127.0.0.1:40123").
    QString portName(const QString& scheme) const;

    /// From now on the link goes, both connections closed, once `bytes` more bytes from the unit
    /// have reached the program.
    void cutAfter(qint64 bytes);
    bool wasCut() const { return cut_; }
    /// How many times the program spoke after hearing the unit: the round trips it waited for.
    int turns() const { return turns_; }

private:
    struct Held {
        std::int64_t dueMs;
        QByteArray bytes;
    };
    /// One way through the relay.
    struct Way {
        QTcpSocket* from = nullptr;
        QTcpSocket* to = nullptr;
        std::deque<Held> held;
        std::int64_t lastDueMs = 0;
        bool sourceGone = false; // once what is held is delivered, the far side is closed too
    };

    void onConnection();
    void take(Way& way);
    void deliver();
    void deliver(Way& way, std::int64_t now);
    /// Both connections closed; the next client starts afresh.
    void endLink();
    std::int64_t delayMs();

    QString unitHost_;
    quint16 unitPort_;
    LinkDelay delay_;
    std::mt19937_64 random_;
    QTcpServer server_;
    QTimer timer_;
    QElapsedTimer elapsed_;
    std::unique_ptr<QTcpSocket> program_;
    std::unique_ptr<QTcpSocket> unit_;
    Way up_;   // program -> unit
    Way down_; // unit -> program
    qint64 cutRemaining_ = -1;
    bool cutDue_ = false; // the last bytes before the cut are held; the link goes when they arrive
    bool cut_ = false;
    bool heardUnit_ = false;
    int turns_ = 0;
};

} // namespace mr3x::test
