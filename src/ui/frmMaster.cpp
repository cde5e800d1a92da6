#include "ui/frmMaster.h"

#include "app/StartUp.h"
#include "events/EventLists.h"
#include "events/EventViewer.h"
#include "events/WaveformDisplay.h"
#include "export/Exports.h"
#include "unit/UnitSession.h"
#include "link/ConnectionLifecycle.h"
#include "link/Terminal.h"
#include "link/WindowObserver.h"
#include "retrieval/EventDownload.h"
#include "retrieval/EventIndex.h"
#include "systems/Systems.h"
#include "systems/UnitAddresses.h"
#include "tdr/CableTypes.h"
#include "tdr/FaultFinding.h"
#include "tdr/TdrTests.h"
#include "tdr/TdrViewer.h"
#include "tdr/TrsLocator.h"
#include "ui/frmConfig.h"
#include "ui/controls/PlotEnlarger.h"
#include "ui/frmTimeOut.h"
#include "unitsettings/ControlPanel.h"
#include "unitsettings/SettingCommands.h"
#include "unitsettings/UnitSettings.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStackedWidget>
#include <QStatusBar>
#include <QVBoxLayout>

#include <algorithm>

namespace mr3x {

frmMaster::frmMaster(const MasterEnvironment& env, QWidget* parent)
    : QMainWindow(parent)
    , clock(*env.clock)
    , dialogs(*env.dialogs)
    , launcher(*env.launcher)
    , lifetime(*env.lifetime)
    , environment(env)
{
    setObjectName(QStringLiteral("frmMaster"));
    setWindowTitle(QStringLiteral("M-R3X Master"));
    setDockOptions(QMainWindow::AnimatedDocks | QMainWindow::AllowTabbedDocks);

    Comm = new SerialControl(clock, env.openPort, this);
    Comm->setObjectName(QStringLiteral("Comm"));
    Comm->setExtraDevices(env.extraDevices);

    startUp = std::make_unique<StartUp>(*this);
    systems = std::make_unique<Systems>(*this);
    unitObserver = std::make_unique<WindowObserver>(*this);
    unit = std::make_unique<UnitSession>(*Comm, clock, *unitObserver);
    connection = std::make_unique<ConnectionLifecycle>(*this);
    terminal = std::make_unique<Terminal>(*this);
    Comm->addTap(terminal.get());
    unitSettings = std::make_unique<UnitSettings>(*this);
    settingCommands = std::make_unique<SettingCommands>(*this);
    controlPanel = std::make_unique<ControlPanel>(*this);
    eventIndex = std::make_unique<EventIndex>(*this);
    eventDownload = std::make_unique<EventDownload>(*this);
    eventViewer = std::make_unique<EventViewer>(*this);
    eventLists = std::make_unique<EventLists>(*this);
    waveforms = std::make_unique<WaveformDisplay>(*this);
    tdrTests = std::make_unique<TdrTests>(*this);
    tdrViewer = std::make_unique<TdrViewer>(*this);
    trsLocator = std::make_unique<TrsLocator>(*this);
    faultFinding = std::make_unique<FaultFinding>(*this);
    cableTypes = std::make_unique<CableTypes>(*this);
    unitAddresses = std::make_unique<UnitAddresses>(*this);
    exports = std::make_unique<Exports>(*this);

    Watchdog = named(new QTimer(this), QStringLiteral("Watchdog"));
    Watchdog->setInterval(1000);
    // When the program ends (Exit, a fatal message, the window's frame) the link closes at once
    // and no wait returns into the routine that waited: nothing more goes to the unit or to disk.
    endAction_ = lifetime.atEnd([this] {
        Watchdog->stop();
        Comm->shutDown();
        clock.endWaits();
    });

    buildMenu();
    buildStatusLine();

    auto* centre = new QWidget(this);
    auto* centreLayout = new QHBoxLayout(centre);
    centreLayout->setContentsMargins(4, 4, 4, 4);
    centreLayout->addWidget(buildSelectorColumn());
    auto* viewers = new QSplitter(Qt::Vertical, centre);
    viewers->setObjectName(QStringLiteral("splViewers"));
    viewers->addWidget(buildEventSlots());
    viewers->addWidget(buildTdrViewer());
    viewers->setStretchFactor(0, 3);
    viewers->setStretchFactor(1, 2);
    centreLayout->addWidget(viewers, 1);
    // On a screen too small for every panel the centre scrolls, so the menu and the status line
    // always stay in view.
    auto* centreArea = new QScrollArea(this);
    centreArea->setObjectName(QStringLiteral("centreArea"));
    centreArea->setFrameShape(QFrame::NoFrame);
    centreArea->setWidgetResizable(true);
    centreArea->setWidget(centre);
    // The centre's second page holds a plot's panel enlarged (PlotEnlarger).
    auto* centreStack = new QStackedWidget(this);
    centreStack->setObjectName(QStringLiteral("centreStack"));
    centreStack->addWidget(centreArea);
    setCentralWidget(centreStack);
    plotEnlarger = new PlotEnlarger(centreStack);

    buildControlPanel();
    buildTerminal();
    buildToolPanels();
    // The right-hand panels share one place as tabs, so showing one never pushes the window past
    // a laptop screen; a panel that is shown comes to the front (PanelDock).
    for (QDockWidget* panel : {fraSaxComm, fraSettingsViewer, fraDisplaySettings, fraMisc, fraMemo})
        tabifyDockWidget(fraControls, panel);

    wireMenu();
    wireSelectors();
    wireEventSlots();
    wireTdrViewer();
    wireControlPanel();
    wireTerminal();
    wireToolPanels();
    wireLink();
    wireExports();

    // As wide as a 1366x768 laptop screen, and low enough to leave room for the frame's title bar.
    const QRect room = screen()->availableGeometry();
    resize(std::min(1366, room.width()), std::min(740, room.height() - 32));
}

frmMaster::~frmMaster()
{
    Comm->removeTap(terminal.get());
    lifetime.removeAtEnd(endAction_);
}

void frmMaster::Form_Load()
{
    startUp->Form_Load();
    if (lifetime.ended())
        return;
    cableTypes->LOAD_CABLE_TYPES();
    // Read after the start-up has chosen the remembered unit: the port list starts with no port
    // chosen, and the first unit the user chooses brings its address.
    unitAddresses->LOAD_UNIT_ADDRESSES();
}

frmConfig& frmMaster::config()
{
    if (configEditor == nullptr)
        configEditor = new frmConfig(*this);
    return *configEditor;
}

frmTimeOut& frmMaster::timeOut()
{
    if (timeOutWarning == nullptr)
        timeOutWarning = new frmTimeOut(*this);
    return *timeOutWarning;
}

void frmMaster::closeEvent(QCloseEvent* event)
{
    // The window frame's close ends the program without writing the master settings file;
    // the configuration editor is unloaded first (its unloading asks about saving). A table it
    // could not write keeps the program open, so the user can save it again.
    if (configEditor != nullptr && configEditor->isVisible() && !configEditor->close()) {
        event->ignore();
        return;
    }
    if (timeOutWarning != nullptr)
        timeOutWarning->close();
    event->accept();
    lifetime.end(0);
}

void frmMaster::buildMenu()
{
    QMenuBar* bar = menuBar();
    auto action = [this](QMenuBar* menu, const QString& name, const QString& caption) {
        return named(menu->addAction(caption), name);
    };
    mnuSystem = action(bar, QStringLiteral("mnuSystem"), QStringLiteral("System Selector"));
    mnuConfig = action(bar, QStringLiteral("mnuConfig"), QStringLiteral("Configuration"));
    mnuComms = action(bar, QStringLiteral("mnuComms"), QStringLiteral("Terminal"));
    mnuControl = action(bar, QStringLiteral("mnuControl"), QStringLiteral("Control Panel"));
    mnuTools = named(bar->addMenu(QStringLiteral("Diagnostic Tools")), QStringLiteral("mnuTools"));
    mnuSettings = named(mnuTools->addAction(QStringLiteral("Unit Settings")), QStringLiteral("mnuSettings"));
    mnuDisplay = named(mnuTools->addAction(QStringLiteral("Display Settings")), QStringLiteral("mnuDisplay"));
    mnuMisc = named(mnuTools->addAction(QStringLiteral("Misc")), QStringLiteral("mnuMisc"));
    mnuMemo = named(mnuTools->addAction(QStringLiteral("Memo window")), QStringLiteral("mnuMemo"));
    mnuWindowsTools = named(bar->addMenu(QStringLiteral("Windows Tools")), QStringLiteral("mnuWindowsTools"));
    mnuExplorer = named(mnuWindowsTools->addAction(QStringLiteral("Explorer")), QStringLiteral("mnuExplorer"));
    mnuNotepad = named(mnuWindowsTools->addAction(QStringLiteral("Notepad")), QStringLiteral("mnuNotepad"));
    mnuCalculator = named(mnuWindowsTools->addAction(QStringLiteral("Calculator")), QStringLiteral("mnuCalculator"));
    mnuExport = named(bar->addMenu(QStringLiteral("Export")), QStringLiteral("mnuExport"));
    mnuAbout = action(bar, QStringLiteral("mnuAbout"), QStringLiteral("About"));
    mnuExit = action(bar, QStringLiteral("mnuExit"), QStringLiteral("Exit"));
}

void frmMaster::buildStatusLine()
{
    auto* caption = new QLabel(QStringLiteral("Status:"), this);
    caption->setObjectName(QStringLiteral("lblStatusCaption"));
    lblStatus = named(new EventLabel(QString(), this), QStringLiteral("lblStatus"));
    lblStatus->setMinimumWidth(420);
    lblStatus->setTextInteractionFlags(Qt::TextSelectableByMouse);
    lblHardware = named(new QLabel(this), QStringLiteral("lblHardware"));
    lblHardware->setToolTip(QStringLiteral("Model of the connected Local Unit"));
    lblWork = named(new QLabel(this), QStringLiteral("lblWork"));
    lblWork->hide();
    statusBar()->addWidget(caption);
    statusBar()->addWidget(lblStatus, 1);
    statusBar()->addPermanentWidget(lblHardware);
}

QDockWidget* makePanel(QMainWindow* window, const QString& objectName, const QString& caption, QWidget* content,
                       EventLabel** hideLabel, const QString& hideLabelName)
{
    auto* dock = new PanelDock(caption, window);
    dock->setObjectName(objectName);
    dock->setWidget(content);
    // Panels with an "X" label close through it (its handler may do more than hide);
    // the others are shown and hidden through the menus only.
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    auto* title = new QWidget(dock);
    auto* layout = new QHBoxLayout(title);
    layout->setContentsMargins(6, 2, 4, 2);
    auto* label = new QLabel(QStringLiteral("<b>%1</b>").arg(caption.toHtmlEscaped()), title);
    layout->addWidget(label);
    layout->addStretch(1);
    if (hideLabel != nullptr) {
        *hideLabel = named(new EventLabel(QStringLiteral("X"), title), hideLabelName);
        (*hideLabel)->setCursor(Qt::PointingHandCursor);
        (*hideLabel)->setToolTip(QStringLiteral("Hide this panel"));
        (*hideLabel)->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; padding: 0 4px; }"));
        layout->addWidget(*hideLabel);
    }
    dock->setTitleBarWidget(title);
    return dock;
}

void frmMaster::wireLink()
{
    connect(Comm, &SerialControl::ScreenChanged, this, [this] { terminal->Comm_ScreenChanged(); });
    connect(lblStatus, &EventLabel::Change, this, [this] { connection->lblStatus_Change(); });
    connect(Watchdog, &QTimer::timeout, this, [this] { connection->Watchdog_Timer(); });
}

} // namespace mr3x
