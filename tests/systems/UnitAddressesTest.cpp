// Choosing a unit in the Master chain brings the port and line speed of its address.
#include "link/ConnectionLifecycle.h"
#include "support/LinkFixture.h"
#include "systems/UnitAddresses.h"
#include "systems/UnitAddressTable.h"


#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::LinkFixture;

namespace {

void chooseUnit(frmMaster& w, const QString& unit)
{
    w.cboUnits[0]->setCurrentIndex(w.cboUnits[0]->findText(unit));
}

} // namespace

TEST(UnitAddresses, AUnitWithAnAddressOpensItsPortAtItsSpeedAndOneWithoutOrALoggedOnLinkLeavesThePortAlone)
{
    LinkFixture f;
    const QByteArray file = QStringLiteral("# units\r\nMR-0101,%1,115,3000\r\nMR-0199,COM3,19.2\r\n")
                                .arg(f.portName())
                                .toUtf8();
    f.root.write("Unit Addresses.txt", file);
    frmMaster& w = f.load(); // the simulated port is not on the port list yet
    EXPECT_FALSE(w.Comm->PortOpen()) << "the start-up chooses no port";

    // A line that gives no address is reported, once, and the file is left as it was.
    ASSERT_EQ(f.dialogs.messageTexts().size(), 1);
    const QString report = f.dialogs.messageTexts().front();
    EXPECT_TRUE(report.contains("Line 3, \"MR-0199,COM3,19.2\": \"19.2\" is not a line speed")) << report.toStdString();
    EXPECT_EQ(f.root.read("Unit Addresses.txt"), file);

    // Listing a second unit chooses the first one again, now with its address.
    const int listed = w.cboCommports->count();
    f.addSecondUnit();
    ASSERT_EQ(w.cboUnits[0]->currentText(), QString("MR-0101"));
    EXPECT_EQ(w.cboCommports->count(), listed + 1);
    EXPECT_EQ(w.cboCommports->currentIndex(), listed);
    EXPECT_EQ(w.cboCommports->currentText(), f.portName());
    EXPECT_TRUE(w.optBaud[1]->isChecked());
    EXPECT_TRUE(w.Comm->PortOpen());
    EXPECT_EQ(w.Comm->PortName(), f.portName());
    EXPECT_EQ(w.Comm->Settings(), QString("115200,n,8,1"));
    EXPECT_EQ(w.lblStatus->text(), f.portName() + " (Ready)");
    EXPECT_EQ(w.unitAddresses->linkAllowanceForPort(f.portName()), 3000);

    // The user may still choose another speed; a unit without an address keeps the port as it is.
    w.optBaud[0]->setChecked(true);
    w.connection->cboCommports_Click();
    chooseUnit(w, "MR-0102");
    EXPECT_EQ(w.Comm->PortName(), f.portName());
    EXPECT_EQ(w.Comm->Settings(), QString("9600,n,8,1"));
    EXPECT_TRUE(w.optBaud[0]->isChecked());

    chooseUnit(w, "MR-0101");
    EXPECT_EQ(w.Comm->Settings(), QString("115200,n,8,1"));
    EXPECT_EQ(w.cboCommports->count(), listed + 1) << "the port is listed once";

    // A logged-on link stays where it is when a unit with another address is chosen.
    f.root.write("Unit Addresses.txt", "MR-0102,/dev/mr3x-no-such-port,9.6\r\n");
    w.unitAddresses->LOAD_UNIT_ADDRESSES();
    ASSERT_NE(w.unitAddresses->table().forUnit("MR-0102"), nullptr);
    f.logOn();
    ASSERT_EQ(w.cmdConnect->text(), QString("Disconnect from Local Unit"));
    chooseUnit(w, "MR-0102");
    EXPECT_EQ(w.Comm->PortName(), f.portName());
    EXPECT_EQ(w.Comm->PortStatus(), QString("Connected"));
    EXPECT_TRUE(w.optBaud[1]->isChecked());
    EXPECT_EQ(w.cboUnits[0]->currentText(), QString("MR-0102"));
}
