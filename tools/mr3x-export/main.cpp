// mr3x-export: event and trace files exported from the command line (--help says how). It needs
// no window and no display: without a platform named in QT_QPA_PLATFORM it draws offscreen.
#include "export/ExportCommand.h"

#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

namespace {

/// Qt's own notes (a missing runtime folder, a font fallback) are not the user's business; its
/// errors are.
void onlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "mr3x-export: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(onlyQtErrors);
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return mr3x::runExportCommand(app.arguments().mid(1), out, err);
}
