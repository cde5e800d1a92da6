// The manual trigger: the request, the reception without an ACK, and the stored ".vlt".
#include "RetrievalFixture.h"

#include "link/ConnectionLifecycle.h"
#include "retrieval/EventDownload.h"
#include "retrieval/ReceivedFileRules.h"

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::RetrievalFixture;

TEST(ManualTrigger, TheRecordingIsStoredAsAVltThatReadsAsManual)
{
    sim::SimOptions options = RetrievalFixture::defaultOptions();
    options.clock = {2026, 12, 6, 12, 34, 56}; // no time field of the recording is 0
    RetrievalFixture f(options);
    frmMaster& w = f.open();
    w.connection->ENABLE_CONTROLS(); // as at the end of a log-on
    w.cmdTrigger->click(); // as the user presses it: one manual recording, not two

    // The settings for the model go first, the hardware asking for the trace (mode digit 2).
    EXPECT_TRUE(f.sent.contains("\r\n\r\ng15, 3,0,0,2,006,10,10,0y1")) << f.sent.toHex(' ').toStdString();
    EXPECT_EQ(f.sent.count("y1"), 1);
    QByteArray expected = mr3x::test::bytesOf(f.unit().lastOfferBytes());
    ASSERT_EQ(expected.size(), 11520);
    // Named by the bytes as received.
    const QString name = QString::fromStdString(
        *retrieval::storedName(f.unit().lastOfferBytes(), retrieval::ReceivedKind::ManualRecording));
    expected[5] = expected[6] = 0;
    EXPECT_EQ(f.storedFiles(), QStringList({name}));
    EXPECT_EQ(f.readUnitFile(name), expected);
    EXPECT_EQ(f.otherFiles(), QStringList());

    // No ACK: the reception's own last ACK is the last byte sent.
    EXPECT_TRUE(f.sent.endsWith("C\x06"));
    EXPECT_FALSE(f.sent.endsWith("\x06\x06"));
    EXPECT_TRUE(f.unit().confirmedRecords().empty());
    EXPECT_EQ(w.lblStatus->text(), QString("Manual Trigger downloaded"));
    EXPECT_TRUE(w.Watchdog->isActive());
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
}

TEST(ManualTrigger, NoAnswerOrAFailedReceptionLeavesNothingAndTheWatchdogOff)
{
    const sim::SimOptions silent = RetrievalFixture::silentOn({'y'});
    sim::SimOptions corrupt = RetrievalFixture::defaultOptions();
    corrupt.faults.transfer.corruptTimes = 12;
    const std::pair<sim::SimOptions, QString> cases[] = {{silent, "Timeout in request for Manual Trigger"},
                                                         {corrupt, "File transfer failed"}};
    for (const auto& [options, status] : cases) {
        RetrievalFixture f(options);
        frmMaster& w = f.open();
        w.Watchdog->start();
        const std::int64_t start = f.clock.nowMs();
        w.eventDownload->cmdTrigger_Click();
        EXPECT_EQ(w.lblStatus->text(), status);
        EXPECT_EQ(f.storedFiles(), QStringList());
        EXPECT_EQ(f.otherFiles(), QStringList());
        EXPECT_FALSE(w.Watchdog->isActive());
        if (status.startsWith("Timeout")) {
            EXPECT_GE(f.clock.nowMs() - start, 15000);
            EXPECT_TRUE(f.sent.endsWith("y1")); // no reception was started
        }
    }
}
