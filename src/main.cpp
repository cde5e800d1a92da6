// M-R3X Master: the master station for M-R3X field recorders.
#include "common/Clock.h"
#include "common/Lifetime.h"
#include "link/SerialPortTransport.h"
#include "sim/InProcessTransport.h"
#include "sim/SimUnit.h"
#include "ui/QtDialogs.h"
#include "ui/QtLauncher.h"
#include "ui/frmDummy.h"
#include "ui/frmMaster.h"

#include <QApplication>

namespace {

/// The simulated unit the demo offers beside the real ports, when MR3X_SIMULATED_UNIT names its
/// model ("M-R32" or "M-S32"); a real installation sets nothing and lists real ports only.
std::shared_ptr<mr3x::sim::SimUnit> simulatedUnitFromEnvironment()
{
    const QString model = qEnvironmentVariable("MR3X_SIMULATED_UNIT").trimmed();
    if (model.isEmpty())
        return nullptr;
    mr3x::sim::SimOptions options;
    options.model = mr3x::sim::modelFromName(model.toStdString()).value_or(mr3x::sim::Model::MR32);
    options.paced = true; // bytes arrive at the line rate, as from a real unit
    options.events = options.model == mr3x::sim::Model::MS32 ? 30 : 14;
    const QDateTime now = QDateTime::currentDateTime();
    options.clock = {now.date().year(), now.date().month(), now.date().day(), now.time().hour(), now.time().minute(),
                     now.time().second()};
    return std::make_shared<mr3x::sim::SimUnit>(options);
}

} // namespace

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
    if (auto unit = simulatedUnitFromEnvironment()) {
        environment.extraDevices << mr3x::sim::simulatedPortName(QString::fromStdString(mr3x::sim::modelInfo(unit->model()).name));
        environment.openPort = mr3x::sim::openerWithSimulatedUnit(clock, unit, environment.openPort);
    }

    mr3x::frmMaster master(environment);
    dialogs.setParent(&master);
    mr3x::frmDummy splash;
    try {
        if (!splash.Form_Load(master) || lifetime.ended())
            return lifetime.exitCode();
        return QApplication::exec();
    } catch (const mr3x::ProgramEnded&) {
        // The program ended while a routine waited on the unit: the wait ended the routine, and
        // the link was closed and the master settings written before.
        return lifetime.exitCode();
    }
}
