#pragma once
// Where a system keeps its units' files under the program folder:
// "Systems/<system>/Jobs/<job>/<location>/<unit>", and "<system>.cfg" beside the folders.
#include <QString>

namespace mr3x {

QString systemsFolderOf(const QString& programFolder);
QString jobsFolderOf(const QString& programFolder, const QString& system);
QString configFileOf(const QString& programFolder, const QString& system);
QString unitFolderOf(const QString& programFolder, const QString& system, const QString& job, const QString& location,
                     const QString& unit);

} // namespace mr3x
