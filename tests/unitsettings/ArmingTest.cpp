// Arming: the question, the batch for the model on the wire, the unit left armed and the link
// closed; a right click reads the settings again.
#include "UnitSettingsFixture.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

const QString ArmQuestion = "Local Unit will ARM using the current settings and then disconnect\n"
                            "                  Are the settings correct?";

} // namespace

TEST(Arming, ARightClickReadsTheSettingsAgainNoKeepsTheLinkAndYesArmsAnMR32WithTimeIdAndHardware)
{
    Unit f;
    f.w.cboThreshold->setCurrentText("30");
    press(f.w.cmdArm, Qt::RightButton);
    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_TRUE(f.sent.startsWith("Xp"));
    EXPECT_FALSE(f.sent.contains('e'));
    EXPECT_EQ(f.w.cboThreshold->currentText(), QString("15")); // what the unit holds
    EXPECT_TRUE(f.w.Comm->PortOpen());

    // No keeps the link and sends nothing.
    f.w.chkFileTransfer->setChecked(true);
    f.fresh();
    f.dialogs.answer(MsgAnswer::No);
    press(f.w.cmdArm);
    ASSERT_EQ(f.dialogs.shown().size(), 2u);
    const ScriptedDialogs::Shown& question = f.dialogs.shown().front();
    EXPECT_EQ(question.text, ArmQuestion);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::Critical);
    EXPECT_EQ(f.dialogs.last()->text, QString("Select required TDR Settings\n     and then click ARM"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Information);
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_TRUE(f.w.Comm->PortOpen());
    EXPECT_TRUE(f.w.chkFileTransfer->isChecked());
    EXPECT_FALSE(f.w.Watchdog->isActive()); // it cannot end the link while the question is open
    EXPECT_FALSE(f.unit().armed());

    // Yes arms. Mode digit 3: TDR without a trace to send.
    f.clock.setDateTime(QDateTime(QDate(2031, 3, 7), QTime(9, 5, 3)));
    f.fresh();
    f.dialogs.clear();
    press(f.w.cmdArm);
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{ArmQuestion});
    EXPECT_EQ(f.sent, "T310307090503"
                      "N" + f.sent.mid(14, 6) + ",Feeder 7 Fault          ,North Yard              ,                ,"
                      "\r\n\r\ng15, 3,0,0,3,034,10,10,0"
                      "e");
    EXPECT_TRUE(f.statuses().contains("Local Unit armed"));
    EXPECT_EQ(f.w.lblStatus->text(), QString("Disconnected"));
    EXPECT_FALSE(f.w.Comm->PortOpen());
    EXPECT_TRUE(f.unit().armed());
}

TEST(Arming, AnMS32GetsTimeThresholdAndDurationAndABatchStoppedByNoStillArms)
{
    sim::SimOptions ms32 = LinkFixture::defaultOptions();
    ms32.model = sim::Model::MS32;
    const std::tuple<const char*, sim::SimOptions, QStringList, QByteArray> cases[] = {
        {"an M-S32", ms32, {ArmQuestion}, "T310307090503h22d 3e"},
        {"No to the failed time", Unit::silentOn({'T'}), {ArmQuestion, "Problem setting time\nDo you wish to continue?"},
         "T310307090503e"},
    };
    for (const auto& [what, options, questions, sent] : cases) {
        SCOPED_TRACE(what);
        Unit f(Unit::LogOn::Yes, options);
        f.w.cboThreshold->setCurrentText("22");
        f.dialogs.answer(MsgAnswer::Yes);
        f.dialogs.answer(MsgAnswer::No);
        press(f.w.cmdArm);
        EXPECT_EQ(f.dialogs.messageTexts(), questions);
        EXPECT_EQ(f.sent, sent);
        EXPECT_TRUE(f.unit().armed());
        EXPECT_EQ(f.w.lblStatus->text(), QString("Disconnected"));
    }
}

