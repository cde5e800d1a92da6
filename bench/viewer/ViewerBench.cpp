// How fast the viewers answer the engineer, on the offscreen platform and the real clock.
//
// 1. FILL_EVENT_LIST over a unit folder of 5,000 event files, under "All" (names and lengths)
//    and under ".TRG" (each event's trailer read for its record number).
// 2. A click on an event line to both slots loaded, drawn and painted, the window at 1366x768
//    (both chains show the one unit, so the click loads slot 1 too).
// 3. One slot's repaint: four channels of 800 samples and the 64-line grid.
// 4. DRAW_TRS_VIEW and the paint of the TRS view at 1600x600 with the Master's and the Slave's
//    traces and one manual TRS test: three lines of 8192 points.
// 5. "TEST" against the simulated unit pacing its bytes at 115200 baud: the click to the trace
//    drawn, beside the line-rate minimum for what the unit put on the line (the trace's transfer
//    and the answers to the setting batch).
//
// Each figure is the minimum, median and maximum over the runs.
//
//   bench_viewer [runs]
#include "../BenchSupport.h"
#include "common/Clock.h"
#include "common/Lifetime.h"
#include "common/ScriptedDialogs.h"
#include "events/EventLists.h"
#include "events/EventViewer.h"
#include "link/ConnectionLifecycle.h"
#include "link/SerialPortTransport.h"
#include "sim/InProcessTransport.h"
#include "sim/SimUnit.h"
#include "tdr/TdrTests.h"
#include "tdr/TrsLocator.h"
#include "unitsettings/SettingCommands.h"
#include "ui/QtLauncher.h"
#include "ui/frmMaster.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using mr3x::bench::writeFile;

constexpr int kStoredEvents = 5000;
constexpr double kBitsPerByte = 10;
constexpr double kBaud = 115200;

QByteArray bytesOf(const std::vector<std::uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

/// A program folder with one system of two M-R32 units; returns the first unit's folder.
QString buildProgramFolder(const QString& app)
{
    QDir().mkpath(app + QStringLiteral("/Systems/Substation/Jobs"));
    writeFile(app + QStringLiteral("/Substation.cfg"), "MR-0101,Not set,M-R32,Feeder 7 Fault,North Yard,SIM 4401\r\n"
                                                       "MR-0102,Not set,M-R32,Feeder 7 Fault,South Yard,SIM 4402\r\n");
    writeFile(app + QStringLiteral("/M-R3X Master.ini"),
              (QStringLiteral("System Folder = ") + app + QStringLiteral("/Systems\r\nLast system = Substation\r\n")).toUtf8());
    const QString unit = app + QStringLiteral("/Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101");
    QDir().mkpath(unit);
    QDir().mkpath(app + QStringLiteral("/Systems/Substation/Jobs/Feeder 7 Fault/South Yard/MR-0102"));
    return unit;
}

struct Figures {
    std::vector<double> ms;
    void add(double value) { ms.push_back(value); }
    void print(const char* what, const char* target = "") const
    {
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        std::printf("%-58s min %8.2f  median %8.2f  max %8.2f ms  %s\n", what, sorted.front(), sorted[sorted.size() / 2],
                    sorted.back(), target);
    }
};

double timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

/// The window on the real clock, shown at 1366x768, with the simulated unit (paced at the line
/// rate) on its port list.
struct Session {
    mr3x::RealClock clock;
    mr3x::ScriptedDialogs dialogs;
    mr3x::QtLauncher launcher;
    mr3x::Lifetime lifetime;
    std::shared_ptr<mr3x::sim::SimUnit> unit;
    std::unique_ptr<mr3x::frmMaster> master;

    explicit Session(const QString& app)
    {
        mr3x::sim::SimOptions options;
        options.armed = false;
        options.paced = true;
        unit = std::make_shared<mr3x::sim::SimUnit>(options);
        mr3x::MasterEnvironment environment;
        environment.clock = &clock;
        environment.dialogs = &dialogs;
        environment.launcher = &launcher;
        environment.lifetime = &lifetime;
        environment.openPort = mr3x::sim::openerWithSimulatedUnit(clock, unit, [](const QString& name) { return mr3x::openSerialPort(name); });
        environment.extraDevices << port();
        environment.appFolder = app;
        master = std::make_unique<mr3x::frmMaster>(environment);
        master->Form_Load();
        master->resize(1366, 768);
        master->show();
        QApplication::processEvents();
    }
    static QString port() { return mr3x::sim::simulatedPortName(QStringLiteral("M-R32")); }
    void openPort()
    {
        mr3x::frmMaster& w = *master;
        if (w.cboCommports->findText(port()) < 0)
            w.cboCommports->addItem(port());
        w.cboCommports->setCurrentIndex(w.cboCommports->findText(port()));
        w.optBaud[1]->setChecked(true);
        w.connection->cboCommports_Click();
    }
};

void benchListFill(int runs)
{
    QTemporaryDir root;
    const QString app = root.path() + QStringLiteral("/M-R3X Master");
    const QString unitFolder = buildProgramFolder(app);
    const mr3x::sim::SimUnit unit;
    const QByteArray longEvent = bytesOf(unit.eventRecord(0));
    const QByteArray shortEvent = bytesOf(unit.eventRecord(3));
    for (int k = 0; k < kStoredEvents; ++k) {
        const QString stem = QStringLiteral("%1-%2-%3 %4-%5-%6")
                                 .arg(20 + k / 1000, 2, 10, QLatin1Char('0'))
                                 .arg(1 + k / 100 % 10, 2, 10, QLatin1Char('0'))
                                 .arg(1 + k % 28, 2, 10, QLatin1Char('0'))
                                 .arg(k % 24, 2, 10, QLatin1Char('0'))
                                 .arg(k % 60, 2, 10, QLatin1Char('0'))
                                 .arg(k / 60 % 60, 2, 10, QLatin1Char('0'));
        writeFile(unitFolder + QLatin1Char('/') + stem + (k % 5 == 4 ? QStringLiteral(".vlt") : QStringLiteral(".trg")),
                  k % 4 == 3 ? shortEvent : longEvent);
    }
    Session session(app);
    mr3x::frmMaster& w = *session.master;
    w.filTrig[0]->Refresh();
    std::printf("event files listed: %d\n", w.filTrig[0]->ListCount());
    Figures all, triggered;
    for (int run = 0; run < runs; ++run) {
        w.eventSlot[0].optAll->setChecked(true);
        all.add(timed([&] { w.eventLists->FILL_EVENT_LIST(0); }));
        w.eventSlot[0].optTrg->setChecked(true);
        triggered.add(timed([&] { w.eventLists->FILL_EVENT_LIST(0); }));
    }
    all.print("FILL_EVENT_LIST, 5,000 files, \"All\"", "(target under 100 ms)");
    triggered.print("FILL_EVENT_LIST, 5,000 files, \".TRG\" (trailers read)", "(target under 100 ms)");
}

void benchClickAndPaint(int runs)
{
    QTemporaryDir root;
    const QString app = root.path() + QStringLiteral("/M-R3X Master");
    const QString unitFolder = buildProgramFolder(app);
    const mr3x::sim::SimUnit unit;
    writeFile(unitFolder + QStringLiteral("/26-12-01 10-00-00.trg"), bytesOf(unit.eventRecord(0)));
    writeFile(unitFolder + QStringLiteral("/26-12-02 10-00-00.trg"), bytesOf(unit.eventRecord(1)));
    Session session(app);
    mr3x::frmMaster& w = *session.master;
    w.filTrig[0]->Refresh();
    w.filTrig[1]->Refresh();
    w.eventLists->FILL_EVENT_LIST(0);
    w.eventLists->FILL_EVENT_LIST(1);
    Figures click, repaint;
    for (int run = 0; run < runs; ++run) {
        w.eventSlot[0].lstTrig->setCurrentRow(run % 2);
        click.add(timed([&] {
            w.eventLists->lstTrig_Click(0);
            w.eventSlot[0].picvolts->repaint();
            w.eventSlot[1].picvolts->repaint();
        }));
        repaint.add(timed([&] { w.eventSlot[1].picvolts->repaint(); }));
    }
    std::printf("slot picture %dx%d, %zu runs drawn\n", w.eventSlot[1].picvolts->width(), w.eventSlot[1].picvolts->height(),
                w.eventSlot[1].picvolts->Runs().size());
    click.print("click to both slots loaded and painted (1366x768)", "(target under 16 ms)");
    repaint.print("one slot's repaint, 4 x 800 samples and the grid", "(target under 2 ms)");
}

void benchTrsView(int runs)
{
    QTemporaryDir root;
    const QString app = root.path() + QStringLiteral("/M-R3X Master");
    const QString unitFolder = buildProgramFolder(app);
    const QString slaveFolder = app + QStringLiteral("/Systems/Substation/Jobs/Feeder 7 Fault/South Yard/MR-0102");
    for (const auto role : {mr3x::sim::TrsRole::Master, mr3x::sim::TrsRole::Slave}) {
        mr3x::sim::SimOptions options;
        options.trsRole = role;
        const mr3x::sim::SimUnit end(options);
        const QString folder = role == mr3x::sim::TrsRole::Master ? unitFolder : slaveFolder;
        writeFile(folder + QStringLiteral("/26-12-06 09-00-00.trg"), bytesOf(end.eventRecord(end.storedEvents() - 1)));
    }
    // One manual TRS test: the Master's own TEST in TRS mode.
    mr3x::sim::SimOptions options;
    options.armed = false;
    options.trsRole = mr3x::sim::TrsRole::Master;
    mr3x::sim::SimUnit tester(options);
    tester.receive("g15, 3,0,0,0,034,10,10,0", 0);
    writeFile(unitFolder + QStringLiteral("/26-12-06 10-00-00 (R-N=TRS).TDR"), bytesOf(tester.lastOfferBytes()));

    Session session(app);
    mr3x::frmMaster& w = *session.master;
    w.cboLocations[1]->setCurrentIndex(w.cboLocations[1]->findText(QStringLiteral("South Yard")));
    w.eventSlot[0].lstTrig->setCurrentRow(0);
    w.eventSlot[1].lstTrig->setCurrentRow(0);
    w.tdrView.chkTrace[2]->setChecked(true);
    w.tdrView.picTDR->setFixedSize(1600, 600);
    QApplication::processEvents();
    Figures figures;
    for (int run = 0; run < runs; ++run)
        figures.add(timed([&] {
            w.trsLocator->DRAW_TRS_VIEW();
            w.tdrView.picTDR->repaint();
        }));
    std::size_t points = 0;
    for (const auto& line : w.tdrView.picTDR->Runs())
        points += line.points.size();
    std::printf("TRS view %dx%d: %zu lines, %zu points\n", w.tdrView.picTDR->width(), w.tdrView.picTDR->height(),
                w.tdrView.picTDR->Runs().size(), points);
    figures.print("DRAW_TRS_VIEW and its paint, 3 x 8192 points (1600x600)", "(target under 4 ms)");
}

void benchTest(int runs)
{
    QTemporaryDir root;
    const QString app = root.path() + QStringLiteral("/M-R3X Master");
    buildProgramFolder(app);
    Session session(app);
    session.openPort();
    mr3x::frmMaster& w = *session.master;
    Figures click, batch;
    // The setting batch alone; the unit then offers a trace nobody takes, which it withdraws at
    // the next command.
    for (int run = 0; run < runs; ++run)
        batch.add(timed([&] { w.settingCommands->SEND_SETTINGS_FOR_MODEL(); }));
    for (int run = 0; run < runs; ++run)
        click.add(timed([&] {
            w.tdrTests->cmdTest_Click();
            w.tdrView.picTDR->repaint();
        }));
    if (!w.lblStatus->text().endsWith(QStringLiteral(" test completed "))) {
        std::fprintf(stderr, "TEST did not complete: %s\n", qPrintable(w.lblStatus->text()));
        std::exit(1);
    }
    const double transferMs = mr3x::bench::transferBytes(629) * kBitsPerByte / kBaud * 1000;
    std::printf("line-rate minimum for the trace's transfer (629 bytes framed): %.1f ms\n", transferMs);
    click.print("TEST, click to trace drawn (paced unit, 115200 baud)");
    batch.print("of which the setting batch (time, identity, hardware)");
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(3, std::atoi(argv[1])) : 21;
    benchListFill(std::max(3, runs / 3));
    benchClickAndPaint(runs);
    benchTrsView(runs);
    benchTest(std::max(3, runs / 5));
    return 0;
}
