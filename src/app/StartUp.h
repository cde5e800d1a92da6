#pragma once
// Start-up and the master settings file: the main window's INITIALISATION, the orderly exit and
// SAVE_SETTINGS.
#include <QString>

namespace mr3x {

class frmMaster;
struct MasterEnvironment;

class StartUp {
public:
    explicit StartUp(frmMaster& window) : w(window) {}

    /// The main window load: the viewer's start state, the port list's numbers, then INITIALISATION.
    void Form_Load();
    /// Fills the setting lists, backs up or creates the master settings file, reads it, lists the
    /// systems and selects the remembered one. Ends the program on a failure.
    void INITIALISATION();
    /// Writes the master settings file from the window's state.
    void SAVE_SETTINGS();
    /// "Exit": asks, then saves and ends the program.
    void mnuExit_Click();

    /// The program folder by the platform's rule (see app/README.md).
    static QString computeAppFolder();
    /// The program folder a window works in: the environment's, or the platform's rule.
    static QString appFolderFor(const MasterEnvironment& environment);

private:
    frmMaster& w;
};

} // namespace mr3x
