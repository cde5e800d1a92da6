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

#include <map>
#include <memory>
#include <vector>

namespace mr3x::test {

/// Outside programs (file manager, editor, calculator) are never started in tests: the launcher
/// records what would have been started. Nothing counts as installed until a test says so.
class FakeLauncher final : public Launcher {
public:
    bool start(const QString& program, const QStringList& arguments) override
    {
        attempted.push_back({program, arguments});
        if (failing.contains(program))
            return false;
        started.push_back({program, arguments});
        return true;
    }
    bool isInstalled(const QString& program) override { return installed.contains(program); }
    std::optional<CommandLine> desktopHandler(const QString& mimeType, const QString& file) override
    {
        const auto handler = handlers.find(mimeType);
        if (handler == handlers.end())
            return std::nullopt;
        return CommandLine{handler->second.program, handler->second.arguments + QStringList{file}};
    }

    QStringList installed;                         // programs found on the search path
    QStringList failing;                           // installed programs that fail to start
    std::map<QString, CommandLine> handlers;       // the desktop's handler per MIME type (file appended)
    std::vector<CommandLine> attempted;
    std::vector<CommandLine> started;
};

/// Makes in `appFolder` the system "Substation" with its one unit "MR-0101" of `model` (job
/// "Feeder 7 Fault", location "North Yard"), opened at start-up.
void makeSubstation(const QString& appFolder, const QString& model = QStringLiteral("M-R32"));
/// The folder of that unit.
QString substationUnitFolder(const QString& appFolder);

class MasterFixture {
public:
    /// On a fresh program folder, or on `appFolder` when one is given.
    explicit MasterFixture(const QString& appFolder = QString());
    ~MasterFixture();

    /// Builds the window (once) and runs its load, as the start-up window does.
    frmMaster& load();
    /// The window, built on first use without running its load.
    frmMaster& window();
    /// Makes the system `name` in the program folder: its folder under "Systems" and, given unit
    /// lines, its configuration file.
    void addSystem(const QString& name, const QStringList& unitLines = {}) const;

    TempFolder root;          // holds the program folder
    QString appFolder;        // root + "/M-R3X Master"
    TestClock clock;
    ScriptedDialogs dialogs;
    FakeLauncher launcher;
    Lifetime lifetime;
    TransportOpener openPort;
    QStringList extraDevices;

private:
    std::unique_ptr<frmMaster> window_;
};

} // namespace mr3x::test
