// How long the program takes from start to the main window shown, on a program folder of
// 20 systems of 200 units each (every unit folder already there, as on a PC that has worked
// them all). Runs the real start-up window and main window on the offscreen platform.
//
//   bench_startup [runs]     prints every run and the median, in milliseconds
#include "common/Clock.h"
#include "common/Lifetime.h"
#include "common/ScriptedDialogs.h"
#include "link/SerialPortTransport.h"
#include "ui/QtLauncher.h"
#include "ui/frmDummy.h"
#include "ui/frmMaster.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int kSystems = 20;
constexpr int kJobs = 10;
constexpr int kLocationsPerJob = 4;
constexpr int kUnitsPerLocation = 5; // 10 x 4 x 5 = 200 units per system

void writeLines(const QString& path, const QStringList& lines)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::exit(2);
    for (const QString& line : lines)
        file.write(line.toUtf8() + "\r\n");
}

void buildProgramFolder(const QString& app)
{
    for (int s = 1; s <= kSystems; ++s) {
        const QString system = QStringLiteral("System %1").arg(s, 2, 10, QLatin1Char('0'));
        QStringList units;
        for (int j = 1; j <= kJobs; ++j)
            for (int l = 1; l <= kLocationsPerJob; ++l)
                for (int u = 1; u <= kUnitsPerLocation; ++u) {
                    const QString unit = QStringLiteral("MR-%1%2%3%4").arg(s, 2, 10, QLatin1Char('0')).arg(j, 2, 10, QLatin1Char('0')).arg(l).arg(u);
                    const QString job = QStringLiteral("Job %1").arg(j);
                    const QString location = QStringLiteral("Site %1").arg(l);
                    units << QStringLiteral("%1,Not set,M-R32,%2,%3,SIM %4").arg(unit, job, location, unit);
                    QDir().mkpath(QStringLiteral("%1/Systems/%2/Jobs/%3/%4/%5").arg(app, system, job, location, unit));
                }
        writeLines(app + QLatin1Char('/') + system + QStringLiteral(".cfg"), units);
    }
    writeLines(app + QStringLiteral("/M-R3X Master.ini"),
               {QStringLiteral("System Folder = ") + QDir::toNativeSeparators(app + QStringLiteral("/Systems")),
                QStringLiteral("Last system = System 13"), QStringLiteral("Last Job = Job 7"),
                QStringLiteral("Last Master = Site 2"), QStringLiteral("Last Slave = Site 3")});
}

double startOnce(const QString& app)
{
    mr3x::RealClock clock;
    mr3x::ScriptedDialogs dialogs;
    mr3x::QtLauncher launcher;
    mr3x::Lifetime lifetime;
    mr3x::MasterEnvironment environment;
    environment.clock = &clock;
    environment.dialogs = &dialogs;
    environment.launcher = &launcher;
    environment.lifetime = &lifetime;
    environment.openPort = [](const QString& name) { return mr3x::openSerialPort(name); };
    environment.appFolder = app;

    QElapsedTimer timer;
    timer.start();
    mr3x::frmMaster master(environment);
    mr3x::frmDummy splash;
    const bool shown = splash.Form_Load(master);
    QCoreApplication::processEvents();
    const double ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
    if (!shown || !dialogs.shown().empty() || master.cboUnits[0]->count() != kUnitsPerLocation) {
        std::fprintf(stderr, "start-up did not reach the main window with a unit chosen\n");
        std::exit(1);
    }
    return ms;
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;

    QTemporaryDir root;
    const QString app = root.path() + QStringLiteral("/M-R3X Master");
    QDir().mkpath(app);
    buildProgramFolder(app);

    std::vector<double> times;
    for (int run = 1; run <= runs; ++run) {
        times.push_back(startOnce(app));
        std::printf("run %d: %.1f ms\n", run, times.back());
    }
    std::sort(times.begin(), times.end());
    std::printf("median of %d runs: %.1f ms (%d systems of %d units)\n", runs, times[times.size() / 2], kSystems,
                kJobs * kLocationsPerJob * kUnitsPerLocation);
    return 0;
}
