#include "sim/DemoUnits.h"

#include "sim/InProcessTransport.h"

namespace mr3x::sim {

namespace {

SimOptions demoOptions(Model model, const DateTime& clock)
{
    SimOptions options;
    options.model = model;
    options.paced = true;  // bytes arrive at the line rate, as from a real unit
    options.events = model == Model::MS32 ? 30 : 14;
    options.clock = clock;
    options.faultDistanceM = kDemoFaultDistanceM;
    options.cableLengthM = kDemoCableLengthM;
    return options;
}

} // namespace

std::vector<SimulatedPort> demoUnits(Model model, const DateTime& clock)
{
    const QString modelName = QString::fromLatin1(modelInfo(model).name);
    SimOptions first = demoOptions(model, clock);
    if (model == Model::MS32)
        return {{simulatedPortName(modelName), std::make_shared<SimUnit>(first)}};

    // One seed for both ends: they record the pair's event at the same moment.
    first.trsRole = TrsRole::Master;
    first.serialNumber = "MR-0101";
    SimOptions slave = demoOptions(model, clock);
    slave.trsRole = TrsRole::Slave;
    slave.serialNumber = "MR-0102";
    slave.settings.location = "South Yard";
    slave.settings.simNumber = "SIM 4402";
    return {{simulatedPortName(modelName), std::make_shared<SimUnit>(first)},
            {simulatedPortName(modelName + QStringLiteral(" slave")), std::make_shared<SimUnit>(slave)}};
}

TransportOpener openerWithSimulatedPorts(Clock& clock, const std::vector<SimulatedPort>& ports,
                                         TransportOpener realPorts)
{
    TransportOpener opener = std::move(realPorts);
    for (const SimulatedPort& port : ports)
        opener = openerWithSimulatedUnit(clock, port.name, port.unit, std::move(opener));
    return opener;
}

} // namespace mr3x::sim
