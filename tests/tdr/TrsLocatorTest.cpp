// The TRS viewer and locator in the window: LOCK, Locate and RESET on two TRS events, and a
// simulated Master and Slave of one faulted cable read back to the fault's distance from each end.
#include "events/ViewerFixture.h"
#include "sim/SimUnit.h"
#include "support/LinkFixture.h"

#include "common/Files.h"
#include "tdr/Distance.h"
#include "tdr/FaultFinding.h"
#include "tdr/TdrViewer.h"
#include "tdr/TrsLocator.h"

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::EventFile;
using mr3x::test::runsIn;
using mr3x::test::traceIn;
using mr3x::test::ViewerFixture;

namespace {

const QColor kMaster(192, 64, 0);
const QColor kSlave(0, 255, 255);

/// A TRS event whose trace sample n is `base` + n Mod 100, reporting `injection`.
EventFile trsEvent(int base, int injection)
{
    EventFile event;
    event.head(6, 5).trailer(10, 0).injection(injection);
    for (int n = 1; n <= 8192; ++n)
        event.trace(n, base + n % 100);
    return event;
}

/// The viewer with the Master's event in slot 0 and the Slave's in slot 1.
frmMaster& loadPair(ViewerFixture& f)
{
    frmMaster& w = f.open();
    f.chooseSlaveUnit();
    f.choose(0, 0);
    f.choose(1, 0);
    return w;
}

} // namespace

TEST(TrsLocator, LockShiftsTheSlaveByTheCursorsAndLocateFindsEachInjectionUntilReset)
{
    ViewerFixture f;
    f.writeEvent("26-12-01 10-00-00.trg", trsEvent(20, 5000));
    f.writeEvent("26-12-01 10-00-00.trg", trsEvent(130, 4095), "MR-0102");
    frmMaster& w = loadPair(f);
    const TdrViewerView& v = w.tdrView;
    ASSERT_TRUE(w.optDisplayMode[1]->isChecked());
    EXPECT_EQ(v.fraTransientViewer->title(), QString("TRS Viewer"));
    EXPECT_EQ(v.chkTrace[0]->text(), QString("Master"));

    // Locate before LOCK is refused.
    w.trsLocator->cmdLocation_Click(0);
    EXPECT_EQ(f.dialogs.last()->text, QString("The traces have not been locked"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Critical);

    // The zero cursor at 1000 and the moving cursor at 1010, as the engineer puts them.
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 1000);
    w.tdrViewer->picTDR_MouseDown(Qt::RightButton, 1000);
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 1010);
    w.trsLocator->cmdLock_Click();
    EXPECT_EQ(w.program.SlaveOffset, 10);
    EXPECT_EQ(v.scrPan->value(), 872);
    EXPECT_EQ(v.picTDR->ScaleRight(), 1128);
    // The Slave sample under the moving cursor is drawn under the zero cursor.
    EXPECT_EQ(runsIn(v.picTDR, kSlave).size(), 1u);
    EXPECT_EQ(traceIn(v.picTDR, kSlave, 8192)[999], 130 + 1010 % 100);
    EXPECT_EQ(traceIn(v.picTDR, kMaster, 8192)[999], 20 + 1000 % 100);
    // LOCK again adds the new difference.
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 1003);
    w.trsLocator->cmdLock_Click();
    EXPECT_EQ(w.program.SlaveOffset, 13);

    // Locate #1 on the Master: 5000 Mod 4096, the zero cursor 6 in.
    w.trsLocator->cmdLocation_Click(0);
    EXPECT_EQ(v.scrPan->value(), 904);
    EXPECT_EQ(v.ZeroCursor->X1(), 910);
    EXPECT_EQ(v.MovingCursor->X1(), 913);
    // The Slave's second half lies past the pan bar's end: said, and the window stays.
    f.dialogs.clear();
    w.trsLocator->cmdLocation_Click(3);
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"No result available for Location #3\r\nSelect an alternative"}));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Information);
    EXPECT_EQ(v.scrPan->value(), 904);
    w.trsLocator->cmdLocation_Click(1);
    EXPECT_EQ(v.scrPan->value(), 4095 - 13);

    // RESET: the whole trace, the Slave unshifted, Locate refused again.
    w.trsLocator->cmdReset_Click();
    EXPECT_EQ(w.program.SlaveOffset, 0);
    EXPECT_EQ(v.scrPan->value(), 1);
    EXPECT_EQ(v.picTDR->ScaleRight() - v.picTDR->ScaleLeft(), 8192);
    const auto whole = runsIn(v.picTDR, kSlave);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0].points.back().x(), 8191);
    EXPECT_EQ(traceIn(v.picTDR, kSlave, 8192)[999], 130 + 1000 % 100);
    f.dialogs.clear();
    w.trsLocator->cmdLocation_Click(0);
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"The traces have not been locked"}));
}

TEST(TrsLocator, ASimulatedMasterAndSlaveOfOneCablePinTheFaultFromBothEndsAgainstTheCablesLengthKeptForThePair)
{
    // The pair's event of a simulated Master and Slave on one 320 m cable with the fault 150 m
    // from the Master's end, in the Master's and the Slave's unit folders; the unit's pulse
    // leaves six samples after the injection it reports.
    ViewerFixture f;
    for (const sim::TrsRole role : {sim::TrsRole::Master, sim::TrsRole::Slave}) {
        sim::SimOptions options;
        options.trsRole = role;
        options.seed = 7;
        const sim::SimUnit unit(options);
        const sim::Bytes& pairEvent = unit.eventRecord(unit.storedEvents() - 1);
        f.writeFile("26-12-06 09-00-00.trg", test::bytesOf(pairEvent), role == sim::TrsRole::Master ? "MR-0101" : "MR-0102");
    }
    frmMaster& w = loadPair(f);
    const TdrViewerView& v = w.tdrView;
    ASSERT_TRUE(w.optDisplayMode[1]->isChecked());
    const int master = w.eventSlot[0].lblInjection->text().toInt() + 6;
    const int slave = w.eventSlot[1].lblInjection->text().toInt() + 6;
    ASSERT_GT(master, 6);
    ASSERT_GT(slave, 6);
    EXPECT_TRUE(v.txtCableLength->isEnabled());
    EXPECT_EQ(v.txtCableLength->text(), QString());

    // Unlocked, Find puts the zero cursor on the Master's launch and the moving one on the Slave's
    // arrival, where LOCK wants them, and nothing is locked yet.
    v.cmdFind->click();
    EXPECT_EQ(v.ZeroCursor->X1(), master);
    EXPECT_EQ(v.MovingCursor->X1(), slave);
    EXPECT_FALSE(w.program.TracesLocked);
    QStringList lines = v.lblFinding->text().split('\n');
    ASSERT_EQ(lines.size(), 3) << v.lblFinding->text().toStdString();
    EXPECT_TRUE(lines[2].endsWith("; give the cable's length to compare")) << lines[2].toStdString();
    EXPECT_TRUE(v.FoundEdge->isVisible() && v.FoundSlaveEcho->isVisible());

    w.trsLocator->cmdLock_Click();
    ASSERT_EQ(w.program.SlaveOffset, slave - master);

    // Locked, Find puts the moving cursor on the Master's echo, which reads the fault from the
    // Master's end, and marks the Slave's echo where its shifted trace shows it.
    v.cmdFind->click();
    EXPECT_EQ(v.ZeroCursor->X1(), master);
    const int fromMaster = v.lblResult->text().section(' ', 0, 0).toInt();
    EXPECT_NEAR(fromMaster, 150, 3.24 + 0.5);
    EXPECT_EQ(v.FoundEdge->X1(), v.MovingCursor->X1());
    EXPECT_NEAR(tdr::distanceMetres(1, v.FoundSlaveEcho->X1() - master, 54.0, false), 170, 3.24 + 0.5);
    lines = v.lblFinding->text().split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[1].startsWith(QString("Fault %1 m from the Master, ").arg(fromMaster))) << lines[1].toStdString();

    // The cable's length, given once, is kept for the pair in a file of its own and read into
    // the comparison.
    v.txtCableLength->setText("320");
    emit v.txtCableLength->editingFinished();
    EXPECT_TRUE(v.lblFinding->text().split('\n').value(2).contains(" against the cable's 320 m: ")) << v.lblFinding->text().toStdString();
    const std::optional<QStringList> kept = readTextLines(f.appFolder + "/Cable Lengths.txt");
    ASSERT_TRUE(kept);
    EXPECT_EQ(kept->back(), QString("MR-0101,MR-0102,320"));
    v.txtCableLength->setText("three hundred");
    emit v.txtCableLength->editingFinished();
    EXPECT_EQ(f.dialogs.last()->text, QString("\"three hundred\" is not a cable length: give the metres, from 1 to 100000"));
    EXPECT_EQ(v.txtCableLength->text(), QString("320"));

    // RESET draws the Slave unshifted: the finding stays, its mark moves with the trace.
    const double shiftedEcho = v.FoundSlaveEcho->X1();
    w.trsLocator->cmdReset_Click();
    EXPECT_FALSE(v.lblFinding->text().isEmpty());
    EXPECT_EQ(v.FoundSlaveEcho->X1(), shiftedEcho + (slave - master));
    // Another Slave event is not what was read.
    w.tdrView.chkTrace[1]->setChecked(false);
    EXPECT_EQ(v.lblFinding->text(), QString());
    EXPECT_FALSE(v.FoundEdge->isVisible() || v.FoundSlaveEcho->isVisible());
}
