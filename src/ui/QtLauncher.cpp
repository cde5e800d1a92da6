#include "ui/QtLauncher.h"

#include <QProcess>

namespace mr3x {

bool QtLauncher::start(const QString& program, const QStringList& arguments)
{
    return QProcess::startDetached(program, arguments);
}

} // namespace mr3x
