#pragma once
// mr3x-export: stored event and trace files exported from the command line, one set of files
// for each input, with no window and no display. The program's main only makes the Qt
// application; everything it does is here, so the tests run it in-process.
#include <QStringList>
#include <QTextStream>

namespace mr3x {

/// Exit status: every input exported.
inline constexpr int kExportDone = 0;
/// Some input could not be read or exported, or its files exist: the others were exported.
inline constexpr int kExportSomeFailed = 1;
/// The command line itself was wrong: nothing was exported.
inline constexpr int kExportUsage = 2;

/// Runs the command for its arguments (without the program's name). Each exported input gets a
/// line on `out`; each one that is not, a line on `err` naming it and saying why.
int runExportCommand(const QStringList& arguments, QTextStream& out, QTextStream& err);

} // namespace mr3x
