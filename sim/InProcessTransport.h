#pragma once
// The simulated unit behind the program's serial control, inside the program: a Transport whose
// far end is a SimUnit running on the program's clock.
#include "common/Clock.h"
#include "link/Transport.h"
#include "sim/SimUnit.h"

#include <QTimer>

#include <memory>

namespace mr3x::sim {

class InProcessTransport final : public Transport {
    Q_OBJECT
public:
    /// The unit outlives the transport: closing and reopening the port finds it as it was left.
    InProcessTransport(Clock& clock, std::shared_ptr<SimUnit> unit, QObject* parent = nullptr);

    /// Tells the unit the line speed. Opening after the line was lost plugs the cable back in.
    bool open(const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return open_; }
    QString status() const override;
    bool write(const QByteArray& bytes) override;
    QByteArray readAll() override;
    /// Collects what the unit has sent by the clock's present time; emits readyRead when there
    /// is some, and lost() once when the unit's line goes away.
    void poll() override;

    SimUnit& unit() { return *unit_; }

private:
    /// Wakes the program's wait when the unit's next byte is due, as a real port's data would;
    /// without it a wait would only look again at its next poll.
    void scheduleWake();

    Clock& clock_;
    std::shared_ptr<SimUnit> unit_;
    bool open_ = false;
    bool canceled_ = false;
    QByteArray received_;
    QTimer wake_;
};

/// The name under which the program lists the simulated unit: "Simulated unit (M-R32)".
QString simulatedPortName(const QString& model);

/// An opener that gives the simulated unit for `portName` and leaves every other name to
/// `realPorts` (the serial-port opener, or another simulated unit's opener). The clock must
/// outlive the opener.
TransportOpener openerWithSimulatedUnit(Clock& clock, const QString& portName, std::shared_ptr<SimUnit> unit,
                                        TransportOpener realPorts);
/// The same under the unit's model name, simulatedPortName(model).
TransportOpener openerWithSimulatedUnit(Clock& clock, std::shared_ptr<SimUnit> unit, TransportOpener realPorts);

} // namespace mr3x::sim
