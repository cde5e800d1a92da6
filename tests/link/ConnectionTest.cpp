// Log-ons that fail, logging off, the watchdog and the time-out warning, against the simulated
// unit (a log-on that works is followed through in SettingsDownloadTest).
#include "link/ConnectionLifecycle.h"
#include "retrieval/EventIndex.h"
#include "support/LinkFixture.h"
#include "ui/frmTimeOut.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>

using namespace mr3x;
using mr3x::test::LinkFixture;

TEST(Connection, ALogOnWithoutAnswerLeavesTheLinkToBeClosedWithTheArmingQuestionAndNoneStartsWithoutAUnitOrAPortThatOpens)
{
    sim::SimOptions silent = LinkFixture::silentOn({'='}); // never hears the stop
    silent.armed = true;
    LinkFixture f(silent);
    frmMaster& w = f.start();
    f.logOn();

    EXPECT_EQ(w.lblStatus->text(), "No connection to Local Unit via COM " + f.portName());
    EXPECT_EQ(w.Comm->PortStatus(), QString("Connected"));
    EXPECT_EQ(w.Comm->WaitTimeout(), 2000); // the failed log-on leaves its time-out set

    // Cancel keeps the link; nothing is sent.
    f.clearWire();
    f.dialogs.answer(MsgAnswer::Cancel);
    w.connection->cmdConnect_Click();
    ASSERT_NE(f.dialogs.last(), nullptr);
    EXPECT_EQ(f.dialogs.last()->text, QString("The Local Unit has not completed the arming process\n\n"
                                              "Select OK to continue\n\n"
                                              "Select Cancel then click ARM and wait for status message: \n"
                                              "Local Unit armed"));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::OkCancel);
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_EQ(w.cmdConnect->text(), QString("Disconnect from Local Unit"));
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);

    // OK lets the unit arm itself ("e") and closes the link (what closing does: see the pulled
    // cable below).
    f.dialogs.answer(MsgAnswer::Ok);
    w.connection->cmdConnect_Click();
    EXPECT_EQ(f.sent, QByteArray("e"));
    EXPECT_TRUE(f.statusHistory.contains("Local Unit armed"));
    EXPECT_EQ(w.lblStatus->text(), QString("Disconnected"));
    EXPECT_FALSE(w.Comm->PortOpen());

    // No log-on through a port that does not open: a port path typed into the list and
    // confirmed with Enter is added and opened.
    w.cboCommports->lineEdit()->setText("/dev/no-such-port");
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(w.cboCommports->lineEdit(), &enter);
    EXPECT_NE(w.cboCommports->findText("/dev/no-such-port"), -1);
    EXPECT_EQ(w.lblStatus->text(), QString("/dev/no-such-port (Port unavailable)"));
    w.connection->cmdConnect_Click();
    EXPECT_EQ(w.cmdConnect->text(), QString("Connect to Local Unit"));

    // The program stays usable: the simulated port opens afterwards, but not without a unit.
    f.choosePort();
    EXPECT_EQ(w.lblStatus->text(), f.portName() + " (Ready)");
    f.clearWire();
    f.dialogs.clear();
    w.cboUnits[0]->clear();
    w.connection->cmdConnect_Click();
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{"No unit selected"});
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_EQ(w.cmdConnect->text(), QString("Connect to Local Unit"));
}

TEST(Connection, TheWatchdogWarnsAfter120IdleTicksUnlessKeptOnAndEndsTheLinkTenSecondsLaterAndAPulledCableEndsItAtOnce)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.logOn();
    auto idle = [&w](int ticks) {
        for (int tick = 0; tick < ticks; ++tick)
            w.connection->Watchdog_Timer();
    };
    idle(120);
    EXPECT_TRUE(w.timeOutWarning == nullptr || !w.timeOutWarning->isVisible());
    idle(1); // the 121st
    ASSERT_NE(w.timeOutWarning, nullptr);
    frmTimeOut& warning = *w.timeOutWarning;
    EXPECT_TRUE(warning.isVisible());
    EXPECT_FALSE(warning.isModal());
    EXPECT_EQ(f.dialogs.beeps, 1);
    EXPECT_TRUE(warning.TimeExpired->isActive());

    // "Stay on" keeps the link alive, and so does a new status text.
    f.clearWire();
    warning.cmdStayOn_Click();
    EXPECT_EQ(f.sent, QByteArray("R"));
    EXPECT_EQ(w.program.IdleTicks, 0);
    EXPECT_FALSE(warning.isVisible());
    EXPECT_TRUE(w.Watchdog->isActive());
    idle(100);
    w.lblStatus->setText("Requesting Settings");
    EXPECT_EQ(w.program.IdleTicks, 0);
    idle(120);
    EXPECT_EQ(w.program.IdleTicks, 120);
    EXPECT_FALSE(warning.isVisible());

    // Left alone, the warning counts down and the 11th second ends the link.
    idle(1);
    ASSERT_TRUE(warning.isVisible());
    for (int tick = 0; tick < 10; ++tick)
        warning.TimeExpired_Timer();
    EXPECT_EQ(warning.lblTimeExpiring->text(), QString("Connection will terminate in 1 seconds"));
    EXPECT_TRUE(w.Comm->PortOpen());
    warning.TimeExpired_Timer();
    EXPECT_EQ(warning.lblTimeExpiring->text(), QString("Connection will terminate in 0 seconds"));
    EXPECT_FALSE(w.Comm->PortOpen());
    EXPECT_EQ(w.lblStatus->text(), QString("Disconnected"));
    EXPECT_FALSE(warning.isVisible());
    EXPECT_FALSE(warning.TimeExpired->isActive());

    // "Disconnect" on the warning ends the link at once.
    f.logOn();
    idle(121);
    ASSERT_TRUE(warning.isVisible());
    warning.cmdDisconnect_Click();
    EXPECT_FALSE(w.Comm->PortOpen());
    EXPECT_FALSE(warning.isVisible());

    // A command the user starts while the warning counts down is activity: the count ends
    // without cutting the link under the exchange.
    f.logOn();
    idle(121);
    ASSERT_TRUE(warning.isVisible());
    const QMetaObject::Connection countDown = QObject::connect(w.lblStatus, &EventLabel::Change, w.lblStatus, [&] {
        if (w.lblStatus->text() == "Downloading Index ")
            for (int tick = 0; tick < 11; ++tick)
                warning.TimeExpired_Timer();
    });
    w.eventIndex->cmdGetIndex_Click();
    EXPECT_EQ(w.lblStatus->text(), QString("Index file downloaded"));
    EXPECT_TRUE(w.Comm->PortOpen());
    EXPECT_FALSE(warning.isVisible());
    QObject::disconnect(countDown);

    // The watchdog counts nothing while a reception runs; a cable pulled meanwhile ends the link
    // with "Cancelled".
    w.Comm->setReceiveFolder(f.unitFolder());
    w.Comm->setReceiveFile("MR-0101.IDX"); // the unit sends nothing: the reception waits
    ASSERT_EQ(w.Comm->TransferState(), 4);
    const auto before = w.program.IdleTicks;
    w.connection->Watchdog_Timer();
    EXPECT_EQ(w.program.IdleTicks, before);

    f.unit().disconnect(f.clock.nowMs());
    f.clock.advance(20);
    EXPECT_EQ(w.Comm->PortStatus(), QString("Canceled"));
    EXPECT_EQ(w.Comm->TransferState(), -1);
    w.connection->Watchdog_Timer();
    EXPECT_EQ(w.lblStatus->text(), QString("Cancelled"));
    EXPECT_FALSE(w.Comm->PortOpen());
    EXPECT_EQ(w.cmdConnect->text(), QString("Connect to Local Unit"));
    EXPECT_FALSE(w.cmdArm->isEnabled());
    EXPECT_FALSE(w.Watchdog->isActive());

    // Plugged back in, the user logs on again.
    f.choosePort();
    EXPECT_EQ(w.lblStatus->text(), f.portName() + " (Ready)");
    w.connection->cmdConnect_Click();
    EXPECT_EQ(w.cmdConnect->text(), QString("Disconnect from Local Unit"));
    EXPECT_TRUE(w.cmdArm->isEnabled());
}
