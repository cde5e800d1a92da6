#include "support/MasterFixture.h"

#include "common/Files.h"
#include "link/SerialPortTransport.h"

#include <QDir>

namespace mr3x::test {

void makeSubstation(const QString& appFolder, const QString& model)
{
    QDir().mkpath(appFolder + QStringLiteral("/Systems/Substation/Jobs"));
    writeTextFile(appFolder + QStringLiteral("/Substation.cfg"),
                  {QStringLiteral("MR-0101,Not set,%1,Feeder 7 Fault,North Yard,SIM 4401").arg(model)});
    writeTextFile(appFolder + QStringLiteral("/M-R3X Master.ini"),
                  {QStringLiteral("System Folder = ") + appFolder + QStringLiteral("/Systems"),
                   QStringLiteral("Last system = Substation")});
}

QString substationUnitFolder(const QString& appFolder)
{
    return appFolder + QStringLiteral("/Systems/Substation/Jobs/Feeder 7 Fault/North Yard/MR-0101");
}

MasterFixture::MasterFixture(const QString& folder)
    : root(QStringLiteral("M-R3X Master"))
    , appFolder(folder.isEmpty() ? root.path() : folder)
    , openPort([](const QString& name) { return openSerialPort(name); })
{
}

MasterFixture::~MasterFixture() = default;

frmMaster& MasterFixture::window()
{
    if (!window_) {
        MasterEnvironment environment;
        environment.clock = &clock;
        environment.dialogs = &dialogs;
        environment.launcher = &launcher;
        environment.lifetime = &lifetime;
        environment.openPort = openPort;
        environment.extraDevices = extraDevices;
        environment.appFolder = appFolder;
        window_ = std::make_unique<frmMaster>(environment);
    }
    return *window_;
}

frmMaster& MasterFixture::load()
{
    frmMaster& w = window();
    w.Form_Load();
    return w;
}

void MasterFixture::addSystem(const QString& name, const QStringList& unitLines) const
{
    root.mkdirs(QStringLiteral("Systems/") + name);
    if (!unitLines.isEmpty())
        root.writeLines(name + QStringLiteral(".cfg"), unitLines);
}

} // namespace mr3x::test
