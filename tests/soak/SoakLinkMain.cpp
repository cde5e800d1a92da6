// soak_link [downloads] [seed]: the link under faults at length (1,000 downloads by default), on
// the test clock. Prints the counts by fault kind; exits 1 when any download broke a rule.
#include "soak/LinkSoak.h"

#include <QApplication>
#include <QElapsedTimer>

#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    mr3x::soak::SoakOptions options;
    if (argc > 1)
        options.downloads = std::atoi(argv[1]);
    if (argc > 2)
        options.seed = std::strtoull(argv[2], nullptr, 10);
    if (options.downloads <= 0) {
        std::fprintf(stderr, "usage: soak_link [downloads] [seed]\n");
        return 2;
    }
    QElapsedTimer elapsed;
    elapsed.start();
    const mr3x::soak::SoakReport report = mr3x::soak::runLinkSoak(options);
    std::printf("Link soak, seed %llu, %.0f s on this PC\n%s", static_cast<unsigned long long>(options.seed),
                static_cast<double>(elapsed.elapsed()) / 1000.0, qPrintable(mr3x::soak::formatReport(report)));
    return report.violations.isEmpty() ? 0 : 1;
}
