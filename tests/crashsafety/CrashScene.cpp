#include "crashsafety/CrashScene.h"

#include "common/Files.h"
#include "link/ConnectionLifecycle.h"
#include "link/SerialPortTransport.h"
#include "retrieval/EventIndex.h"
#include "sim/InProcessTransport.h"

#include <QDir>
#include <QFile>

namespace mr3x::crash {

QString argumentFor(SaveKind kind)
{
    switch (kind) {
    case SaveKind::MasterSettings:
        return QStringLiteral("settings");
    case SaveKind::SystemConfig:
        return QStringLiteral("config");
    case SaveKind::ReceivedEvent:
        break;
    }
    return QStringLiteral("event");
}

QString titleOf(SaveKind kind)
{
    switch (kind) {
    case SaveKind::MasterSettings:
        return QStringLiteral("master settings file");
    case SaveKind::SystemConfig:
        return QStringLiteral("system configuration file");
    case SaveKind::ReceivedEvent:
        break;
    }
    return QStringLiteral("received event");
}

void makeProgramFolder(const QString& appFolder)
{
    QDir().mkpath(joinPath(appFolder, QStringLiteral("Systems/Substation/Jobs")));
    writeTextFile(joinPath(appFolder, QStringLiteral("Substation.cfg")),
                  {QStringLiteral("MR-0101,Not set,M-R32,Feeder 7 Fault,North Yard,SIM 4401")});
    writeTextFile(joinPath(appFolder, QStringLiteral("M-R3X Master.ini")),
                  {QStringLiteral("System Folder = ") + appFolder + QStringLiteral("/Systems"),
                   QStringLiteral("Last system = Substation")});
}

QString unitFolderOf(const QString& appFolder)
{
    return joinPath(appFolder, QStringLiteral("Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101"));
}

sim::SimOptions unitOptions()
{
    sim::SimOptions options;
    options.armed = false; // under serial control already
    options.paced = true;
    options.events = 12;
    return options;
}

Scene::Scene(const QString& appFolder)
    : appFolder_(appFolder)
    , unit_(std::make_shared<sim::SimUnit>(unitOptions()))
{
}

Scene::~Scene() = default;

frmMaster& Scene::start()
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

void Scene::openPort()
{
    frmMaster& w = *window_;
    const QString port = sim::simulatedPortName(QStringLiteral("M-R32"));
    w.cboCommports->addItem(port);
    w.cboCommports->setCurrentText(port);
    w.optBaud[1]->setChecked(true);
    w.connection->cboCommports_Click();
}

void Scene::storeTheIndex()
{
    const std::vector<std::uint8_t> index = unit_->indexFile();
    QFile file(joinPath(unitFolderOf(appFolder_), QStringLiteral("MR-0101.IDX")));
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(index.data()), static_cast<qint64>(index.size()));
}

void Scene::selectTheEvent()
{
    frmMaster& w = *window_;
    w.eventIndex->FILL_INDEX_LIST();
    w.lstIndex->clearSelection();
    const QString shown = QStringLiteral("(%1)").arg(kEventSlot + 1, 2, 10, QLatin1Char('0'));
    for (int row = 0; row < w.lstIndex->count(); ++row)
        if (w.lstIndex->item(row)->text().mid(18, 4) == shown)
            w.lstIndex->item(row)->setSelected(true);
}

} // namespace mr3x::crash
