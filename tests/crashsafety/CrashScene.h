#pragma once
// The scene of a crash trial: a program folder with one system, "Substation", whose one unit
// "MR-0101" is the simulated unit, and the window on it, on the test clock. The child that is
// killed and the start after the kill both build it on the same folder.
#include "common/Clock.h"
#include "common/Lifetime.h"
#include "common/ScriptedDialogs.h"
#include "sim/SimUnit.h"
#include "support/MasterFixture.h"
#include "ui/frmMaster.h"

#include <memory>

namespace mr3x::crash {

/// The three saves a trial kills: the master settings file, a system configuration file, and a
/// received event record.
enum class SaveKind { MasterSettings, SystemConfig, ReceivedEvent };
inline constexpr SaveKind kSaveKinds[] = {SaveKind::MasterSettings, SaveKind::SystemConfig, SaveKind::ReceivedEvent};
/// "settings", "config", "event": the child's argument.
QString argumentFor(SaveKind kind);
/// As the report names it.
QString titleOf(SaveKind kind);

/// The event record the trials receive (a long one, with its trace area).
inline constexpr int kEventSlot = 9;

/// Makes the program folder: the master settings file, "Substation.cfg" and the system's folder.
void makeProgramFolder(const QString& appFolder);
QString unitFolderOf(const QString& appFolder);
/// The simulated unit both sides use: the same options give the same records.
sim::SimOptions unitOptions();

class Scene {
public:
    explicit Scene(const QString& appFolder);
    ~Scene();

    /// Builds the window and runs its load, as a start of the program does.
    frmMaster& start();
    /// Opens the simulated unit's port at 115200 baud.
    void openPort();
    /// Stores the unit's index as a fetch would have left it.
    void storeTheIndex();
    /// Lists the stored index and selects the trial's event.
    void selectTheEvent();

    frmMaster& window() { return *window_; }
    sim::SimUnit& unit() { return *unit_; }
    TestClock clock;
    ScriptedDialogs dialogs;
    test::FakeLauncher launcher;
    Lifetime lifetime;

private:
    QString appFolder_;
    std::shared_ptr<sim::SimUnit> unit_;
    std::unique_ptr<frmMaster> window_;
};

} // namespace mr3x::crash
