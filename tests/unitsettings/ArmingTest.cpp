// Arming: the question, the batch for the model on the wire, the unit left armed and the link
// closed; a right click reads the settings again.
#include "UnitSettingsFixture.h"
#include "unitsettings/SettingCommands.h"

#include <functional>

#include <gtest/gtest.h>

using namespace mr3x;
using namespace mr3x::test;

namespace {

const QDateTime seventhOfMarch(QDate(2031, 3, 7), QTime(9, 5, 3));
const QString ArmQuestion = "Local Unit will ARM using the current settings and then disconnect\n"
                            "                  Are the settings correct?";

/// A logged-on unit, its wire cleared, on the morning of 7 March 2031.
struct Armer : LinkFixture {
    explicit Armer(sim::SimOptions options = defaultOptions())
        : LinkFixture(std::move(options))
        , w(start())
    {
        logOn();
        clock.setDateTime(seventhOfMarch);
        clearWire();
    }
    void click(Qt::MouseButton button = Qt::LeftButton) { emit w.cmdArm->MouseDown(button); }
    frmMaster& w;
};

sim::SimOptions with(const std::function<void(sim::SimOptions&)>& change)
{
    sim::SimOptions options = LinkFixture::defaultOptions();
    change(options);
    return options;
}

} // namespace

TEST(Arming, AnMR32GetsTimeIdAndHardwareThenArms)
{
    Armer f;
    f.w.chkFileTransfer->setChecked(true);
    f.click();

    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, ArmQuestion);
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::YesNo);
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Critical);
    EXPECT_FALSE(f.w.chkFileTransfer->isChecked());
    // Mode digit 3: TDR without a trace to send.
    EXPECT_EQ(f.sent, "T310307090503"
                      "N" + f.sent.mid(14, 6) + ",Feeder 7 Fault          ,North Yard              ,                ,"
                      "\r\n\r\ng15, 3,0,0,3,034,10,10,0"
                      "e");
    EXPECT_TRUE(f.statusHistory.contains("Local Unit armed"));
    EXPECT_EQ(f.w.lblStatus->text(), QString("Disconnected"));
    EXPECT_FALSE(f.w.Comm->PortOpen());
    EXPECT_TRUE(f.unit().armed());
    EXPECT_EQ(f.unit().settings().mode, 3);
}

TEST(Arming, AnMS32GetsTimeThresholdAndDurationThenArms)
{
    Armer f(with([](sim::SimOptions& o) { o.model = sim::Model::MS32; }));
    ASSERT_EQ(f.w.lblHardware->text(), QString("M-S32"));
    f.w.cboThreshold->setCurrentText("22");
    f.click();

    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{ArmQuestion});
    EXPECT_EQ(f.sent, QByteArray("T310307090503h22d 3e"));
    EXPECT_TRUE(f.unit().armed());
    EXPECT_EQ(f.unit().settings().threshold, 22);
    EXPECT_EQ(f.w.lblStatus->text(), QString("Disconnected"));
}

TEST(Arming, NoKeepsTheLinkAndSendsNothing)
{
    Armer f;
    f.w.chkFileTransfer->setChecked(true);
    f.dialogs.answer(MsgAnswer::No);
    f.click();

    ASSERT_EQ(f.dialogs.shown().size(), 2u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Select required TDR Settings\n     and then click ARM"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Information);
    EXPECT_TRUE(f.sent.isEmpty());
    EXPECT_TRUE(f.w.Comm->PortOpen());
    EXPECT_TRUE(f.w.chkFileTransfer->isChecked());
    EXPECT_FALSE(f.w.Watchdog->isActive()); // it cannot end the link while the question is open
    EXPECT_FALSE(f.unit().armed());
}

TEST(Arming, ABatchStoppedByNoStillArmsTheUnit)
{
    Armer f(with([](sim::SimOptions& o) { o.faults.silent.push_back({'T', 0}); }));
    f.dialogs.answer(MsgAnswer::Yes);
    f.dialogs.answer(MsgAnswer::No);
    f.click();
    EXPECT_EQ(f.dialogs.messageTexts(), (QStringList{ArmQuestion, "Problem setting time\nDo you wish to continue?"}));
    EXPECT_EQ(f.sent, QByteArray("T310307090503e"));
    EXPECT_TRUE(f.unit().armed());
    EXPECT_EQ(f.w.lblStatus->text(), QString("Disconnected"));
}

TEST(Arming, ARightClickReadsTheSettingsAgainWithoutArming)
{
    Armer f;
    f.w.cboThreshold->setCurrentText("30");
    f.click(Qt::RightButton);

    EXPECT_TRUE(f.dialogs.shown().empty());
    EXPECT_TRUE(f.sent.startsWith("Xp"));
    EXPECT_FALSE(f.sent.contains('e'));
    EXPECT_EQ(f.w.cboThreshold->currentText(), QString("15")); // what the unit holds
    EXPECT_TRUE(f.w.Comm->PortOpen());
    EXPECT_FALSE(f.unit().armed());
}

TEST(Arming, RefusedWhileAnExchangeRuns)
{
    Armer f(with([](sim::SimOptions& o) { o.faults.silent.push_back({'h', 0}); })); // a long wait to click into
    bool clicked = false;
    const int pump = f.clock.addPump([&] {
        if (!clicked && f.w.Comm->TransferState() == 4) {
            clicked = true;
            f.click();
        }
    });
    f.w.settingCommands->SET_THRESHOLD();
    f.clock.removePump(pump);
    EXPECT_TRUE(clicked);
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList{"Communications in progress"});
    EXPECT_EQ(f.sent, QByteArray("h15"));
}
