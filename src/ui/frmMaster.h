#pragma once
// The main window. It creates every named control (member name == objectName; control arrays
// as std::array, objectName "name(i)"), lays them out in panels, and connects user input to the
// subsystems' handlers. All behaviour lives in the subsystem classes it owns.
#include "app/Program.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/Launcher.h"
#include "common/Lifetime.h"
#include "link/SerialControl.h"
#include "ui/controls/EventLabel.h"
#include "ui/controls/FolderList.h"
#include "ui/controls/OptionButton.h"
#include "ui/controls/PanelDock.h"
#include "ui/controls/PressButton.h"
#include "ui/controls/TerminalScreen.h"
#include "ui/panels/EventSlotView.h"
#include "ui/panels/TdrViewerView.h"
#include "ui/panels/TerminalView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDockWidget>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>

#include <array>
#include <memory>

namespace mr3x {

class StartUp;
class Systems;
class ConnectionLifecycle;
class UnitSession;
class WindowObserver;
class Terminal;
class UnitSettings;
class SettingCommands;
class ControlPanel;
class EventIndex;
class EventDownload;
class EventViewer;
class EventLists;
class WaveformDisplay;
class TdrTests;
class TdrViewer;
class TrsLocator;
class FaultFinding;
class CableTypes;
class UnitAddresses;
class Exports;
class frmConfig;
class frmTimeOut;
class PlotEnlarger;

/// What the window needs from the world outside: handed in by main() or by a test.
struct MasterEnvironment {
    Clock* clock = nullptr;
    Dialogs* dialogs = nullptr;
    Launcher* launcher = nullptr;
    Lifetime* lifetime = nullptr;
    TransportOpener openPort;            // opens a transport for a port name
    QStringList extraDevices;            // devices offered beside the real ports (the simulated unit)
    QString appFolder;                   // the program folder; empty: computed from the current directory
};

class frmMaster : public QMainWindow {
    Q_OBJECT
public:
    explicit frmMaster(const MasterEnvironment& environment, QWidget* parent = nullptr);
    ~frmMaster() override;

    /// The main window load: the viewer's start state, the port list's numbers, INITIALISATION.
    void Form_Load();

    // --- The world outside --------------------------------------------------------------
    Clock& clock;
    Dialogs& dialogs;
    Launcher& launcher;
    Lifetime& lifetime;
    MasterEnvironment environment;
    Program program;
    SerialControl* Comm = nullptr;        // the serial control

    // --- Subsystems -----------------------------------------------------------------------
    std::unique_ptr<StartUp> startUp;
    std::unique_ptr<Systems> systems;
    std::unique_ptr<WindowObserver> unitObserver; // the unit session reports to the window
    std::unique_ptr<UnitSession> unit;            // the unit's road, on Comm
    std::unique_ptr<ConnectionLifecycle> connection;
    std::unique_ptr<Terminal> terminal;
    std::unique_ptr<UnitSettings> unitSettings;
    std::unique_ptr<SettingCommands> settingCommands;
    std::unique_ptr<ControlPanel> controlPanel;
    std::unique_ptr<EventIndex> eventIndex;
    std::unique_ptr<EventDownload> eventDownload;
    std::unique_ptr<EventViewer> eventViewer;
    std::unique_ptr<EventLists> eventLists;
    std::unique_ptr<WaveformDisplay> waveforms;
    std::unique_ptr<TdrTests> tdrTests;
    std::unique_ptr<TdrViewer> tdrViewer;
    std::unique_ptr<TrsLocator> trsLocator;
    std::unique_ptr<FaultFinding> faultFinding;
    std::unique_ptr<CableTypes> cableTypes;
    std::unique_ptr<UnitAddresses> unitAddresses;
    std::unique_ptr<Exports> exports;

    // --- Other windows ------------------------------------------------------------------
    frmConfig* configEditor = nullptr;    // the configuration editor, made on first use
    frmTimeOut* timeOutWarning = nullptr; // the connection time-out warning, made on first use
    frmConfig& config();
    frmTimeOut& timeOut();

    // --- Menu -----------------------------------------------------------------------------
    QAction* mnuSystem = nullptr;
    QAction* mnuConfig = nullptr;
    QAction* mnuComms = nullptr;
    QAction* mnuControl = nullptr;
    QMenu* mnuTools = nullptr;
    QAction* mnuSettings = nullptr;
    QAction* mnuDisplay = nullptr;
    QAction* mnuMisc = nullptr;
    QAction* mnuMemo = nullptr;
    QMenu* mnuWindowsTools = nullptr;
    QAction* mnuExplorer = nullptr;
    QAction* mnuNotepad = nullptr;
    QAction* mnuCalculator = nullptr;
    QMenu* mnuExport = nullptr;             // "Export": each slot's and the TDR viewer's export menus
    QAction* mnuLine60Hz = nullptr;         // "Line frequency 60 Hz" (ticked) or 50 Hz for the exports
    QAction* mnuAbout = nullptr;
    QAction* mnuExit = nullptr;

    // --- Status line ------------------------------------------------------------------------
    EventLabel* lblStatus = nullptr;      // the status line; its change is an event
    QLabel* lblHardware = nullptr;        // the connected unit's model ("M-S32" or empty)
    QLabel* lblWork = nullptr;            // hidden: the last hardware byte sent
    QTimer* Watchdog = nullptr;           // ticks every 1000 ms while logged on

    // --- System selector and selector chains (index 0 master, 1 slave) ---------------------
    QGroupBox* fraSystems = nullptr;      // "System Selector"
    QListWidget* lstSystems = nullptr;
    EventLabel* lblHideSystemSelector = nullptr;
    FolderList* DirSystems = nullptr;     // hidden folder view of the Systems folder
    FileList* filSystems = nullptr;       // hidden file view of the program folder, "*.cfg"
    std::array<FolderList*, 2> DirJobs{};
    std::array<QComboBox*, 2> cboJobs{};
    std::array<FolderList*, 2> DirLocations{};
    std::array<QComboBox*, 2> cboLocations{};
    std::array<FolderList*, 2> DirUnits{};
    std::array<QComboBox*, 2> cboUnits{};
    std::array<FileList*, 2> filTrig{};   // each chain's unit folder, "*.trg;*.vlt"
    FileList* filTST = nullptr;           // the unit folder of the chain chosen last, "*.tst;*.ref"
    FileList* filTDR = nullptr;           // the same folder's TDR traces, "*.TDR"
    QCheckBox* chkLocalJobs = nullptr;    // "Local Jobs"
    QComboBox* cboBT_ID = nullptr;
    QComboBox* cboSIM_No = nullptr;

    // --- Port and connection ---------------------------------------------------------------
    QComboBox* cboCommports = nullptr;
    std::array<QRadioButton*, 2> optBaud{};   // "9.6", "115"
    QPushButton* cmdConnect = nullptr;        // "Connect to Local Unit" / "Disconnect from Local Unit"

    // --- Event index -------------------------------------------------------------------------
    QGroupBox* fraIndex = nullptr;
    QListWidget* lstIndex = nullptr;          // extended multiple selection
    QListWidget* lstBuffer = nullptr;         // hidden, sorted
    QPushButton* cmdSelectAll = nullptr;
    QPushButton* cmdClearAll = nullptr;
    QPushButton* cmdGetData = nullptr;

    // --- Event viewer: two slots (0 master, 1 slave) and the TDR / TRS viewer -------------------
    std::array<EventSlotView, 2> eventSlot;
    TdrViewerView tdrView;
    PlotEnlarger* plotEnlarger = nullptr;     // a plot's panel enlarged into the centre or its own window

    // --- Control panel ------------------------------------------------------------------------
    QDockWidget* fraControls = nullptr;       // "Control Panel"
    QComboBox* cboTriggerMode = nullptr;
    QLabel* lblTriggerIndex = nullptr;
    QLabel* lblTriggerTag = nullptr;
    QComboBox* cboThreshold = nullptr;
    QComboBox* cboDuration = nullptr;
    QGroupBox* fraCurrentFSD = nullptr;
    std::array<OptionButton*, 4> optFSD{};    // "8kA" (0), "4kA" (1), "2kA" (3), "1kA" (7)
    QLabel* lblFSDIndex = nullptr;
    QLabel* lblFSDTag = nullptr;
    std::array<OptionButton*, 6> optPhase{};
    QLabel* lblPhaseIndex = nullptr;
    QLabel* lblPhaseTag = nullptr;
    std::array<OptionButton*, 2> optTDRMode{}; // "Echo" (0), "Cross" (2)
    QLabel* lblModeIndex = nullptr;
    QLabel* lblModeTag = nullptr;
    std::array<OptionButton*, 3> optReference{}; // "Internal" (0) and two relabelled references
    QLabel* lblBalanceIndex = nullptr;
    QLabel* lblBalanceTag = nullptr;
    std::array<OptionButton*, 2> optRange{};  // "400m" (0), "800m" (1)
    QLabel* lblRangeIndex = nullptr;
    QLabel* lblRangeTag = nullptr;
    QGroupBox* fraTDRPulse = nullptr;         // "Pulse"
    QCheckBox* chkPulseOn = nullptr;
    QSlider* sldPulse = nullptr;
    EventLabel* lblPulse = nullptr;
    QComboBox* cboPre_Post = nullptr;
    QSlider* sldGain = nullptr;
    EventLabel* lblTDRGain = nullptr;
    QSlider* sldBalance = nullptr;
    EventLabel* lblBalance = nullptr;
    QCheckBox* chkFilter = nullptr;           // "Filter On"
    QCheckBox* chkAutotest = nullptr;         // "Autotest"
    QPushButton* cmdTest = nullptr;           // "TEST"
    QPushButton* cmdTrigger = nullptr;        // "MANUAL TRIGGER"
    PressButton* cmdArm = nullptr;            // "ARM"; a right click reads the settings again
    QPushButton* cmdSetID = nullptr;          // "Set ID"

    // --- Terminal -------------------------------------------------------------------------------
    QDockWidget* fraSaxComm = nullptr;        // "Terminal"
    TerminalScreen* txtTerminal = nullptr;    // the serial control's terminal screen
    TerminalView terminalView;                // how the screen shows the traffic: text, hex, timestamps
    EventLabel* lblHideComms_Monitor = nullptr;
    QCheckBox* chkEcho = nullptr;
    QPushButton* cmdMonitor = nullptr;
    QCheckBox* chkAutoreport = nullptr;
    QCheckBox* chkMSmode = nullptr;
    QPushButton* cmdCallDataDesk = nullptr;
    QPushButton* cmdCTRLB = nullptr;
    QPushButton* cmdCTRLC = nullptr;
    QPushButton* cmdSendArm = nullptr;
    QPushButton* cmdSendDisarm = nullptr;
    QPushButton* cmdVersion = nullptr;
    QPushButton* cmdSettings = nullptr;
    QPushButton* cmdSendID = nullptr;
    QPushButton* cmdGetIndex = nullptr;
    QPushButton* cmdEnableControls = nullptr;
    QPushButton* cmdSendGMT = nullptr;
    QPushButton* cmdEditID = nullptr;

    // --- Unit settings view, display settings, misc, memo ----------------------------------------
    QDockWidget* fraSettingsViewer = nullptr; // "Unit settings"
    QListWidget* lstUnitSettings = nullptr;
    QLabel* lblPar11 = nullptr;
    EventLabel* lblHide_Settings = nullptr;
    QDockWidget* fraDisplaySettings = nullptr; // "Display settings"
    EventLabel* lblHide_Display_Settings = nullptr;
    std::array<QRadioButton*, 3> optDisplayMode{};  // "TDR mode", "TRS mode", "VGS"
    QCheckBox* chkInterlace = nullptr;         // "Interlace": all 512 interleaved points
    QDockWidget* fraMisc = nullptr;            // "Misc"
    QCheckBox* chkFileTransfer = nullptr;      // "F/T"
    QCheckBox* chkGPRS = nullptr;              // "GPRS"
    QDockWidget* fraMemo = nullptr;            // "MEMO"
    QPlainTextEdit* txtMemo = nullptr;
    EventLabel* lblHideMemo = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    void buildStatusLine();
    QWidget* buildSelectorColumn();     // ui/panels/SelectorPanel.cpp
    QWidget* buildEventSlots();         // ui/panels/EventSlotsPanel.cpp
    QWidget* buildTdrViewer();          // ui/panels/TdrViewerPanel.cpp
    void buildControlPanel();           // ui/panels/ControlPanelDock.cpp
    void buildTerminal();               // ui/panels/TerminalDock.cpp
    void buildToolPanels();             // ui/panels/ToolDocks.cpp
    void wireMenu();
    void wireSelectors();
    void wireEventSlots();
    void wireTdrViewer();
    void wireControlPanel();
    void wireTerminal();
    void wireToolPanels();
    void wireLink();
    void wireExports();                 // ui/frmExports.cpp

    int endAction_ = 0; // what the window does the moment the program ends
};

/// A dock panel whose title bar holds its caption and, where the panel has one, its "X" label.
QDockWidget* makePanel(QMainWindow* window, const QString& objectName, const QString& caption,
                       QWidget* content, EventLabel** hideLabel, const QString& hideLabelName);

/// Names a control after its place in the window: "cboUnits" or "cboUnits(1)".
template <typename T>
T* named(T* control, const QString& name, int index = -1)
{
    control->setObjectName(index < 0 ? name : QStringLiteral("%1(%2)").arg(name).arg(index));
    return control;
}

} // namespace mr3x
