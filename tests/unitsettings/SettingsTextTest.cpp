// The unit's settings text: the fields after "Parameters:", the list lines and the range checks.
#include "unitsettings/SettingsText.h"

#include <gtest/gtest.h>

using namespace mr3x::unitsettings;

namespace {

const std::vector<std::string> captured = {
    "M-R3X Local Unit M-R32",
    "Parameters:115200,15,3,12,0,0,3,34,10,10,0,R2,06/12/26,Feeder 7 Fault,North Yard,,,SIM 4401",
    "Finished X",
};

std::array<std::string, 21> startLabels()
{
    return {"Baud rate: ", "Voltage threshold: ", "Trigger sample count: ", "Trigger record number: ",
            "Current sensitivity: ", "Phase: ", "Trigger mode: ", "Pre-trigger/Pulse/Range: ", "Gain: ",
            "Internal: ", "Balance Mode: ", "Version: ", "Date: ", "Job: ", "Location: ", "Spare: ", "",
            "SIM No: ", "", "", ""};
}

/// A settings text whose one field `field` holds `text`, the others in range.
std::vector<std::string> withField(int field, const std::string& text)
{
    std::vector<std::string> fields = splitParameters(captured);
    fields[static_cast<std::size_t>(field)] = text;
    return fields;
}

} // namespace

TEST(SettingsText, TheCaptureIsJoinedAndSplitAfterParameters)
{
    const std::vector<std::string> fields = splitParameters(captured);
    ASSERT_EQ(fields.size(), 18u);
    EXPECT_EQ(fields[0], "115200");
    EXPECT_EQ(fields[1], "15");
    EXPECT_EQ(fields[11], "R2");
    EXPECT_EQ(fields[13], "Feeder 7 Fault");
    EXPECT_EQ(fields[16], "");
    // The lines meet without their line ends: the SIM number runs into the "Finished" line.
    EXPECT_EQ(fields[17], "SIM 4401Finished X");
    EXPECT_EQ(withoutFinishedLine(fields[17]), "SIM 4401");

    // A line break inside the field list joins the two halves of a field.
    const std::vector<std::string> broken = splitParameters({"Parameters:9600,1", "7,3"});
    EXPECT_EQ(broken, (std::vector<std::string>{"9600", "17", "3"}));
    // Only the first marker counts; text before it is dropped.
    EXPECT_EQ(splitParameters({"noise,noise Parameters:1,2", "Parameters:3"}),
              (std::vector<std::string>{"1", "2Parameters:3"}));
}

TEST(SettingsText, ATextWithoutTheMarkerIsReadFromItsEleventhCharacter)
{
    EXPECT_EQ(splitParameters({"0123456789ab,cd"}), (std::vector<std::string>{"ab", "cd"}));
    EXPECT_EQ(splitParameters({"short"}), (std::vector<std::string>{""}));
    EXPECT_EQ(splitParameters({}), (std::vector<std::string>{""}));
}

TEST(SettingsText, TheSimNumberKeepsItsLastCharacterWhenTheFinishedLineIsCut)
{
    EXPECT_EQ(withoutFinishedLine("SIM 4401Finished X"), "SIM 4401");
    EXPECT_EQ(withoutFinishedLine("SIM 4401 \r\nFinished x\r\n"), "SIM 4401");
    EXPECT_EQ(withoutFinishedLine("Finished X"), "");
    EXPECT_EQ(withoutFinishedLine("SIM 4401"), "SIM 4401");
    EXPECT_EQ(withoutFinishedLine("SIM 4401 Finished"), "SIM 4401 Finished");
}

TEST(SettingsText, TheListShowsEachFieldWithItsLabelUpToTheLastButOne)
{
    const std::vector<std::string> lines = listLines(splitParameters(captured), startLabels());
    ASSERT_EQ(lines.size(), 17u); // fields 0 to 16: the SIM number is the last field
    EXPECT_EQ(lines[0], "0: Baud rate: 115200");
    EXPECT_EQ(lines[1], "1: Voltage threshold: 15");
    EXPECT_EQ(lines[7], "7: Pre-trigger/Pulse/Range: 34");
    EXPECT_EQ(lines[16], "16: ");

    // Never past field 20, however many fields the unit sends.
    std::vector<std::string> many(30, "x");
    const std::vector<std::string> capped = listLines(many, startLabels());
    ASSERT_EQ(capped.size(), 21u);
    EXPECT_EQ(capped[20], "20: x");
    EXPECT_TRUE(listLines({"only"}, startLabels()).empty());
}

TEST(SettingsText, EachRangeBoundaryAndItsMessage)
{
    struct Case {
        Field field;
        std::string inside;
        std::string outside;
        std::string message;
    };
    const std::vector<Case> cases = {
        {Threshold, "35", "36", "Threshold  (36)\nvalue reset to default (15)"},
        {Threshold, "12", "11", "Threshold  (11)\nvalue reset to default (15)"},
        {Duration, "10", "11", "Duration out of range (11)\n value reset to default (3)"},
        {Duration, "2", "1", "Duration out of range (1)\n value reset to default (3)"},
        {CurrentFsd, "7", "8", "Current FSD out of range (8)\n value reset to default (0)"},
        {Phase, "5", "6", "Phase selection out of range (6)\n value reset to default (R-N)"},
        {TriggerMode, "3", "4", "TDR/TRS Mode out of range (4)\n values reset to Mode=TDR"},
        {RangePulse, "95", "96",
         "Range/Pulse/Pre_Post out of range (96)\n values reset to Range=Short, Pulse=ON(2), Pre/Post=7/1"},
        {Gain, "20", "21", "Gain setting out of range (21)\n value reset to default (10)"},
        {Balance, "60", "61", "Balance setting out of range (61)\n value reset to default (10)"},
        {BalanceMode, "9", "10", "Balance/Cross setting out of range (10)\n value reset to default (Echo mode and Internal)"},
        {Gain, "0", "-1", "Gain setting out of range (-1)\n value reset to default (10)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        const auto inside = checkField(withField(c.field, c.inside), c.field);
        ASSERT_TRUE(inside.has_value());
        EXPECT_TRUE(inside->inRange);
        EXPECT_TRUE(inside->message.empty());
        const auto outside = checkField(withField(c.field, c.outside), c.field);
        ASSERT_TRUE(outside.has_value());
        EXPECT_FALSE(outside->inRange);
        EXPECT_EQ(outside->message, c.message);
    }
}

TEST(SettingsText, FieldsAreReadAsTheUnitWritesNumbers)
{
    // Leading blanks are allowed; whatever follows the number is ignored.
    EXPECT_EQ(checkField(withField(Threshold, "  20"), Threshold)->value, 20);
    EXPECT_EQ(checkField(withField(Threshold, "20 V"), Threshold)->value, 20);
    // A text that does not start with a number reads as 0, which the threshold refuses.
    const auto word = checkField(withField(Threshold, "abc"), Threshold);
    EXPECT_EQ(word->value, 0);
    EXPECT_EQ(word->message, "Threshold  (0)\nvalue reset to default (15)");
    // An empty phase reads as 0, which is in range.
    EXPECT_TRUE(checkField(withField(Phase, ""), Phase)->inRange);
    // A number far too big for any field is refused, not wrapped into range.
    EXPECT_FALSE(checkField(withField(Duration, "99999999999999999999999"), Duration)->inRange);
    EXPECT_FALSE(checkField(withField(Duration, "-99999999999999999999999"), Duration)->inRange);
}

TEST(SettingsText, AShortTextHasNoCheckForTheFieldsItLacks)
{
    const std::vector<std::string> fields = splitParameters({"Parameters:115200,15,3"});
    EXPECT_TRUE(checkField(fields, Duration).has_value());
    EXPECT_FALSE(checkField(fields, CurrentFsd).has_value());
    EXPECT_FALSE(checkField(fields, BalanceMode).has_value());
}
