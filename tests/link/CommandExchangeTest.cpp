// The command exchange on the real main window: what goes on the wire, in what order and when,
// what the status line says, and how files are received.
#include "FakeLine.h"
#include "ScriptedSender.h"
#include "link/CommandExchange.h"
#include "link/ConnectionLifecycle.h"
#include "support/MasterFixture.h"

#include <QDir>
#include <QFile>
#include <QTimer>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;
using namespace mr3x::commands;

namespace {

/// The main window, its ports opened on the test line.
frmMaster& windowOn(MasterFixture& fixture, FakeLine& line)
{
    fixture.openPort = line.opener();
    return fixture.window();
}

class CommandExchangeTest : public testing::Test {
protected:
    CommandExchangeTest()
    {
        QObject::connect(w.lblStatus, &EventLabel::Change, w.lblStatus, [this] { status << w.lblStatus->text(); });
        w.Comm->setPortName(QStringLiteral("COM1"));
        w.Comm->setPortOpen(true);
    }

    /// The unit answers every command whose text starts with `letter` with `reply`, 150 ms later.
    void answer(const QByteArray& command, const QByteArray& reply)
    {
        line.farEnd = [this, command, reply](const QByteArray& bytes) {
            if (bytes.startsWith(command))
                line.deliver(reply, 150);
        };
    }

    MasterFixture fixture;
    FakeLine line{fixture.clock};
    frmMaster& w{windowOn(fixture, line)};
    QStringList status;
};

} // namespace

TEST_F(CommandExchangeTest, SendsEveryWaitingCommandAndReportsItsAnswer)
{
    const std::vector<Exchange> exchanges{
        exchangeFor(Command::Index),       eventRecordRequest("05"),      exchangeFor(Command::ManualTrigger),
        setTimeRequest(clockFields(2031, 3, 7, 9, 5, 3)), setThresholdRequest("15"), setDurationRequest(" 3"),
        setIdRequest(idRecord("260501", "Job", "Loc")),
    };
    for (const Exchange& e : exchanges) {
        SCOPED_TRACE(e.text);
        status.clear();
        line.clearWritten();
        const QByteArray text = QByteArray::fromStdString(e.text);
        answer(text.left(1), "Finished " + text.left(1).toUpper() + "\r\n");
        EXPECT_TRUE(w.exchange->SEND_COMMAND(e));
        EXPECT_EQ(line.writtenChunks(), QList<QByteArray>{text});
        EXPECT_EQ(status, (QStringList{QString::fromStdString(e.progress), QString::fromStdString(e.success)}));
        EXPECT_EQ(w.Comm->WaitTimeout(), 0);
        EXPECT_TRUE(w.Comm->Echo());
        EXPECT_FALSE(w.Comm->TerminalActive());
    }
}

TEST_F(CommandExchangeTest, AnswersInEitherCaseEndTheWait)
{
    for (const QByteArray& reply : {QByteArray("Finished h\r\n"), QByteArray("Finished H\r\n")}) {
        answer("h", reply);
        status.clear();
        EXPECT_TRUE(w.exchange->SEND_COMMAND(setThresholdRequest("15")));
        EXPECT_EQ(status.last(), "Trigger threshold set");
    }
}

TEST_F(CommandExchangeTest, WakesTheUnitBeforeTheSettingsAndTheHardwareCommands)
{
    // Settings: a pause of 500 ms, two empty sends (nothing on the line), then "X" captured.
    const QString capture = fixture.root(QStringLiteral("UNIT Settings.txt"));
    answer("X", "Parameters:9600, 15, 3\r\nFinished X\r\n");
    const std::int64_t start = fixture.clock.nowMs();
    SendOptions settings;
    settings.echo = false;
    settings.captureFile = capture;
    settings.clearPendingAfter = true;
    w.Comm->setPendingText(QStringLiteral("typed"));
    EXPECT_TRUE(w.exchange->SEND_COMMAND(exchangeFor(Command::Settings), settings));
    ASSERT_EQ(line.written.size(), 1u);
    EXPECT_EQ(line.written[0].bytes, "X");
    EXPECT_GE(line.written[0].atMs - start, 500);
    EXPECT_EQ(status, (QStringList{"Requesting Settings", "Settings downloaded"}));
    EXPECT_EQ(w.Comm->CaptureFile(), QString());
    EXPECT_EQ(w.Comm->PendingText(), QString());
    EXPECT_FALSE(w.Comm->Echo());
    QFile file(capture);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "Parameters:9600, 15, 3\r\nFinished X\r\n");

    // Hardware: "\r\n" twice, then the command.
    line.clearWritten();
    answer("g", "Finished G\r\n");
    EXPECT_TRUE(w.exchange->SEND_COMMAND(setHardwareRequest({"15", " 3", "0", "1", "2", "042", "10", "10", "5"})));
    EXPECT_EQ(line.writtenChunks(), (QList<QByteArray>{"\r\n", "\r\n", "g15, 3,0,1,2,042,10,10,5"}));
}

TEST_F(CommandExchangeTest, StopsTheUnitWithTwoSendsAPauseApart)
{
    line.farEnd = [this](const QByteArray& bytes) {
        if (bytes == "-")
            line.deliver("stopped by serial comm!\r\n", 100);
    };
    EXPECT_TRUE(w.exchange->SEND_COMMAND(stopAtLogOn("1")));
    ASSERT_EQ(line.written.size(), 2u);
    EXPECT_EQ(line.written[0].bytes, "=");
    EXPECT_EQ(line.written[1].bytes, "-");
    EXPECT_EQ(line.written[1].atMs - line.written[0].atMs, 1000);
    EXPECT_EQ(status.last(), "Local unit disarmed");
}

TEST_F(CommandExchangeTest, ATimeOutIsReportedOnTheStatusLineOnlyAndClearsTheWait)
{
    const std::int64_t start = fixture.clock.nowMs();
    EXPECT_FALSE(w.exchange->SEND_COMMAND(eventRecordRequest("12")));
    EXPECT_GE(fixture.clock.nowMs() - start, 3000);
    EXPECT_EQ(status, (QStringList{"Requesting event record 12", "Timeout acknowledging request for Event 12"}));
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
    EXPECT_TRUE(fixture.dialogs.shown().empty());

    status.clear();
    EXPECT_FALSE(w.exchange->SEND_COMMAND(stopAtLogOn("4")));
    EXPECT_EQ(status.last(), "No connection to Local Unit via COM4");
}

TEST_F(CommandExchangeTest, DrainsTheReceiveBufferBeforeTheClockCommand)
{
    line.deliver("old chatter\r\n");
    fixture.clock.advance(10);
    w.Comm->setPatternSeparator(QStringLiteral("#"));
    answer("T", "Finished t\r\n");
    SendOptions options;
    options.drainFirst = true;
    EXPECT_TRUE(w.exchange->SEND_COMMAND(setTimeRequest(clockFields(2026, 12, 6, 12, 0, 0)), options));
    EXPECT_EQ(status.last(), "Time set") << "the separator is set back to \"|\"";
    EXPECT_EQ(w.Comm->Input(), "Finished t\r\n") << "what came before the command was read and dropped";
}

TEST_F(CommandExchangeTest, SendsCommandsThatWaitForNothingAsTheyAre)
{
    w.Comm->setWaitTimeout(0);
    for (const Command c : {Command::Arm, Command::KeepAlive, Command::AutoReportOn, Command::ReportingOff,
                            Command::CtrlB, Command::CtrlC, Command::Ack})
        w.exchange->sendOnly(c);
    EXPECT_EQ(line.wire(), QByteArray("eRA1A0\x02\x03\x06"));
    EXPECT_TRUE(status.isEmpty());
}

TEST_F(CommandExchangeTest, ReceivesAFileReportingProgressAndReplacingTheOldOne)
{
    const QString folder = fixture.root.mkdirs(QStringLiteral("unit"));
    fixture.root.write(QStringLiteral("unit/Event_03.EVT"), "partial from before");
    const Bytes file = testFile(3328);
    ScriptedSender sender(line, file);
    ReceiveOptions options;
    options.existing = ExistingFile::Delete;
    const std::int64_t start = fixture.clock.nowMs();
    EXPECT_TRUE(w.exchange->RECEIVE_FILE(folder, QStringLiteral("Event_03.EVT"), options));
    EXPECT_GE(line.written.front().atMs - start, 500) << "the pause before the reception";
    EXPECT_EQ(fixture.root.read(QStringLiteral("unit/Event_03.EVT")),
              QByteArray(reinterpret_cast<const char*>(file.data()), static_cast<qsizetype>(file.size())));
    EXPECT_EQ(status, (QStringList{"1024 bytes transferred", "2048 bytes transferred", "3072 bytes transferred",
                                   "3328 bytes transferred"}));
    EXPECT_EQ(w.Comm->TransferState(), 0);
}

TEST_F(CommandExchangeTest, AFailedReceptionSaysSoAndLeavesNoEventFile)
{
    const QString folder = fixture.root.mkdirs(QStringLiteral("unit"));
    fixture.root.write(QStringLiteral("unit/Event_03.EVT"), "left from before");
    ScriptedSender sender(line, testFile(11520));
    sender.fault = [](const ScriptedSender::Frame& f, Bytes frame) {
        if (f.kind == ScriptedSender::Kind::Data && f.index == 6)
            frame[300] ^= 1;
        return frame;
    };
    ReceiveOptions options;
    options.existing = ExistingFile::Delete;
    options.deleteOnFailure = true;
    EXPECT_FALSE(w.exchange->RECEIVE_FILE(folder, QStringLiteral("Event_03.EVT"), options));
    EXPECT_EQ(status.last(), "File transfer failed");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList());
}

TEST_F(CommandExchangeTest, AnAbortedReceptionSaysSoAndSwitchesTheWatchdogOn)
{
    const QString folder = fixture.root.mkdirs(QStringLiteral("unit"));
    ScriptedSender sender(line, testFile(11520));
    sender.fault = [](const ScriptedSender::Frame& f, Bytes frame) {
        if (f.kind == ScriptedSender::Kind::Data && f.index == 2)
            return Bytes{ymodem::CAN, ymodem::CAN};
        return frame;
    };
    w.Watchdog->stop();
    w.Comm->setWaitTimeout(3000);
    EXPECT_FALSE(w.exchange->RECEIVE_FILE(folder, QStringLiteral("Manual Trigger.ACT")));
    EXPECT_EQ(status.mid(status.size() - 2), (QStringList{"File transfer aborted", "File transfer failed"}));
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
    EXPECT_TRUE(w.Watchdog->isActive());
}

TEST_F(CommandExchangeTest, RefusesACommandWhileTheLinkIsBusy)
{
    EXPECT_FALSE(w.exchange->linkBusy());
    EXPECT_TRUE(fixture.dialogs.shown().empty());

    // A reception under way: the unit has not started sending yet.
    w.Comm->setReceiveFolder(fixture.root.path());
    w.Comm->setReceiveFile(QStringLiteral("Manual Trigger.ACT"));
    ASSERT_EQ(w.Comm->TransferState(), 4);
    EXPECT_TRUE(w.exchange->linkBusy(QStringLiteral("AC Check")));
    ASSERT_EQ(fixture.dialogs.shown().size(), 1u);
    const auto& box = fixture.dialogs.shown().front();
    EXPECT_EQ(box.text, "Communications in progress");
    EXPECT_EQ(box.title, "AC Check");
    EXPECT_EQ(box.buttons, MsgButtons::Ok);

    // A reply wait under way: a handler run from inside it is refused as well.
    w.Comm->setPortOpen(false);
    w.Comm->setPortOpen(true);
    bool refusedInside = false;
    line.farEnd = [&](const QByteArray&) {
        QTimer::singleShot(0, w.Comm, [&] { refusedInside = w.exchange->linkBusy(); });
    };
    w.exchange->SEND_COMMAND(setThresholdRequest("15"));
    EXPECT_TRUE(refusedInside);
}
