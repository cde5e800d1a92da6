// The standalone server's command line.
#include "sim/SimArguments.h"

#include <gtest/gtest.h>

using namespace mr3x::sim;

TEST(SimArguments, ReadsEveryOptionAndFault)
{
    std::string error;
    const auto args = parseServerArguments(
        {"--device", "/dev/ttyUSB0", "--baud", "9600", "--pace", "--model", "m-s32", "--seed", "99", "--events",
         "30", "--fault-distance", "240.5", "--cable-length", "600", "--far-end", "short", "--trs", "slave",
         "--serial", "MR-0102", "--clock", "2027-02-28 23:59:58", "--disarmed", "--upper-case",
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
    EXPECT_EQ(o.faultDistanceM, 240.5);
    EXPECT_EQ(o.cableLengthM, 600);
    EXPECT_EQ(o.farEnd, FarEnd::Short);
    EXPECT_EQ(o.trsRole, TrsRole::Slave);
    EXPECT_EQ(o.serialNumber, "MR-0102");
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
        {"--far-end", "middle"},      {"--trs", "both"},     {"--cable-length", "5"},
        {"--fault-distance", "nan"},  {"--fault-distance", "-1"},
        // The fault must lie on the cable, whichever flag comes first.
        {"--fault-distance", "400"},  {"--cable-length", "150"},
        {"--cable-length", "200", "--fault-distance", "200"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(parseServerArguments(args, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

TEST(SimArguments, HelpListsEveryOptionWithItsDefault)
{
    std::string error;
    const auto args = parseServerArguments({"--help"}, error);
    ASSERT_TRUE(args) << error;
    EXPECT_TRUE(args->help);
    // Nothing given: the defaults the help names.
    const auto none = parseServerArguments({}, error);
    ASSERT_TRUE(none) << error;
    const SimOptions& o = none->options;
    EXPECT_EQ(std::tuple(o.faultDistanceM, o.cableLengthM, o.farEnd, o.trsRole),
              std::tuple(150.0, 320.0, FarEnd::Open, TrsRole::None));

    const std::string usage = serverUsage();
    auto lineOf = [&usage](const std::string& flag) {
        const auto at = usage.find("\n  " + flag + " ");
        return at == std::string::npos ? std::string() : usage.substr(at + 1, usage.find('\n', at + 1) - at - 1);
    };
    const std::vector<std::pair<std::string, std::string>> defaults{
        {"--device", "a new pty"}, {"--baud", "115200"}, {"--pace", "off"}, {"--model", "M-R32"},
        {"--serial", "MR-0101"}, {"--seed", "1"}, {"--events", "12"}, {"--clock", "the PC's local time"},
        {"--disarmed", "armed"}, {"--upper-case", "as sent"}, {"--log", "off"}, {"--fault-distance", "150"},
        {"--cable-length", "320"}, {"--far-end", "open"}, {"--trs", "none"}, {"--silent", "none"},
        {"--fault-transfer", "0"}, {"--corrupt", "none"}, {"--drop", "none"}, {"--stall", "none"},
        {"--abort", "none"}, {"--disconnect", "none"}};
    for (const auto& [flag, value] : defaults)
        EXPECT_NE(lineOf(flag).find("(default: " + value), std::string::npos) << flag << ": " << lineOf(flag);
    EXPECT_NE(lineOf("--help"), "");
}
