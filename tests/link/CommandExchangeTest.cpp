// The command exchange on the real main window and the simulated unit: what goes on the wire, in
// what order and when, what the status line says, and how files are received.
#include "unit/UnitSession.h"
#include "support/LinkFixture.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::commands;
using mr3x::test::LinkFixture;

// Each command answered in lower case is walked by the window's own tests (SettingsDownloadTest,
// SettingCommandsTest, EventDownloadTest, ManualTriggerTest); here every one answered upper-case.
TEST(CommandExchange, SendsEveryWaitingCommandAndTakesItsAnswerInUpperCaseToo)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.upperCaseFinished = true; // "Finished H" for "h"
    LinkFixture f(options);
    frmMaster& w = f.open();
    // Every command that waits for its "Finished", the manual trigger last as it leaves a file offered.
    for (const Exchange& e : {exchangeFor(Command::Settings), exchangeFor(Command::Index), eventRecordRequest("05"),
                              setTimeRequest(clockFields(2031, 3, 7, 9, 5, 3)), setThresholdRequest("15"),
                              setDurationRequest(" 3"), setIdRequest(idRecord("260501", "Job", "Loc")),
                              setHardwareRequest({"15", " 3", "0", "0", "3", "034", "10", "10", "0"}),
                              exchangeFor(Command::ManualTrigger)}) {
        SCOPED_TRACE(e.text);
        f.clearWire();
        f.statusHistory.clear();
        EXPECT_TRUE(w.unit->sendCommand(e));
        const QByteArray wakeUp = e.text[0] == 'g' ? "\r\n\r\n" : ""; // the hardware command wakes the unit's parser
        EXPECT_EQ(f.sent, wakeUp + QByteArray::fromStdString(e.text));
        EXPECT_EQ(f.statusHistory, (QStringList{qtext(e.progress), qtext(e.success)}));
        EXPECT_EQ(w.Comm->WaitTimeout(), 0);
        EXPECT_TRUE(w.Comm->Echo());
        EXPECT_FALSE(w.Comm->TerminalActive());
    }
}

TEST(CommandExchange, ATimeOutShowsOnTheStatusLineOnlyTheClockCommandDrainsTheBufferFirstAndAFileReplacesTheOldOneOnlyWhenWhole)
{
    LinkFixture f;
    frmMaster& w = f.open();
    // Slot 20 holds no event: the unit says so and does not finish the command.
    const std::int64_t start = f.clock.nowMs();
    EXPECT_FALSE(w.unit->sendCommand(eventRecordRequest("20")));
    EXPECT_GE(f.clock.nowMs() - start, 3000);
    EXPECT_EQ(f.statusHistory, (QStringList{"Requesting event record 20", "Timeout acknowledging request for Event 20"}));
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
    EXPECT_TRUE(f.dialogs.shown().empty());

    w.Comm->Send(QStringLiteral("V"));
    f.clock.advance(50); // the unit's answer waits unread
    w.Comm->setPatternSeparator(QStringLiteral("#"));
    SendOptions drain;
    drain.drainFirst = true;
    EXPECT_TRUE(w.unit->sendCommand(setTimeRequest(clockFields(2026, 12, 6, 12, 0, 0)), drain));
    EXPECT_EQ(f.statusHistory.last(), "Time set") << "the separator is set back to \"|\"";
    EXPECT_EQ(w.Comm->Input(), QString::fromStdString(f.unit().finishedLine('T')))
        << "what came before the command was read and dropped";

    // A file is received under the name asked for, replacing the old one only when whole.
    const QString folder = f.root.mkdirs(QStringLiteral("unit"));
    f.root.write(QStringLiteral("unit/Event_05.EVT"), "old");
    ASSERT_TRUE(w.unit->sendCommand(eventRecordRequest("04"))); // 3328 bytes, sent as "EVENT_04.EVT"
    f.clearWire();
    f.statusHistory.clear();
    QByteArray midway;
    QObject::connect(w.Comm, &SerialControl::Progress, [&] {
        if (midway.isEmpty())
            midway = f.root.read(QStringLiteral("unit/Event_05.EVT"));
    });
    const std::int64_t receiving = f.clock.nowMs();
    EXPECT_TRUE(w.unit->receiveFile(folder, QStringLiteral("Event_05.EVT")));
    EXPECT_EQ(midway, "old");
    EXPECT_EQ(f.writes.front().second, "C");
    EXPECT_GE(f.writes.front().first - receiving, 500) << "the pause before the reception";
    EXPECT_LT(f.clock.nowMs() - receiving, 1000) << "each block is answered as soon as it is read";
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Event_05.EVT"})
        << "no temporary file, no file of the sender's name";
    EXPECT_EQ(f.root.read(QStringLiteral("unit/Event_05.EVT")), test::bytesOf(f.unit().eventRecord(3)));
    EXPECT_EQ(f.statusHistory, (QStringList{"1024 bytes transferred", "2048 bytes transferred", "3072 bytes transferred",
                                            "3200 bytes transferred", "3328 bytes transferred"}));
    EXPECT_EQ(w.Comm->TransferState(), 0);
}

TEST(CommandExchange, EveryFailedReceptionEndsInBoundedTimeSaysSoAndLeavesTheOldFileAlone)
{
    struct Case {
        const char* what;
        sim::TransferFaults faults;
        std::int64_t boundMs;
        bool abort = false;
        bool closePort = false; // the program closes the port once the first block is in
    };
    // The receiver's own limits are tried one by one in ReceiverTest, and every kind of line
    // fault through the window in LinkSoakTest; here one limit reached by the clock, which only
    // runs while the serial control looks at it, the unit's abort and the program's own close.
    const Case cases[] = {
        {"a sender that stops in the middle of a block", {.stallAfterBytes = 3000}, 101'000},
        {"an abort", {.abortAtBlock = 4}, 1'000, true},
        {"the port closed by the program", {}, 1'000, false, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sim::SimOptions options = LinkFixture::defaultOptions();
        options.faults.transfer = c.faults;
        LinkFixture f(options);
        frmMaster& w = f.open();
        const QString folder = f.root.mkdirs(QStringLiteral("unit"));
        f.root.write(QStringLiteral("unit/Event_01.EVT"), "the old record");
        ASSERT_TRUE(w.unit->sendCommand(eventRecordRequest("01")));
        if (c.closePort)
            QObject::connect(w.Comm, &SerialControl::Progress, [&] { w.Comm->setPortOpen(false); });
        w.Watchdog->stop();
        w.Comm->setWaitTimeout(3000);
        f.statusHistory.clear();
        const std::int64_t start = f.clock.nowMs();

        EXPECT_FALSE(w.unit->receiveFile(folder, QStringLiteral("Event_01.EVT")));
        EXPECT_LE(f.clock.nowMs() - start, c.boundMs);
        EXPECT_EQ(f.statusHistory.last(), "File transfer failed");
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList{"Event_01.EVT"});
        EXPECT_EQ(f.root.read(QStringLiteral("unit/Event_01.EVT")), "the old record");
        // An abort is the unit's word: it is shown, and the watchdog watches the link again.
        EXPECT_EQ(f.statusHistory.contains("File transfer aborted"), c.abort);
        EXPECT_EQ(w.Watchdog->isActive(), c.abort);
        if (c.abort) {
            EXPECT_EQ(w.Comm->WaitTimeout(), 0);
        }
        f.clock.advance(20'000);
        EXPECT_EQ(w.Comm->TransferState(), -1) << "the failure stays until the next Send";
        w.Comm->Send(QStringLiteral("R"));
        EXPECT_EQ(w.Comm->TransferState(), 0);
    }
}
