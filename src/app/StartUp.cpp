#include "app/StartUp.h"

#include "app/MasterSettingsFile.h"
#include "common/Files.h"
#include "common/TextLines.h"
#include "systems/Systems.h"
#include "tdr/TdrViewer.h"
#include "ui/controls/ListFill.h"
#include "ui/frmMaster.h"

#include <QDir>
#include <QFileInfo>

namespace mr3x {

namespace {

const QString kTitle = QStringLiteral("M-R3X Master");

// The labels put in front of the unit's parameter values; 16 is empty and 18 to 20 stay empty.
const char* const kParameterLabels[18] = {
    "Baud rate: ",          "Voltage threshold: ", "Trigger sample count: ",     "Trigger record number: ",
    "Current sensitivity: ", "Phase: ",            "Gain hi-lo/Trigger mode: ", "Range/Pulse/Pre-trigger: ",
    "Gain: ",               "Internal: ",          "Balance Mode: ",            "Version: ",
    "Date: ",               "Job: ",               "Location: ",                "Spare: ",
    "",                     "SIM No: ",
};

QStringList numbers(int first, int last, const QString& prefix = QString())
{
    QStringList entries;
    for (int n = first; n <= last; ++n)
        entries << prefix + QString::number(n);
    return entries;
}

} // namespace

// --- The main window load ------------------------------------------------------------------

void StartUp::Form_Load()
{
    Program& p = w.program;
    p.AppFolder = appFolderFor(w.environment);
    // A fresh machine has no program folder yet: make it (one level) rather than fail below.
    ensureFolder(p.AppFolder);
    // A save that a kill cut short left its temporary file beside the settings or a system's file.
    removeLeftOverSaves(p.AppFolder, w.clock.currentDateTime());

    w.tdrView.picTDR->Scale(1, 256, 512, -1);
    w.tdrView.Plotstart->setText(QStringLiteral("25"));
    p.PulseCount = 64;
    p.ViewWidth = 8192;
    for (FileList* list : w.filTrig)
        list->setPattern(QStringLiteral("*.trg;*.vlt"));
    appendPortNumbers();
    w.DirSystems->setPath(systemsFolder());

    INITIALISATION();
    if (w.lifetime.ended())
        return;
    w.clock.DoEvents();
}

QString StartUp::computeAppFolder()
{
    const QString current = QDir::currentPath();
#ifdef Q_OS_WIN
    // The drive of the current directory; a current directory that already is the program
    // folder is taken as it is.
    const bool onDrive = current.size() >= 2 && current[1] == QLatin1Char(':');
    const QString drive = onDrive ? current.left(2) : QDir::rootPath().left(2);
    const QString folder = drive + QStringLiteral("/M-R3X Master");
    if (QString::compare(QDir::cleanPath(current), folder, Qt::CaseInsensitive) == 0)
        return current;
    return folder;
#else
    return appFolderRule(current, QDir::homePath());
#endif
}

QString StartUp::appFolderRule(const QString& currentDir, const QString& homeDir)
{
    const QString current = QDir::cleanPath(currentDir);
    if (QFileInfo(current).fileName() == kTitle)
        return current;
    return joinPath(QDir::cleanPath(homeDir), kTitle);
}

QString StartUp::appFolderFor(const MasterEnvironment& environment)
{
    return environment.appFolder.isEmpty() ? computeAppFolder() : environment.appFolder;
}

// --- INITIALISATION -------------------------------------------------------------------------

void StartUp::INITIALISATION()
{
    appendPortNumbers();
    resetSettingLists();
    if (!createMasterSettingsFileIfMissing() || !backUpMasterSettingsFile() || !readMasterSettingsFile()
        || !listSystems()) {
        failStartUp();
        return;
    }
    selectRememberedSystem();
    if (w.lifetime.ended())
        return; // the remembered system could not be opened
    w.tdrViewer->setTdrModeStartState();
    fillParameterLabels();
}

QString StartUp::iniPath() const
{
    return joinPath(w.program.AppFolder, QStringLiteral("M-R3X Master.ini"));
}

QString StartUp::systemsFolder() const
{
    return joinPath(w.program.AppFolder, QStringLiteral("Systems"));
}

void StartUp::appendPortNumbers()
{
    w.cboCommports->addItems(numbers(3, 64));
}

void StartUp::resetSettingLists()
{
    fillComboBox(w.cboThreshold, numbers(12, 35), 3);
    fillComboBox(w.cboDuration, numbers(2, 10, QStringLiteral(" ")), 1);
    fillComboBox(w.cboPre_Post, {QStringLiteral("7/1"), QStringLiteral("6/2"), QStringLiteral("5/3")}, 0);
}

bool StartUp::createMasterSettingsFileIfMissing()
{
    if (pathExists(iniPath()))
        return true;
    const MasterSettings defaults = defaultMasterSettings(nativePath(systemsFolder()).toStdString());
    if (!writeTextFile(iniPath(), toQLines(masterSettingsLines(defaults))))
        return false;
    // A sample system file left from an earlier installation is renewed with two units.
    const QString sample = joinPath(w.program.AppFolder, QStringLiteral("New System.cfg"));
    if (!pathExists(sample))
        return true;
    makeWritable(sample);
    return writeTextFile(sample, {QStringLiteral("Unit 1,Phone Number 1,M-R32,Job 1,Location 1,SIM 1"),
                                  QStringLiteral("Unit 2,Phone Number 2,M-R32,Job 2,Location 2,SIM 2")});
}

bool StartUp::backUpMasterSettingsFile()
{
    const QString backup = joinPath(w.program.AppFolder, QStringLiteral("M-R3X Master.bak"));
    if (pathExists(backup))
        makeWritable(backup);
    makeWritable(iniPath());
    return copyFileOver(iniPath(), backup);
}

bool StartUp::readMasterSettingsFile()
{
    const std::optional<QStringList> lines = readTextLines(iniPath());
    if (!lines)
        return false;
    Program& p = w.program;
    // A key the file does not name keeps the value it had (INITIALISATION may run again).
    MasterSettings s;
    s.CommPort = p.CommPortSetting.toStdString();
    s.Modem = p.ModemSetting.toStdString();
    s.LastSystem = p.LastSystem.toStdString();
    s.LastJob = p.LastJob.toStdString();
    s.LastMaster = p.LastMaster.toStdString();
    s.LastSlave = p.LastSlave.toStdString();
    s.LastConnection = p.LastConnection.toStdString();
    s.LastMode = p.LastMode.toStdString();
    for (const QString& line : *lines) {
        if (!readMasterSettingsLine(line.toStdString(), s).systemFolder)
            continue;
        // A relative folder is taken inside the program folder, never wherever the program
        // happened to be started from.
        const QString folder = QDir::fromNativeSeparators(QString::fromStdString(s.SystemFolder));
        p.JobsFolder = QDir::isAbsolutePath(folder) ? folder : joinPath(p.AppFolder, folder);
        if (!ensureFolder(p.JobsFolder))
            return false;
    }
    p.CommPortSetting = QString::fromStdString(s.CommPort);
    p.ModemSetting = QString::fromStdString(s.Modem);
    p.LastSystem = QString::fromStdString(s.LastSystem);
    p.LastJob = QString::fromStdString(s.LastJob);
    p.LastMaster = QString::fromStdString(s.LastMaster);
    p.LastSlave = QString::fromStdString(s.LastSlave);
    p.LastConnection = QString::fromStdString(s.LastConnection);
    p.LastMode = QString::fromStdString(s.LastMode);
    return true;
}

bool StartUp::listSystems()
{
    // The systems are always listed from the program folder, whatever "System Folder" says.
    w.DirSystems->setPath(systemsFolder());
    w.filSystems->setPath(w.program.AppFolder);
    if (!isFolder(systemsFolder()))
        return false;
    w.systems->DirSystems_Change();
    for (int row = 0; row < w.lstSystems->count(); ++row) {
        const QString name = w.lstSystems->item(row)->text();
        if (name.isEmpty())
            continue;
        const QString system = joinPath(systemsFolder(), name);
        if (!ensureFolder(system) || !ensureFolder(joinPath(system, QStringLiteral("Jobs"))))
            return false;
    }
    return true;
}

void StartUp::selectRememberedSystem()
{
    const int count = w.lstSystems->count();
    if (count == 0)
        return;
    int row = 0;
    for (int i = 0; i < count; ++i) {
        if (QString::compare(w.lstSystems->item(i)->text(), w.program.LastSystem, Qt::CaseInsensitive) == 0) {
            row = i;
            break;
        }
    }
    w.lstSystems->setCurrentRow(row); // opens the system (lstSystems_Click)
}

void StartUp::fillParameterLabels()
{
    for (int i = 0; i < 18; ++i)
        w.program.ParameterLabels[static_cast<std::size_t>(i)] = QString::fromLatin1(kParameterLabels[i]);
}

void StartUp::failStartUp()
{
    w.dialogs.message(nativePath(iniPath()) + QStringLiteral(" missing"), MsgButtons::Ok, MsgIcon::Critical, kTitle);
    w.lifetime.end(1);
}

// --- Exit -----------------------------------------------------------------------------------

void StartUp::mnuExit_Click()
{
    if (w.dialogs.message(QStringLiteral("Are you sure you wish to exit M-R3X Master?"), MsgButtons::YesNo,
                          MsgIcon::Question, kTitle)
        != MsgAnswer::Yes)
        return;
    w.Comm->setWaitTimeout(0);
    if (!SAVE_SETTINGS())
        w.dialogs.message(nativePath(iniPath()) + QStringLiteral(" could not be written: your last choices are not kept"),
                          MsgButtons::Ok, MsgIcon::Exclamation, kTitle);
    w.lifetime.end(0);
}

bool StartUp::SAVE_SETTINGS()
{
    const Program& p = w.program;
    MasterSettings s;
    s.SystemFolder = nativePath(systemsFolder()).toStdString();
    s.CommPort = p.CommPortSetting.toStdString();
    s.Modem = p.ModemSetting.toStdString();
    const QListWidgetItem* system = w.lstSystems->currentItem();
    s.LastSystem = system != nullptr ? system->text().toStdString() : std::string();
    s.LastJob = w.cboJobs[0]->currentText().toStdString();
    s.LastMaster = w.cboLocations[0]->currentText().toStdString();
    s.LastSlave = w.cboLocations[1]->currentText().toStdString();
    s.LastConnection = w.cboCommports->currentText().toStdString();
    if (w.optDisplayMode[0]->isChecked())
        s.LastMode = "TDR";
    else if (w.optDisplayMode[1]->isChecked())
        s.LastMode = "TRS";
    makeWritable(iniPath());
    return writeTextFile(iniPath(), toQLines(masterSettingsLines(s)));
}

} // namespace mr3x
