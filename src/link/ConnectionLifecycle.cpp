#include "link/ConnectionLifecycle.h"

#include "link/CommandTable.h"
#include "ui/frmMaster.h"

namespace mr3x {

void ConnectionLifecycle::cboCommports_Click() {}
void ConnectionLifecycle::cmdConnect_Click() {}
void ConnectionLifecycle::CONNECT_UNIT() {}
void ConnectionLifecycle::ARM_AND_DISCONNECT() {}
void ConnectionLifecycle::DISCONNECT() {}
void ConnectionLifecycle::ENABLE_CONTROLS() {}
void ConnectionLifecycle::DISABLE_CONTROLS() {}
void ConnectionLifecycle::lblStatus_Change() {}
void ConnectionLifecycle::Watchdog_Timer() {}
void ConnectionLifecycle::Comm_Progress()
{
    w.lblStatus->setText(QString::number(w.Comm->BytesTransferred()) + QString::fromLatin1(commands::bytesTransferredText.data(), commands::bytesTransferredText.size()));
}

void ConnectionLifecycle::Comm_Abort()
{
    w.lblStatus->setText(QString::fromLatin1(commands::transferAbortedText.data(), commands::transferAbortedText.size()));
    w.Comm->setWaitTimeout(0);
    w.Watchdog->start();
}

} // namespace mr3x
