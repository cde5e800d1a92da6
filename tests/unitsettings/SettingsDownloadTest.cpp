// The settings download at log-on and on request, against the simulated unit: the order on the
// wire, the stored file, the status line, and what happens when the unit does not answer.
#include "common/Files.h"
#include "link/ConnectionLifecycle.h"
#include "link/Terminal.h"
#include "support/LinkFixture.h"
#include "unitsettings/UnitSettings.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::LinkFixture;

namespace {

sim::SimOptions silentOn(char letter)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.faults.silent.push_back({letter, 0});
    return options;
}

/// The writes of one text, in the order they went.
std::vector<std::int64_t> timesOf(const LinkFixture& f, const QByteArray& bytes)
{
    std::vector<std::int64_t> times;
    for (const auto& [time, written] : f.writes)
        if (written == bytes)
            times.push_back(time);
    return times;
}

/// What the program wrote before the index's reception began (the receiver's own bytes follow).
QByteArrayList commandsSent(const LinkFixture& f)
{
    QByteArrayList texts;
    for (const auto& write : f.writes) {
        texts << write.second;
        if (write.second == "p")
            break;
    }
    return texts;
}

} // namespace

TEST(SettingsDownload, LogOnFetchesTheSettingsThenTheIndex)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.logOn();

    // "e", "=" and "-" log on; then "X" after the log-on's second and the wake-up's half second,
    // and "p" a second after the settings; the index's reception follows.
    EXPECT_EQ(commandsSent(f), (QByteArrayList{"e", "=", "-", "X", "p"}));
    const std::int64_t stop = timesOf(f, "-").front();
    const std::int64_t settings = timesOf(f, "X").front();
    const std::int64_t index = timesOf(f, "p").front();
    EXPECT_GE(settings - stop, 1500);
    EXPECT_GE(index - settings, 1000);

    const QStringList expected = {"Local unit disarmed", "Requesting Settings", "Settings downloaded", "Downloading Index ",
                                  "Index request acknowledged"};
    const int at = f.statusHistory.indexOf("Local unit disarmed");
    ASSERT_GE(at, 0);
    EXPECT_EQ(f.statusHistory.mid(at, 5), expected);
    EXPECT_EQ(w.lblStatus->text(), QString("Index file downloaded"));

    // The unit's text is stored as it came, "Finished X" line and all.
    QFile stored(f.unitFolder() + "/MR-0101 Settings.txt");
    ASSERT_TRUE(stored.open(QIODevice::ReadOnly));
    const QByteArray text = stored.readAll();
    EXPECT_TRUE(text.startsWith("M-R3X Local Unit M-R32\r\nParameters:115200,15,3,12,0,0,3,34,10,10,0,R2,"));
    EXPECT_TRUE(text.contains("SIM 4401\r\nFinished X"));
    EXPECT_TRUE(QFile::exists(f.unitFolder() + "/MR-0101.IDX"));

    ASSERT_EQ(w.lstUnitSettings->count(), 17);
    EXPECT_EQ(w.lstUnitSettings->item(1)->text(), QString("1: Voltage threshold: 15"));
    EXPECT_EQ(w.lstUnitSettings->item(6)->text(), QString("6: Trigger mode: 3"));
    EXPECT_EQ(w.lstUnitSettings->item(7)->text(), QString("7: Pre-trigger/Pulse/Range: 34"));
    EXPECT_EQ(w.lstUnitSettings->item(13)->text(), QString("13: Job: Feeder 7 Fault"));
    // The SIM number keeps its last character.
    EXPECT_EQ(w.program.UnitParameters.value(17), QString("SIM 4401"));
    EXPECT_GE(w.cboUnits[1]->findText("SIM 4401"), 0);
    EXPECT_EQ(w.cboUnits[1]->currentText(), QString("MR-0101")); // offered, not chosen

    EXPECT_TRUE(w.Watchdog->isActive());
    EXPECT_TRUE(w.cmdArm->isEnabled());
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
    EXPECT_TRUE(f.dialogs.shown().empty());
}

TEST(SettingsDownload, EachLogOnReadsTheSettingsAfreshAndOffersTheSimNumberOnce)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.logOn();
    const int slaveEntries = w.cboUnits[1]->count();
    w.connection->ARM_AND_DISCONNECT();
    f.logOn();
    EXPECT_EQ(w.cboUnits[1]->count(), slaveEntries);
    EXPECT_EQ(w.lstUnitSettings->count(), 17);
}

TEST(SettingsDownload, ASilentUnitGetsTheMessageAndTheIndexIsStillRequested)
{
    LinkFixture f(silentOn('X'));
    frmMaster& w = f.start();
    w.cboThreshold->setCurrentIndex(8); // "20": left as it is
    f.logOn();

    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Problem accessing settings of Local Unit\n"
                                              "press OK to retrieve index of triggered events\n"
                                              "and enable control panel"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::Ok);
    EXPECT_TRUE(f.statusHistory.contains("Timeout downloading Settings"));
    EXPECT_EQ(commandsSent(f), (QByteArrayList{"e", "=", "-", "X", "p"}));
    EXPECT_EQ(w.lblStatus->text(), QString("Index file downloaded"));
    EXPECT_EQ(w.cboThreshold->currentText(), QString("20"));
    EXPECT_EQ(w.lstUnitSettings->count(), 0);
    EXPECT_TRUE(w.cmdArm->isEnabled());
    EXPECT_TRUE(w.Watchdog->isActive());
    EXPECT_EQ(w.Comm->CaptureFile(), QString()); // the capture is closed
}

TEST(SettingsDownload, AnIndexRequestWithoutAnswerEndsTheDownload)
{
    LinkFixture f(silentOn('p'));
    frmMaster& w = f.start();
    f.logOn();
    EXPECT_EQ(w.lblStatus->text(), QString("Timeout acknowledging request for index file"));
    EXPECT_FALSE(f.statusHistory.contains("Index file downloaded"));
    EXPECT_EQ(w.lstUnitSettings->count(), 17); // the settings were applied before
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
}

TEST(SettingsDownload, AFailedIndexTransferSaysSo)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.faults.transfer.abortAtBlock = 1;
    LinkFixture f(options);
    frmMaster& w = f.start();
    f.logOn();
    EXPECT_EQ(w.lblStatus->text(), QString("File transfer failed"));
    EXPECT_FALSE(f.statusHistory.contains("Index file downloaded"));
    EXPECT_FALSE(QFile::exists(f.unitFolder() + "/MR-0101.IDX"));
}

TEST(SettingsDownload, AnOldSettingsFileIsNotReadWhenTheUnitIsSilent)
{
    LinkFixture f(silentOn('X'));
    frmMaster& w = f.start();
    writeTextFile(f.unitFolder() + "/MR-0101 Settings.txt", {"Parameters:115200,30"});
    f.logOn();
    EXPECT_NE(w.cboThreshold->currentText(), QString("30"));
    w.unitSettings->mnuSettings_Click();
    EXPECT_EQ(w.lstUnitSettings->count(), 0);
}

TEST(SettingsDownload, NothingIsCapturedWithoutAUnit)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.choosePort(); // the terminal's "Get Settings" needs only an open port
    w.cboUnits[0]->clear();
    w.filTST->setPath(QString());
    f.clearWire();
    w.cmdSettings->click();
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{"No unit selected"});
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_EQ(w.Comm->CaptureFile(), QString());
}

TEST(SettingsDownload, RefusedWhileTheLinkIsDownOrBusy)
{
    LinkFixture f;
    frmMaster& w = f.start();
    w.unitSettings->GET_SETTINGS();
    ASSERT_NE(f.dialogs.last(), nullptr);
    EXPECT_EQ(f.dialogs.last()->text, QString("No connection to Local Unit"));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::Ok);
    EXPECT_TRUE(f.sent.isEmpty());

    // A click that arrives while a reply wait runs is turned away.
    f.logOn();
    f.dialogs.clear();
    f.clearWire();
    bool clicked = false;
    const int pump = f.clock.addPump([&] {
        if (!clicked && w.Comm->TransferState() == 4) {
            clicked = true;
            w.unitSettings->GET_SETTINGS();
        }
    });
    w.terminal->cmdSettings_Click();
    f.clock.removePump(pump);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{"Communications in progress"});
    EXPECT_EQ(f.sent.count('X'), 1);
}
