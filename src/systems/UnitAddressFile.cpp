#include "systems/UnitAddressFile.h"

#include "common/Files.h"
#include "common/Text.h"
#include "common/TextLines.h"

namespace mr3x {

QString unitAddressFilePath(const QString& programFolder)
{
    return joinPath(programFolder, QString::fromLatin1(kUnitAddressFileName));
}

UnitAddressReading readUnitAddresses(const QString& programFolder)
{
    UnitAddressReading reading;
    const QString path = unitAddressFilePath(programFolder);
    if (!pathExists(path))
        return reading;
    reading.found = true;
    const std::optional<QStringList> lines = readTextLines(path);
    if (!lines) {
        reading.problems << QStringLiteral("%1 cannot be read: no unit addresses are used").arg(nativePath(path));
        return reading;
    }
    reading.table = readUnitAddressTable(toStdLines(*lines));
    for (const BrokenAddressLine& line : reading.table.broken)
        reading.problems << QStringLiteral("Line %1, \"%2\": %3")
                                .arg(line.number)
                                .arg(QString::fromStdString(trim(line.text)), QString::fromStdString(line.reason));
    return reading;
}

bool writeUnitAddressFileIfMissing(const QString& programFolder)
{
    const QString path = unitAddressFilePath(programFolder);
    return pathExists(path) || writeTextFile(path, toQLines(shippedUnitAddressTable()));
}

} // namespace mr3x
