// How fast events come off a unit, and how fast the index is listed beside many stored events.
//
// 1. "Select All" and "Get Data" on an "M-S32" holding 40 events, the simulated unit pacing its
//    bytes at 115200 baud, on the real clock: once through the in-process port, once through a
//    pty served by the standalone mr3x-unit-sim and opened as a serial port. The time is
//    compared with the line-rate minimum for 40 records of 11520 bytes (10 bits a byte), with
//    the minimum for the bytes the unit really sent, and with the minimum for everything it put
//    on the line (the transfer's framing and the "Finished" answers too), and broken down into
//    the request exchanges, the fixed 500 ms pause before each reception (the unit needs it to
//    switch to file transfer), the receptions and the conversions.
// 2. FILL_INDEX_LIST followed by REMARK_INDEX for a 40-record index, the unit folder holding
//    5,000 stored events.
//
//   bench_download [index runs]
//   MR3X_UNIT_SIM=path names the standalone simulated unit (default: beside this build's sim/).
#include "../BenchSupport.h"
#include "common/Clock.h"
#include "common/Lifetime.h"
#include "common/ScriptedDialogs.h"
#include "link/ConnectionLifecycle.h"
#include "link/SerialPortTransport.h"
#include "retrieval/EventDownload.h"
#include "retrieval/EventIndex.h"
#include "sim/InProcessTransport.h"
#include "sim/SimUnit.h"
#include "ui/QtLauncher.h"
#include "ui/frmMaster.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using mr3x::bench::writeFile;

constexpr int kEvents = 40;
constexpr double kLongRecordBytes = 11520;
constexpr double kShortRecordBytes = 3328;
constexpr double kBitsPerByte = 10;
constexpr double kBaud = 115200;
constexpr double kPauseMs = 500;
constexpr int kStoredEvents = 5000;

/// A program folder with one system "Substation" of one "M-S32" unit; returns the unit folder.
QString buildProgramFolder(const QString& app)
{
    QDir().mkpath(app + QStringLiteral("/Systems/Substation/Jobs"));
    writeFile(app + QStringLiteral("/Substation.cfg"), "MR-0101,Not set,M-S32,Feeder 7 Fault,North Yard,SIM 4401\r\n");
    writeFile(app + QStringLiteral("/M-R3X Master.ini"),
              (QStringLiteral("System Folder = ") + app + QStringLiteral("/Systems\r\nLast system = Substation\r\n")).toUtf8());
    return app + QStringLiteral("/Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101");
}

/// What the unit puts on the line for one file, then its "Finished f" answer.
double bytesOnTheLine(double fileBytes)
{
    constexpr double finished = 14;
    return mr3x::bench::transferBytes(fileBytes) + finished;
}

/// The window on the real clock, its port opened at 115200 baud, the unit's model "M-S32".
struct Session {
    mr3x::RealClock clock;
    mr3x::ScriptedDialogs dialogs;
    mr3x::QtLauncher launcher;
    mr3x::Lifetime lifetime;
    std::unique_ptr<mr3x::frmMaster> master;

    Session(const QString& app, const QString& port, const std::function<mr3x::TransportOpener(mr3x::Clock&)>& opener)
    {
        mr3x::MasterEnvironment environment;
        environment.clock = &clock;
        environment.dialogs = &dialogs;
        environment.launcher = &launcher;
        environment.lifetime = &lifetime;
        environment.openPort = opener(clock);
        environment.extraDevices << port;
        environment.appFolder = app;
        master = std::make_unique<mr3x::frmMaster>(environment);
        master->Form_Load();
        if (master->cboCommports->findText(port) < 0)
            master->cboCommports->addItem(port);
        master->cboCommports->setCurrentIndex(master->cboCommports->findText(port));
        master->optBaud[1]->setChecked(true);
        master->connection->cboCommports_Click();
        master->lblHardware->setText(QStringLiteral("M-S32"));
    }
};

void benchDownload(const char* how, const QString& port, const std::function<mr3x::TransportOpener(mr3x::Clock&)>& opener)
{
    QTemporaryDir root;
    const QString app = root.path() + QStringLiteral("/M-R3X Master");
    const QString unitFolder = buildProgramFolder(app);
    Session session(app, port, opener);
    mr3x::frmMaster& w = *session.master;
    if (w.Comm->PortStatus() != QStringLiteral("Connected")) {
        std::fprintf(stderr, "%s: the port %s did not open (%s)\n", how, qPrintable(port), qPrintable(w.Comm->PortStatus()));
        std::exit(1);
    }
    w.eventIndex->cmdGetIndex_Click();
    w.eventIndex->cmdSelectAll_Click();

    // Every status text with its time: the phases of each event are read from them.
    QElapsedTimer timer;
    std::vector<std::pair<double, QString>> statuses;
    QObject::connect(w.lblStatus, &mr3x::EventLabel::Change, w.lblStatus, [&] {
        statuses.emplace_back(static_cast<double>(timer.nsecsElapsed()) / 1e6, w.lblStatus->text());
    });
    timer.start();
    w.eventDownload->cmdGetData_Click();
    const double totalMs = static_cast<double>(timer.nsecsElapsed()) / 1e6;

    const QStringList stored = QDir(unitFolder).entryList({QStringLiteral("*.trg")}, QDir::Files);
    double storedBytes = 0, lineBytes = 0;
    int longRecords = 0;
    for (const QString& name : stored) {
        const auto size = static_cast<double>(QFileInfo(unitFolder + QLatin1Char('/') + name).size());
        storedBytes += size;
        lineBytes += bytesOnTheLine(size);
        longRecords += size == kLongRecordBytes ? 1 : 0;
    }
    if (stored.size() != kEvents || storedBytes != longRecords * kLongRecordBytes + (kEvents - longRecords) * kShortRecordBytes
        || !session.dialogs.shown().empty()) {
        std::fprintf(stderr, "%s: the download stored %lld of %d events; last status %s\n", how,
                     static_cast<long long>(stored.size()), kEvents, qPrintable(w.lblStatus->text()));
        std::exit(1);
    }

    // Phases of each event: request -> acknowledged (the exchange); acknowledged -> the first
    // byte count (the pause, the transfer's header block and its first data block); -> "Event nn
    // received" (the rest of the reception); -> the next request (ACK, conversion, list updates).
    double exchangeMs = 0, pauseAndStartMs = 0, receptionMs = 0, afterMs = 0;
    double requested = 0, acknowledged = 0, firstBytes = -1, received = 0;
    for (const auto& [at, text] : statuses) {
        if (text.startsWith(QStringLiteral("Requesting event record"))) {
            if (received > 0)
                afterMs += at - received;
            requested = at;
            firstBytes = -1;
        } else if (text.startsWith(QStringLiteral("Request for Event"))) {
            acknowledged = at;
            exchangeMs += at - requested;
        } else if (text.endsWith(QStringLiteral(" bytes transferred")) && firstBytes < 0) {
            firstBytes = at;
            pauseAndStartMs += at - acknowledged;
        } else if (text.endsWith(QStringLiteral(" received"))) {
            received = at;
            receptionMs += at - firstBytes;
        }
    }
    afterMs += totalMs - received;

    const double pausesMs = kEvents * kPauseMs;
    auto ratios = [&](const char* what, double bytes) {
        const double minimumMs = bytes * kBitsPerByte / kBaud * 1000;
        std::printf("  line-rate minimum for %-34s %8.0f ms: ratio %.3f, without the pauses %.3f\n", what, minimumMs,
                    totalMs / minimumMs, (totalMs - pausesMs) / minimumMs);
    };
    std::printf("%s: download of %d events (%.0f bytes stored: %d long and %d short records)\n", how, kEvents, storedBytes,
                longRecords, kEvents - longRecords);
    std::printf("  total                               %8.0f ms\n", totalMs);
    std::printf("  request exchanges                   %8.0f ms\n", exchangeMs);
    std::printf("  pause, header and first data block  %8.0f ms (of which the fixed pauses %.0f ms)\n", pauseAndStartMs, pausesMs);
    std::printf("  rest of the receptions              %8.0f ms\n", receptionMs);
    std::printf("  ACK, conversion, list updates       %8.0f ms\n", afterMs);
    ratios("40 x 11520 bytes", kEvents * kLongRecordBytes);
    ratios("the bytes stored", storedBytes);
    ratios("the unit's bytes with their framing", lineBytes);
    std::printf("  the pauses' share of the total: %.1f %%\n", pausesMs / totalMs * 100);
}

void benchInProcess()
{
    mr3x::sim::SimOptions options;
    options.model = mr3x::sim::Model::MS32;
    options.paced = true;
    options.baud = 115200;
    options.events = kEvents;
    options.armed = false;
    auto unit = std::make_shared<mr3x::sim::SimUnit>(options);
    benchDownload("in-process port", mr3x::sim::simulatedPortName(QStringLiteral("M-S32")), [unit](mr3x::Clock& clock) {
        return mr3x::sim::openerWithSimulatedUnit(clock, unit, [](const QString& name) { return mr3x::openSerialPort(name); });
    });
}

void benchPty()
{
    QString simulator = qEnvironmentVariable("MR3X_UNIT_SIM");
    if (simulator.isEmpty())
        simulator = QCoreApplication::applicationDirPath() + QStringLiteral("/../../sim/mr3x-unit-sim");
    QProcess unit;
    unit.start(simulator, {QStringLiteral("--model"), QStringLiteral("M-S32"), QStringLiteral("--pace"),
                           QStringLiteral("--baud"), QStringLiteral("115200"), QStringLiteral("--events"),
                           QString::number(kEvents), QStringLiteral("--disarmed")});
    if (!unit.waitForStarted(5000) || !unit.waitForReadyRead(5000)) {
        std::fprintf(stderr, "pty: %s did not start\n", qPrintable(simulator));
        return;
    }
    const QString pty = QString::fromLocal8Bit(unit.readLine()).trimmed();
    benchDownload("pty and serial port", pty, [](mr3x::Clock&) {
        return mr3x::TransportOpener([](const QString& name) { return mr3x::openSerialPort(name); });
    });
    unit.terminate();
    unit.waitForFinished(5000);
}

QByteArray indexRecord(int slot, const QDateTime& when)
{
    QByteArray record(18, '\0');
    const int fields[] = {slot, 0, when.date().year() - 2000, when.date().month(), when.date().day(),
                          when.time().hour(), when.time().minute(), when.time().second()};
    for (int i = 0; i < 8; ++i)
        record[i] = static_cast<char>(fields[i]);
    return record;
}

void benchIndexFill(int runs)
{
    QTemporaryDir root;
    const QString app = root.path() + QStringLiteral("/M-R3X Master");
    const QString unitFolder = buildProgramFolder(app);
    QDir().mkpath(unitFolder);
    // 5,000 stored events, one an hour; the index names the last 40 of them, every other one
    // a minute later, so that half its lines are stored.
    QByteArray index;
    QDateTime when(QDate(2026, 1, 1), QTime(0, 0, 0));
    for (int i = 0; i < kStoredEvents; ++i, when = when.addSecs(3600)) {
        writeFile(unitFolder + QLatin1Char('/') + when.toString(QStringLiteral("yy-MM-dd HH-mm-ss")) + QStringLiteral(".trg"),
                  "stored");
        const int slot = i - (kStoredEvents - kEvents);
        if (slot >= 0)
            index += indexRecord(slot, slot % 2 == 0 ? when : when.addSecs(60));
    }
    writeFile(unitFolder + QStringLiteral("/MR-0101.IDX"), index);

    Session session(app, QStringLiteral("none"), [](mr3x::Clock&) {
        return mr3x::TransportOpener([](const QString& name) { return mr3x::openSerialPort(name); });
    });
    mr3x::frmMaster& w = *session.master;
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        w.eventIndex->FILL_INDEX_LIST();
        w.eventIndex->REMARK_INDEX();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    int marked = 0;
    for (int row = 0; row < w.lstIndex->count(); ++row)
        marked += w.lstIndex->item(row)->text().endsWith(QLatin1Char('+')) ? 1 : 0;
    if (w.lstIndex->count() != kEvents || marked != kEvents / 2) {
        std::fprintf(stderr, "the index showed %d lines, %d stored\n", w.lstIndex->count(), marked);
        std::exit(1);
    }
    std::sort(times.begin(), times.end());
    std::printf("FILL_INDEX_LIST + REMARK_INDEX, 40 lines, %d stored events: median %.2f ms, worst %.2f ms (%d runs)\n",
                kStoredEvents, times[times.size() / 2], times.back(), runs);
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;

    benchIndexFill(runs);
    benchInProcess();
    benchPty();
    return 0;
}
