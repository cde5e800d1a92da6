// Applying a stored settings file to the control panel: every range boundary with its message and
// default, the markers, the trigger mode from pulse and filter, short and missing files, and the
// settings view that lists without applying.
#include "UnitSettingsFixture.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

/// The panel away from every default, so a reset can be seen.
const Choices awayFromDefaults{"TRS MASTER (Filter ON)", 10, 5, 3, 4, 1, 2, 1, 7, 2, 3, 50, true, true};

} // namespace

TEST(SettingsFile, TheViewListsWithoutApplyingAMissingOrShortFileChangesOnlyWhatItHoldsAndEveryValueOutOfRangeIsReset)
{
    Unit f(Unit::LogOn::No);
    frmMaster& w = f.w;
    const QString defaults = panelState(w);
    storeSettings(f, fieldsWith({{1, "30"}, {11, "DA"}}));
    w.mnuSettings->trigger();

    EXPECT_FALSE(w.fraSettingsViewer->isHidden());
    ASSERT_EQ(w.lstUnitSettings->count(), 17);
    EXPECT_EQ(w.lstUnitSettings->item(0)->text(), QString("0: Baud rate: ......"));
    EXPECT_EQ(w.lstUnitSettings->item(1)->text(), QString("1: Voltage threshold: 30"));
    // The labels read before any download are the start-up ones.
    EXPECT_EQ(w.lstUnitSettings->item(6)->text(), QString("6: Gain hi-lo/Trigger mode: 3"));
    EXPECT_EQ(w.lblPar11->text(), QString("DA"));
    EXPECT_TRUE(w.chkGPRS->isChecked());
    EXPECT_EQ(panelState(w), defaults);
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_EQ(w.cboUnits[1]->findText("SIM 4401"), -1);
    emit w.lblHide_Settings->Click();
    EXPECT_TRUE(w.fraSettingsViewer->isHidden());

    // Applied, a unit that is not a GPRS one shows its line speed again.
    f.apply(fieldsWith());
    EXPECT_FALSE(w.chkGPRS->isChecked());
    EXPECT_EQ(w.lstUnitSettings->item(0)->text(), QString("0: Baud rate: 115200"));
    EXPECT_EQ(w.lblHardware->text(), QString());

    // A missing file changes nothing, and a short one only what it holds.
    removeFile(f.unitFolder() + "/MR-0101 Settings.txt");
    choose(w, awayFromDefaults);
    w.chkGPRS->setChecked(true);
    w.lstUnitSettings->addItem("left from before");
    const QString chosen = panelState(w);
    w.unitSettings->PARSE_SETTINGS();
    EXPECT_EQ(w.lstUnitSettings->count(), 0);
    EXPECT_EQ(panelState(w), chosen);

    writeTextFile(f.unitFolder() + "/MR-0101 Settings.txt", {"M-R3X Local Unit", "Parameters:9600,20,4", "Finished X"});
    w.unitSettings->PARSE_SETTINGS();
    EXPECT_EQ(w.cboThreshold->currentText() + w.cboDuration->currentText(), QString("20 4"));
    ASSERT_EQ(w.lstUnitSettings->count(), 2);
    EXPECT_EQ(w.lstUnitSettings->item(1)->text(), QString("1: Voltage threshold: 20"));
    EXPECT_TRUE(w.chkGPRS->isChecked());
    EXPECT_TRUE(f.dialogs.shown().empty());
    w.cboThreshold->setCurrentIndex(awayFromDefaults.threshold);
    w.cboDuration->setCurrentIndex(awayFromDefaults.duration);
    EXPECT_EQ(panelState(w), chosen); // nothing else moved

    // Every value out of range gets its message and default; the largest in range are taken
    // without a word.
    f.dialogs.clear();
    f.apply(fieldsWith(
        {{1, "36"}, {2, "11"}, {4, "8"}, {5, "6"}, {6, "4"}, {7, "96"}, {8, "21"}, {9, "61"}, {10, "10"}}));

    EXPECT_EQ(f.dialogs.messageTexts(),
              (QStringList{
                  "Threshold  (36)\nvalue reset to default (15)",
                  "Duration out of range (11)\n value reset to default (3)",
                  "Current FSD out of range (8)\n value reset to default (0)",
                  "Phase selection out of range (6)\n value reset to default (R-N)",
                  "TDR/TRS Mode out of range (4)\n values reset to Mode=TDR",
                  "Range/Pulse/Pre_Post out of range (96)\n values reset to Range=Short, Pulse=ON(2), Pre/Post=7/1",
                  "Gain setting out of range (21)\n value reset to default (10)",
                  "Balance setting out of range (61)\n value reset to default (10)",
                  "Balance/Cross setting out of range (10)\n value reset to default (Echo mode and Internal)",
              }));
    for (const auto& shown : f.dialogs.shown())
        EXPECT_EQ(shown.icon, MsgIcon::Exclamation);

    // The panel is back as the window starts, and so is what the commands read from it.
    EXPECT_EQ(panelState(w), defaults);
    EXPECT_EQ((QStringList{w.lblFSDTag->text(), w.lblPhaseIndex->text(), w.lblRangeIndex->text(), w.lblBalanceTag->text(),
                           w.lblTriggerTag->text(), w.lblPulse->text(), w.lblTDRGain->text()}),
              (QStringList{"0", "0", "0", "0", "2", "2", "10"}));
    EXPECT_TRUE(w.sldBalance->isEnabled());

    // The largest values in range, the current codes and the trigger mode are taken without a word.
    f.dialogs.clear();
    f.apply(fieldsWith(
        {{1, "35"}, {2, "10"}, {4, "7"}, {5, "5"}, {6, "3"}, {7, "95"}, {8, "20"}, {9, "60"}, {10, "4"}}));
    // FSD code 7 on button 3; mode 3 is TDR; 95: long range, pulse on at width 8, pre/post entry 2;
    // balance code 4: Cross against reference button 1, which reads "Y-R" against phase "B-R".
    EXPECT_EQ((QStringList{w.cboThreshold->currentText(), w.cboDuration->currentText(), w.lblFSDTag->text(),
                           w.cboTriggerMode->currentText(), w.lblRangeIndex->text(), w.lblPulse->text(),
                           w.cboPre_Post->currentText(), w.lblBalanceTag->text(), w.optReference[1]->text()}),
              (QStringList{"35", " 10", "7", "TDR Voltage Dip & Current", "1", "8", "5/3", "4", "Y-R"}));
    EXPECT_EQ((std::array{w.sldGain->value(), w.sldBalance->value()}), (std::array{20, 60}));
    for (const QAbstractButton* chosen :
         std::initializer_list<QAbstractButton*>{w.optFSD[3], w.optPhase[5], w.optTDRMode[1], w.optReference[1], w.chkPulseOn})
        EXPECT_TRUE(chosen->isChecked()) << chosen->objectName().toStdString();

    f.apply(fieldsWith({{4, "3"}}));
    EXPECT_TRUE(w.optFSD[2]->isChecked());
    EXPECT_EQ(w.optFSD[2]->text() + " " + w.lblFSDTag->text(), QString("2kA 3"));
    // Code 2 is in range but names no button: the buttons stay as they were.
    f.apply(fieldsWith({{4, "2"}}));
    EXPECT_EQ(w.lblFSDTag->text(), QString("3"));
    // An "M-S32" ("E1") is named on the status line, and its FSD field is not read at all.
    f.apply(fieldsWith({{4, "8"}, {11, "E1"}}));
    EXPECT_EQ(w.lblHardware->text(), QString("M-S32"));
    EXPECT_EQ(w.lblFSDTag->text(), QString("3"));
    EXPECT_TRUE(f.dialogs.shown().empty());

    // Field 6 the mode (0 and 1 TRS, 2 TDR); field 7 bit 1 pulse on; field 10 from 5 filter off. The
    // last case comes from a TRS entry: the TDR unit keeps its filter off and no pulse, whatever the
    // TDR entry itself would set.
    const std::array<const char*, 4> cases[] = {
        {"1", "34", "0", "TRS MASTER (Filter ON)"}, {"0", "34", "6", "TRS MASTER (Filter OFF)"},
        {"1", "32", "0", "TRS SLAVE (Filter ON)"},  {"0", "0", "7", "TRS SLAVE (Filter OFF)"},
        {"2", "32", "5", "TDR Voltage Dip & Current"}};
    for (const auto& [mode, hardware, balance, entry] : cases) {
        f.apply(fieldsWith({{6, mode}, {7, hardware}, {10, balance}}));
        EXPECT_EQ(w.cboTriggerMode->currentText(), QString(entry));
        EXPECT_EQ(w.chkPulseOn->isChecked(), (QString(hardware).toInt() & 2) != 0) << entry;
        EXPECT_EQ(w.chkFilter->isChecked(), QString(balance).toInt() < 5) << entry;
    }
    EXPECT_EQ(w.lblHardware->text(), QString()) << "an M-R32 (\"R2\") after the M-S32 is named by no label";

    // Balance mode 6 turns the filter off and leaves mode and reference as the panel shows them.
    w.controlPanel->optTDRMode_MouseDown(1, Qt::LeftButton);
    w.controlPanel->optReference_MouseDown(2, Qt::LeftButton);
    f.apply(fieldsWith({{10, "6"}}));
    EXPECT_FALSE(w.chkFilter->isChecked());
    EXPECT_TRUE(w.optTDRMode[1]->isChecked());
    EXPECT_EQ(w.lblBalanceTag->text(), QString("3"));
}
