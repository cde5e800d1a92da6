#include "systems/SystemConfigFile.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(SystemConfigFile, UnitLinesTakeTheSimNumberOnlyFromSixFields)
{
    const ConfigReadResult r = parseSystemConfig({
        "Unit 1,Phone Number 1,M-R32,Job 1,Location 1,SIM 1",
        "Unit 2,Not set,M-S32,Job 2,Location 2",
        "Unit 3,77,M-R32,Job 3,Location 3,SIM 3,extra",
        "Unit 4,,M-R32,Job 4,Location 4,",
    });
    ASSERT_FALSE(r.error);
    ASSERT_EQ(r.units.size(), 4u);
    EXPECT_EQ(unitFields(r.units[0]),
              (std::array<std::string, 6>{"Unit 1", "Phone Number 1", "M-R32", "Job 1", "Location 1", "SIM 1"}));
    EXPECT_EQ(r.units[1].SimNo, "");
    EXPECT_EQ(r.units[1].Version, "M-S32");
    EXPECT_EQ(r.units[2].SimNo, "");
    EXPECT_EQ(r.units[2].Location, "Location 3");
    EXPECT_EQ(r.units[3].BtId, "");
    EXPECT_EQ(r.units[3].SimNo, "");
}

TEST(SystemConfigFile, BlankLinesAreSkippedAndFieldsTrimmed)
{
    const ConfigReadResult r = parseSystemConfig({"", "   ", " New Unit , 1234567 ,M-R32,  New Job\t, New Location , New Sim ", ""});
    ASSERT_FALSE(r.error);
    ASSERT_EQ(r.units.size(), 1u);
    EXPECT_EQ(unitFields(r.units[0]),
              (std::array<std::string, 6>{"New Unit", "1234567", "M-R32", "New Job", "New Location", "New Sim"}));
    // The file the configuration editor writes keeps the grid's leading blanks; they go on reading.
    EXPECT_EQ(parseUnitLine(" A, B, C, D, E, F")->SerialNo, "A");
    EXPECT_TRUE(parseSystemConfig({}).units.empty());
}

TEST(SystemConfigFile, ALineWithFewerThanFiveFieldsRefusesTheFile)
{
    const ConfigReadResult r = parseSystemConfig({"A,1,M-R32,J,L,S", "", "B,2,M-R32,J"});
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->lineNumber, 3u);
    EXPECT_FALSE(parseUnitLine("just a name"));
}

TEST(SystemConfigFile, NamesThatWouldLeaveTheFolderTreeAreRefused)
{
    for (const char* line : {"../Escaped,1,M-R32,Job,Loc", "Unit,1,M-R32,..,Loc", "Unit,1,M-R32,Job,.",
                             "Unit,1,M-R32,Job/Sub,Loc", "Unit,1,M-R32,Job,Loc\\Sub", "Unit,1,M-R32,C:,Loc",
                             ",1,M-R32,Job,Loc", "Unit,1,M-R32, ,Loc"})
        EXPECT_FALSE(parseUnitLine(line)) << line;
    // Fields that never become folders may hold anything but a comma.
    const auto unit = parseUnitLine("Unit,+44/7700 900123,M-R3*,Job,Loc,../SIM");
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->BtId, "+44/7700 900123");
    EXPECT_EQ(unit->SimNo, "../SIM");
    EXPECT_TRUE(parseSystemConfig({"Unit,1,M-R32,Job,Loc", "Unit,1,M-R32,../x,Loc"}).error);
}
