#include "systems/SystemConfigFile.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(SystemConfigFile, UnitLinesAreTrimmedAndTakeTheSimNumberOnlyFromSixFields)
{
    const ConfigReadResult r = parseSystemConfig({
        "",
        "   ",
        " New Unit , 1234567 ,M-R32,  New Job\t, New Location , New Sim ",
        "Unit 2,Not set,M-S32,Job 2,Location 2",
        "Unit 3,77,M-R32,Job 3,Location 3,SIM 3,extra",
        "Unit 4,,M-R32,Job 4,Location 4,",
    });
    ASSERT_FALSE(r.error);
    ASSERT_EQ(r.units.size(), 4u);
    using Fields = std::array<std::string, 6>;
    EXPECT_EQ(unitFields(r.units[0]), (Fields{"New Unit", "1234567", "M-R32", "New Job", "New Location", "New Sim"}));
    EXPECT_EQ(unitFields(r.units[1]), (Fields{"Unit 2", "Not set", "M-S32", "Job 2", "Location 2", ""}));
    EXPECT_EQ(unitFields(r.units[2]), (Fields{"Unit 3", "77", "M-R32", "Job 3", "Location 3", ""}));
    EXPECT_EQ(unitFields(r.units[3]), (Fields{"Unit 4", "", "M-R32", "Job 4", "Location 4", ""}));
}

TEST(SystemConfigFile, AShortLineOrANameLeavingTheFolderTreeRefusesTheFile)
{
    const ConfigReadResult r = parseSystemConfig({"A,1,M-R32,J,L,S", "", "B,2,M-R32,J"});
    ASSERT_TRUE(r.error);
    EXPECT_EQ(r.error->lineNumber, 3u);
    EXPECT_TRUE(parseSystemConfig({"Unit,1,M-R32,Job,Loc", "Unit,1,M-R32,../x,Loc"}).error);

    // Each of unit, job and location becomes a folder (the names themselves are checked in
    // TextTest); blanks are trimmed before the check.
    for (const char* line : {"../Escaped,1,M-R32,Job,Loc", "Unit,1,M-R32,..,Loc", "Unit,1,M-R32,Job,Loc\\Sub",
                             ",1,M-R32,Job,Loc", "Unit,1,M-R32, ,Loc"})
        EXPECT_FALSE(parseUnitLine(line)) << line;
    // Fields that never become folders may hold anything but a comma.
    const auto unit = parseUnitLine("Unit,+44/7700 900123,M-R3*,Job,Loc,../SIM");
    ASSERT_TRUE(unit);
    EXPECT_EQ(unit->BtId, "+44/7700 900123");
    EXPECT_EQ(unit->SimNo, "../SIM");
}
