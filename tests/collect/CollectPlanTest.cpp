// The collector's command line, its round plan, which units may start together, and what it
// says of each unit.
#include "collect/CollectPlan.h"

#include <gtest/gtest.h>

namespace mr3x::collect {
namespace {

TEST(CollectCommandLine, ReadsTheOptionsAndRefusesWhatItCannotUse)
{
    const CommandLine line = parseCommandLine({"--folder", "/srv/M-R3X Master", "--system", "North", "--every", "60",
                                               "--parallel", "3", "--report", "r.json", "MR-0101", "MR-0102"});
    ASSERT_TRUE(line.options);
    EXPECT_EQ(line.options->folder, "/srv/M-R3X Master");
    EXPECT_EQ(line.options->system, "North");
    EXPECT_EQ(line.options->everyMinutes, 60);
    EXPECT_EQ(line.options->parallel, 3);
    EXPECT_EQ(line.options->reportFile, "r.json");
    EXPECT_EQ(line.options->units, (std::vector<std::string>{"MR-0101", "MR-0102"}));
    EXPECT_EQ(parseCommandLine({"--folder", "f", "--system", "s"}).options->parallel, 8);

    const std::vector<std::pair<std::vector<std::string>, std::string>> wrong{
        {{"--system", "s"}, "--folder PROGRAM_FOLDER is missing"},
        {{"--folder", "f"}, "--system NAME is missing"},
        {{"--folder", "f", "--system", "s", "--once", "--every", "5"}, "--once and --every exclude each other"},
        {{"--folder", "f", "--system", "s", "--parallel", "0"}, "--parallel needs a whole number from 1 to 64"},
        {{"--folder", "f", "--system", "s", "--every", "5x"}, "--every needs a whole number from 1 to 10080"},
        {{"--folder", "f", "--system", "s", "--fast"}, "unknown option --fast"},
        {{"--folder"}, "--folder needs a value"},
    };
    for (const auto& [args, error] : wrong) {
        const CommandLine refused = parseCommandLine(args);
        EXPECT_FALSE(refused.options) << error;
        EXPECT_EQ(refused.error, error);
    }
    EXPECT_TRUE(parseCommandLine({"--help"}).help);
}

TEST(CollectRound, WorksAddressedUnitsSkipsTheRestAndNeverTwoOnOnePort)
{
    const UnitTable units{{"MR-0101", "1", "M-R32", "Feeder 7", "North Yard", ""},
                          {"MR-0102", "2", "M-R32", "Feeder 7", "South Yard", ""},
                          {"MR-0103", "3", "M-S32", "Feeder 9", "Mill Lane", ""}};
    const UnitAddressTable addresses = readUnitAddressTable({"MR-0101,COM3,115", "mr-0103,rfc2217://10.0.0.5:4001,9.6,3000"});

    const RoundPlan all = planRound(units, addresses, {}, "North");
    ASSERT_EQ(all.jobs.size(), 2u);
    EXPECT_EQ(all.jobs[0].port, "COM3");
    EXPECT_EQ(all.jobs[0].baud, 115200);
    EXPECT_EQ(all.jobs[1].unit, "MR-0103");
    EXPECT_EQ(all.jobs[1].linkAllowanceMs, 3000);
    ASSERT_EQ(all.notWorked.size(), 1u);
    EXPECT_EQ(outcomeLine(all.notWorked[0]), "MR-0102 South Yard: skipped: no address in \"Unit Addresses.txt\"");

    const RoundPlan chosen = planRound(units, addresses, {"mr-0101", "MR-0999"}, "North");
    ASSERT_EQ(chosen.jobs.size(), 1u);
    EXPECT_EQ(chosen.jobs[0].unit, "MR-0101");
    ASSERT_EQ(chosen.notWorked.size(), 1u);
    EXPECT_EQ(chosen.notWorked[0].result, Result::Failed);
    EXPECT_EQ(chosen.notWorked[0].message, "not a unit of North");
    EXPECT_EQ(exitStatus(chosen.notWorked), 1);

    // Two units behind one port (COM names in any case) wait for each other; the free slots count.
    std::vector<UnitJob> waiting{all.jobs[0], all.jobs[1], all.jobs[0]};
    waiting[2].port = "com3";
    EXPECT_EQ(startable(waiting, {}, 8), (std::vector<std::size_t>{0, 1}));
    EXPECT_EQ(startable(waiting, {"COM3"}, 8), (std::vector<std::size_t>{1}));
    EXPECT_EQ(startable(waiting, {}, 1), (std::vector<std::size_t>{0}));
}

TEST(CollectRound, SaysOfEachUnitWhatCameInAndWhetherItWasReArmed)
{
    UnitOutcome collected = outcomeOf("MR-0101", "North Yard", "COM3", Result::Collected);
    collected.newEvents = {"a.trg", "b.trg", "c.trg"};
    collected.rearmed = true;
    collected.seconds = 41;
    EXPECT_EQ(outcomeLine(collected), "MR-0101 North Yard: 3 new events, re-armed (41 s)");
    collected.newEvents = {"a.trg"};
    EXPECT_EQ(outcomeLine(collected), "MR-0101 North Yard: 1 new event, re-armed (41 s)");
    collected.newEvents.clear();
    EXPECT_EQ(outcomeLine(collected), "MR-0101 North Yard: no new events, re-armed (41 s)");

    UnitOutcome failed = outcomeOf("MR-0102", "South Yard", "COM4", Result::Failed, "File transfer failed");
    failed.newEvents = {"a.trg"};
    failed.seconds = 12;
    EXPECT_EQ(outcomeLine(failed), "MR-0102 South Yard: failed: File transfer failed, 1 new event stored, not re-armed (12 s)");
    EXPECT_EQ(exitStatus({collected}), 0);
    EXPECT_EQ(exitStatus({collected, failed}), 1);
    for (Result r : {Result::Collected, Result::Failed, Result::Skipped})
        EXPECT_EQ(resultOfText(resultText(r)), r);
}

} // namespace
} // namespace mr3x::collect
