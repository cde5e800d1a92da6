// The log-on and the settings download, against the simulated unit: the order on the wire, the
// stored file, the status line, and what happens when the unit does not answer.
#include "UnitSettingsFixture.h"
#include "link/ConnectionLifecycle.h"
#include "link/Terminal.h"
#include "retrieval/EventIndex.h"
#include "unitsettings/ControlPanel.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

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

TEST(SettingsDownload, LogOnStopsTheUnitThenFetchesTheSettingsAndTheIndexAndEnablesTheControls)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.armed = true; // found recording, as in the field
    LinkFixture f(options);
    frmMaster& w = f.open();
    w.connection->cmdConnect_Click();

    // "e" wakes the unit, "=" and "-" stop it (their times: UnitRoadTest); "X" comes after the
    // log-on's second and the wake-up's half second, "p" a second after the settings.
    ASSERT_EQ(commandsSent(f), (QByteArrayList{"e", "=", "-", "X", "p"}));
    EXPECT_GE(f.writes[3].first - f.writes[2].first, 1500);
    EXPECT_GE(f.writes[4].first - f.writes[3].first, 1000);
    const qsizetype at = f.statusHistory.indexOf("Disarming local unit...");
    EXPECT_EQ(f.statusHistory.mid(at, 6), (QStringList{"Disarming local unit...", "Local unit disarmed", "Requesting Settings",
                                                       "Settings downloaded", "Downloading Index ",
                                                       "Index request acknowledged"}));
    EXPECT_EQ(w.lblStatus->text(), QString("Index file downloaded"));
    EXPECT_EQ(w.cmdConnect->text(), QString("Disconnect from Local Unit"));
    for (QWidget* control : std::initializer_list<QWidget*>{w.cmdTest, w.cmdArm, w.cmdTrigger, w.cmdGetData, w.cmdSetID, w.cboThreshold})
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_FALSE(w.chkAutotest->isChecked());
    EXPECT_TRUE(f.dialogs.shown().empty());

    // The unit's text is stored as it came, "Finished X" line and all.
    QFile stored(f.unitFolder() + "/MR-0101 Settings.txt");
    const QByteArray text = stored.open(QIODevice::ReadOnly) ? stored.readAll() : QByteArray();
    EXPECT_TRUE(text.startsWith("M-R3X Local Unit M-R32\r\nParameters:115200,15,3,12,0,0,3,34,10,10,0,R2,"));
    EXPECT_TRUE(text.contains("SIM 4401\r\nFinished X"));
    EXPECT_TRUE(QFile::exists(f.unitFolder() + "/MR-0101.IDX"));
    ASSERT_EQ(w.lstUnitSettings->count(), 17);
    EXPECT_EQ(w.lstUnitSettings->item(6)->text(), QString("6: Trigger mode: 3"));

    // The watchdog's tick shows "Connected", which brings up the control panel.
    ASSERT_TRUE(w.Watchdog->isActive());
    w.connection->Watchdog_Timer();
    EXPECT_EQ(w.lblStatus->text(), QString("Connected"));
    EXPECT_FALSE(w.fraControls->isHidden());
    EXPECT_TRUE(w.fraSaxComm->isHidden());

    // The SIM number keeps its last character and is offered, not chosen, as a slave unit; the
    // next log-on does not offer it twice.
    const int slaveEntries = w.cboUnits[1]->count();
    EXPECT_GE(w.cboUnits[1]->findText("SIM 4401"), 0);
    EXPECT_EQ(w.cboUnits[1]->currentText(), QString("MR-0101"));
    w.connection->ARM_AND_DISCONNECT();
    f.logOn();
    EXPECT_EQ(w.cboUnits[1]->count(), slaveEntries);
}

TEST(SettingsDownload, ASettingsTextThatDoesNotArriveWholeGetsTheMessageAndIsNotKeptAndAMissingIndexEndsTheDownload)
{
    const QString problem = "Problem accessing settings of Local Unit\n"
                            "press OK to retrieve index of triggered events\n"
                            "and enable control panel";
    sim::SimOptions paced = LinkFixture::defaultOptions();
    paced.paced = true; // the text arrives a piece at a time, and the cable is pulled half-way
    sim::SimOptions aborted = LinkFixture::defaultOptions();
    aborted.faults.transfer.abortAtBlock = 1;
    struct Case {
        const char* what;
        sim::SimOptions options;
        QString message, lastStatus;
        int settingsListed;
    };
    const Case cases[] = {
        {"no answer to X", LinkFixture::silentOn({'X'}), problem, "Index file downloaded", 0},
        {"a cable pulled during the settings text", paced, problem, "Timeout acknowledging request for index file", 0},
        {"no answer to p", LinkFixture::silentOn({'p'}), "", "Timeout acknowledging request for index file", 17},
        {"an index transfer aborted", aborted, "", "File transfer failed", 17},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LinkFixture f(c.options);
        frmMaster& w = f.start();
        w.cboThreshold->setCurrentIndex(8); // "20": left as it is when no settings come
        // A file left from an earlier download is not read as this one's.
        writeTextFile(f.unitFolder() + "/MR-0101 Settings.txt", {"Parameters:115200,30"});
        QObject::connect(w.Comm, &SerialControl::ScreenChanged, w.Comm, [&] {
            const QString screen = w.Comm->ScreenText();
            if (c.options.paced && screen.contains("Parameters:") && !screen.contains("Finished")
                && !f.unit().lineLost(f.clock.nowMs()))
                f.unit().disconnect(f.clock.nowMs());
        });
        f.logOn();

        EXPECT_EQ(f.dialogs.messageTexts(), c.message.isEmpty() ? QStringList() : QStringList{c.message});
        EXPECT_EQ(w.lblStatus->text(), c.lastStatus);
        EXPECT_EQ(w.Comm->WaitTimeout(), 0);
        EXPECT_EQ(w.Comm->CaptureFile(), QString()); // the capture is closed
        EXPECT_EQ(f.statusHistory.contains("Index file downloaded"), c.lastStatus == "Index file downloaded");
        if (c.settingsListed == 0) {
            // Half a settings text would be listed as the unit's settings by the next look at them.
            EXPECT_EQ(w.cboThreshold->currentText(), QString("20"));
            w.unitSettings->mnuSettings_Click();
        } else {
            EXPECT_FALSE(QFile::exists(f.unitFolder() + "/MR-0101.IDX"));
        }
        EXPECT_EQ(w.lstUnitSettings->count(), c.settingsListed);
        if (&c == &cases[0]) { // the index is still asked for, and the panel enabled
            EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
            EXPECT_TRUE(f.statusHistory.contains("Timeout downloading Settings"));
            EXPECT_EQ(commandsSent(f), (QByteArrayList{"e", "=", "-", "X", "p"}));
            EXPECT_TRUE(w.cmdArm->isEnabled());
        }
    }
}

TEST(SettingsDownload, TheModelIsEachLoggedOnUnitsOwnAndIsForgottenWhenTheLinkCloses)
{
    // An "M-S32" on one port and an "M-R32" on another, worked one after the other in one run.
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.model = sim::Model::MS32;
    LinkFixture f(options);
    const auto mr32 = std::make_shared<sim::SimUnit>(LinkFixture::defaultOptions());
    const QString mr32Port = sim::simulatedPortName("M-R32");
    const TransportOpener ms32Ports = f.openPort;
    f.openPort = [&f, mr32, mr32Port, ms32Ports](const QString& name) -> std::unique_ptr<Transport> {
        if (name != mr32Port)
            return ms32Ports(name);
        return std::make_unique<RecordingTransport>(std::make_unique<sim::InProcessTransport>(f.clock, mr32), f.clock,
                                                    f.sent, f.received, f.writes);
    };
    frmMaster& w = f.start();
    w.cboCommports->addItem(mr32Port);

    f.logOn();
    EXPECT_EQ(w.lblHardware->text(), QString("M-S32"));
    EXPECT_EQ(w.lstIndex->count(), 40);
    w.connection->cmdConnect_Click(); // log off, OK to the arming question
    EXPECT_EQ(w.lblStatus->text(), QString("Disconnected"));
    EXPECT_EQ(w.lblHardware->text(), QString());

    w.optFSD[2]->setChecked(true);
    w.cboCommports->setCurrentText(mr32Port);
    w.connection->cboCommports_Click();
    w.connection->cmdConnect_Click();
    EXPECT_EQ(w.lblStatus->text(), QString("Index file downloaded"));
    EXPECT_EQ(w.lblHardware->text(), QString());
    EXPECT_EQ(w.lstIndex->count(), 20);
    EXPECT_TRUE(w.optFSD[0]->isChecked()) << "the current range is read from an M-R32";

    // Arming sends the set-up batch of an M-R32: time, identity, hardware.
    f.clearWire();
    f.dialogs.answer(MsgAnswer::Yes);
    w.controlPanel->cmdArm_MouseDown(Qt::LeftButton);
    static const QRegularExpression mr32Batch(
        "^T\\d{12}N\\d{6},Feeder 7 Fault {10},North Yard {14}, {16},\r\n\r\ng15, 3,0,0,3,034,10,10,0e$");
    EXPECT_TRUE(mr32Batch.match(QString::fromLatin1(f.sent)).hasMatch()) << f.sent.toStdString();
    EXPECT_TRUE(mr32->armed());
}

TEST(SettingsDownload, NoneStartsWithoutALinkOrAUnitAndChoosingAnotherUnitDuringOneFilesEverythingWithItsOwnUnit)
{
    LinkFixture f;
    frmMaster& w = f.start();
    w.unitSettings->GET_SETTINGS();
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{"No connection to Local Unit"});
    f.dialogs.clear();

    const QString other = f.addSecondUnit();
    // A settings file the other unit left behind must not be read as this unit's.
    writeTextFile(other + "/MR-0102 Settings.txt", {"Parameters:115200,30,9"});

    // The user picks the other unit while the unit's answer to "X", and later its answer to
    // "p", is awaited; the Get Index button fetches the index on its own.
    const std::tuple<QString, std::function<void()>, bool> cases[] = {
        {"Requesting Settings", [&] { f.logOn(); }, true},
        {"Downloading Index ", [&] { w.terminal->cmdSettings_Click(); }, true},
        {"Downloading Index ", [&] { w.eventIndex->cmdGetIndex_Click(); }, false},
    };
    for (const auto& [status, download, fetchesSettings] : cases) {
        SCOPED_TRACE(status.toStdString() + (fetchesSettings ? "" : " (Get Index)"));
        w.cboUnits[0]->setCurrentText("MR-0101");
        QFile::remove(f.unitFolder() + "/MR-0101.IDX");
        w.cboThreshold->setCurrentText("12");
        const auto choosing = f.whenStatus(status, [&] { w.cboUnits[0]->setCurrentText("MR-0102"); });
        download();
        QObject::disconnect(choosing);

        ASSERT_EQ(w.cboUnits[0]->currentText(), QString("MR-0102"));
        EXPECT_EQ(w.lblStatus->text(), QString("Index file downloaded"));
        EXPECT_TRUE(QFile::exists(f.unitFolder() + "/MR-0101 Settings.txt"));
        EXPECT_TRUE(QFile::exists(f.unitFolder() + "/MR-0101.IDX"));
        EXPECT_EQ(QDir(other).entryList(QDir::Files), QStringList{"MR-0102 Settings.txt"});
        EXPECT_EQ(w.cboThreshold->currentText(), QString(fetchesSettings ? "15" : "12")) << "the unit's own settings";
        // The list shows the index just fetched: the unit's 12 events.
        int events = 0;
        for (int row = 0; row < w.lstIndex->count(); ++row)
            events += w.lstIndex->item(row)->text().startsWith("00-00-00") ? 0 : 1;
        EXPECT_EQ(events, 12);
        EXPECT_TRUE(f.dialogs.shown().empty());
    }

    // Without a unit folder nothing is captured.
    w.filTST->setPath(QString());
    f.clearWire();
    w.cmdSettings->click();
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{"No unit selected"});
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_EQ(w.Comm->CaptureFile(), QString());
}
