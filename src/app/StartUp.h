#pragma once
// Start-up and the master settings file: the main window's load, INITIALISATION, the orderly
// exit and SAVE_SETTINGS.
#include <QString>

namespace mr3x {

class frmMaster;
struct MasterEnvironment;

class StartUp {
public:
    explicit StartUp(frmMaster& window) : w(window) {}

    /// The main window load: the program folder, the viewers' scales, the port list's numbers,
    /// then INITIALISATION.
    void Form_Load();
    /// Fills the setting lists, backs up or creates the master settings file, reads it, lists the
    /// systems and selects the remembered one. Ends the program on a failure.
    void INITIALISATION();
    /// Writes the master settings file from the window's state; false when it could not be written.
    bool SAVE_SETTINGS();
    /// "Exit": asks, then saves and ends the program.
    void mnuExit_Click();

    /// The program folder by the platform's rule, from the current directory.
    static QString computeAppFolder();
    /// The POSIX rule: the current directory when it is already a folder named "M-R3X Master",
    /// else that folder in the home folder.
    static QString appFolderRule(const QString& currentDir, const QString& homeDir);
    /// The program folder a window works in: the environment's, or the platform's rule.
    static QString appFolderFor(const MasterEnvironment& environment);

private:
    QString iniPath() const;
    QString systemsFolder() const;
    void appendPortNumbers();
    void resetSettingLists();
    bool createMasterSettingsFileIfMissing();
    bool backUpMasterSettingsFile();
    bool readMasterSettingsFile();
    bool listSystems();
    void selectRememberedSystem();
    void fillParameterLabels();
    void failStartUp();

    frmMaster& w;
};

} // namespace mr3x
