// The terminal panel: the link traffic as a terminal screen, and the buttons that send single
// commands or start the program's own exchanges.
#include "link/Terminal.h"
#include "ui/frmMaster.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace mr3x {

void frmMaster::buildTerminal()
{
    auto* panel = new QWidget;
    auto* layout = new QVBoxLayout(panel);
    layout->setContentsMargins(4, 4, 4, 4);
    txtTerminal = named(new TerminalScreen(panel), QStringLiteral("txtTerminal"));
    txtTerminal->setMinimumHeight(140);
    layout->addWidget(txtTerminal, 1);
    auto* view = new QHBoxLayout;
    terminalView.chkHex = named(new QCheckBox(QStringLiteral("Hex"), panel), QStringLiteral("chkHex"));
    terminalView.chkHex->setToolTip(QStringLiteral("Show the traffic both ways as hex, with the printable characters beside it"));
    terminalView.chkTimestamps = named(new QCheckBox(QStringLiteral("Timestamps"), panel), QStringLiteral("chkTimestamps"));
    terminalView.chkTimestamps->setToolTip(QStringLiteral("Put the time and the direction before each line"));
    view->addWidget(terminalView.chkHex);
    view->addWidget(terminalView.chkTimestamps);
    view->addStretch(1);
    layout->addLayout(view);

    auto* buttons = new QGridLayout;
    auto button = [&](QPushButton*& b, const QString& name, const QString& caption) {
        b = named(new QPushButton(caption, panel), name);
        return b;
    };
    chkEcho = named(new QCheckBox(QStringLiteral("Echo On"), panel), QStringLiteral("chkEcho"));
    chkAutoreport = named(new QCheckBox(QStringLiteral("Auto Report"), panel), QStringLiteral("chkAutoreport"));
    chkMSmode = named(new QCheckBox(QStringLiteral("M-S Mode"), panel), QStringLiteral("chkMSmode"));
    buttons->addWidget(chkEcho, 0, 0);
    buttons->addWidget(chkAutoreport, 0, 1);
    buttons->addWidget(chkMSmode, 0, 2);
    buttons->addWidget(button(cmdMonitor, QStringLiteral("cmdMonitor"), QStringLiteral("Clear Monitor")), 1, 0);
    buttons->addWidget(button(cmdSendArm, QStringLiteral("cmdSendArm"), QStringLiteral("Send ARM")), 1, 1);
    buttons->addWidget(button(cmdSendDisarm, QStringLiteral("cmdSendDisarm"), QStringLiteral("Send DISARM")), 1, 2);
    buttons->addWidget(button(cmdVersion, QStringLiteral("cmdVersion"), QStringLiteral("Get Version")), 2, 0);
    buttons->addWidget(button(cmdSettings, QStringLiteral("cmdSettings"), QStringLiteral("Get Settings")), 2, 1);
    buttons->addWidget(button(cmdGetIndex, QStringLiteral("cmdGetIndex"), QStringLiteral("Get Index")), 2, 2);
    buttons->addWidget(button(cmdSendID, QStringLiteral("cmdSendID"), QStringLiteral("Send ID")), 3, 0);
    buttons->addWidget(button(cmdEditID, QStringLiteral("cmdEditID"), QStringLiteral("Edit ID")), 3, 1);
    buttons->addWidget(button(cmdSendGMT, QStringLiteral("cmdSendGMT"), QStringLiteral("Send GMT")), 3, 2);
    buttons->addWidget(button(cmdCTRLB, QStringLiteral("cmdCTRLB"), QStringLiteral("Send <CTRL> B")), 4, 0);
    buttons->addWidget(button(cmdCTRLC, QStringLiteral("cmdCTRLC"), QStringLiteral("Send <CTRL> C")), 4, 1);
    buttons->addWidget(button(cmdCallDataDesk, QStringLiteral("cmdCallDataDesk"), QStringLiteral("Report to DataDesk")), 4, 2);
    buttons->addWidget(button(cmdEnableControls, QStringLiteral("cmdEnableControls"), QStringLiteral("Enable Controls")), 5, 0, 1, 3);
    layout->addLayout(buttons);

    fraSaxComm = makePanel(this, QStringLiteral("fraSaxComm"), QStringLiteral("Terminal"), panel, &lblHideComms_Monitor,
                           QStringLiteral("lblHideComms_Monitor"));
    addDockWidget(Qt::RightDockWidgetArea, fraSaxComm);
    fraSaxComm->hide();
}

void frmMaster::wireTerminal()
{
    connect(txtTerminal, &TerminalScreen::Typed, this, [this](const QString& text) { terminal->txtTerminal_Typed(text); });
    connect(lblHideComms_Monitor, &EventLabel::Click, this, [this] { terminal->lblHideComms_Monitor_Click(); });
    connect(chkEcho, &QCheckBox::toggled, this, [this] { terminal->chkEcho_Click(); });
    connect(chkAutoreport, &QCheckBox::toggled, this, [this] { terminal->chkAutoreport_Click(); });
    connect(chkMSmode, &QCheckBox::toggled, this, [this] { terminal->chkMSmode_Click(); });
    connect(terminalView.chkHex, &QCheckBox::toggled, this, [this] { terminal->chkHex_Click(); });
    connect(terminalView.chkTimestamps, &QCheckBox::toggled, this, [this] { terminal->chkTimestamps_Click(); });
    const std::pair<QPushButton*, void (Terminal::*)()> buttons[] = {
        {cmdMonitor, &Terminal::cmdMonitor_Click},
        {cmdCallDataDesk, &Terminal::cmdCallDataDesk_Click},
        {cmdCTRLB, &Terminal::cmdCTRLB_Click},
        {cmdCTRLC, &Terminal::cmdCTRLC_Click},
        {cmdSendArm, &Terminal::cmdSendArm_Click},
        {cmdSendDisarm, &Terminal::cmdSendDisarm_Click},
        {cmdVersion, &Terminal::cmdVersion_Click},
        {cmdSettings, &Terminal::cmdSettings_Click},
        {cmdSendID, &Terminal::cmdSendID_Click},
        {cmdGetIndex, &Terminal::cmdGetIndex_Click},
        {cmdEnableControls, &Terminal::cmdEnableControls_Click},
        {cmdSendGMT, &Terminal::cmdSendGMT_Click},
        {cmdEditID, &Terminal::cmdEditID_Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this, [this, handler = handler] { (terminal.get()->*handler)(); });
}

} // namespace mr3x
