// The terminal panel: every button's bytes on the wire, the stop exchange, typing by hand.
#include "link/Terminal.h"
#include "support/LinkFixture.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::LinkFixture;

TEST(TerminalPanel, SendDisarmSendsTheStopPairAndShowsWhetherTheUnitAnswered)
{
    for (const bool answers : {true, false}) {
        SCOPED_TRACE(answers ? "the unit answers" : "the unit is silent");
        LinkFixture f(answers ? LinkFixture::defaultOptions() : LinkFixture::silentOn({'='}));
        frmMaster& w = f.open();
        const std::int64_t start = f.clock.nowMs();
        w.cmdSendDisarm->click();
        EXPECT_EQ(f.sent, QByteArray("=-"));
        ASSERT_EQ(f.writes.size(), 2u);
        EXPECT_EQ(f.writes[1].first - f.writes[0].first, 100);
        EXPECT_EQ(w.lblStatus->text(), answers ? "0  Local unit is disarmed" : "1  Local unit is disarmed");
        if (!answers) {
            EXPECT_GE(f.clock.nowMs() - start, 5000);
            EXPECT_LT(f.clock.nowMs() - start, 5200);
        }
        EXPECT_EQ(w.Comm->WaitTimeout(), 5000); // left for the next command to set
    }
}

TEST(TerminalPanel, EnableControlsNeedsNoLogOnTheScreenShowsTheTrafficPlainStampedOrInHexAndTypedKeysAndEachButtonReachTheUnit)
{
    LinkFixture f;
    frmMaster& w = f.start();
    w.cmdEnableControls->click();
    EXPECT_FALSE(w.fraControls->isHidden());
    EXPECT_TRUE(w.cmdArm->isEnabled());
    EXPECT_TRUE(w.Watchdog->isActive());

    f.logOn();
    w.chkEcho->setChecked(true);
    EXPECT_TRUE(w.Comm->Echo());
    w.chkEcho->setChecked(false); // the marked views show what was sent all the same
    EXPECT_FALSE(w.Comm->Echo());
    w.mnuComms->trigger();
    EXPECT_FALSE(w.fraSaxComm->isHidden());
    w.cmdMonitor->click();
    f.clearWire();
    w.terminal->txtTerminal_Typed("V");
    f.clock.advance(50);
    ASSERT_EQ(f.sent, QByteArray("V"));
    const QString plain = w.Comm->ScreenText();
    EXPECT_TRUE(plain.contains("firmware") && plain.contains("Finished V")) << plain.toStdString();
    EXPECT_EQ(w.txtTerminal->toPlainText(), plain);

    // The layouts themselves are TrafficLinesTest's; here the boxes choose them, both ways marked.
    w.terminalView.chkTimestamps->setChecked(true);
    const QString stamped = w.txtTerminal->toPlainText();
    EXPECT_TRUE(QRegularExpression(R"(^12:00:\d\d\.\d{3} -> V\n12:00:\d\d\.\d{3} <-)").match(stamped).hasMatch())
        << stamped.toStdString();
    w.terminalView.chkHex->setChecked(true);
    EXPECT_TRUE(w.txtTerminal->toPlainText().startsWith(stamped.left(12) + " -> 56 "));
    w.terminalView.chkTimestamps->setChecked(false);

    // Typed keys reach the unstamped hex view as they go; "Clear Monitor" empties the screen and
    // this view without touching the link.
    f.clearWire();
    w.terminal->txtTerminal_Typed("R");
    EXPECT_EQ(f.sent, QByteArray("R"));
    EXPECT_TRUE(w.txtTerminal->toPlainText().endsWith("-> 52" + QString(45, ' ') + "  R"));
    f.clearWire();
    w.cmdMonitor->click();
    EXPECT_EQ(w.txtTerminal->toPlainText(), QString());
    EXPECT_TRUE(w.Comm->ScreenText().isEmpty());
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_TRUE(w.Comm->PortOpen());

    w.terminalView.chkHex->setChecked(false);
    w.terminal->txtTerminal_Typed("V");
    f.clock.advance(50);
    EXPECT_EQ(w.txtTerminal->toPlainText(), w.Comm->ScreenText()) << "the plain screen again";

    // Each button sends its command and touches nothing else.
    w.lblStatus->setText("Connected");
    const int timeout = w.Comm->WaitTimeout();

    const std::pair<QPushButton*, QByteArray> buttons[] = {
        {w.cmdCallDataDesk, "W"}, {w.cmdCTRLB, "\x02"}, {w.cmdCTRLC, "\x03"}, {w.cmdVersion, "V"},
        {w.cmdSendArm, "e"},
    };
    for (const auto& [button, bytes] : buttons) {
        f.clearWire();
        button->click();
        EXPECT_EQ(f.sent, bytes) << button->objectName().toStdString();
        EXPECT_EQ(w.lblStatus->text(), QString("Connected")) << button->objectName().toStdString();
        EXPECT_EQ(w.Comm->WaitTimeout(), timeout);
    }

    const std::pair<QCheckBox*, QByteArray> boxes[] = {{w.chkAutoreport, "A1A0"}, {w.chkMSmode, "A2A0"}};
    for (const auto& [box, bytes] : boxes) {
        f.clearWire();
        box->setChecked(true);
        box->setChecked(false);
        EXPECT_EQ(f.sent, bytes) << box->objectName().toStdString();
    }

    f.clearWire();
    for (QPushButton* silent : {w.cmdSendGMT, w.cmdEditID})
        silent->click();
    EXPECT_TRUE(f.sent.isEmpty());

    // The close label hides the panel and stops the terminal taking keys.
    w.lblHideComms_Monitor->Click();
    EXPECT_TRUE(w.fraSaxComm->isHidden());
    EXPECT_FALSE(w.Comm->TerminalActive());
}
