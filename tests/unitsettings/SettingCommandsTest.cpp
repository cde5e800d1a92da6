// The setting commands and their batches on the wire, against the simulated unit.
#include "UnitSettingsFixture.h"
#include "unitsettings/ControlPanel.h"
#include "unitsettings/SettingCommands.h"

#include <QLocale>

#include <filesystem>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

const QDateTime seventhOfMarch(QDate(2031, 3, 7), QTime(9, 5, 3));

sim::SimOptions silentOn(std::initializer_list<char> letters)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    for (char letter : letters)
        options.faults.silent.push_back({letter, 0});
    return options;
}

QString statusesSince(const LinkFixture& f, int from)
{
    return f.statusHistory.mid(from).join(" | ");
}

} // namespace

TEST(SettingCommands, TheTimeThresholdAndDurationCommands)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.logOn();
    f.clock.setDateTime(seventhOfMarch);
    f.clearWire();
    int from = f.statusHistory.size();
    w.settingCommands->SET_TIME();
    EXPECT_EQ(f.sent, QByteArray("T310307090503"));
    EXPECT_EQ(statusesSince(f, from), QString("Setting Date and Time = 31/03/07  09:05:03 | Time set"));
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);

    // " 3" keeps its blank on the wire and loses it on the status line.
    f.clearWire();
    from = f.statusHistory.size();
    w.settingCommands->SET_DURATION();
    EXPECT_EQ(f.sent, QByteArray("d 3"));
    EXPECT_EQ(statusesSince(f, from), QString("Setting trigger duration = 3 samples | Trigger duration set"));

    f.clearWire();
    from = f.statusHistory.size();
    w.cboDuration->setCurrentIndex(8);
    w.cboThreshold->setCurrentIndex(23);
    w.settingCommands->SET_DURATION();
    w.settingCommands->SET_THRESHOLD();
    EXPECT_EQ(f.sent, QByteArray("d10h35"));
    EXPECT_TRUE(statusesSince(f, from).endsWith("Setting trigger threshold = 35 | Trigger threshold set"));
}

TEST(SettingCommands, TheHardwareCommandCarriesThePanel)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.logOn();
    // Threshold 20, duration 3, "2kA", phase "Y-B", TDR with F/T, 400m, pulse width 3, "6/2",
    // gain 5, balance 7, "Internal" with the filter off.
    w.cboThreshold->setCurrentIndex(8);
    w.controlPanel->optFSD_MouseDown(2, Qt::LeftButton);
    w.controlPanel->optPhase_MouseDown(4, Qt::LeftButton);
    w.chkFileTransfer->setChecked(true);
    w.sldPulse->setValue(3);
    w.cboPre_Post->setCurrentIndex(1);
    w.sldGain->setValue(5);
    w.sldBalance->setValue(7);
    w.chkFilter->setChecked(false);
    f.clearWire();
    const int from = f.statusHistory.size();
    w.settingCommands->SET_HARDWARE();

    EXPECT_TRUE(f.sent.startsWith("\r\n\r\ng20, 3,3,4,2,042,05,07,5")) << f.sent.toStdString();
    EXPECT_EQ(statusesSince(f, from), QString("Setting hardware | TDR hardware set"));

    // Without F/T the mode digit carries 3; Cross against reference 2 sends its tag, 3. The
    // widest values: duration 10, 800m at width 8 with "5/3", gain 20, balance 60.
    w.chkFileTransfer->setChecked(false);
    w.controlPanel->optTDRMode_MouseDown(1, Qt::LeftButton);
    w.controlPanel->optReference_MouseDown(2, Qt::LeftButton);
    w.controlPanel->optRange_MouseDown(1, Qt::LeftButton);
    w.cboDuration->setCurrentText(" 10");
    w.sldPulse->setValue(8);
    w.cboPre_Post->setCurrentIndex(2);
    w.sldGain->setValue(20);
    w.sldBalance->setValue(60);
    f.clearWire();
    w.settingCommands->SET_HARDWARE();
    EXPECT_EQ(f.sent, QByteArray("\r\n\r\ng20,10,3,4,3,095,20,60,8"));

    // With the pulse off the byte carries no width.
    w.chkPulseOn->setChecked(false);
    w.cboPre_Post->setCurrentIndex(0);
    f.clearWire();
    w.settingCommands->SET_HARDWARE();
    EXPECT_TRUE(f.sent.contains(",001,"));
}

TEST(SettingCommands, TheIdRecordNamesTheLocationDateJobAndLocation)
{
    LinkFixture f;
    frmMaster& w = f.start();
    w.settingCommands->SET_ID();
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{"No connection to unit "});
    EXPECT_TRUE(f.sent.isEmpty());

    f.logOn();
    // The master location folder's date, as a file manager would set it.
    namespace fs = std::filesystem;
    const fs::path location = QFileInfo(f.unitFolder()).path().toStdString();
    fs::last_write_time(location, fs::file_time_type::clock::now() +
                                      std::chrono::seconds(QDateTime::currentDateTime().secsTo(seventhOfMarch)));
    // Whatever the PC's date format, the unit gets year, month and day.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    f.clearWire();
    const int from = f.statusHistory.size();
    w.settingCommands->SET_ID();
    QLocale::setDefault(before);

    // Job and location are padded to 24 characters.
    EXPECT_EQ(f.sent, QByteArray("N310307,Feeder 7 Fault          ,North Yard              ,                ,"));
    EXPECT_EQ(statusesSince(f, from), QString("Setting ID | ID set"));
    EXPECT_EQ(f.unit().settings().job, "Feeder 7 Fault");

    // A longer job name is cut.
    {
        const QSignalBlocker quiet(w.cboJobs[0]);
        w.cboJobs[0]->addItem("Feeder 7 Fault and the substation beyond");
        w.cboJobs[0]->setCurrentIndex(w.cboJobs[0]->count() - 1);
    }
    f.clearWire();
    w.cmdSetID->click();
    EXPECT_EQ(f.sent, QByteArray("N310307,Feeder 7 Fault and the s,North Yard              ,                ,"));
    EXPECT_EQ(f.unit().settings().job, "Feeder 7 Fault and the s");
}

TEST(SettingCommands, NoToABatchQuestionSendsNothingFurther)
{
    LinkFixture f(silentOn({'T'}));
    frmMaster& w = f.start();
    f.logOn();
    f.clock.setDateTime(seventhOfMarch);
    f.clearWire();
    f.dialogs.answer(MsgAnswer::No);
    w.settingCommands->SEND_TRIGGER_SETTINGS();
    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Problem setting time\nDo you wish to continue?"));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::YesNo);
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_EQ(f.sent, QByteArray("T310307090503"));

    // Yes goes on with the next steps.
    f.clock.setDateTime(seventhOfMarch);
    f.clearWire();
    f.dialogs.answer(MsgAnswer::Yes);
    w.settingCommands->SEND_TRIGGER_SETTINGS();
    EXPECT_EQ(f.sent, QByteArray("T310307090503h15d 3"));
}

TEST(SettingCommands, EachFailedStepAsksItsOwnQuestion)
{
    LinkFixture f(silentOn({'N', 'g', 'h', 'd'}));
    frmMaster& w = f.start();
    f.logOn();
    w.settingCommands->SEND_UNIT_SETUP(); // unanswered questions go on (Yes is the first button)
    EXPECT_EQ(w.lblStatus->text(), QString("Timeout setting hardware"));
    w.settingCommands->SEND_TRIGGER_SETTINGS();
    EXPECT_EQ(f.dialogs.messageTexts(), (QStringList{"Problem setting ID information\nDo you wish to continue?",
                                                     "Problem setting TDR hardware\nDo you wish to continue?",
                                                     "Problem setting trigger threshold\nDo you wish to continue?",
                                                     "Problem setting trigger duration\nDo you wish to continue?"}));
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);
}
