#pragma once
// The real main window on the offscreen platform, with a test clock, scripted dialogs, no
// outside programs and a fresh program folder. Ports open through `openPort`, which a test may
// replace before calling load() (by default every port is unavailable).
#include "common/Clock.h"
#include "common/Launcher.h"
#include "common/Lifetime.h"
#include "common/ScriptedDialogs.h"
#include "support/TempFolder.h"
#include "ui/frmMaster.h"

#include <memory>

namespace mr3x::test {

/// Outside programs (file manager, editor, calculator) are not started in tests.
class NoLauncher final : public Launcher {
public:
    bool start(const QString&, const QStringList&) override { return true; }
};

class MasterFixture {
public:
    MasterFixture();
    ~MasterFixture();

    /// Builds the window (once) and runs its load, as the start-up window does.
    frmMaster& load();
    /// The window, built on first use without running its load.
    frmMaster& window();

    TempFolder root;          // holds the program folder
    QString appFolder;        // root + "/M-R3X Master"
    TestClock clock;
    Clock* clockOverride = nullptr; // set before the window is built to run it on another clock
    ScriptedDialogs dialogs;
    NoLauncher launcher;
    Lifetime lifetime;
    TransportOpener openPort;
    QStringList extraDevices;

private:
    std::unique_ptr<frmMaster> window_;
};

} // namespace mr3x::test
