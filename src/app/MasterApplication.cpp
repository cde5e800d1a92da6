#include "app/MasterApplication.h"

#include "common/Clock.h"

namespace mr3x {

MasterApplication::MasterApplication(int& argc, char** argv)
    : QApplication(argc, argv)
{
}

bool MasterApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const ProgramEnded&) {
        // The handler's routine has stopped, as the end asks; the event counts as handled.
        return true;
    }
}

} // namespace mr3x
