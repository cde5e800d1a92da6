#include "sim/InProcessTransport.h"

#include <algorithm>

namespace mr3x::sim {

namespace {

const QString kPortPrefix = QStringLiteral("Simulated unit (");

} // namespace

InProcessTransport::InProcessTransport(Clock& clock, std::shared_ptr<SimUnit> unit, QObject* parent)
    : Transport(parent), clock_(clock), unit_(std::move(unit))
{
    wake_.setSingleShot(true);
    connect(&wake_, &QTimer::timeout, this, &InProcessTransport::poll);
}

void InProcessTransport::scheduleWake()
{
    const std::optional<std::int64_t> next = unit_->nextEventMs();
    if (!open_ || canceled_ || !next)
        return;
    // Bounded, so a unit that goes quiet for long is still looked at now and then.
    constexpr std::int64_t kLongestSleepMs = 200;
    wake_.start(static_cast<int>(std::clamp<std::int64_t>(*next - clock_.nowMs(), 0, kLongestSleepMs)));
}

bool InProcessTransport::open(const LineSettings& settings)
{
    if (unit_->lineLost(clock_.nowMs()))
        unit_->reconnect();
    unit_->setLineSpeed(settings.baud);
    unit_->transmit(clock_.nowMs());  // what was on the line before the port opened is not heard
    received_.clear();
    open_ = true;
    canceled_ = false;
    return true;
}

void InProcessTransport::close()
{
    open_ = false;
    received_.clear();
}

QString InProcessTransport::status() const
{
    if (canceled_)
        return portstatus::Canceled;
    return open_ ? portstatus::Connected : portstatus::Closed;
}

bool InProcessTransport::write(const QByteArray& bytes)
{
    if (!open_ || canceled_)
        return false;
    unit_->receive(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())), clock_.nowMs());
    scheduleWake();
    return true;
}

QByteArray InProcessTransport::readAll()
{
    QByteArray bytes;
    bytes.swap(received_);
    return bytes;
}

void InProcessTransport::poll()
{
    if (!open_ || canceled_)
        return;
    const std::int64_t now = clock_.nowMs();
    const std::vector<std::uint8_t> bytes = unit_->transmit(now);
    if (!bytes.empty()) {
        received_.append(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
        emit readyRead();
    }
    if (unit_->lineLost(now)) {
        canceled_ = true;
        emit lost();
        return;
    }
    scheduleWake();
}

QString simulatedPortName(const QString& model)
{
    return kPortPrefix + model + QLatin1Char(')');
}

TransportOpener openerWithSimulatedUnit(Clock& clock, const QString& portName, std::shared_ptr<SimUnit> unit,
                                        TransportOpener realPorts)
{
    return [&clock, unit = std::move(unit), realPorts = std::move(realPorts), portName](
               const QString& name) -> std::unique_ptr<Transport> {
        if (name == portName)
            return std::make_unique<InProcessTransport>(clock, unit);
        return realPorts(name);
    };
}

TransportOpener openerWithSimulatedUnit(Clock& clock, std::shared_ptr<SimUnit> unit, TransportOpener realPorts)
{
    const QString name = simulatedPortName(QString::fromLatin1(modelInfo(unit->model()).name));
    return openerWithSimulatedUnit(clock, name, std::move(unit), std::move(realPorts));
}

} // namespace mr3x::sim
