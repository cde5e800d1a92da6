// The setting commands and their batches on the wire, against the simulated unit.
#include "UnitSettingsFixture.h"
#include "unitsettings/SettingCommands.h"

#include <QLocale>

#include <filesystem>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

TEST(SettingCommands, TheIdRecordTheTimeThresholdDurationAndHardwareCommands)
{
    Unit f(Unit::LogOn::No);
    f.w.settingCommands->SET_ID();
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{"No connection to unit "});
    EXPECT_TRUE(f.sent.isEmpty());

    f.logOn();
    // The master location folder's date, as a file manager would set it.
    namespace fs = std::filesystem;
    const auto march = std::chrono::seconds(QDateTime::currentDateTime().secsTo(f.clock.currentDateTime()));
    fs::last_write_time(QFileInfo(f.unitFolder()).path().toStdString(), fs::file_time_type::clock::now() + march);
    // Whatever the PC's date format, the unit gets year, month and day.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    f.fresh();
    f.w.settingCommands->SET_ID();
    QLocale::setDefault(before);
    // Job and location are padded to 24 characters.
    EXPECT_EQ(f.sent, QByteArray("N310307,Feeder 7 Fault          ,North Yard              ,                ,"));
    EXPECT_EQ(f.statuses(), QString("Setting ID | ID set"));
    EXPECT_EQ(f.unit().settings().job, "Feeder 7 Fault");

    // A longer job name is cut.
    {
        const QSignalBlocker quiet(f.w.cboJobs[0]);
        f.w.cboJobs[0]->addItem("Feeder 7 Fault and the substation beyond");
        f.w.cboJobs[0]->setCurrentIndex(f.w.cboJobs[0]->count() - 1);
    }
    f.fresh();
    f.w.cmdSetID->click();
    EXPECT_EQ(f.sent, QByteArray("N310307,Feeder 7 Fault and the s,North Yard              ,                ,"));

    // The time, threshold, duration and hardware commands.
    frmMaster& w = f.w;
    f.clock.setDateTime(QDateTime(QDate(2031, 3, 7), QTime(9, 5, 3)));
    f.fresh();
    w.settingCommands->SET_TIME();
    EXPECT_EQ(f.sent, QByteArray("T310307090503"));
    EXPECT_EQ(f.statuses(), QString("Setting Date and Time = 31/03/07  09:05:03 | Time set"));

    // " 3" keeps its blank on the wire and loses it on the status line.
    f.fresh();
    w.settingCommands->SET_DURATION();
    EXPECT_EQ(f.sent, QByteArray("d 3"));
    EXPECT_EQ(f.statuses(), QString("Setting trigger duration = 3 samples | Trigger duration set"));

    f.fresh();
    w.cboDuration->setCurrentIndex(8);
    w.cboThreshold->setCurrentIndex(23);
    w.settingCommands->SET_DURATION();
    w.settingCommands->SET_THRESHOLD();
    EXPECT_EQ(f.sent, QByteArray("d10h35"));
    EXPECT_TRUE(f.statuses().endsWith("Setting trigger threshold = 35 | Trigger threshold set"));

    // The hardware command carries the panel: threshold 20, duration 3, "2kA", phase "Y-B", TDR with F/T, 400m, pulse width 3, "6/2",
    // gain 5, balance 7, "Internal" with the filter off.
    choose(w, {"TDR Voltage Dip & Current", 8, 1, 2, 4, 0, 0, 0, 3, 1, 5, 7, true, false});
    w.chkFileTransfer->setChecked(true);
    f.fresh();
    w.settingCommands->SET_HARDWARE();
    EXPECT_TRUE(f.sent.startsWith("\r\n\r\ng20, 3,3,4,2,042,05,07,5")) << f.sent.toStdString();
    EXPECT_EQ(f.statuses(), QString("Setting hardware | TDR hardware set"));

    // Without F/T the mode digit carries 3; Cross against reference 2 sends its tag, 3. The
    // widest values: duration 10, 800m at width 8 with "5/3", gain 20, balance 60.
    choose(w, {"TDR Voltage Dip & Current", 8, 8, 2, 4, 1, 2, 1, 8, 2, 20, 60, true, false});
    w.chkFileTransfer->setChecked(false);
    f.fresh();
    w.settingCommands->SET_HARDWARE();
    EXPECT_EQ(f.sent, QByteArray("\r\n\r\ng20,10,3,4,3,095,20,60,8"));

    // With the pulse off the byte carries no width.
    w.chkPulseOn->setChecked(false);
    w.cboPre_Post->setCurrentIndex(0);
    f.fresh();
    w.settingCommands->SET_HARDWARE();
    EXPECT_TRUE(f.sent.contains(",001,"));
}

TEST(SettingCommands, NoToABatchQuestionSendsNothingFurtherAndEachFailedStepAsksItsOwn)
{
    Unit f(Unit::LogOn::Yes, Unit::silentOn({'T', 'N', 'g', 'h', 'd'}));
    f.dialogs.answer(MsgAnswer::No);
    f.w.settingCommands->SEND_TRIGGER_SETTINGS();
    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Problem setting time\nDo you wish to continue?"));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::YesNo);
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_EQ(f.sent, QByteArray("T310307090503"));

    // Yes (the first button, taken when nothing is queued) goes on with the next steps.
    f.fresh();
    f.dialogs.clear();
    f.w.settingCommands->SEND_TRIGGER_SETTINGS();
    EXPECT_EQ(f.sent.mid(13), QByteArray("h15d 3")); // after the time command
    f.w.settingCommands->SEND_UNIT_SETUP();
    EXPECT_EQ(f.w.lblStatus->text(), QString("Timeout setting hardware"));
    const QString problem = "Problem setting %1\nDo you wish to continue?";
    EXPECT_EQ(f.dialogs.messageTexts(), (QStringList{problem.arg("time"), problem.arg("trigger threshold"),
                                                     problem.arg("trigger duration"), problem.arg("time"),
                                                     problem.arg("ID information"), problem.arg("TDR hardware")}));
    EXPECT_EQ(f.w.Comm->WaitTimeout(), 0);
}
