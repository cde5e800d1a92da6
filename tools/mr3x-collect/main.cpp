// mr3x-collect: a system's units fetched without the window, once or on a schedule (--help says
// how). It needs no window and no display.
#include "collect/CollectCommand.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

/// Qt's own notes are not the user's business; its errors are.
void onlyQtErrors(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "mr3x-collect: %s\n", qPrintable(message));
}

} // namespace

int main(int argc, char* argv[])
{
    qInstallMessageHandler(onlyQtErrors);
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("mr3x-collect"));
    return mr3x::collect::runCollectCommand(app.arguments());
}
