// The hardware command's fields and the identity date.
#include "unitsettings/SetupArguments.h"

#include <gtest/gtest.h>

using namespace mr3x::unitsettings;

TEST(SetupArguments, TheModeDigitCarriesOneWithoutFileTransfer)
{
    EXPECT_EQ(modeDigit(2, true), "2");
    EXPECT_EQ(modeDigit(2, false), "3");
    EXPECT_EQ(modeDigit(0, true), "0");
    EXPECT_EQ(modeDigit(0, false), "1");
    EXPECT_EQ(modeDigit(9, false), "0"); // the last digit only
}

TEST(SetupArguments, TheNineHardwareFields)
{
    HardwareChoice choice;
    choice.thresholdText = "15";
    choice.durationText = " 3";
    choice.fsdTag = "3";
    choice.phaseIndex = "4";
    choice.triggerTag = 2;
    choice.fileTransfer = true;
    choice.hardwareByte = 42;
    choice.gain = 5;
    choice.balance = 7;
    choice.referenceTag = 0;
    choice.filterOn = false;
    const std::array<std::string, 9> expected = {"15", " 3", "3", "4", "2", "042", "05", "07", "5"};
    EXPECT_EQ(hardwareFields(choice), expected);

    choice.durationText = " 10";
    choice.hardwareByte = 95;
    choice.gain = 20;
    choice.balance = 60;
    choice.referenceTag = 4;
    choice.filterOn = true;
    choice.fileTransfer = false;
    const std::array<std::string, 9> widest = {"15", "10", "3", "4", "3", "095", "20", "60", "4"};
    EXPECT_EQ(hardwareFields(choice), widest);
}

TEST(SetupArguments, TheIdentityDateIsYearMonthDay)
{
    EXPECT_EQ(idDate("07/03/2031"), "310307");
    EXPECT_EQ(idDate("31/12/1999"), "991231");
    EXPECT_EQ(idDate("7/3/31"), "/37/"); // a shorter form gives what its places hold
    EXPECT_EQ(idDate(""), "");
}
