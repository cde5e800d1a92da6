// Applying a stored settings file to the control panel: every range boundary with its message and
// default, the markers, the trigger mode from pulse and filter, short and missing files, and the
// settings view that lists without applying.
#include "UnitSettingsFixture.h"
#include "unitsettings/ControlPanel.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

/// Moves the panel away from every default, so a reset can be seen.
void moveEverythingAway(frmMaster& w)
{
    w.cboThreshold->setCurrentIndex(10);
    w.cboDuration->setCurrentIndex(5);
    w.cboPre_Post->setCurrentIndex(2);
    w.controlPanel->optFSD_MouseDown(3, Qt::LeftButton);
    w.controlPanel->optPhase_MouseDown(4, Qt::LeftButton);
    w.controlPanel->optTDRMode_MouseDown(1, Qt::LeftButton);
    w.controlPanel->optReference_MouseDown(2, Qt::LeftButton);
    w.controlPanel->optRange_MouseDown(1, Qt::LeftButton);
    w.cboTriggerMode->setCurrentIndex(4);
    w.sldPulse->setValue(7);
    w.sldGain->setValue(3);
    w.sldBalance->setValue(50);
}

} // namespace

TEST(SettingsFile, EveryValueOutOfRangeGetsItsMessageAndItsDefaultInTableOrder)
{
    LinkFixture f;
    frmMaster& w = f.start();
    moveEverythingAway(w);
    storeSettings(f, fieldsWith({{1, "36"}, {2, "11"}, {4, "8"}, {5, "6"}, {6, "4"}, {7, "96"}, {8, "21"}, {9, "61"},
                                 {10, "10"}}));
    w.unitSettings->PARSE_SETTINGS();

    const QStringList expected = {
        "Threshold  (36)\nvalue reset to default (15)",
        "Duration out of range (11)\n value reset to default (3)",
        "Current FSD out of range (8)\n value reset to default (0)",
        "Phase selection out of range (6)\n value reset to default (R-N)",
        "TDR/TRS Mode out of range (4)\n values reset to Mode=TDR",
        "Range/Pulse/Pre_Post out of range (96)\n values reset to Range=Short, Pulse=ON(2), Pre/Post=7/1",
        "Gain setting out of range (21)\n value reset to default (10)",
        "Balance setting out of range (61)\n value reset to default (10)",
        "Balance/Cross setting out of range (10)\n value reset to default (Echo mode and Internal)",
    };
    EXPECT_EQ(f.dialogs.messageTexts(), expected);
    for (const auto& shown : f.dialogs.shown()) {
        EXPECT_EQ(shown.icon, MsgIcon::Exclamation);
        EXPECT_EQ(shown.buttons, MsgButtons::Ok);
    }

    EXPECT_EQ(w.cboThreshold->currentText(), QString("15"));
    EXPECT_EQ(w.cboDuration->currentText(), QString(" 3"));
    EXPECT_TRUE(w.optFSD[0]->isChecked());
    EXPECT_EQ(w.lblFSDTag->text(), QString("0"));
    EXPECT_TRUE(w.optPhase[0]->isChecked());
    EXPECT_EQ(w.cboTriggerMode->currentIndex(), 0);
    EXPECT_TRUE(w.optRange[0]->isChecked());
    EXPECT_TRUE(w.chkPulseOn->isChecked());
    EXPECT_EQ(w.sldPulse->value(), 2);
    EXPECT_EQ(w.lblPulse->text(), QString("2"));
    EXPECT_EQ(w.cboPre_Post->currentText(), QString("7/1"));
    EXPECT_EQ(w.sldGain->value(), 10);
    EXPECT_EQ(w.lblTDRGain->text(), QString("10"));
    EXPECT_EQ(w.sldBalance->value(), 10);
    EXPECT_EQ(w.lblBalance->text(), QString("10"));
    EXPECT_TRUE(w.optTDRMode[0]->isChecked());
    EXPECT_TRUE(w.optReference[0]->isChecked());
    EXPECT_TRUE(w.optReference[0]->isEnabled());
    EXPECT_TRUE(w.sldBalance->isEnabled());
    // The mirrors follow.
    EXPECT_EQ(w.lblPhaseIndex->text(), QString("0"));
    EXPECT_EQ(w.lblModeTag->text(), QString("0"));
    EXPECT_EQ(w.lblBalanceIndex->text(), QString("0"));
    EXPECT_EQ(w.lblBalanceTag->text(), QString("0"));
    EXPECT_EQ(w.lblRangeIndex->text(), QString("0"));
    EXPECT_EQ(w.lblTriggerTag->text(), QString("2"));
    EXPECT_EQ(w.optReference[1]->text(), QString("Y-N"));
}

TEST(SettingsFile, TheLargestValuesInRangeAreTakenWithoutAWord)
{
    LinkFixture f;
    frmMaster& w = f.start();
    storeSettings(f, fieldsWith({{1, "35"}, {2, "10"}, {4, "7"}, {5, "5"}, {6, "3"}, {7, "95"}, {8, "20"}, {9, "60"},
                                 {10, "4"}}));
    w.unitSettings->PARSE_SETTINGS();

    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(w.cboThreshold->currentIndex(), 23);
    EXPECT_EQ(w.cboThreshold->currentText(), QString("35"));
    EXPECT_EQ(w.cboDuration->currentText(), QString(" 10"));
    EXPECT_TRUE(w.optFSD[3]->isChecked());
    EXPECT_EQ(w.lblFSDTag->text(), QString("7"));
    EXPECT_TRUE(w.optPhase[5]->isChecked());
    EXPECT_EQ(w.lblPhaseTag->text(), QString("5"));
    EXPECT_EQ(w.cboTriggerMode->currentIndex(), 0); // mode 3 is TDR
    // 95: long range, pulse on at width 8, pre/post entry 2.
    EXPECT_TRUE(w.optRange[1]->isChecked());
    EXPECT_EQ(w.lblRangeIndex->text(), QString("1"));
    EXPECT_TRUE(w.chkPulseOn->isChecked());
    EXPECT_EQ(w.sldPulse->value(), 8);
    EXPECT_EQ(w.lblPulse->text(), QString("8"));
    EXPECT_EQ(w.cboPre_Post->currentText(), QString("5/3"));
    EXPECT_EQ(w.sldGain->value(), 20);
    EXPECT_EQ(w.sldBalance->value(), 60);
    // Balance code 4: Cross against reference button 1, which reads "Y-R" against phase "B-R".
    EXPECT_TRUE(w.optTDRMode[1]->isChecked());
    EXPECT_TRUE(w.optReference[1]->isChecked());
    EXPECT_EQ(w.optReference[1]->text(), QString("Y-R"));
    EXPECT_EQ(w.optReference[2]->text(), QString("B-Y"));
    EXPECT_FALSE(w.optReference[0]->isEnabled());
    EXPECT_FALSE(w.sldBalance->isEnabled());
    EXPECT_EQ(w.lblBalanceTag->text(), QString("4"));
    EXPECT_EQ(w.lblModeTag->text(), QString("2"));
}

TEST(SettingsFile, CurrentCodesAndTheMS32)
{
    LinkFixture f;
    frmMaster& w = f.start();
    storeSettings(f, fieldsWith({{4, "3"}}));
    w.unitSettings->PARSE_SETTINGS();
    EXPECT_TRUE(w.optFSD[2]->isChecked()); // "2kA"
    EXPECT_EQ(w.optFSD[2]->text(), QString("2kA"));
    EXPECT_EQ(w.lblFSDIndex->text(), QString("2"));
    EXPECT_EQ(w.lblFSDTag->text(), QString("3"));

    // Codes 2, 4, 5 and 6 leave the buttons as they were.
    for (const char* code : {"2", "4", "5", "6"}) {
        storeSettings(f, fieldsWith({{4, code}}));
        w.unitSettings->PARSE_SETTINGS();
        EXPECT_TRUE(w.optFSD[2]->isChecked()) << code;
        EXPECT_EQ(w.lblFSDTag->text(), QString("3")) << code;
    }
    EXPECT_TRUE(f.dialogs.shown().empty());

    // An "M-S32" ("E1") is named on the status line, and its FSD field is not read at all.
    storeSettings(f, fieldsWith({{4, "8"}, {11, "E1"}}));
    w.unitSettings->PARSE_SETTINGS();
    EXPECT_EQ(w.lblHardware->text(), QString("M-S32"));
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_TRUE(w.optFSD[2]->isChecked());
    // It stays named so until the program ends.
    storeSettings(f, unitFields());
    w.unitSettings->PARSE_SETTINGS();
    EXPECT_EQ(w.lblHardware->text(), QString("M-S32"));
}

TEST(SettingsFile, BalanceCodesChooseModeReferenceAndFilterByTheTagsSent)
{
    LinkFixture f;
    frmMaster& w = f.start();
    // 1 to 4 name the reference by its tag (Echo 2 and 1, Cross 4 and 3); 5 to 9 turn the filter
    // off and leave mode and reference as the panel shows them.
    const struct {
        const char* code;
        int mode;
        int reference;
        const char* tag;
        bool filterOn;
    } cases[] = {{"1", 0, 2, "1", true}, {"2", 0, 1, "2", true}, {"3", 1, 2, "3", true}, {"4", 1, 1, "4", true},
                 {"6", 1, 1, "4", false}, {"0", 0, 0, "0", true}, {"8", 0, 0, "0", false}, {"5", 0, 0, "0", false}};
    for (const auto& c : cases) {
        storeSettings(f, fieldsWith({{10, c.code}}));
        w.unitSettings->PARSE_SETTINGS();
        EXPECT_TRUE(w.optTDRMode[static_cast<std::size_t>(c.mode)]->isChecked()) << c.code;
        EXPECT_TRUE(w.optReference[static_cast<std::size_t>(c.reference)]->isChecked()) << c.code;
        EXPECT_EQ(w.optReference[0]->isEnabled(), c.mode == 0) << c.code;
        EXPECT_EQ(w.lblBalanceTag->text(), QString(c.tag)) << c.code;
        EXPECT_EQ(w.chkFilter->isChecked(), c.filterOn) << c.code;
    }
    EXPECT_TRUE(f.dialogs.shown().empty());
}

TEST(SettingsFile, TheTriggerModeFollowsPulseAndFilter)
{
    LinkFixture f;
    frmMaster& w = f.start();
    const struct {
        const char* mode;
        const char* hardware; // bit 1: pulse on
        const char* balance;  // 5 and up: filter off
        int entry;
    } cases[] = {{"1", "34", "0", 1}, {"0", "34", "5", 2}, {"1", "32", "0", 3}, {"0", "0", "7", 4}, {"2", "34", "0", 0}};
    for (const auto& c : cases) {
        storeSettings(f, fieldsWith({{6, c.mode}, {7, c.hardware}, {10, c.balance}}));
        w.unitSettings->PARSE_SETTINGS();
        EXPECT_EQ(w.cboTriggerMode->currentIndex(), c.entry) << c.mode << " " << c.hardware << " " << c.balance;
        EXPECT_EQ(w.lblTriggerTag->text(), QString(c.entry == 0 ? "2" : "0"));
        EXPECT_EQ(w.fraTDRPulse->isEnabled(), c.entry < 3);
    }
    EXPECT_EQ(w.cboTriggerMode->currentText(), QString("TDR Voltage Dip & Current"));

    // A TDR unit with its filter off and no pulse is shown so, not as the TDR entry's defaults.
    w.cboTriggerMode->setCurrentIndex(4);
    storeSettings(f, fieldsWith({{6, "2"}, {7, "32"}, {10, "5"}}));
    w.unitSettings->PARSE_SETTINGS();
    EXPECT_EQ(w.cboTriggerMode->currentIndex(), 0);
    EXPECT_EQ(w.lblTriggerTag->text(), QString("2"));
    EXPECT_FALSE(w.chkFilter->isChecked());
    EXPECT_FALSE(w.chkPulseOn->isChecked());
}

TEST(SettingsFile, GprsUnitsHideTheirLineSpeed)
{
    LinkFixture f;
    frmMaster& w = f.start();
    storeSettings(f, fieldsWith({{11, "DA"}}));
    w.unitSettings->PARSE_SETTINGS();
    EXPECT_TRUE(w.chkGPRS->isChecked());
    EXPECT_EQ(w.lstUnitSettings->item(0)->text(), QString("0: Baud rate: ......"));
    EXPECT_EQ(w.lstUnitSettings->item(11)->text(), QString("11: Version: DA"));
    EXPECT_EQ(w.lblHardware->text(), QString());

    storeSettings(f, unitFields());
    w.unitSettings->PARSE_SETTINGS();
    EXPECT_FALSE(w.chkGPRS->isChecked());
    EXPECT_EQ(w.lstUnitSettings->item(0)->text(), QString("0: Baud rate: 115200"));
}

TEST(SettingsFile, AShortFileChangesOnlyWhatItHolds)
{
    LinkFixture f;
    frmMaster& w = f.start();
    moveEverythingAway(w);
    w.chkGPRS->setChecked(true);
    const PanelState before = panelState(w);
    writeTextFile(f.unitFolder() + "/MR-0101 Settings.txt", {"M-R3X Local Unit", "Parameters:9600,20,4", "Finished X"});
    w.unitSettings->PARSE_SETTINGS();

    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(w.cboThreshold->currentText(), QString("20"));
    EXPECT_EQ(w.cboDuration->currentText(), QString(" 4"));
    PanelState expected = before;
    expected.threshold = "20";
    expected.duration = " 4";
    EXPECT_EQ(panelState(w), expected);
    EXPECT_TRUE(w.chkGPRS->isChecked());
    ASSERT_EQ(w.lstUnitSettings->count(), 2);
    EXPECT_EQ(w.lstUnitSettings->item(1)->text(), QString("1: Voltage threshold: 20"));
    EXPECT_EQ(w.lblStatus->text(), QString()); // nothing to report
}

TEST(SettingsFile, AMissingFileChangesNothing)
{
    LinkFixture f;
    frmMaster& w = f.start();
    moveEverythingAway(w);
    w.lstUnitSettings->addItem("left from before");
    const PanelState before = panelState(w);
    w.unitSettings->PARSE_SETTINGS();
    EXPECT_EQ(w.lstUnitSettings->count(), 0);
    EXPECT_EQ(panelState(w), before);
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(w.program.ParameterLabels[6], QString("Trigger mode: "));
    EXPECT_EQ(w.program.ParameterLabels[7], QString("Pre-trigger/Pulse/Range: "));
}

TEST(SettingsFile, TheSettingsViewListsTheStoredFileWithoutApplyingIt)
{
    LinkFixture f;
    frmMaster& w = f.start();
    storeSettings(f, fieldsWith({{1, "30"}, {11, "DA"}}));
    const PanelState before = panelState(w);
    w.mnuSettings->trigger();

    EXPECT_FALSE(w.fraSettingsViewer->isHidden());
    ASSERT_EQ(w.lstUnitSettings->count(), 17);
    EXPECT_EQ(w.lstUnitSettings->item(0)->text(), QString("0: Baud rate: ......"));
    EXPECT_EQ(w.lstUnitSettings->item(1)->text(), QString("1: Voltage threshold: 30"));
    // The labels read before any download are the start-up ones.
    EXPECT_EQ(w.lstUnitSettings->item(6)->text(), QString("6: Gain hi-lo/Trigger mode: 3"));
    EXPECT_EQ(w.lblPar11->text(), QString("DA"));
    EXPECT_TRUE(w.chkGPRS->isChecked());
    EXPECT_EQ(panelState(w), before);
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(w.cboUnits[1]->findText("SIM 4401"), -1);

    emit w.lblHide_Settings->Click();
    EXPECT_TRUE(w.fraSettingsViewer->isHidden());
}
