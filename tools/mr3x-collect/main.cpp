// mr3x-collect: a system's units fetched without the window, once or on a schedule (--help says
// how). It needs no window and no display.
#include "collect/CollectCommand.h"
#include "../QtErrorsOnly.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    mr3x::tools::showOnlyQtErrors("mr3x-collect");
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mr3x-collect"));
    return mr3x::collect::runCollectCommand(app.arguments());
}
