// The manual trigger: the request, the reception without an ACK, and the stored ".vlt".
#include "RetrievalFixture.h"

#include "link/ConnectionLifecycle.h"
#include "retrieval/EventDownload.h"

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::RetrievalFixture;

namespace {

QString stemOf(const QByteArray& head)
{
    QString stem;
    for (int i = 0; i < 6; ++i)
        stem += QStringLiteral("%1").arg(static_cast<unsigned char>(head[i]) % 100, 2, 10, QLatin1Char('0'))
              + (i == 2 ? QStringLiteral(" ") : i == 5 ? QString() : QStringLiteral("-"));
    return stem;
}

} // namespace

TEST(ManualTrigger, TheRecordingIsStoredAsAVltThatReadsAsManual)
{
    sim::SimOptions options = RetrievalFixture::defaultOptions();
    options.clock = {2026, 12, 6, 12, 34, 56}; // no time field of the recording is 0
    RetrievalFixture f(options);
    frmMaster& w = f.open();
    w.connection->ENABLE_CONTROLS(); // as at the end of a log-on
    w.cmdTrigger->click(); // as the user presses it: one manual recording, not two

    EXPECT_EQ(f.sent.count("y1"), 1);
    const QByteArray sentAfter = f.sent.mid(f.sent.indexOf("y1"));
    ASSERT_TRUE(sentAfter.startsWith("y1"));
    const QByteArray received = RetrievalFixture::bytes(f.unit().lastOfferBytes());
    ASSERT_EQ(received.size(), 11520);
    const QString name = stemOf(received) + ".vlt";
    EXPECT_EQ(f.storedFiles(), QStringList({name}));
    const QByteArray stored = f.readUnitFile(name);
    ASSERT_EQ(stored.size(), received.size());
    EXPECT_EQ(stored[5], '\0');
    EXPECT_EQ(stored[6], '\0');
    EXPECT_EQ(stored.left(5), received.left(5));
    EXPECT_EQ(stored.mid(7), received.mid(7));
    EXPECT_EQ(f.otherFiles(), QStringList());

    // No ACK: the reception's own last ACK is the last byte sent.
    EXPECT_TRUE(f.sent.endsWith("C\x06"));
    EXPECT_FALSE(f.sent.endsWith("\x06\x06"));
    EXPECT_TRUE(f.unit().confirmedRecords().empty());

    const QStringList expected = {"Requesting Manual Trigger", "Manual Trigger request acknowledged",
                                  "Downloading Manual Trigger"};
    const int at = f.statusHistory.indexOf("Requesting Manual Trigger");
    ASSERT_GE(at, 0);
    EXPECT_EQ(f.statusHistory.mid(at, 3), expected);
    EXPECT_EQ(w.lblStatus->text(), QString("Manual Trigger downloaded"));
    EXPECT_TRUE(w.chkFileTransfer->isChecked());
    EXPECT_TRUE(w.Watchdog->isActive());
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
}

TEST(ManualTrigger, NoAnswerWithinFifteenSecondsEndsItWithTheWatchdogOff)
{
    sim::SimOptions options = RetrievalFixture::defaultOptions();
    options.faults.silent.push_back({'y', 0});
    RetrievalFixture f(options);
    frmMaster& w = f.open();
    w.Watchdog->start();
    const std::int64_t start = f.clock.nowMs();
    w.eventDownload->cmdTrigger_Click();

    EXPECT_GE(f.clock.nowMs() - start, 15000);
    EXPECT_EQ(w.lblStatus->text(), QString("Timeout in request for Manual Trigger"));
    EXPECT_TRUE(f.sent.endsWith("y1")); // no reception was started
    EXPECT_EQ(f.storedFiles(), QStringList());
    EXPECT_FALSE(w.Watchdog->isActive());
}

TEST(ManualTrigger, AFailedReceptionLeavesNothingAndTheWatchdogOff)
{
    sim::SimOptions options = RetrievalFixture::defaultOptions();
    options.faults.transfer.corruptTimes = 12;
    RetrievalFixture f(options);
    frmMaster& w = f.open();
    w.eventDownload->cmdTrigger_Click();

    EXPECT_EQ(w.lblStatus->text(), QString("File transfer failed"));
    EXPECT_EQ(f.storedFiles(), QStringList());
    EXPECT_EQ(f.otherFiles(), QStringList());
    EXPECT_FALSE(w.Watchdog->isActive());
}

TEST(ManualTrigger, IsRefusedUnderItsOwnTitleWhileBusyOrClosed)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    w.Comm->setReceiveFolder(f.unitFolder());
    w.Comm->setReceiveFile("Other.bin");
    ASSERT_EQ(w.Comm->TransferState(), 4);
    w.eventDownload->cmdTrigger_Click();
    ASSERT_NE(f.dialogs.last(), nullptr);
    EXPECT_EQ(f.dialogs.last()->text, QString("Communications in progress"));
    EXPECT_EQ(f.dialogs.last()->title, QString("AC Check"));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::Ok);

    w.Comm->setPortOpen(false);
    f.clearWire();
    w.eventDownload->cmdTrigger_Click();
    EXPECT_EQ(f.dialogs.last()->text, QString("No connection to "));
    EXPECT_EQ(f.dialogs.last()->title, QString("AC Check"));
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_FALSE(w.chkFileTransfer->isChecked());
}
