// How a unit fares behind a serial device server and over a slow link, on the real clock.
//
// 1. One 11520-byte event record at 115200 baud from the simulated unit pacing at the line rate:
//    straight from its pty, from its own RFC 2217 port (the program's network side alone), and
//    through Debian's ser2net (its "telnet(rfc2217)" and its raw "tcp" accepter on loopback, in
//    front of the units' ptys), as configured by default and with its character delay off. Timed
//    on the program's side, from starting the reception to the file complete, against the
//    line-rate minimum (11520 x 10 / 115200 = 1.0 s).
// 2. The road of one event (log on, settings, index, two events, TEST, ARM) on a pty, and on the
//    unit listening as an RFC 2217 device server behind a relay holding the bytes 0 ms and 300 ms
//    (+-60 ms) each way. The share of the slow road's time spent waiting on the round trip is its
//    time beyond the same road over the undelayed relay; the relay's count of the program's
//    turns, times the round trip, tells the same another way.
//
//   bench_remote [records received through each port, 5 unless told]
#include "common/Clock.h"
#include "link/NetworkTransport.h"
#include "link/SerialControl.h"
#include "support/LatencyProxy.h"
#include "support/Ser2netProcess.h"
#include "support/UnitRoad.h"
#include "support/UnitSimProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

using namespace mr3x;

constexpr double kLineRateMinimumS = 11520.0 * 10 / 115200;
constexpr int kOneWayMs = 300;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

/// Seconds from starting the reception of record 00 to the file complete, once a run on one
/// connection; nothing for a run that failed.
std::vector<std::optional<double>> receiveRecords(const QString& port, int runs)
{
    RealClock clock;
    SerialControl comm(clock, openerForPorts(clock));
    comm.setPortName(port);
    comm.setSettings(QStringLiteral("115200,n,8,1"));
    comm.setPortOpen(true);
    std::vector<std::optional<double>> times;
    for (int run = 0; run < runs; ++run) {
        comm.setReplyPatterns(QStringLiteral("Finished F|Finished f"));
        comm.setWaitTimeout(3000);
        comm.Send(QByteArrayLiteral("f00"));
        const bool answered = comm.TimedOut() == 0;
        comm.setWaitTimeout(0);
        if (!answered) {
            times.emplace_back();
            continue;
        }
        QTemporaryDir folder;
        QElapsedTimer timer;
        timer.start();
        comm.setReceiveFolder(folder.path());
        comm.setReceiveFile(QStringLiteral("Event_01.EVT"));
        while (comm.TransferState() == 4)
            clock.idle(10);
        const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
        const bool whole = comm.TransferState() == 0 && QFile(folder.filePath(QStringLiteral("Event_01.EVT"))).size() == 11520;
        comm.Send(QByteArray(1, '\x06')); // the record confirmed, as the program does
        times.push_back(whole ? std::optional<double>(seconds) : std::nullopt);
    }
    return times;
}

void report(const QString& how, const std::vector<std::optional<double>>& runs)
{
    std::vector<double> times;
    for (const std::optional<double>& seconds : runs)
        if (seconds)
            times.push_back(*seconds);
    if (times.empty()) {
        std::printf("   %-30s every run failed\n", qPrintable(how));
        return;
    }
    std::printf("   %-30s median of %zu: %.3f s = %.3f x the minimum (best %.3f s, worst %.3f s)\n", qPrintable(how),
                times.size(), median(times), median(times) / kLineRateMinimumS, *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()));
}

void benchSer2net(int runs)
{
    if (test::Ser2netProcess::program().isEmpty()) {
        std::printf("1. ser2net is not installed (Debian's package ser2net): the device server figures skipped\n\n");
        return;
    }
    const QStringList unitArguments = {"--pace", "--baud", "115200", "--disarmed", "--seed", "7"};
    test::UnitSimProcess telnetUnit(unitArguments), rawUnit(unitArguments), ptyUnit(unitArguments);
    if (telnetUnit.path().isEmpty() || rawUnit.path().isEmpty() || ptyUnit.path().isEmpty()) {
        std::fprintf(stderr, "the simulated units did not start\n");
        std::exit(1);
    }
    std::printf("1. one 11520-byte event record at 115200 baud, paced; line-rate minimum %.3f s\n", kLineRateMinimumS);
    report(QStringLiteral("a pty, no ser2net"), receiveRecords(ptyUnit.path(), runs));
    {
        // The program's own network side without a device server between: the unit speaks telnet.
        QStringList listening = unitArguments;
        test::UnitSimProcess networkUnit(listening << QStringLiteral("--listen") << QStringLiteral("127.0.0.1:0")
                                                   << QStringLiteral("--rfc2217"));
        report(QStringLiteral("the unit's own rfc2217 port"), receiveRecords(networkUnit.path(), runs));
    }
    // As Debian ships it, and without the wait for more characters that fills its packets.
    for (const bool charDelay : {true, false}) {
        QTemporaryDir config;
        const test::Ser2netProcess server(telnetUnit.path(), rawUnit.path(), config.path(), charDelay);
        if (!server.error().isEmpty()) {
            std::fprintf(stderr, "ser2net did not serve the units: %s\n", qPrintable(server.error()));
            std::exit(1);
        }
        const char* setting = charDelay ? "chardelay on" : "chardelay off";
        report(QStringLiteral("telnet(rfc2217), %1").arg(QString::fromLatin1(setting)), receiveRecords(server.rfc2217Port(), runs));
        report(QStringLiteral("raw tcp, %1").arg(QString::fromLatin1(setting)), receiveRecords(server.rawPort(), runs));
    }
    std::printf("\n");
}

struct RoadRun {
    test::RoadOutcome outcome;
    int turns = 0;
};

RoadRun road(const QString& port)
{
    QTemporaryDir root;
    RealClock clock;
    test::RoadPlan plan;
    plan.port = port;
    plan.folder = root.path();
    RoadRun run{test::runRoad(clock, openerForPorts(clock), plan)};
    if (run.outcome.failedAt) {
        std::fprintf(stderr, "the road on %s failed at its %s: %s\n", qPrintable(port),
                     qPrintable(test::stepName(*run.outcome.failedAt)), qPrintable(run.outcome.lastStatus()));
        std::exit(1);
    }
    return run;
}

RoadRun roadOverRelay(int oneWayMs, int jitterMs)
{
    test::UnitSimProcess unit({"--listen", "127.0.0.1:0", "--rfc2217", "--pace", "--baud", "115200"});
    const std::optional<NetworkPort> address = networkPortFromName(unit.path());
    test::LatencyProxy proxy(address ? address->host : QString(), address ? address->port : 0,
                             {.oneWayMs = oneWayMs, .jitterMs = jitterMs});
    if (!address || !proxy.listen()) {
        std::fprintf(stderr, "the unit did not listen (%s)\n", qPrintable(unit.path()));
        std::exit(1);
    }
    RoadRun run = road(proxy.portName(QStringLiteral("rfc2217")));
    run.turns = proxy.turns();
    return run;
}

void benchRoad()
{
    test::UnitSimProcess unit({"--pace", "--baud", "115200"});
    const RoadRun pty = road(unit.path());
    const RoadRun fast = roadOverRelay(0, 0);
    const RoadRun slow = roadOverRelay(kOneWayMs, 60);

    std::printf("2. the road of one event, the unit paced at 115200 baud (seconds)\n");
    std::printf("   %-14s %8s %10s %12s\n", "step", "pty", "relay 0 ms", "relay 600 ms");
    const test::RoadPlan plan;
    for (std::size_t i = 0; i < plan.steps.size(); ++i)
        std::printf("   %-14s %8.2f %10.2f %12.2f\n", qPrintable(test::stepName(plan.steps[i])), pty.outcome.stepMs[i] / 1e3,
                    fast.outcome.stepMs[i] / 1e3, slow.outcome.stepMs[i] / 1e3);
    const double ptyS = pty.outcome.elapsedMs / 1e3, fastS = fast.outcome.elapsedMs / 1e3, slowS = slow.outcome.elapsedMs / 1e3;
    std::printf("   %-14s %8.2f %10.2f %12.2f\n", "whole road", ptyS, fastS, slowS);
    std::printf("   the 600 ms road against the pty's: %.2f x; against the undelayed relay's: %.2f x\n", slowS / ptyS,
                slowS / fastS);
    std::printf("   share of the 600 ms road spent waiting on the round trip: %.1f %% (its time beyond the undelayed "
                "relay's)\n",
                (slowS - fastS) / slowS * 100);
    std::printf("   the program's turns on the slow link: %d, x 0.6 s = %.1f s = %.1f %% of the road\n", slow.turns,
                slow.turns * 2 * kOneWayMs / 1e3, slow.turns * 2 * kOneWayMs / 1e3 / slowS * 100);
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    benchSer2net(runs);
    benchRoad();
    return 0;
}
