#include "support/MasterFixture.h"
#include "systems/Systems.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::MasterFixture;

namespace {

// A program folder with one system, "Grid", opened at start-up.
struct GridSystem : MasterFixture {
    QString jobs(const QString& relative = QString()) const { return root("Systems/Grid/Jobs/" + relative); }
    frmMaster& open(const QStringList& unitLines = {})
    {
        addSystem("Grid", unitLines);
        return load();
    }
};

QStringList entries(const QComboBox* box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

TEST(Systems, ANewSystemGetsItsFileAndFolderTree)
{
    GridSystem f;
    frmMaster& w = f.open();
    ASSERT_FALSE(f.lifetime.ended());
    EXPECT_EQ(f.root.read("Grid.cfg"), QByteArray("New Unit,1234567,M-R32,New Job,New Location,New Sim\r\n"));
    const QString unitFolder = f.jobs("New Job/New Location/New Unit");
    EXPECT_TRUE(QFileInfo(unitFolder).isDir());
    EXPECT_EQ(w.windowTitle(), QString("Grid M-R3X Master"));
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(w.cboUnits[i]->currentText(), QString("New Unit"));
        EXPECT_EQ(w.filTrig[i]->Path(), unitFolder);
    }
    EXPECT_EQ(w.filTST->Path(), unitFolder);
}

TEST(Systems, TheRememberedJobAndLocationsAreChosenInEachChain)
{
    GridSystem f;
    f.root.writeLines("M-R3X Master.ini",
                      {"Last system = Grid", "Last Job = Job B", "Last Master = South", "Last Slave = North"});
    frmMaster& w = f.open({"U1,A,M-R32,Job A,North,S1", "", "U2,B,M-R32,Job B,North", "U3,C,M-R32,Job B,South,S3"});
    ASSERT_FALSE(f.lifetime.ended());
    EXPECT_EQ(entries(w.cboJobs[0]), QStringList({"Job A", "Job B"}));
    EXPECT_EQ(w.cboJobs[1]->currentText(), QString("Job B"));
    EXPECT_EQ(w.filTrig[0]->Path(), f.jobs("Job B/South/U3"));
    EXPECT_EQ(w.filTrig[1]->Path(), f.jobs("Job B/North/U2"));
    EXPECT_EQ(w.filTST->Path(), f.jobs("Job B/North/U2")); // the chain chosen last
    EXPECT_EQ(w.cboSIM_No->currentText(), QString("S3"));

    // Remembered names match exactly: another case falls back to the first entry.
    GridSystem g;
    g.root.writeLines("M-R3X Master.ini", {"Last system = Grid", "Last Job = job b"});
    EXPECT_EQ(g.open({"U1,A,M-R32,Job A,North", "U2,B,M-R32,Job B,North"}).cboJobs[0]->currentText(), QString("Job A"));
}

TEST(Systems, LocalJobsListsJobsByContainmentAndUnitsByExactName)
{
    GridSystem f;
    for (const char* folder : {"Job 10/Elsewhere/Other", "Unrelated/Site", "Job 1/Site/u1", "Job 1/Site/U1x", "Job 1/Yard"})
        QDir().mkpath(f.jobs(folder));
    frmMaster& w = f.open({"U1,A,M-R32,Job 1,Site,S1"});
    ASSERT_FALSE(f.lifetime.ended());
    EXPECT_EQ(entries(w.cboJobs[0]), QStringList({"Job 1", "Job 10", "Unrelated"}));
    EXPECT_EQ(entries(w.cboUnits[0]), QStringList({"U1", "u1", "U1x"}));
    // A unit folder the table does not name has no B/T ID or SIM number to show.
    w.cboUnits[0]->setCurrentIndex(2);
    EXPECT_EQ(w.cboBT_ID->count() + w.cboSIM_No->count(), 0);

    w.chkLocalJobs->setChecked(true);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(entries(w.cboJobs[i]), QStringList({"Job 1", "Job 10"}));
        EXPECT_EQ(entries(w.cboLocations[i]), QStringList({"Site"}));
        EXPECT_EQ(entries(w.cboUnits[i]), QStringList({"U1"}));
    }
    // Job 10 is listed, but none of its locations is named by a unit.
    w.cboJobs[0]->setCurrentIndex(1);
    EXPECT_EQ(w.cboLocations[0]->count(), 0);
    w.chkLocalJobs->setChecked(false);
    EXPECT_EQ(w.cboJobs[0]->count(), 3);
}

TEST(Systems, TheSlaveChainFollowsTheMasterOnlyWhenTheCountsMatch)
{
    GridSystem f;
    frmMaster& w = f.open({"M1,1,M-R32,Job A,Site 1", "M2,2,M-R32,Job A,Site 2", "S1,3,M-R32,Job B,Site 1"});
    ASSERT_EQ(entries(w.cboJobs[1]), QStringList({"Job A", "Job B"}));
    // Same number of jobs: the slave job follows the master job; so does the location.
    w.cboJobs[0]->setCurrentIndex(1);
    EXPECT_EQ(w.cboJobs[1]->currentIndex(), 1);
    w.cboJobs[0]->setCurrentIndex(0);
    EXPECT_EQ(w.cboJobs[1]->currentIndex(), 0);
    w.cboLocations[0]->setCurrentIndex(1);
    EXPECT_EQ(w.cboLocations[1]->currentText(), QString("Site 2"));
    // The slave on Job B has one location against the master's two: it stays.
    w.cboLocations[0]->setCurrentIndex(0);
    w.cboJobs[1]->setCurrentIndex(1);
    w.cboLocations[0]->setCurrentIndex(1);
    EXPECT_EQ(w.cboLocations[1]->currentText() + " " + w.cboJobs[1]->currentText(), QString("Site 1 Job B"));
}

TEST(Systems, ChoosingAMasterUnitShowsItInTheSlaveSlotToo)
{
    GridSystem f;
    QDir().mkpath(f.jobs("Job B/Bare")); // a location with no unit folders
    frmMaster& w = f.open({"M1,bt-one,M-R32,Job A,Site,sim a", "M2,bt-two,M-R32,Job A,Site,sim b", "S1,3,M-R32,Job B,Empty"});
    w.cboUnits[0]->setCurrentIndex(1);
    EXPECT_EQ(w.cboBT_ID->currentText() + " " + w.cboSIM_No->currentText(), QString("BT-TWO SIM B"));
    EXPECT_EQ(w.cboUnits[1]->currentText(), QString("M2")); // the slave's entry now names the master unit
    EXPECT_EQ(w.filTrig[1]->Path(), f.jobs("Job A/Site/M2"));
    EXPECT_EQ(w.filTST->Path(), f.jobs("Job A/Site/M2"));

    // A slave location without units leaves nothing selected to rename.
    w.cboJobs[1]->setCurrentIndex(1);
    w.cboLocations[1]->setCurrentIndex(w.cboLocations[1]->findText("Bare"));
    ASSERT_EQ(w.cboUnits[1]->count(), 0);
    w.cboUnits[0]->setCurrentIndex(0);
    EXPECT_FALSE(f.lifetime.ended());
    EXPECT_EQ(w.cboUnits[1]->count(), 0);
    EXPECT_EQ(w.filTrig[1]->Path(), f.jobs("Job A/Site/M1"));
}

TEST(Systems, AConfigurationFileThatCannotBeUsedEndsTheProgramBeforeAnyFolderIsMade)
{
    // A job leading out of the tree (the file's other refusals are the reader's), and a file where
    // the job folder belongs.
    for (const bool fileInTheWay : {false, true}) {
        SCOPED_TRACE(fileInTheWay ? "a file in the way" : "a job out of the tree");
        GridSystem f;
        if (fileInTheWay)
            f.root.write("Systems/Grid/Jobs/Job", "a file");
        frmMaster& w = f.open({"U1,A,M-R32,Job,Site", fileInTheWay ? "U2,B,M-R32,Job,Site" : "U2,B,M-R32,../../../Escaped,Site"});
        ASSERT_EQ(f.dialogs.shown().size(), 1u);
        EXPECT_EQ(f.dialogs.last()->text, QDir::toNativeSeparators(f.root("Grid.cfg")) + " missing");
        EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Critical);
        EXPECT_TRUE(f.lifetime.ended());
        EXPECT_FALSE(QFileInfo::exists(f.root("Escaped")));
        EXPECT_FALSE(QFileInfo(f.jobs("Job")).isDir());
        EXPECT_EQ(w.program.ParameterLabels[0], QString()); // opening stopped there
    }
}
