#include "support/MasterFixture.h"

#include "link/SerialPortTransport.h"

#include <QDir>

namespace mr3x::test {

MasterFixture::MasterFixture()
    : root(QStringLiteral("M-R3X Master"))
    , appFolder(root.path())
    , openPort([](const QString& name) { return openSerialPort(name); })
{
}

MasterFixture::~MasterFixture() = default;

frmMaster& MasterFixture::window()
{
    if (!window_) {
        MasterEnvironment environment;
        environment.clock = clockOverride != nullptr ? clockOverride : &clock;
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
