// Placeholder until the serial port transport is written.
#include "link/SerialPortTransport.h"

namespace mr3x {

namespace {

class ClosedTransport final : public Transport {
public:
    bool open(const LineSettings&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    QString status() const override { return QStringLiteral("Port unavailable"); }
    bool write(const QByteArray&) override { return false; }
    QByteArray readAll() override { return {}; }
};

} // namespace

QString deviceForPortName(const QString& portName)
{
    return portName;
}

std::unique_ptr<Transport> openSerialPort(const QString&)
{
    return std::make_unique<ClosedTransport>();
}

} // namespace mr3x
