#include "link/NetworkTransport.h"

#include "link/SerialPortTransport.h"
#include "link/telnet/ComPortClient.h"

#include <QHostAddress>
#include <QRegularExpression>
#include <QTcpSocket>

#include <algorithm>
#include <span>
#include <utility>

namespace mr3x {

namespace {

const QRegularExpression& schemePattern()
{
    static const QRegularExpression scheme(QStringLiteral("^(socket|tcp|rfc2217)://"),
                                           QRegularExpression::CaseInsensitiveOption);
    return scheme;
}

std::span<const std::uint8_t> bytesOf(const QByteArray& bytes)
{
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

QByteArray qbytes(const telnet::Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

QString seconds(int ms)
{
    return QString::number(ms / 1000.0, 'g', 3) + QStringLiteral(" s");
}

class NetworkTransport final : public Transport {
public:
    NetworkTransport(Clock& clock, NetworkPort port, NetworkLimits limits)
        : clock_(clock)
        , port_(std::move(port))
        , limits_(limits)
    {
        connect(&socket_, &QTcpSocket::readyRead, this, &NetworkTransport::onReadyRead);
        connect(&socket_, &QTcpSocket::disconnected, this, &NetworkTransport::onGone);
        connect(&socket_, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
            socketError_ = error;
            if (opened_)
                onGone();
        });
    }

    ~NetworkTransport() override { socket_.abort(); }

    bool open(const LineSettings& settings) override
    {
        opened_ = false;
        reason_.clear();
        socketError_.reset();
        buffer_.clear();
        if (!port_.error.isEmpty())
            return fail(port_.error);
        const std::int64_t start = clock_.nowMs();
        socket_.connectToHost(port_.host, port_.port);
        if (!waitFor([this] { return socket_.state() == QAbstractSocket::ConnectedState; }, limits_.connectMs))
            return fail(socketError_ ? connectFailure() : where() + QStringLiteral(" did not answer within ") + seconds(limits_.connectMs));
        socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        // The round trip: raw TCP, the connection's (SYN to SYN-ACK); RFC 2217, the negotiation's
        // (our WILL COM-PORT-OPTION to the server's DO), which crosses the whole way to the device
        // server even when a proxy or router near us takes the connection itself.
        std::int64_t roundTripMs = clock_.nowMs() - start;
        if (port_.kind == NetworkPort::Kind::Rfc2217) {
            const std::int64_t asked = clock_.nowMs();
            if (!negotiate(settings))
                return false;
            roundTripMs = clock_.nowMs() - asked;
        }
        allowanceMs_ = allowanceForRoundTrip(roundTripMs, limits_);
        opened_ = true;
        status_ = portstatus::Connected;
        return true;
    }

    void close() override
    {
        opened_ = false;
        socket_.abort();
        status_ = portstatus::Closed;
    }

    bool isOpen() const override { return opened_; }
    QString status() const override { return status_; }
    QString failureReason() const override { return reason_; }
    int linkAllowanceMs() const override { return allowanceMs_; }

    bool write(const QByteArray& bytes) override
    {
        if (!opened_)
            return false;
        const QByteArray wire = telnet_ ? qbytes(telnet_->send(bytesOf(bytes))) : bytes;
        if (socket_.write(wire) != wire.size())
            return false;
        // On the network now rather than at the next turn of the event loop: the unit waits for it.
        socket_.flush();
        return true;
    }

    QByteArray readAll() override
    {
        take();
        return std::exchange(buffer_, QByteArray());
    }

private:
    QString where() const { return port_.host + QLatin1Char(':') + QString::number(port_.port); }

    bool fail(const QString& reason)
    {
        socket_.abort();
        status_ = portstatus::Unavailable;
        reason_ = reason;
        qWarning("Cannot open the network port %s: %s", qPrintable(where()), qPrintable(reason));
        return false;
    }

    QString connectFailure() const
    {
        switch (*socketError_) {
        case QAbstractSocket::HostNotFoundError: return port_.host + QStringLiteral(" cannot be found");
        case QAbstractSocket::ConnectionRefusedError: return where() + QStringLiteral(" refused the connection");
        case QAbstractSocket::NetworkError: return where() + QStringLiteral(" cannot be reached");
        case QAbstractSocket::SocketTimeoutError: return where() + QStringLiteral(" did not answer");
        default: return where() + QStringLiteral(": ") + socket_.errorString();
        }
    }

    /// Waits on the program's clock until `done` or a socket error, at most `boundMs`.
    template <typename Done>
    bool waitFor(Done done, int boundMs)
    {
        const std::int64_t start = clock_.nowMs();
        while (!done()) {
            if (socketError_ || clock_.nowMs() - start >= boundMs)
                return false;
            clock_.idle(10);
        }
        return true;
    }

    bool negotiate(const LineSettings& settings)
    {
        telnet_.emplace();
        socket_.write(qbytes(telnet_->start({static_cast<std::uint32_t>(settings.baud), settings.dataBits,
                                            settings.parity, settings.stopBits})));
        socket_.flush();
        const bool settled = waitFor(
            [this] {
                take();
                return telnet_->state() != telnet::ComPortClient::State::Negotiating;
            },
            limits_.negotiateMs);
        if (telnet_->state() == telnet::ComPortClient::State::Refused)
            return fail(where() + QStringLiteral(" does not let its serial port be set (RFC 2217)"));
        if (!settled && socketError_)
            return fail(where() + QStringLiteral(" closed the connection during the telnet negotiation"));
        if (!settled)
            return fail(where() + QStringLiteral(" did not answer the telnet negotiation (RFC 2217) within ") +
                        seconds(limits_.negotiateMs));
        return true;
    }

    /// Moves what the socket holds into the buffer: through telnet, which answers the server.
    void take()
    {
        const QByteArray bytes = socket_.readAll();
        if (bytes.isEmpty())
            return;
        if (!telnet_) {
            buffer_ += bytes;
            return;
        }
        telnet::Bytes reply;
        buffer_ += qbytes(telnet_->receive(bytesOf(bytes), reply));
        if (!reply.empty()) {
            socket_.write(qbytes(reply));
            socket_.flush();
        }
    }

    void onReadyRead()
    {
        if (!opened_)
            return; // opening reads for itself
        take();
        if (!buffer_.isEmpty())
            emit readyRead();
    }

    void onGone()
    {
        if (!opened_)
            return;
        take();
        opened_ = false;
        status_ = portstatus::Canceled;
        emit lost();
    }

    Clock& clock_;
    NetworkPort port_;
    NetworkLimits limits_;
    QTcpSocket socket_;
    std::optional<telnet::ComPortClient> telnet_;
    std::optional<QAbstractSocket::SocketError> socketError_;
    QByteArray buffer_;
    bool opened_ = false;
    QString status_ = portstatus::Closed;
    QString reason_;
    int allowanceMs_ = 0;
};

} // namespace

bool isNetworkPortName(const QString& name)
{
    return schemePattern().match(name.trimmed()).hasMatch();
}

std::optional<NetworkPort> networkPortFromName(const QString& name)
{
    const QString text = name.trimmed();
    const QRegularExpressionMatch scheme = schemePattern().match(text);
    if (!scheme.hasMatch())
        return std::nullopt;
    NetworkPort port;
    port.kind = scheme.captured(1).compare(QStringLiteral("rfc2217"), Qt::CaseInsensitive) == 0 ? NetworkPort::Kind::Rfc2217
                                                                                               : NetworkPort::Kind::Raw;
    // Serial tools add options after the address ("?timeout=3"); the address is what counts here.
    QString address = text.mid(scheme.capturedLength());
    address = address.left(address.indexOf(QLatin1Char('?')) < 0 ? address.size() : address.indexOf(QLatin1Char('?')));
    if (address.endsWith(QLatin1Char('/')))
        address.chop(1);
    static const QRegularExpression hostPort(QStringLiteral("^(?:\\[([0-9A-Fa-f:.]+)\\]|([^\\[\\]:/\\s]+)):([0-9]{1,5})$"));
    const QRegularExpressionMatch match = hostPort.match(address);
    const int number = match.hasMatch() ? match.captured(3).toInt() : 0;
    if (!match.hasMatch() || number < 1 || number > 65535) {
        port.error = QStringLiteral("\"") + text + QStringLiteral("\" is not HOST:PORT (a name, an IPv4 address or [an IPv6 "
                                                                 "address], then a port from 1 to 65535)");
        return port;
    }
    port.host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    port.port = static_cast<quint16>(number);
    if (!match.captured(1).isEmpty() && QHostAddress(port.host).protocol() != QAbstractSocket::IPv6Protocol)
        port.error = QStringLiteral("\"") + port.host + QStringLiteral("\" is not an IPv6 address");
    return port;
}

int allowanceForRoundTrip(std::int64_t roundTripMs, const NetworkLimits& limits)
{
    return static_cast<int>(std::clamp<std::int64_t>(roundTripMs * limits.allowanceFactor, limits.allowanceFloorMs,
                                                     limits.allowanceCapMs));
}

std::unique_ptr<Transport> openNetworkPort(Clock& clock, const NetworkPort& port, const NetworkLimits& limits)
{
    return std::make_unique<NetworkTransport>(clock, port, limits);
}

TransportOpener openerForPorts(Clock& clock, TransportOpener serial)
{
    if (!serial)
        serial = [](const QString& name) { return openSerialPort(name); };
    return [&clock, serial = std::move(serial)](const QString& name) -> std::unique_ptr<Transport> {
        if (const std::optional<NetworkPort> port = networkPortFromName(name))
            return openNetworkPort(clock, *port);
        return serial(name);
    };
}

} // namespace mr3x
