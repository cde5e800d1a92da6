#include "link/SerialPortTransport.h"

#include <QRegularExpression>
#include <QSerialPort>

namespace mr3x {

namespace {

QSerialPort::Parity parityOf(char parity)
{
    switch (parity) {
    case 'e': return QSerialPort::EvenParity;
    case 'o': return QSerialPort::OddParity;
    case 'm': return QSerialPort::MarkParity;
    case 's': return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}

class SerialPortTransport final : public Transport {
public:
    explicit SerialPortTransport(const QString& portName)
    {
        port_.setPortName(deviceForPortName(portName));
        connect(&port_, &QSerialPort::readyRead, this, &Transport::readyRead);
        connect(&port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError error) {
            // A USB adapter pulled out (ResourceError), or the far end of a pty gone (reads fail
            // for ever, ReadError): the port cannot be used again, and left open it would wake
            // the event loop without end.
            if ((error == QSerialPort::ResourceError || error == QSerialPort::ReadError) && port_.isOpen()) {
                port_.close();
                status_ = portstatus::Canceled;
                emit lost();
            }
        });
    }

    bool open(const LineSettings& settings) override
    {
        port_.setBaudRate(settings.baud);
        port_.setParity(parityOf(settings.parity));
        port_.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits));
        port_.setStopBits(settings.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
        port_.setFlowControl(QSerialPort::NoFlowControl);
        if (!port_.open(QIODevice::ReadWrite)) {
            status_ = portstatus::Unavailable;
            return false;
        }
        status_ = portstatus::Connected;
        return true;
    }

    void close() override
    {
        if (port_.isOpen())
            port_.close();
        status_ = portstatus::Closed;
    }

    bool isOpen() const override { return port_.isOpen(); }
    QString status() const override { return status_; }

    bool write(const QByteArray& bytes) override
    {
        if (!port_.isOpen() || port_.write(bytes) != bytes.size())
            return false;
        // Hand the bytes to the driver now rather than at the next turn of the event loop: the
        // sender waits for each answer, so every millisecond here is lost line time.
        port_.flush();
        return true;
    }

    QByteArray readAll() override { return port_.isOpen() ? port_.readAll() : QByteArray(); }

private:
    QSerialPort port_;
    QString status_ = portstatus::Closed;
};

} // namespace

QString deviceForPortName(const QString& portName)
{
#ifdef Q_OS_WIN
    return portName;
#else
    static const QRegularExpression comName(QStringLiteral("^COM([1-9][0-9]*)$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = comName.match(portName.trimmed());
    if (match.hasMatch())
        return QStringLiteral("/dev/ttyS") + QString::number(match.captured(1).toInt() - 1);
    return portName;
#endif
}

std::unique_ptr<Transport> openSerialPort(const QString& portName)
{
    return std::make_unique<SerialPortTransport>(portName);
}

} // namespace mr3x
