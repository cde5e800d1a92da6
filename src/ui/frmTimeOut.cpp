#include "ui/frmTimeOut.h"

#include "unit/UnitSession.h"
#include "link/ConnectionLifecycle.h"
#include "ui/frmMaster.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

namespace mr3x {

frmTimeOut::frmTimeOut(frmMaster& master)
    : QDialog(&master)
    , w(master)
{
    setObjectName(QStringLiteral("frmTimeOut"));
    setWindowTitle(QStringLiteral("Connection Timer"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    lblTimeExpiring = named(new QLabel(this), QStringLiteral("lblTimeExpiring"));
    lblTimeExpiring->setStyleSheet(QStringLiteral("QLabel { font-size: 12pt; }"));
    layout->addWidget(lblTimeExpiring);
    auto* buttons = new QHBoxLayout;
    cmdStayOn = named(new QPushButton(QStringLiteral("Stay On"), this), QStringLiteral("cmdStayOn"));
    cmdDisconnect = named(new QPushButton(QStringLiteral("Disconnect"), this), QStringLiteral("cmdDisconnect"));
    buttons->addWidget(cmdStayOn);
    buttons->addWidget(cmdDisconnect);
    layout->addLayout(buttons);
    TimeExpired = named(new QTimer(this), QStringLiteral("TimeExpired"));
    TimeExpired->setInterval(1000);
    connect(TimeExpired, &QTimer::timeout, this, [this] { TimeExpired_Timer(); });
    connect(cmdStayOn, &QPushButton::clicked, this, [this] { cmdStayOn_Click(); });
    connect(cmdDisconnect, &QPushButton::clicked, this, [this] { cmdDisconnect_Click(); });
}

void frmTimeOut::Form_Load()
{
    w.dialogs.beep();
    ExpiryTicks = 0;
    lblTimeExpiring->setText(QStringLiteral("Connection will terminate in 10 seconds"));
    show();
    TimeExpired->start();
}

void frmTimeOut::TimeExpired_Timer()
{
    // The warning is about a link left idle. A new status text means the user has started a
    // command meanwhile: the count ends rather than cutting the link under that exchange.
    if (w.program.IdleTicks <= ConnectionLifecycle::IdleTicksBeforeWarning) {
        Unload();
        return;
    }
    lblTimeExpiring->setText(QStringLiteral("Connection will terminate in %1 seconds").arg(10 - ExpiryTicks));
    if (ExpiryTicks == 10) {
        TimeExpired->stop();
        w.connection->DISCONNECT();
        Unload();
    }
    ++ExpiryTicks;
}

void frmTimeOut::cmdStayOn_Click()
{
    w.Watchdog->stop();
    w.unit->sendOnly(commands::Command::KeepAlive);
    w.Watchdog->start();
    w.program.IdleTicks = 0;
    Unload();
}

void frmTimeOut::cmdDisconnect_Click()
{
    TimeExpired->stop();
    w.connection->DISCONNECT();
    Unload();
}

void frmTimeOut::Unload()
{
    TimeExpired->stop();
    hide();
}

} // namespace mr3x
