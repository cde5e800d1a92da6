#include "systems/UnitGrid.h"

#include <gtest/gtest.h>

using namespace mr3x;

namespace {

// Two rows as the editor loads them from the file (a leading blank in every cell) and one added
// in the editor (no blank).
UnitGrid editedGrid()
{
    return {
        {" Unit 1", " bt-one", " M-R32", " Job 1", " Site 1", " SIM 1"},
        {" Unit 2", " Not set", " M-S32", " Job 1", " Site 2", " "},
        {"Feeder A", "0770 900", "M-R3*", "Job name missing", "Location name missing", "SIM 9"},
    };
}

} // namespace

TEST(UnitGrid, NamesAndIdsAreInUseByContainmentWithoutRegardToCaseAndSimNumbersAndPlacesAsTheCellStands)
{
    const UnitGrid grid = editedGrid();
    // "Unit" occurs within " Unit 1": refused although no unit is called that.
    for (const char* name : {"Unit", "unit 1", "FEEDER", " Unit 2", "A"})
        EXPECT_TRUE(unitNameInUse(grid, name)) << name;
    for (const char* name : {"Unit 10", "Unit  1", "Feeder B"})
        EXPECT_FALSE(unitNameInUse(grid, name)) << name;
    for (const char* id : {"BT-ONE", "900"})
        EXPECT_TRUE(btIdInUse(grid, id)) << id;
    EXPECT_FALSE(btIdInUse(grid, "bt-two"));
    // An empty answer occurs in every cell: refused while the table holds a unit, not before.
    EXPECT_TRUE(btIdInUse(grid, ""));
    EXPECT_FALSE(btIdInUse(UnitGrid{}, ""));

    // "Not set" is taken as typed, anywhere in the answer, and only in that spelling.
    for (const char* answer : {"Not set", "Not set yet"})
        EXPECT_TRUE(isNotSet(answer)) << answer;
    for (const char* answer : {"not set", "Notset"})
        EXPECT_FALSE(isNotSet(answer)) << answer;

    // A loaded cell carries its leading blank: "SIM 1" is free, " SIM 1" is not.
    EXPECT_FALSE(simNoInUse(grid, "SIM 1"));
    EXPECT_TRUE(simNoInUse(grid, " SIM 1"));
    // A row added in the editor compares as typed.
    EXPECT_TRUE(simNoInUse(grid, "SIM 9"));
    EXPECT_FALSE(simNoInUse(grid, "sim 9"));
    // An empty answer is refused only where some cell is empty; the loaded empty cell holds " ".
    EXPECT_FALSE(simNoInUse(grid, ""));
    UnitGrid withEmpty = grid;
    withEmpty.push_back({"U", "x", "M-R32", "J", "L", ""});
    EXPECT_TRUE(simNoInUse(withEmpty, ""));

    EXPECT_EQ(rowsEqualTo(grid, GridColumn::Job, " Job 1"), 2u);
    EXPECT_EQ(rowsEqualTo(grid, GridColumn::Job, "Job 1"), 0u);
    EXPECT_EQ(rowsEqualTo(grid, GridColumn::Location, "Location name missing"), 1u);
}

TEST(UnitGrid, NamesThatCannotBeFoldersOrFieldsAreRecognised)
{
    for (const char* name : {"a\\b", "a/b", "C:", "x*", "why?", "\"q\"", "<", ">", "a|b"})
        EXPECT_TRUE(isInvalidName(name)) << name;
    for (const char* name : {"Unit 1", "Job (north)", "+44 7700", "..", "a,b"})
        EXPECT_FALSE(isInvalidName(name)) << name;
    EXPECT_TRUE(breaksTheLine("Job 1, north"));
    EXPECT_FALSE(breaksTheLine("Job 1; north"));
    EXPECT_EQ(folderNameAnswer("  Job 7 \t"), std::string("Job 7"));
    EXPECT_EQ(folderNameAnswer("   "), std::string());
}
