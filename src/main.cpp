// M-R3X Master: the master station for M-R3X field recorders.
#include "common/Clock.h"
#include "common/Lifetime.h"
#include "link/SerialPortTransport.h"
#include "ui/QtDialogs.h"
#include "ui/QtLauncher.h"
#include "ui/frmDummy.h"
#include "ui/frmMaster.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("M-R3X Master"));

    mr3x::RealClock clock;
    mr3x::QtDialogs dialogs;
    mr3x::QtLauncher launcher;
    mr3x::Lifetime lifetime([](int code) { QCoreApplication::exit(code); });

    mr3x::MasterEnvironment environment;
    environment.clock = &clock;
    environment.dialogs = &dialogs;
    environment.launcher = &launcher;
    environment.lifetime = &lifetime;
    environment.openPort = [](const QString& name) { return mr3x::openSerialPort(name); };

    mr3x::frmMaster master(environment);
    dialogs.setParent(&master);
    mr3x::frmDummy splash;
    if (!splash.Form_Load(master) || lifetime.ended())
        return lifetime.exitCode();
    return QApplication::exec();
}
