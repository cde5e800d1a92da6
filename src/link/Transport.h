#pragma once
// A byte transport under the serial control: a real serial port (or pty), or the simulated
// unit inside the program. The serial control never knows which.
#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace mr3x {

/// Line settings as the serial control takes them: "9600,n,8,1" or "115200,n,8,1".
struct LineSettings {
    int baud = 9600;
    char parity = 'n';
    int dataBits = 8;
    int stopBits = 1;

    /// Reads "baud,parity,data,stop"; nothing when the text is not of that form.
    static std::optional<LineSettings> parse(const QString& text);
};

/// The port states the serial control reports, as the status line shows them.
namespace portstatus {
inline const QString Connected = QStringLiteral("Connected");
inline const QString Unavailable = QStringLiteral("Port unavailable");
inline const QString Canceled = QStringLiteral("Canceled");
inline const QString Closed = QStringLiteral("Port closed");
} // namespace portstatus

class Transport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~Transport() override = default;

    /// Opens the port with the line settings; false when it cannot be opened (status() says why).
    virtual bool open(const LineSettings& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

    /// "Connected" while open and usable, "Port unavailable" when it could not be opened,
    /// "Canceled" when an open port went away (cable or adapter pulled), "Port closed" when closed.
    virtual QString status() const = 0;

    /// Queues bytes for sending; false when the port cannot take them.
    virtual bool write(const QByteArray& bytes) = 0;
    /// Returns and removes every byte received so far.
    virtual QByteArray readAll() = 0;

    /// Lets the far end run up to the present moment of the program's clock (the in-process
    /// simulated unit works here; a real port has nothing to do).
    virtual void poll() {}

    /// What the link adds to each wait's bound on top of the serial bound: 0 for a serial port;
    /// a network port's is measured at opening.
    virtual int linkAllowanceMs() const { return 0; }
    /// Why the last open() failed, in plain words ("" when the port says nothing more than its
    /// status, as a serial port does).
    virtual QString failureReason() const { return {}; }

signals:
    /// Bytes have arrived.
    void readyRead();
    /// The port went away while open; status() now reads "Canceled".
    void lost();
};

/// Opens the transport for a port name: "COM3", "/dev/ttyUSB0", a pty path, a network port
/// ("socket://HOST:PORT", "rfc2217://HOST:PORT"), or the name under which the program offers the
/// simulated unit. Never returns null.
using TransportOpener = std::function<std::unique_ptr<Transport>(const QString& portName)>;

} // namespace mr3x
