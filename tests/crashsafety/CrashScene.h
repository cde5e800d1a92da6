#pragma once
// The scene of a crash trial: a program folder with one system, "Substation", whose one unit
// "MR-0101" is the simulated unit, and the window on it, on the test clock. The child that is
// killed and the start after the kill both build it on the same folder.
#include "common/Files.h"
#include "link/ConnectionLifecycle.h"
#include "link/SerialPortTransport.h"
#include "sim/InProcessTransport.h"
#include "support/MasterFixture.h"

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

/// The simulated unit both sides use, under serial control already: the same options give the
/// same records.
inline sim::SimOptions unitOptions()
{
    sim::SimOptions options;
    options.armed = false;
    options.paced = true;
    return options;
}

/// The window on the program folder, its ports reaching the simulated unit.
class Scene : public test::MasterFixture {
public:
    explicit Scene(const QString& appFolder) : MasterFixture(appFolder)
    {
        openPort = sim::openerWithSimulatedUnit(clock, unit_, [](const QString& name) { return openSerialPort(name); });
    }

    /// Opens the simulated unit's port at 115200 baud.
    void choosePort()
    {
        frmMaster& w = window();
        const QString port = sim::simulatedPortName(QStringLiteral("M-R32"));
        w.cboCommports->addItem(port);
        w.cboCommports->setCurrentText(port);
        w.optBaud[1]->setChecked(true);
        w.connection->cboCommports_Click();
    }
    sim::SimUnit& unit() { return *unit_; }

private:
    std::shared_ptr<sim::SimUnit> unit_ = std::make_shared<sim::SimUnit>(unitOptions());
};

} // namespace mr3x::crash
