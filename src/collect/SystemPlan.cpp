#include "collect/SystemPlan.h"

#include "common/Files.h"
#include "common/TextLines.h"
#include "systems/SystemConfigFile.h"
#include "systems/SystemFolders.h"
#include "systems/UnitAddressFile.h"

namespace mr3x::collect {

SystemPlan readSystemPlan(const CollectOptions& options)
{
    SystemPlan read;
    const QString folder = QString::fromStdString(options.folder);
    const QString config = configFileOf(folder, QString::fromStdString(options.system));
    const std::optional<QStringList> lines = readTextLines(config);
    if (!lines) {
        read.problem = nativePath(config) + QStringLiteral(" missing or unreadable");
        return read;
    }
    const ConfigReadResult table = parseSystemConfig(toStdLines(*lines));
    if (table.error) {
        read.problem = nativePath(config) + QStringLiteral(": line ") + QString::number(table.error->lineNumber) +
                       QStringLiteral(" is not a unit line (serial number, B/T ID, version, job, location, SIM number)");
        return read;
    }
    const UnitAddressReading addresses = readUnitAddresses(folder);
    read.addressProblems = addresses.problems;
    read.plan = planRound(table.units, addresses.table, options.units, options.system);
    return read;
}

} // namespace mr3x::collect
