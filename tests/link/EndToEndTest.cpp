// End to end through a real pty: the program's serial control and QSerialPort transport on one
// side, the standalone simulated unit on the other, on the PC's own clock.
#include "common/Clock.h"
#include "link/ConnectionLifecycle.h"
#include "link/SerialControl.h"
#include "link/SerialPortTransport.h"
#include "sim/SimUnit.h"
#include "support/LinkFixture.h"
#include "support/TempFolder.h"
#include "support/UnitSimProcess.h"

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::TempFolder;
using mr3x::test::UnitSimProcess;

namespace {

/// The unit the standalone program runs with this seed, built here to compare its files.
sim::SimUnit referenceUnit(std::uint64_t seed)
{
    sim::SimOptions options;
    options.seed = seed;
    options.clock = *sim::DateTime::parse(test::kUnitSimClock);
    return sim::SimUnit(options);
}

QByteArray bytesOf(const sim::Bytes& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

struct PtyLink {
    explicit PtyLink(const QString& path)
        : comm(clock, [](const QString& name) { return openSerialPort(name); })
    {
        comm.setPortName(path);
        comm.setSettings(QStringLiteral("115200,n,8,1"));
        comm.setPortOpen(true);
    }

    /// Sends a command and waits for its "Finished" line.
    bool command(const QByteArray& text, const QString& patterns)
    {
        comm.setReplyPatterns(patterns);
        comm.setWaitTimeout(3000);
        comm.Send(text);
        const bool answered = comm.TimedOut() == 0;
        comm.setWaitTimeout(0);
        return answered;
    }

    /// Receives one file; the serial control bounds the reception, so this loop ends.
    int receive(const QString& folder, const QString& name)
    {
        comm.setReceiveFolder(folder);
        comm.setReceiveFile(name);
        while (comm.TransferState() == 4)
            clock.idle(10);
        return comm.TransferState();
    }

    RealClock clock;
    SerialControl comm;
};

} // namespace

TEST(EndToEnd, TheIndexAndAnEventRecordCrossARealPtyByteForByte)
{
    UnitSimProcess unit({"--seed", "3", "--disarmed", "--baud", "115200", "--pace"});
    ASSERT_FALSE(unit.path().isEmpty());
    PtyLink link(unit.path());
    ASSERT_EQ(link.comm.PortStatus(), QString("Connected"));
    const sim::SimUnit reference = referenceUnit(3);
    TempFolder folder;

    ASSERT_TRUE(link.command("p", "Finished P|Finished p"));
    ASSERT_EQ(link.receive(folder.path(), "MR-0101.IDX"), 0);
    EXPECT_EQ(folder.read("MR-0101.IDX"), bytesOf(reference.indexFile()));

    ASSERT_TRUE(link.command("f00", "Finished F|Finished f"));
    ASSERT_EQ(link.receive(folder.path(), "Event_01.EVT"), 0);
    EXPECT_EQ(folder.read("Event_01.EVT"), bytesOf(reference.eventRecord(0)));
}

TEST(EndToEnd, TheWindowLogsOnAndOffThroughARealPty)
{
    UnitSimProcess unit({"--seed", "5", "--baud", "115200"});
    ASSERT_FALSE(unit.path().isEmpty());
    RealClock realClock;
    mr3x::test::LinkFixture f;
    f.clockOverride = &realClock;
    frmMaster& w = f.start();
    w.cboCommports->addItem(unit.path());
    w.cboCommports->setCurrentIndex(w.cboCommports->count() - 1);
    w.optBaud[1]->setChecked(true);
    w.connection->cboCommports_Click();
    ASSERT_EQ(w.lblStatus->text(), unit.path() + " (Ready)");

    w.connection->cmdConnect_Click();
    EXPECT_TRUE(f.statusHistory.contains("Local unit disarmed")) << f.statusHistory.join(" | ").toStdString();
    EXPECT_EQ(w.cmdConnect->text(), QString("Disconnect from Local Unit"));
    EXPECT_TRUE(w.cmdArm->isEnabled());

    // Log off, letting the unit arm itself.
    f.dialogs.answer(MsgAnswer::Ok);
    w.connection->cmdConnect_Click();
    EXPECT_EQ(w.lblStatus->text(), QString("Disconnected"));
    EXPECT_FALSE(w.Comm->PortOpen());

    // The unit is recording again: a fresh log-on stops it again.
    w.connection->cboCommports_Click();
    w.connection->cmdConnect_Click();
    EXPECT_EQ(f.statusHistory.count("Local unit disarmed"), 2);
}
