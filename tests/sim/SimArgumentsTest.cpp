// The standalone server's command line.
#include "sim/SimArguments.h"

#include <gtest/gtest.h>

using namespace mr3x::sim;

TEST(SimArguments, ReadsEveryOptionAndFaultAndTheHelpNamesEachWithItsDefault)
{
    const std::vector<std::string> all{
        "--device", "/dev/ttyUSB0", "--baud", "9600", "--pace", "--model", "m-s32", "--seed", "99", "--events",
        "30", "--fault-distance", "240.5", "--cable-length", "600", "--far-end", "short", "--trs", "slave",
        "--serial", "MR-0102", "--clock", "2027-02-28 23:59:58", "--disarmed", "--upper-case",
        "--silent", "X", "--silent", "f:2", "--fault-transfer", "3", "--corrupt", "12@2", "--drop", "1",
        "--stall", "2000:forever", "--abort", "4", "--disconnect", "5000", "--log"};
    std::string error;
    const auto args = parseServerArguments(all, error);
    ASSERT_TRUE(args) << error;
    const SimOptions& o = args->options;
    const TransferFaults& t = o.faults.transfer;
    EXPECT_EQ(std::tuple(args->device, o.baud, o.model, o.seed, o.events, o.serialNumber),
              std::tuple(std::string("/dev/ttyUSB0"), 9600, Model::MS32, 99u, 30, std::string("MR-0102")));
    EXPECT_EQ(std::tuple(o.faultDistanceM, o.cableLengthM, o.farEnd, o.trsRole),
              std::tuple(240.5, 600.0, FarEnd::Short, TrsRole::Slave));
    EXPECT_TRUE(args->clockGiven);
    EXPECT_EQ(o.clock, (DateTime{2027, 2, 28, 23, 59, 58}));
    EXPECT_EQ(std::tuple(o.paced, o.armed, o.upperCaseFinished, args->log, args->help), std::tuple(true, false, true, true, false));
    // Silent commands as letter and occurrence; corruption and drops as times and first block.
    ASSERT_EQ(o.faults.silent.size(), 2u);
    EXPECT_EQ(std::tuple(o.faults.silent[0].letter, o.faults.silent[0].occurrence), std::tuple('X', 0));
    EXPECT_EQ(std::tuple(o.faults.silent[1].letter, o.faults.silent[1].occurrence), std::tuple('f', 2));
    EXPECT_EQ(o.faults.faultyTransfer, 3);
    EXPECT_EQ(std::tuple(t.corruptTimes, t.corruptFromBlock, t.dropTimes, t.dropFromBlock), std::tuple(12, 2, 1, 1));
    EXPECT_EQ(std::tuple(t.stallAfterBytes, t.stallMs, t.abortAtBlock, t.disconnectAfterBytes),
              std::tuple(std::int64_t{2000}, std::int64_t{-1}, 4, std::int64_t{5000}));

    // The help lists each flag on a line of its own with its default; nothing given, the unit
    // gets the cable the help names.
    const std::string usage = serverUsage();
    auto lineOf = [&usage](const std::string& flag) {
        const auto at = usage.find("\n  " + flag + " ");
        return at == std::string::npos ? std::string() : usage.substr(at + 1, usage.find('\n', at + 1) - at - 1);
    };
    for (const std::string& flag : all)
        EXPECT_TRUE(!flag.starts_with("--") || lineOf(flag).find("(default: ") != std::string::npos)
            << flag << ": " << lineOf(flag);
    EXPECT_NE(lineOf("--help"), "");
    EXPECT_TRUE(parseServerArguments({"--help"}, error).value_or(ServerArguments{}).help);
    const auto none = parseServerArguments({}, error);
    ASSERT_TRUE(none) << error;
    EXPECT_EQ(std::tuple(none->options.faultDistanceM, none->options.cableLengthM, none->options.farEnd, none->options.trsRole),
              std::tuple(150.0, 320.0, FarEnd::Open, TrsRole::None));
    EXPECT_NE(lineOf("--fault-distance").find("(default: 150)"), std::string::npos);
    EXPECT_NE(lineOf("--cable-length").find("(default: 320)"), std::string::npos);
}

TEST(SimArguments, RefusesWhatItCannotServe)
{
    const std::vector<std::vector<std::string>> bad{
        {"--baud", "19200"}, {"--model", "M-R33"}, {"--events", "41"}, {"--clock", "2026-02-30 10:00:00"},
        {"--clock", "06/12/2026"}, {"--seed", "-1"}, {"--silent", "X:0"}, {"--stall", "100"}, {"--corrupt", "x"},
        {"--device"}, {"--frobnicate"}, {"--far-end", "middle"}, {"--trs", "both"}, {"--cable-length", "5"},
        {"--fault-distance", "nan"}, {"--fault-distance", "-1"},
        // The fault must lie on the cable, whichever flag comes first.
        {"--fault-distance", "400"}, {"--cable-length", "150"}, {"--cable-length", "200", "--fault-distance", "200"},
    };
    for (const auto& args : bad) {
        std::string error;
        EXPECT_FALSE(parseServerArguments(args, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}
