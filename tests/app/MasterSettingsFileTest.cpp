#include "app/MasterSettingsFile.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(MasterSettingsFile, WrittenSettingsReadBackTheSame)
{
    MasterSettings s;
    s.SystemFolder = "C:\\M-R3X Master\\Systems";
    s.CommPort = "COM3";
    s.Modem = "Hayes";
    s.LastSystem = "North Grid";
    s.LastJob = "Feeder 7";
    s.LastMaster = "Yard A";
    s.LastSlave = "Yard B";
    s.LastConnection = "/dev/ttyUSB0";
    s.LastMode = "TRS";
    EXPECT_EQ(masterSettingsLines(readMasterSettings(masterSettingsLines(s))), masterSettingsLines(s));

    // Without a display mode the file has nine lines and reads back with none.
    s.LastMode.clear();
    const std::vector<std::string> nine = masterSettingsLines(s);
    EXPECT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine.back(), "Last Connection = /dev/ttyUSB0");
    EXPECT_EQ(masterSettingsLines(readMasterSettings(nine)), nine);
}

TEST(MasterSettingsFile, HandEditedFilesAreReadFreely)
{
    // Any order, blanks around "=", any case, unknown lines, a value holding "=".
    const MasterSettings s = readMasterSettings({
        "; edited on site",
        "last system=Alpha",
        "",
        "   LAST JOB   =   Job 4   ",
        "Last Master = a=b",
        "comm PORT = COM2",
        "Modem =   ",
        "Last Slave",
        "Something else = 12",
    });
    EXPECT_EQ(s.LastSystem, "Alpha");
    EXPECT_EQ(s.LastJob, "Job 4");
    EXPECT_EQ(s.LastMaster, "a=b");
    EXPECT_EQ(s.CommPort, "COM2");
    EXPECT_EQ(s.Modem, "");
    // A line without "=" that names a key gives the whole line, trimmed.
    EXPECT_EQ(s.LastSlave, "Last Slave");
    EXPECT_EQ(s.LastMode, "");

    // A key is found anywhere in a line, so one line can set two settings.
    const MasterSettings both = readMasterSettings({"Last system = Modem Rig"});
    EXPECT_EQ(both.LastSystem, "Modem Rig");
    EXPECT_EQ(both.Modem, "Modem Rig");

    // "Last Mode" is read from the whole line, and TRS wins when the line names both.
    const std::pair<std::vector<std::string>, std::string> modes[] = {
        {{"last mode = trs"}, "TRS"},
        {{"Last Mode = TRS or TDR"}, "TRS"},
        {{"Last Mode = TDR", "Last Mode = VGS"}, "TDR"},
    };
    for (const auto& [lines, mode] : modes)
        EXPECT_EQ(readMasterSettings(lines).LastMode, mode) << lines.front();
}
