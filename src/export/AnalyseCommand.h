#pragma once
// mr3x-analyse: stored traces and events read as the program reads them for the engineer, one
// JSON object a line for each input, with no window and no display. The program's main only
// makes the Qt application; everything it does is here, so the tests run it in-process. Its exit
// status is mr3x-export's (kExportDone, kExportSomeFailed, kExportUsage).
#include <QStringList>
#include <QTextStream>

namespace mr3x {

/// Runs the command for its arguments (without the program's name). Each input read gets its
/// line on `out`; each one that is not, a line on `err` naming it and saying why.
int runAnalyseCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace mr3x
