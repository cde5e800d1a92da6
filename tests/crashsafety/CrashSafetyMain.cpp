// crash_safety [trials] [seed]: the program killed with SIGKILL at a random moment of each kind of
// save, 200 times each by default. Prints the counts; exits 1 when a file was torn or a next
// start failed.
#include "crashsafety/CrashTrials.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mr3x::crash::CrashOptions options;
    options.childProgram = QStringLiteral(MR3X_CRASH_CHILD);
    if (argc > 1)
        options.trials = std::atoi(argv[1]);
    if (argc > 2)
        options.seed = std::strtoull(argv[2], nullptr, 10);
    if (options.trials <= 0) {
        std::fprintf(stderr, "usage: crash_safety [trials] [seed]\n");
        return 2;
    }
    QElapsedTimer elapsed;
    elapsed.start();
    const mr3x::crash::CrashReport report = mr3x::crash::runCrashTrials(options);
    std::printf("Crash safety, %d trials of each save, seed %llu, %.0f s\n%s", options.trials,
                static_cast<unsigned long long>(options.seed), static_cast<double>(elapsed.elapsed()) / 1000.0,
                qPrintable(mr3x::crash::formatReport(report)));
    return report.problems.isEmpty() ? 0 : 1;
}
