#pragma once
// The scene of a crash trial: a program folder with one system, "Substation", whose one unit
// "MR-0101" is the simulated unit, and the window on it, on the test clock. The child that is
// killed and the start after the kill both build it on the same folder.
#include "common/Clock.h"
#include "common/Files.h"
#include "common/Lifetime.h"
#include "common/ScriptedDialogs.h"
#include "link/ConnectionLifecycle.h"
#include "link/SerialPortTransport.h"
#include "sim/InProcessTransport.h"
#include "support/MasterFixture.h"
#include "ui/frmMaster.h"

#include <QDir>

#include <memory>

namespace mr3x::crash {

/// The three saves a trial kills: the master settings file, a system configuration file, and a
/// received event record.
enum class SaveKind { MasterSettings, SystemConfig, ReceivedEvent };
inline constexpr SaveKind kSaveKinds[] = {SaveKind::MasterSettings, SaveKind::SystemConfig, SaveKind::ReceivedEvent};
/// Each save's argument to the child, its name in the report, and the file it writes in the
/// program folder (a received event is named from its record).
struct SaveNames {
    const char* argument;
    const char* title;
    const char* file;
};
inline constexpr SaveNames kSaveNames[] = {{"settings", "master settings file", "M-R3X Master.ini"},
                                           {"config", "system configuration file", "Substation.cfg"},
                                           {"event", "received event", ""}};
inline const SaveNames& namesOf(SaveKind kind) { return kSaveNames[static_cast<std::size_t>(kind)]; }
inline QString titleOf(SaveKind kind) { return QString::fromLatin1(namesOf(kind).title); }
inline QString savedFile(const QString& appFolder, SaveKind kind)
{
    return joinPath(appFolder, QLatin1String(namesOf(kind).file));
}

/// The event record the trials receive (a long one, with its trace area).
inline constexpr int kEventSlot = 9;

/// Makes the program folder: the master settings file, "Substation.cfg" and the system's folder.
inline void makeProgramFolder(const QString& appFolder)
{
    QDir().mkpath(joinPath(appFolder, QStringLiteral("Systems/Substation/Jobs")));
    writeTextFile(savedFile(appFolder, SaveKind::SystemConfig),
                  {QStringLiteral("MR-0101,Not set,M-R32,Feeder 7 Fault,North Yard,SIM 4401")});
    writeTextFile(savedFile(appFolder, SaveKind::MasterSettings),
                  {QStringLiteral("System Folder = ") + appFolder + QStringLiteral("/Systems"),
                   QStringLiteral("Last system = Substation")});
}

inline QString unitFolderOf(const QString& appFolder)
{
    return joinPath(appFolder, QStringLiteral("Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101"));
}

/// The simulated unit both sides use, under serial control already: the same options give the
/// same records.
inline sim::SimOptions unitOptions()
{
    sim::SimOptions options;
    options.armed = false;
    options.paced = true;
    return options;
}

class Scene {
public:
    explicit Scene(const QString& appFolder) : appFolder_(appFolder) {}

    /// Builds the window and runs its load, as a start of the program does.
    frmMaster& start()
    {
        MasterEnvironment environment;
        environment.clock = &clock;
        environment.dialogs = &dialogs;
        environment.launcher = &launcher;
        environment.lifetime = &lifetime;
        environment.openPort = sim::openerWithSimulatedUnit(clock, unit_, [](const QString& name) { return openSerialPort(name); });
        environment.appFolder = appFolder_;
        window_ = std::make_unique<frmMaster>(environment);
        window_->Form_Load();
        return *window_;
    }
    /// Opens the simulated unit's port at 115200 baud.
    void openPort()
    {
        const QString port = sim::simulatedPortName(QStringLiteral("M-R32"));
        window_->cboCommports->addItem(port);
        window_->cboCommports->setCurrentText(port);
        window_->optBaud[1]->setChecked(true);
        window_->connection->cboCommports_Click();
    }

    sim::SimUnit& unit() { return *unit_; }
    TestClock clock;
    ScriptedDialogs dialogs;
    test::FakeLauncher launcher;
    Lifetime lifetime;

private:
    QString appFolder_;
    std::shared_ptr<sim::SimUnit> unit_ = std::make_shared<sim::SimUnit>(unitOptions());
    std::unique_ptr<frmMaster> window_;
};

} // namespace mr3x::crash
