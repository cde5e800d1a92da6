// mr3x-analyse: traces and events read from the command line, one JSON line a file (--help says
// how). It needs no window and no display.
#include "export/AnalyseCommand.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

namespace {

/// Qt's own notes are not the user's business; its errors are.
void onlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "mr3x-analyse: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(onlyQtErrors);
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return mr3x::runAnalyseCommand(app.arguments().mid(1), out, err);
}
