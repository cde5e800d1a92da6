// The control panel's reactions, driven through its controls' own events.
#include "UnitSettingsFixture.h"
#include "unitsettings/SettingCommands.h"

#include <QApplication>
#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

TEST(ControlPanel, CrossTakesTheReferenceAwayFromInternalAndEchoGivesItBackAndTheOtherControlsSetTheirNeighbours)
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

    // The trigger mode list sets the filter and the pulse.
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

TEST(ControlPanel, TheArrowKeysAndTheProgramChangeAChoiceThroughTheSameReactionAsTheMouse)
{
    Unit f;
    frmMaster& w = f.w;
    w.show();
    w.fraControls->show();
    w.activateWindow();
    w.clock.DoEvents();
    // The arrow keys move the choice inside a group from the focused button, as Qt does.
    const auto arrow = [&](OptionButton* focused, int key) {
        focused->setFocus();
        ASSERT_EQ(QApplication::focusWidget(), focused);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(focused, &press);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(QApplication::focusWidget(), &release);
    };

    // One reaction per group; what each reaction does is checked through the mouse above.
    arrow(w.optPhase[0], Qt::Key_Right);
    EXPECT_TRUE(w.optPhase[1]->isChecked());
    EXPECT_EQ(w.optReference[1]->text() + " " + w.optReference[2]->text(), QString("B-N R-N"));
    arrow(w.optRange[0], Qt::Key_Right);
    EXPECT_EQ(w.lblRangeIndex->text(), QString("1"));
    arrow(w.optTDRMode[0], Qt::Key_Right); // Cross takes the reference away from "Internal"
    EXPECT_EQ(w.lblModeTag->text(), QString("2"));
    EXPECT_TRUE(w.optReference[1]->isChecked());
    arrow(w.optReference[1], Qt::Key_Right);
    EXPECT_EQ(w.lblBalanceTag->text(), QString("3"));
    arrow(w.optFSD[0], Qt::Key_Right);
    EXPECT_EQ(w.lblFSDTag->text(), QString("1"));

    // The unit is sent what the panel shows (its pulse and pre/post as the unit reported them).
    f.fresh();
    w.settingCommands->SET_HARDWARE();
    EXPECT_EQ(f.sent, QByteArray("\r\n\r\ng15, 3,1,1,3,035,10,10,3"));

    // A choice the program makes reacts the same way.
    w.optPhase[4]->setChecked(true);
    EXPECT_EQ(w.lblPhaseIndex->text(), QString("4"));
    w.optTDRMode[0]->setChecked(true);
    EXPECT_EQ(w.lblBalanceTag->text(), QString("1")) << "Echo gives reference 2 the tag 1";
    w.optRange[0]->setChecked(true);
    EXPECT_EQ(w.lblRangeIndex->text(), QString("0"));
}
