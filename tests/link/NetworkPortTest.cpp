// Network ports by name, and the hosts a network port cannot be opened on: each ends within its
// bound with "Port unavailable" and a reason a person can act on.
#include "common/Clock.h"
#include "link/NetworkTransport.h"
#include "support/LongRun.h"

#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

using namespace mr3x;

namespace {

struct Opened {
    bool ok = false;
    QString status;
    QString reason;
    std::int64_t ms = 0;
};

constexpr NetworkLimits kShortLimits{.connectMs = 1000, .negotiateMs = 1000};
/// What a bound may overrun by on a busy machine: one turn of the clock's wait, and scheduling.
constexpr std::int64_t kSlackMs = 500;

Opened openOn(const QString& name)
{
    RealClock clock;
    const std::optional<NetworkPort> port = networkPortFromName(name);
    if (!port)
        return {};
    const std::unique_ptr<Transport> transport = openNetworkPort(clock, *port, kShortLimits);
    const std::int64_t start = clock.nowMs();
    Opened opened;
    opened.ok = transport->open(LineSettings{115200});
    opened.ms = clock.nowMs() - start;
    opened.status = transport->status();
    opened.reason = transport->failureReason();
    return opened;
}

quint16 closedPort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

} // namespace

TEST(NetworkPort, NamesTakeAHostNameAnIpv4OrABracketedIpv6AddressAndAPort)
{
    struct Case {
        const char* name;
        NetworkPort::Kind kind;
        const char* host;
        quint16 port;
    };
    const Case good[] = {
        {"socket://unit7.example.net:4001", NetworkPort::Kind::Raw, "unit7.example.net", 4001},
        {"TCP://10.20.0.5:23", NetworkPort::Kind::Raw, "10.20.0.5", 23},
        {"rfc2217://[fd00::5]:4001", NetworkPort::Kind::Rfc2217, "fd00::5", 4001},
        {" RFC2217://10.20.0.5:65535/?logging=debug ", NetworkPort::Kind::Rfc2217, "10.20.0.5", 65535},
    };
    for (const Case& c : good) {
        const std::optional<NetworkPort> port = networkPortFromName(c.name);
        ASSERT_TRUE(port) << c.name;
        EXPECT_TRUE(isNetworkPortName(c.name)) << c.name;
        EXPECT_EQ(port->kind, c.kind) << c.name;
        EXPECT_EQ(port->host, QString(c.host)) << c.name;
        EXPECT_EQ(port->port, c.port) << c.name;
        EXPECT_EQ(port->error, QString()) << c.name;
    }

    // Serial ports and the simulated unit are not network ports.
    for (const char* name : {"/dev/ttyUSB0", "COM3", "Simulated unit (M-R32)", "telnet://10.20.0.5:23"}) {
        EXPECT_FALSE(networkPortFromName(name)) << name;
        EXPECT_FALSE(isNetworkPortName(name)) << name;
    }

    // A network name that names no address says what is wrong, and opening it says the same.
    const QString form = " is not HOST:PORT (a name, an IPv4 address or [an IPv6 address], then a port from 1 to 65535)";
    for (const char* name : {"socket://10.20.0.5", "socket://10.20.0.5:0", "tcp://10.20.0.5:65536", "rfc2217://fd00::5:4001",
                             "rfc2217://[unit7]:4001", "socket://:4001"})
        EXPECT_EQ(networkPortFromName(name)->error, QStringLiteral("\"%1\"").arg(name) + form) << name;
    EXPECT_EQ(networkPortFromName("rfc2217://[1:2:3]:4001")->error, QString("\"1:2:3\" is not an IPv6 address"));

    const test::QuietWarnings quiet;
    const Opened bad = openOn("socket://10.20.0.5");
    EXPECT_FALSE(bad.ok);
    EXPECT_EQ(bad.status, portstatus::Unavailable);
    EXPECT_EQ(bad.reason, "\"socket://10.20.0.5\"" + form);
}

TEST(NetworkPort, ARefusingAnUnreachableOrSilentHostGivesAPlainReasonWithinTheBound)
{
    const test::QuietWarnings quiet; // each failure is logged as well

    const quint16 closed = closedPort();
    const QString where = QStringLiteral("127.0.0.1:%1").arg(closed);
    const Opened refused = openOn("socket://" + where);
    EXPECT_FALSE(refused.ok);
    EXPECT_EQ(refused.status, portstatus::Unavailable);
    EXPECT_EQ(refused.reason, where + " refused the connection");
    EXPECT_LT(refused.ms, kShortLimits.connectMs);

    // An address no unit answers at: depending on the machine's network, the connection is
    // turned down at once, never answered, or taken by something on the way that never speaks
    // telnet (and may hang up). Each ends with its own plain reason within the opening's bounds.
    const Opened unreachable = openOn("rfc2217://10.255.255.1:4001");
    EXPECT_FALSE(unreachable.ok);
    EXPECT_EQ(unreachable.status, portstatus::Unavailable);
    const QStringList plain = {"cannot be reached", "refused the connection", "did not answer within 1 s",
                               "closed the connection during the telnet negotiation",
                               "did not answer the telnet negotiation (RFC 2217) within 1 s"};
    EXPECT_TRUE(unreachable.reason.startsWith("10.255.255.1:4001 ") && plain.contains(unreachable.reason.mid(18)))
        << unreachable.reason.toStdString();
    EXPECT_LE(unreachable.ms, kShortLimits.connectMs + kShortLimits.negotiateMs + kSlackMs);

    // A host that takes the connection but never speaks telnet: raw TCP has nothing to wait for,
    // RFC 2217 waits for the negotiation and gives up.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    const QString silentHost = QStringLiteral("127.0.0.1:%1").arg(silent.serverPort());
    const Opened taken = openOn("rfc2217://" + silentHost);
    EXPECT_FALSE(taken.ok);
    EXPECT_EQ(taken.status, portstatus::Unavailable);
    EXPECT_EQ(taken.reason, silentHost + " did not answer the telnet negotiation (RFC 2217) within 1 s");
    EXPECT_GE(taken.ms, kShortLimits.negotiateMs);
    EXPECT_LE(taken.ms, kShortLimits.negotiateMs + kSlackMs);
    EXPECT_TRUE(openOn("socket://" + silentHost).ok);
}
