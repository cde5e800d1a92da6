// mr3x-export: event and trace files exported from the command line (--help says how). It needs
// no window and no display: without a platform named in QT_QPA_PLATFORM it draws offscreen.
#include "export/ExportCommand.h"
#include "../QtErrorsOnly.h"

#include <QGuiApplication>
#include <QTextStream>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    mr3x::tools::showOnlyQtErrors("mr3x-export");
    QGuiApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    return mr3x::runExportCommand(app.arguments().mid(1), out, err);
}
