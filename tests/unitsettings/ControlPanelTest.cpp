// The control panel's reactions, driven through its controls' own events.
#include "UnitSettingsFixture.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

void press(OptionButton* button, Qt::MouseButton mouse = Qt::LeftButton)
{
    emit button->MouseDown(mouse);
}

} // namespace

TEST(ControlPanel, TheTriggerModeListSetsFilterPulseAndTag)
{
    LinkFixture f;
    frmMaster& w = f.start();
    w.cboTriggerMode->setCurrentText("TRS SLAVE (Filter OFF)");
    EXPECT_FALSE(w.chkFilter->isChecked());
    EXPECT_FALSE(w.chkPulseOn->isChecked());
    EXPECT_EQ(w.lblTriggerIndex->text(), QString("1"));
    EXPECT_EQ(w.lblTriggerTag->text(), QString("0"));
    EXPECT_FALSE(w.fraTDRPulse->isEnabled());

    w.cboTriggerMode->setCurrentText("TRS MASTER (Filter OFF)");
    EXPECT_FALSE(w.chkFilter->isChecked());
    EXPECT_TRUE(w.chkPulseOn->isChecked());
    EXPECT_TRUE(w.fraTDRPulse->isEnabled());

    w.cboTriggerMode->setCurrentText("TDR Voltage Dip & Current");
    EXPECT_TRUE(w.chkFilter->isChecked());
    EXPECT_TRUE(w.chkPulseOn->isChecked());
    EXPECT_EQ(w.lblTriggerIndex->text(), QString("0"));
    EXPECT_EQ(w.lblTriggerTag->text(), QString("2"));
    EXPECT_TRUE(w.fraTDRPulse->isEnabled());
}

TEST(ControlPanel, CrossTakesTheReferenceAwayFromInternalAndEchoGivesItBack)
{
    LinkFixture f;
    frmMaster& w = f.start();
    ASSERT_TRUE(w.optReference[0]->isChecked());
    press(w.optTDRMode[1]);

    EXPECT_TRUE(w.optTDRMode[1]->isChecked());
    EXPECT_TRUE(w.optReference[1]->isChecked());
    EXPECT_FALSE(w.optReference[0]->isEnabled());
    EXPECT_FALSE(w.sldBalance->isEnabled());
    EXPECT_FALSE(w.lblBalance->isEnabled());
    EXPECT_EQ(w.lblModeIndex->text(), QString("1"));
    EXPECT_EQ(w.lblModeTag->text(), QString("2"));
    EXPECT_EQ(w.optReference[1]->Tag(), 4);
    EXPECT_EQ(w.optReference[2]->Tag(), 3);
    EXPECT_EQ(w.lblBalanceIndex->text(), QString("1"));
    EXPECT_EQ(w.lblBalanceTag->text(), QString("4"));

    // "Internal" cannot be chosen while it is disabled.
    press(w.optReference[0]);
    EXPECT_TRUE(w.optReference[1]->isChecked());

    press(w.optReference[2]);
    EXPECT_EQ(w.lblBalanceTag->text(), QString("3"));

    // Back in Echo the reference stays; "Internal" may be chosen again.
    press(w.optTDRMode[0]);
    EXPECT_TRUE(w.optReference[2]->isChecked());
    EXPECT_TRUE(w.optReference[0]->isEnabled());
    EXPECT_TRUE(w.lblBalance->isEnabled());
    EXPECT_FALSE(w.sldBalance->isEnabled()); // the balance belongs to "Internal"
    EXPECT_EQ(w.lblBalanceTag->text(), QString("1"));
    press(w.optReference[0], Qt::RightButton);
    EXPECT_TRUE(w.optReference[0]->isChecked());
    EXPECT_TRUE(w.sldBalance->isEnabled());
    EXPECT_EQ(w.lblBalanceTag->text(), QString("0"));
}

TEST(ControlPanel, ThePhaseRelabelsAndRecoloursTheReferences)
{
    LinkFixture f;
    frmMaster& w = f.start();
    press(w.optPhase[4]); // "Y-B"
    EXPECT_TRUE(w.optPhase[4]->isChecked());
    EXPECT_EQ(w.optReference[1]->text(), QString("R-B"));
    EXPECT_EQ(w.optReference[2]->text(), QString("Y-R"));
    EXPECT_EQ(w.optReference[1]->BackColor(), 0xFF00FF);
    EXPECT_EQ(w.optReference[2]->BackColor(), 33023);
    EXPECT_EQ(w.lblPhaseIndex->text(), QString("4"));
    EXPECT_EQ(w.lblPhaseTag->text(), QString("4"));
    EXPECT_EQ(w.optReference[1]->Tag(), 2);
    EXPECT_EQ(w.optReference[2]->Tag(), 1);

    // In Cross the same captions carry the Cross tags.
    press(w.optTDRMode[1]);
    press(w.optPhase[3]); // "R-Y"
    EXPECT_EQ(w.optReference[1]->text(), QString("B-Y"));
    EXPECT_EQ(w.optReference[1]->BackColor(), 65280);
    EXPECT_EQ(w.optReference[2]->text(), QString("R-B"));
    EXPECT_EQ(w.optReference[1]->Tag(), 4);
    EXPECT_EQ(w.lblBalanceTag->text(), QString("4"));

    press(w.optPhase[0]);
    EXPECT_EQ(w.optReference[1]->text(), QString("Y-N"));
    EXPECT_EQ(w.optReference[1]->BackColor(), 65535);
    EXPECT_EQ(w.optReference[2]->BackColor(), 0xFF0000);
}

TEST(ControlPanel, SlidersShowTheirValueAndComeBackAsTheyWere)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.logOn();
    w.chkAutotest->setChecked(true);
    f.clearWire();

    w.sldGain->setValue(15);
    EXPECT_EQ(w.lblTDRGain->text(), QString("15"));
    EXPECT_TRUE(w.sldGain->isEnabled());
    w.sldPulse->setValue(6);
    EXPECT_EQ(w.lblPulse->text(), QString("6"));
    EXPECT_TRUE(w.sldPulse->isEnabled());

    // In Cross the balance slider stays disabled after its label is clicked or changed.
    emit w.optTDRMode[1]->MouseDown(Qt::LeftButton);
    w.sldBalance->setValue(40);
    EXPECT_EQ(w.lblBalance->text(), QString("40"));
    emit w.lblBalance->Click();
    EXPECT_FALSE(w.sldBalance->isEnabled());
    // The automatic test sends nothing until the TDR test exists.
    EXPECT_TRUE(f.sent.isEmpty());
}
