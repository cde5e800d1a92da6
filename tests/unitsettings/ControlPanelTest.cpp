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

TEST(ControlPanel, TheTriggerModeListSlidersAndPhaseSetTheControlsBesideThem)
{
    LinkFixture f;
    frmMaster& w = f.start();
    for (const auto& [entry, filterOn, pulseOn, tag] :
         {std::tuple{"TRS SLAVE (Filter OFF)", false, false, "0"}, {"TRS MASTER (Filter OFF)", false, true, "0"},
          {"TDR Voltage Dip & Current", true, true, "2"}}) {
        w.cboTriggerMode->setCurrentText(entry);
        EXPECT_EQ(w.chkFilter->isChecked(), filterOn) << entry;
        EXPECT_EQ(w.chkPulseOn->isChecked(), pulseOn) << entry;
        EXPECT_EQ(w.fraTDRPulse->isEnabled(), pulseOn) << entry;
        EXPECT_EQ(w.lblTriggerTag->text(), QString(tag)) << entry;
    }
    // Each slider shows its value beside it.
    for (const auto& [slider, label] : {std::pair{w.sldGain, w.lblTDRGain}, std::pair{w.sldPulse, w.lblPulse},
                                        std::pair{w.sldBalance, w.lblBalance}}) {
        slider->setValue(5);
        EXPECT_EQ(label->text(), QString("5")) << label->objectName().toStdString();
    }

    // The phase relabels and recolours the references.
    press(w.optPhase[4]); // "Y-B"
    EXPECT_EQ(w.optReference[1]->text() + " " + w.optReference[2]->text(), QString("R-B Y-R"));
    EXPECT_EQ(w.optReference[1]->BackColor(), 0xFF00FF);
    EXPECT_EQ(w.optReference[2]->BackColor(), 33023);
    EXPECT_EQ(w.lblPhaseIndex->text(), QString("4"));

    // In Cross the same captions carry the Cross tags.
    press(w.optTDRMode[1]);
    press(w.optPhase[3]); // "R-Y"
    EXPECT_EQ(w.optReference[1]->text() + " " + w.optReference[2]->text(), QString("B-Y R-B"));
    EXPECT_EQ(w.optReference[1]->BackColor(), 65280);
    EXPECT_EQ(w.lblBalanceTag->text(), QString("4"));
}

TEST(ControlPanel, CrossTakesTheReferenceAwayFromInternalAndEchoGivesItBack)
{
    LinkFixture f;
    frmMaster& w = f.start();
    ASSERT_TRUE(w.optReference[0]->isChecked());
    press(w.optTDRMode[1]);

    EXPECT_TRUE(w.optReference[1]->isChecked());
    EXPECT_FALSE(w.optReference[0]->isEnabled());
    EXPECT_FALSE(w.sldBalance->isEnabled());
    EXPECT_EQ(w.lblBalanceTag->text(), QString("4"));

    // "Internal" cannot be chosen while it is disabled.
    press(w.optReference[0]);
    EXPECT_TRUE(w.optReference[1]->isChecked());
    press(w.optReference[2]);
    EXPECT_EQ(w.lblBalanceTag->text(), QString("3"));
    // The balance belongs to "Internal": a click on its label leaves the slider disabled.
    emit w.lblBalance->Click();
    EXPECT_FALSE(w.sldBalance->isEnabled());

    // Back in Echo the reference stays; "Internal" may be chosen again.
    press(w.optTDRMode[0]);
    EXPECT_TRUE(w.optReference[2]->isChecked());
    EXPECT_TRUE(w.optReference[0]->isEnabled());
    EXPECT_FALSE(w.sldBalance->isEnabled());
    EXPECT_EQ(w.lblBalanceTag->text(), QString("1"));
    press(w.optReference[0], Qt::RightButton);
    EXPECT_TRUE(w.optReference[0]->isChecked());
    EXPECT_TRUE(w.sldBalance->isEnabled());
    EXPECT_EQ(w.lblBalanceTag->text(), QString("0"));
}
