// How long a night's round of mr3x-collect takes over a fleet, and what working units side by
// side buys: N simulated units (32 by default), each a standalone mr3x-unit-sim on its own pty,
// pacing its bytes at 115200 baud and holding 4 events, found recording; one round with
// --parallel 1, then one with --parallel 8, each into a fresh program folder (so each fetches
// every event). Prints each round's wall time, the time per unit and the speed-up, and checks
// that every unit was collected and re-armed.
//
//   bench_collect [units]
//   MR3X_UNIT_SIM and MR3X_COLLECT name the programs (default: this build's).
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kEvents = 4;

QString program(const char* variable, const QString& fromBuild)
{
    const QString named = qEnvironmentVariable(variable);
    return named.isEmpty() ? QCoreApplication::applicationDirPath() + fromBuild : named;
}

struct Fleet {
    Fleet() = default;
    Fleet(Fleet&&) = default;
    ~Fleet()
    {
        for (const std::unique_ptr<QProcess>& sim : sims) {
            sim->terminate();
            if (!sim->waitForFinished(3000))
                sim->kill();
        }
    }
    std::vector<std::unique_ptr<QProcess>> sims;
    QStringList units;     // the system's .cfg lines
    QStringList addresses; // "Unit Addresses.txt"
};

Fleet startFleet(int count)
{
    Fleet fleet;
    const QString simulator = program("MR3X_UNIT_SIM", QStringLiteral("/../../sim/mr3x-unit-sim"));
    for (int n = 1; n <= count; ++n) {
        const QString unit = QStringLiteral("MR-%1").arg(n, 4, 10, QLatin1Char('0'));
        auto sim = std::make_unique<QProcess>();
        sim->start(simulator, {"--pace", "--baud", "115200", "--events", QString::number(kEvents), "--serial", unit,
                               "--seed", QString::number(n)});
        if (!sim->waitForStarted(5000) || !sim->waitForReadyRead(5000)) {
            std::fprintf(stderr, "%s did not start\n", qPrintable(simulator));
            std::exit(2);
        }
        const QString pty = QString::fromLocal8Bit(sim->readLine()).trimmed();
        fleet.units << unit + QStringLiteral(",Not set,M-R32,Fleet,Site %1,SIM").arg(n);
        fleet.addresses << unit + QLatin1Char(',') + pty + QStringLiteral(",115");
        fleet.sims.push_back(std::move(sim));
    }
    return fleet;
}

void writeLines(const QString& path, const QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write((lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8()) < 0) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        std::exit(2);
    }
}

/// One round into a fresh program folder; its wall time in seconds, or a negative number when a
/// unit was not collected and re-armed with every event.
double round(const Fleet& fleet, int parallel)
{
    QTemporaryDir folder;
    writeLines(folder.filePath(QStringLiteral("Fleet.cfg")), fleet.units);
    writeLines(folder.filePath(QStringLiteral("Unit Addresses.txt")), fleet.addresses);
    const QString report = folder.filePath(QStringLiteral("round.json"));
    QProcess collector;
    QElapsedTimer elapsed;
    elapsed.start();
    collector.start(program("MR3X_COLLECT", QStringLiteral("/../../tools/mr3x-collect")),
                    {"--folder", folder.path(), "--system", "Fleet", "--once", "--parallel", QString::number(parallel),
                     "--report", report});
    if (!collector.waitForFinished(30 * 60 * 1000) || collector.exitCode() != 0) {
        std::fprintf(stderr, "the round with --parallel %d failed:\n%s\n", parallel, collector.readAllStandardOutput().constData());
        return -1;
    }
    const double seconds = static_cast<double>(elapsed.elapsed()) / 1000.0;
    QFile json(report);
    json.open(QIODevice::ReadOnly);
    int whole = 0;
    for (const QJsonValue& unit : QJsonDocument::fromJson(json.readAll()).object().value("units").toArray())
        whole += unit.toObject().value("rearmed").toBool() && unit.toObject().value("new_events").toArray().size() == kEvents;
    return whole == static_cast<int>(fleet.units.size()) ? seconds : -1;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 32;
    if (count <= 0) {
        std::fprintf(stderr, "usage: bench_collect [units]\n");
        return 2;
    }
    const Fleet fleet = startFleet(count);
    const double oneAtATime = round(fleet, 1);
    const double eight = round(fleet, 8);
    if (oneAtATime < 0 || eight < 0)
        return 1;
    std::printf("%d units, %d events each, 115200 baud on ptys\n", count, kEvents);
    std::printf("  --parallel 1: %7.1f s (%.2f s a unit)\n", oneAtATime, oneAtATime / count);
    std::printf("  --parallel 8: %7.1f s (%.2f s a unit)\n", eight, eight / count);
    std::printf("  speed-up: %.2f x\n", oneAtATime / eight);
    return 0;
}
