// Placeholder: the serial control is being written; this keeps the program building meanwhile.
#include "link/SerialControl.h"

#include <QSerialPortInfo>

namespace mr3x {

class FileReception {};

std::optional<LineSettings> LineSettings::parse(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    LineSettings s;
    bool ok = false;
    s.baud = parts[0].trimmed().toInt(&ok);
    if (!ok || s.baud <= 0)
        return std::nullopt;
    const QByteArray parity = parts[1].trimmed().toLower().toLatin1();
    s.parity = parity.isEmpty() ? 'n' : parity[0];
    s.dataBits = parts[2].trimmed().toInt();
    s.stopBits = parts[3].trimmed().toInt();
    return s;
}

SerialControl::SerialControl(Clock& clock, TransportOpener opener, QObject* parent)
    : QObject(parent), clock_(clock), opener_(std::move(opener)) {}
SerialControl::~SerialControl() = default;
void SerialControl::setPortName(const QString& name) { portName_ = name; }
void SerialControl::setSettings(const QString& settings) { settings_ = settings; }
void SerialControl::setPortOpen(bool) {}
bool SerialControl::PortOpen() const { return false; }
QString SerialControl::PortStatus() const { return lastStatus_; }
QStringList SerialControl::DeviceList() const
{
    QStringList names;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        names << info.systemLocation();
    return names + extraDevices_;
}
void SerialControl::Send(const QByteArray&) {}
void SerialControl::setReplyPatterns(const QString& patterns) { patternsText_ = patterns; }
void SerialControl::setPatternSeparator(const QString& separator) { separator_ = separator; }
void SerialControl::setWaitTimeout(int ms) { waitTimeoutMs_ = ms; }
int SerialControl::TimedOut() { return 1; }
void SerialControl::setPause(int ms) { clock_.pause(ms); }
int SerialControl::InCount() { return 0; }
void SerialControl::setInCount(int) {}
QString SerialControl::Input() { return {}; }
void SerialControl::setCaptureFile(const QString& path) { captureFile_ = path; }
void SerialControl::setTerminalActive(bool on) { terminalActive_ = on; }
void SerialControl::setScreenText(const QString& text) { screenText_ = text; emit ScreenChanged(); }
void SerialControl::typeText(const QString&) {}
void SerialControl::setTickInterval(int) {}
void SerialControl::setReceiveFile(const QString&) { transferState_ = -1; }
void SerialControl::service() {}

} // namespace mr3x
