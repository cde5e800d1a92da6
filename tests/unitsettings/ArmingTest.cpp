// Arming: the question, the batch for the model on the wire, the unit left armed and the link
// closed; a right click reads the settings again.
#include "UnitSettingsFixture.h"
#include "unitsettings/SettingCommands.h"

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

const QDateTime seventhOfMarch(QDate(2031, 3, 7), QTime(9, 5, 3));
const QString ArmQuestion = "Local Unit will ARM using the current settings and then disconnect\n"
                            "                  Are the settings correct?";

sim::SimOptions model(sim::Model m)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.model = m;
    return options;
}

void click(frmMaster& w, Qt::MouseButton button = Qt::LeftButton)
{
    emit w.cmdArm->MouseDown(button);
}

} // namespace

TEST(Arming, AnMR32GetsTimeIdAndHardwareThenArms)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.logOn();
    f.clock.setDateTime(seventhOfMarch);
    w.chkFileTransfer->setChecked(true);
    f.clearWire();
    const int from = f.statusHistory.size();
    click(w);

    ASSERT_FALSE(f.dialogs.shown().empty());
    EXPECT_EQ(f.dialogs.shown().front().text, ArmQuestion);
    EXPECT_EQ(f.dialogs.shown().front().buttons, MsgButtons::YesNo);
    EXPECT_EQ(f.dialogs.shown().front().icon, MsgIcon::Critical);
    EXPECT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_FALSE(w.chkFileTransfer->isChecked());

    // Mode digit 3: TDR without a trace to send.
    const QByteArray expected = "T310307090503"
                                "N" + QByteArray(f.sent.mid(14, 6)) + ",Feeder 7 Fault          ,North Yard              ,                ,"
                                "\r\n\r\ng15, 3,0,0,3,034,10,10,0"
                                "e";
    EXPECT_EQ(f.sent, expected);
    const QStringList statuses = f.statusHistory.mid(from);
    for (const char* text : {"Time set", "ID set", "TDR hardware set", "Local Unit armed"})
        EXPECT_TRUE(statuses.contains(text)) << text;
    EXPECT_EQ(w.lblStatus->text(), QString("Disconnected"));
    EXPECT_FALSE(w.Comm->PortOpen());
    EXPECT_EQ(w.cmdConnect->text(), QString("Connect to Local Unit"));
    EXPECT_TRUE(f.unit().armed());
    EXPECT_EQ(f.unit().settings().mode, 3);
}

TEST(Arming, AnMS32GetsTimeThresholdAndDurationThenArms)
{
    LinkFixture f(model(sim::Model::MS32));
    frmMaster& w = f.start();
    f.logOn();
    ASSERT_EQ(w.lblHardware->text(), QString("M-S32"));
    f.clock.setDateTime(seventhOfMarch);
    w.cboThreshold->setCurrentText("22");
    f.clearWire();
    click(w);

    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{ArmQuestion});
    EXPECT_EQ(f.sent, QByteArray("T310307090503h22d 3e"));
    EXPECT_TRUE(f.unit().armed());
    EXPECT_EQ(f.unit().settings().threshold, 22);
    EXPECT_EQ(w.lblStatus->text(), QString("Disconnected"));
}

TEST(Arming, NoKeepsTheLinkAndSendsNothing)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.logOn();
    w.chkFileTransfer->setChecked(true);
    f.clearWire();
    f.dialogs.answer(MsgAnswer::No);
    click(w);

    ASSERT_EQ(f.dialogs.shown().size(), 2u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Select required TDR Settings\n     and then click ARM"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Information);
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::Ok);
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_TRUE(w.Comm->PortOpen());
    EXPECT_TRUE(w.chkFileTransfer->isChecked());
    EXPECT_FALSE(w.Watchdog->isActive()); // off until the next exchange turns it on
    EXPECT_FALSE(f.unit().armed());
}

TEST(Arming, ABatchStoppedByNoStillArmsTheUnit)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.faults.silent.push_back({'T', 0});
    LinkFixture f(options);
    frmMaster& w = f.start();
    f.logOn();
    f.clock.setDateTime(seventhOfMarch);
    f.clearWire();
    f.dialogs.answer(MsgAnswer::Yes);
    f.dialogs.answer(MsgAnswer::No);
    click(w);
    EXPECT_EQ(f.dialogs.messageTexts(), (QStringList{ArmQuestion, "Problem setting time\nDo you wish to continue?"}));
    EXPECT_EQ(f.sent, QByteArray("T310307090503e"));
    EXPECT_TRUE(f.unit().armed());
    EXPECT_EQ(w.lblStatus->text(), QString("Disconnected"));
}

TEST(Arming, ARightClickReadsTheSettingsAgainWithoutArming)
{
    LinkFixture f;
    frmMaster& w = f.start();
    f.logOn();
    w.cboThreshold->setCurrentText("30");
    f.clearWire();
    click(w, Qt::RightButton);

    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_TRUE(f.sent.startsWith("Xp"));
    EXPECT_FALSE(f.sent.contains('e'));
    EXPECT_EQ(w.cboThreshold->currentText(), QString("15")); // what the unit holds
    EXPECT_EQ(w.lblStatus->text(), QString("Index file downloaded"));
    EXPECT_TRUE(w.Comm->PortOpen());
    EXPECT_FALSE(f.unit().armed());
    EXPECT_TRUE(w.Watchdog->isActive());
}

TEST(Arming, RefusedWhileAnExchangeRuns)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    options.faults.silent.push_back({'h', 0}); // a long wait to click into
    LinkFixture f(options);
    frmMaster& w = f.start();
    f.logOn();
    f.clearWire();
    bool clicked = false;
    const int pump = f.clock.addPump([&] {
        if (!clicked && w.Comm->TransferState() == 4) {
            clicked = true;
            click(w);
        }
    });
    w.settingCommands->SET_THRESHOLD();
    f.clock.removePump(pump);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{"Communications in progress"});
    EXPECT_EQ(f.sent, QByteArray("h15"));
    EXPECT_TRUE(w.Comm->PortOpen());
}
