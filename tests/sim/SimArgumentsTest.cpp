// The standalone server's command line.
#include "sim/SimArguments.h"

#include <gtest/gtest.h>

using namespace mr3x::sim;

TEST(SimArguments, ReadsEveryOptionAndFault)
{
    std::string error;
    const auto args = parseServerArguments(
        {"--device", "/dev/ttyUSB0", "--baud", "9600", "--pace", "--model", "m-s32", "--seed", "99", "--events",
         "30", "--fault-distance", "240", "--clock", "2027-02-28 23:59:58", "--disarmed", "--upper-case",
         "--silent", "X", "--silent", "f:2", "--fault-transfer", "3", "--corrupt", "12@2", "--drop", "1",
         "--stall", "2000:forever", "--abort", "4", "--disconnect", "5000", "--log"},
        error);
    ASSERT_TRUE(args) << error;
    const SimOptions& o = args->options;
    const TransferFaults& t = o.faults.transfer;
    EXPECT_EQ(args->device, "/dev/ttyUSB0");
    EXPECT_EQ(o.baud, 9600);
    EXPECT_EQ(o.model, Model::MS32);
    EXPECT_EQ(o.seed, 99u);
    EXPECT_EQ(o.events, 30);
    EXPECT_EQ(o.faultDistanceM, 240);
    EXPECT_TRUE(args->clockGiven);
    EXPECT_EQ(o.clock, (DateTime{2027, 2, 28, 23, 59, 58}));
    EXPECT_TRUE(o.paced);
    EXPECT_FALSE(o.armed);
    EXPECT_TRUE(o.upperCaseFinished);
    EXPECT_TRUE(args->log);
    // Silent commands as letter and occurrence; corruption and drops as times and first block.
    ASSERT_EQ(o.faults.silent.size(), 2u);
    EXPECT_EQ(std::tuple(o.faults.silent[0].letter, o.faults.silent[0].occurrence), std::tuple('X', 0));
    EXPECT_EQ(std::tuple(o.faults.silent[1].letter, o.faults.silent[1].occurrence), std::tuple('f', 2));
    EXPECT_EQ(o.faults.faultyTransfer, 3);
    EXPECT_EQ(std::tuple(t.corruptTimes, t.corruptFromBlock), std::tuple(12, 2));
    EXPECT_EQ(std::tuple(t.dropTimes, t.dropFromBlock), std::tuple(1, 1));
    EXPECT_EQ(std::tuple(t.stallAfterBytes, t.stallMs), std::tuple(2000, -1));
    EXPECT_EQ(t.abortAtBlock, 4);
    EXPECT_EQ(t.disconnectAfterBytes, 5000);
}

TEST(SimArguments, RefusesWhatItCannotServe)
{
    const std::vector<std::vector<std::string>> bad{
        {"--baud", "19200"},          {"--model", "M-R33"},  {"--events", "41"},
        {"--clock", "2026-02-30 10:00:00"}, {"--clock", "06/12/2026"}, {"--seed", "-1"},
        {"--silent", "X:0"},          {"--stall", "100"},     {"--corrupt", "x"},
        {"--device"},                 {"--frobnicate"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(parseServerArguments(args, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}
