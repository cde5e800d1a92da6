#pragma once
// The main window wired to the in-process simulated unit on the test clock, with everything on
// the wire recorded. One system "Substation" holds the unit "MR-0101" (job "Feeder 7 Fault",
// location "North Yard"), opened at start-up.
#include "sim/InProcessTransport.h"
#include "sim/SimUnit.h"
#include "support/MasterFixture.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace mr3x::test {

inline QByteArray bytesOf(const std::vector<std::uint8_t>& data)
{
    return QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size()));
}

/// A transport that passes everything through and keeps a copy of both directions.
class RecordingTransport final : public Transport {
    Q_OBJECT
public:
    using Writes = std::vector<std::pair<std::int64_t, QByteArray>>;
    RecordingTransport(std::unique_ptr<Transport> inner, const Clock& clock, QByteArray& sent, QByteArray& received,
                       Writes& writes);
    bool open(const LineSettings& settings) override { return inner_->open(settings); }
    void close() override { inner_->close(); }
    bool isOpen() const override { return inner_->isOpen(); }
    QString status() const override { return inner_->status(); }
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    void poll() override { inner_->poll(); }
    int linkAllowanceMs() const override { return inner_->linkAllowanceMs(); }
    QString failureReason() const override { return inner_->failureReason(); }

private:
    std::unique_ptr<Transport> inner_;
    const Clock& clock_;
    QByteArray& sent_;
    QByteArray& received_;
    Writes& writes_;
};

class LinkFixture : public MasterFixture {
public:
    explicit LinkFixture(sim::SimOptions options = defaultOptions());
    /// A unit under serial control already (no log-on needed), unpaced, with 12 events.
    static sim::SimOptions defaultOptions();
    /// The same unit, deaf to these commands.
    static sim::SimOptions silentOn(std::initializer_list<char> letters);

    /// Loads the window and puts the simulated port on its port list (the start-up window's job).
    frmMaster& start();
    /// Chooses the simulated port at 115200 baud (cboCommports_Click).
    void choosePort();
    /// start() and choosePort(), then the wire and the status lines so far put aside.
    frmMaster& open();
    /// Opens the port and logs on through the window's button (cmdConnect_Click).
    void logOn();

    sim::SimUnit& unit() { return *unit_; }
    QString portName() const { return portName_; }
    /// The master unit's folder.
    QString unitFolder() const;
    /// Makes the unit "MR-0102" beside "MR-0101" and lists it, "MR-0101" still chosen; returns
    /// its folder.
    QString addSecondUnit();
    /// Runs `action` from the event loop, as a click would come, each time the status line
    /// turns to `text`.
    QMetaObject::Connection whenStatus(const QString& text, std::function<void()> action);

    /// Everything the program has sent and received since the last clearWire(), and each
    /// write with the clock's time.
    QByteArray sent;
    QByteArray received;
    std::vector<std::pair<std::int64_t, QByteArray>> writes;
    /// Every text the status line has shown since start(), oldest first.
    QStringList statusHistory;
    void clearWire()
    {
        sent.clear();
        received.clear();
        writes.clear();
    }

private:
    std::shared_ptr<sim::SimUnit> unit_;
    QString portName_;
};

} // namespace mr3x::test
