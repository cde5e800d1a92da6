// mr3x-analyse: traces and events read from the command line, one JSON line a file (--help says
// how). It needs no window and no display.
#include "export/AnalyseCommand.h"
#include "../QtErrorsOnly.h"

#include <QCoreApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    mr3x::tools::showOnlyQtErrors("mr3x-analyse");
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return mr3x::runAnalyseCommand(app.arguments().mid(1), out, err);
}
