// M-R3X Master: the master station for M-R3X field recorders.
#include "app/MasterApplication.h"
#include "common/Clock.h"
#include "common/Lifetime.h"
#include "link/NetworkTransport.h"
#include "sim/DemoUnits.h"
#include "ui/QtDialogs.h"
#include "ui/QtLauncher.h"
#include "ui/frmDummy.h"
#include "ui/frmMaster.h"

namespace {

/// The simulated units the demo offers beside the real ports, when MR3X_SIMULATED_UNIT names a
/// model ("M-R32": the TRS Master and Slave on one cable; "M-S32": one unit); a real installation
/// sets nothing and lists real ports only.
std::vector<mr3x::sim::SimulatedPort> simulatedUnitsFromEnvironment()
{
    const QString model = qEnvironmentVariable("MR3X_SIMULATED_UNIT").trimmed();
    if (model.isEmpty())
        return {};
    const QDateTime now = QDateTime::currentDateTime();
    const mr3x::sim::DateTime clock{now.date().year(), now.date().month(),  now.date().day(),
                                    now.time().hour(), now.time().minute(), now.time().second()};
    return mr3x::sim::demoUnits(mr3x::sim::modelFromName(model.toStdString()).value_or(mr3x::sim::Model::MR32),
                                clock);
}

} // namespace

int main(int argc, char* argv[])
{
    mr3x::MasterApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("M-R3X Master"));
    // The desktop matches the windows to the installed entry and its icon by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.mr3x.Master"));
    QApplication::setWindowIcon(mr3x::programIcon());

    mr3x::RealClock clock;
    mr3x::QtDialogs dialogs;
    mr3x::QtLauncher launcher;
    mr3x::Lifetime lifetime([](int code) { QCoreApplication::exit(code); });

    mr3x::MasterEnvironment environment;
    environment.clock = &clock;
    environment.dialogs = &dialogs;
    environment.launcher = &launcher;
    environment.lifetime = &lifetime;
    environment.openPort = mr3x::openerForPorts(clock);
    const std::vector<mr3x::sim::SimulatedPort> simulated = simulatedUnitsFromEnvironment();
    for (const mr3x::sim::SimulatedPort& port : simulated)
        environment.extraDevices << port.name;
    environment.openPort = mr3x::sim::openerWithSimulatedPorts(clock, simulated, environment.openPort);

    mr3x::frmMaster master(environment);
    dialogs.setParent(&master);
    mr3x::frmDummy splash;
    try {
        if (!splash.Form_Load(master) || lifetime.ended())
            return lifetime.exitCode();
        return QApplication::exec();
    } catch (const mr3x::ProgramEnded&) {
        // The program ended while the load waited on the unit: the wait ended the load, and the
        // link was closed and the master settings written before. (An end during the event loop
        // stops in the application, where Qt entered the handler that waited.)
        return lifetime.exitCode();
    }
}
