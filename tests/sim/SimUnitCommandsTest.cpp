// The unit's command handling: log-on, the "Finished" answers, malformed commands and the
// settings that come back through "X".
#include "UnitDriver.h"

#include <gtest/gtest.h>

using namespace mr3x::sim;
using namespace mr3x::sim::test;

namespace {

const std::string kStopped = "\r\nstopped by serial comm!\r\n";

} // namespace

TEST(SimUnitLogOn, ArmedUnitHearsOnlyTheStopPair)
{
    UnitDriver d;
    EXPECT_EQ(d.ask("X", 500), "");
    // "=" then "-", a second apart, as the program logs on.
    d.send("=");
    d.run(1000);
    d.send("-");
    d.run(200);
    EXPECT_EQ(d.take(), kStopped);
    EXPECT_FALSE(d.unit.armed());
    EXPECT_NE(d.ask("X").find("Finished X"), std::string::npos);

    // "e" arms it again and it leaves serial control.
    EXPECT_EQ(d.ask("e"), "\r\nFinished e\r\n");
    EXPECT_TRUE(d.unit.armed());
    EXPECT_EQ(d.ask("R"), "");

    // "=" and "-" too far apart do not stop it; another byte between them breaks the pair.
    d.send("=");
    d.run(3500);
    EXPECT_EQ(d.ask("-"), "");
    d.send("=");
    d.run(100);
    d.send("x");
    EXPECT_EQ(d.ask("-"), "");
    EXPECT_TRUE(d.unit.armed());
}

TEST(SimUnitCommands, MalformedCommandsGetNoFinishedLineAndEveryCompletedOneAnswersFinishedAndShowsInTheSettingsText)
{
    UnitDriver d(disarmed());
    const std::vector<std::string> malformed{
        "hx5", "h40", "h11",                     // non-digit, threshold out of 12..35
        "d11", "d 1", "d1 ",                     // duration out of 2..10, blank in the wrong place
        "T261306120000", "T260230120000",        // month 13, 30 February
        "T2612061260000",                        // minute 60 (then a stray digit)
        "y2", "A3", "f20",                       // f: beyond the 20 slots of an M-R32
        "\r\n\r\ng15, 3,0,0,3,034,10,10",        // eight fields: waits, then dropped
        "g15, 3,0,6,3,034,10,10,0",              // phase 6
        "g15, 3,0,0,3,96,10,10,0",               // hardware byte of two digits
        "g15, 3,0,0,3,096,10,10,0",              // hardware byte beyond 95
        "g15, 3,0,0,3,034,21,10,0",              // gain 21
        "g15, 3,0,0,3,034,10,61,0",              // balance 61
        "N2612x6," + std::string(67, ' '),       // non-digit date
        identity("261306", "Job", "Loc"),        // month 13 in the identity date
    };
    for (const std::string& command : malformed) {
        d.take();
        d.send(command);
        d.run(1500);  // past the one-second gap that drops a half-received command
        EXPECT_EQ(d.take().find("Finished"), std::string::npos) << command;
        // The parser is back at the start of a command.
        EXPECT_EQ(d.ask("R"), "\r\nFinished R\r\n") << "after " << command;
    }
    // Nothing malformed changed a setting.
    EXPECT_EQ(d.unit.settings().threshold, 15);
    EXPECT_EQ(d.unit.settings().duration, 3);
    EXPECT_EQ(d.unit.settings().phase, 0);

    // A command whose characters pause for under a second still completes; over a second, it is dropped.
    d.send("T26");
    d.run(900);
    EXPECT_EQ(d.ask("1206120000"), "\r\nFinished T\r\n");
    d.send("T26");
    d.run(1100);
    EXPECT_EQ(d.ask("1206120000"), "");

    // "g" sets nine values at once (an odd mode digit means no trace); "h" and "d" then change
    // the threshold and duration again. (The unit's own settings text: InProcessTransportTest.)
    EXPECT_EQ(d.ask("\r\n\r\ng31,10,7,4,1,095,20,60,9"), "\r\nFinished g\r\n");
    d.ask("h22");
    d.ask("d 7");
    d.ask(identity("270315", "Substation 12 Cable Job X", "Ring Main 4"));
    EXPECT_EQ(d.ask("X"),
              "M-R3X Local Unit M-R32\r\nParameters:115200,22,7,12,7,4,1,95,20,60,9,R2,15/03/27,"
              "Substation 12 Cable Job,Ring Main 4,,,SIM 4401\r\nFinished X\r\n");

    // Every completed command answers "Finished" and its letter.
    const std::vector<std::pair<std::string, std::string>> commands{
        {"X", "X"}, {"T261206143000", "T"}, {"h15", "h"}, {"d 3", "d"}, {"d10", "d"},
        {identity("261206", "Feeder 7 Fault", "North Yard"), "N"}, {"\r\n\r\ng15, 3,0,0,3,034,10,10,0", "g"},
        {"R", "R"}, {"V", "V"}, {"W", "W"}, {"A1", "A"}, {"A2", "A"}, {"A0", "A"}, {"\x02", "^B"}, {"\x03", "^C"},
        {"p", "p"}, {"f00", "f"},  // "f" withdraws the index offer that "p" left open
        {"y1", "y"},
    };
    for (const auto& [command, letter] : commands) {
        const std::string finished = "\r\nFinished " + letter + "\r\n";
        const std::string answer = d.ask(command);
        ASSERT_GE(answer.size(), finished.size()) << command;
        EXPECT_EQ(answer.substr(answer.size() - finished.size()), finished) << command;
    }

    // An empty slot (past the unit's twelve events) says so but does not finish.
    EXPECT_EQ(d.ask("f12"), "\r\nNo event in slot 12\r\n");
    EXPECT_NE(d.ask("f11").find("Finished f"), std::string::npos);
}
