// The unit's settings text: the fields after "Parameters:", the list lines and the range checks.
#include "unitsettings/SettingsText.h"

#include <gtest/gtest.h>

using namespace mr3x::unitsettings;

namespace {

using Fields = std::vector<std::string>;

const Fields captured = {
    "M-R3X Local Unit M-R32",
    "Parameters:115200,15,3,12,0,0,3,34,10,10,0,R2,06/12/26,Feeder 7 Fault,North Yard,,,SIM 4401",
    "Finished X",
};

/// A settings text whose one field `field` holds `text`, the others in range.
Fields withField(Field field, const std::string& text)
{
    Fields fields = splitParameters(captured);
    fields[static_cast<std::size_t>(field)] = text;
    return fields;
}

} // namespace

TEST(SettingsText, TheCaptureIsJoinedAndSplitAfterParametersAndListedUpToTheLastButOneField)
{
    const Fields fields = splitParameters(captured);
    ASSERT_EQ(fields.size(), 18u);
    EXPECT_EQ(fields[1], "15");
    EXPECT_EQ(fields[13], "Feeder 7 Fault");
    EXPECT_EQ(fields[16], "");
    // The lines meet without their line ends: the SIM number runs into the "Finished" line, which
    // is cut off again without taking the number's last character.
    EXPECT_EQ(fields[17], "SIM 4401Finished X");
    for (const auto& [field, simNumber] : {std::pair{"SIM 4401Finished X", "SIM 4401"}, {"SIM 4401", "SIM 4401"},
                                           {"SIM 4401 \r\nFinished x\r\n", "SIM 4401"}, {"Finished X", ""},
                                           {"SIM 4401 Finished", "SIM 4401 Finished"}})
        EXPECT_EQ(withoutFinishedLine(field), simNumber) << field;

    // A line break inside the field list joins the two halves of a field.
    EXPECT_EQ(splitParameters({"Parameters:9600,1", "7,3"}), (Fields{"9600", "17", "3"}));
    // Only the first marker counts; text before it is dropped.
    EXPECT_EQ(splitParameters({"noise,noise Parameters:1,2", "Parameters:3"}), (Fields{"1", "2Parameters:3"}));
    // Without the marker the text is read from its eleventh character.
    EXPECT_EQ(splitParameters({"0123456789ab,cd"}), (Fields{"ab", "cd"}));
    EXPECT_EQ(splitParameters({"short"}), (Fields{""}));

    // The list stops at the last field but one (the SIM number) and at field 20.
    const std::array<std::string, 21> labels{"Baud rate: ", "Voltage threshold: "};
    const Fields lines = listLines(fields, labels);
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[1], "1: Voltage threshold: 15");
    const Fields capped = listLines(Fields(30, "x"), labels);
    ASSERT_EQ(capped.size(), 21u);
    EXPECT_EQ(capped[20], "20: x");
    EXPECT_TRUE(listLines({"only"}, labels).empty());
}

TEST(SettingsText, FieldsAreReadAsTheUnitWritesNumbersAndCheckedAtTheirLowerEnds)
{
    // The upper ends are checked through the window (SettingsFileTest). No message: in range.
    const std::tuple<Field, std::string, std::string> cases[] = {
        {Threshold, "12", ""},
        {Threshold, "11", "Threshold  (11)\nvalue reset to default (15)"},
        {Duration, "2", ""},
        {Duration, "1", "Duration out of range (1)\n value reset to default (3)"},
        {Gain, "0", ""},
        {Gain, "-1", "Gain setting out of range (-1)\n value reset to default (10)"},
        {BalanceMode, "0", ""},
        {BalanceMode, "-1", "Balance/Cross setting out of range (-1)\n value reset to default (Echo mode and Internal)"},
        // Leading blanks are allowed and what follows the number is ignored; a text that does not
        // start with a number reads as 0.
        {Threshold, "  20", ""},
        {Threshold, "20 V", ""},
        {Threshold, "abc", "Threshold  (0)\nvalue reset to default (15)"},
    };
    for (const auto& [field, text, message] : cases) {
        const auto check = checkField(withField(field, text), field);
        ASSERT_TRUE(check.has_value()) << text;
        EXPECT_EQ(check->inRange, message.empty()) << text;
        EXPECT_EQ(check->message, message) << text;
    }
    // A number far too big for any field is refused, not wrapped into range.
    for (const char* huge : {"99999999999999999999999", "-99999999999999999999999"})
        EXPECT_FALSE(checkField(withField(Duration, huge), Duration)->inRange) << huge;
}
