#include "link/WindowObserver.h"

#include "ui/frmMaster.h"

namespace mr3x {

void WindowObserver::status(const QString& text)
{
    w.lblStatus->setText(text);
}

MsgAnswer WindowObserver::ask(const QString& text, MsgButtons buttons, MsgIcon icon, const QString& title)
{
    return w.dialogs.message(text, buttons, icon, title);
}

void WindowObserver::stored(const StoredFile&)
{
}

void WindowObserver::settle()
{
    w.lblStatus->Refresh();
}

void WindowObserver::transferAborted()
{
    w.Watchdog->start();
}

} // namespace mr3x
