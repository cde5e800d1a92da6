#include "systems/SystemFolders.h"

#include "common/Files.h"

namespace mr3x {

QString systemsFolderOf(const QString& programFolder)
{
    return joinPath(programFolder, QStringLiteral("Systems"));
}

QString jobsFolderOf(const QString& programFolder, const QString& system)
{
    return joinPath(joinPath(systemsFolderOf(programFolder), system), QStringLiteral("Jobs"));
}

QString configFileOf(const QString& programFolder, const QString& system)
{
    return joinPath(programFolder, system + QStringLiteral(".cfg"));
}

QString unitFolderOf(const QString& programFolder, const QString& system, const QString& job, const QString& location,
                     const QString& unit)
{
    return joinPath(joinPath(joinPath(jobsFolderOf(programFolder, system), job), location), unit);
}

} // namespace mr3x
