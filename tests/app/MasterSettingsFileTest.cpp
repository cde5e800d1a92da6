#include "app/MasterSettingsFile.h"

#include <gtest/gtest.h>

using namespace mr3x;

namespace {

using Lines = std::vector<std::string>;

bool sameSettings(const MasterSettings& a, const MasterSettings& b)
{
    return masterSettingsLines(a) == masterSettingsLines(b) && a.DialPrefix == b.DialPrefix;
}

} // namespace

TEST(MasterSettingsFile, NewFileHoldsTheTenDefaultLinesInOrder)
{
    EXPECT_EQ(masterSettingsLines(defaultMasterSettings("/home/eng/M-R3X Master/Systems")),
              (Lines{"System Folder = /home/eng/M-R3X Master/Systems", "Comm port = COM1", "Modem = ", "Dial prefix = ",
                     "Last system = New System", "Last Job = New Job", "Last Master = New Master",
                     "Last Slave = New Slave", "Last Connection = ", "Last Mode = TDR"}));
}

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
    EXPECT_TRUE(sameSettings(readMasterSettings(masterSettingsLines(s)), s));

    // Without a display mode the file has nine lines and reads back with none.
    s.LastMode.clear();
    const Lines nine = masterSettingsLines(s);
    EXPECT_EQ(nine.size(), 9u);
    EXPECT_EQ(nine.back(), "Last Connection = /dev/ttyUSB0");
    EXPECT_TRUE(sameSettings(readMasterSettings(nine), s));
}

TEST(MasterSettingsFile, HandEditedFilesAreReadFreely)
{
    // Any order, blanks around "=", lower case, unknown lines, a value holding "=".
    const MasterSettings s = readMasterSettings({
        "; edited on site",
        "last system=Alpha",
        "",
        "   LAST JOB   =   Job 4   ",
        "Last Master = a=b",
        "comm PORT = COM2",
        "Last Slave",
        "Something else = 12",
    });
    EXPECT_EQ(s.LastSystem, "Alpha");
    EXPECT_EQ(s.LastJob, "Job 4");
    EXPECT_EQ(s.LastMaster, "a=b");
    EXPECT_EQ(s.CommPort, "COM2");
    // A line without "=" that names a key gives the whole line, trimmed.
    EXPECT_EQ(s.LastSlave, "Last Slave");
    EXPECT_EQ(s.LastConnection, "");
    EXPECT_EQ(s.LastMode, "");

    // A key is found anywhere in a line, so one line can set two settings.
    const MasterSettings both = readMasterSettings({"Last system = Modem Rig"});
    EXPECT_EQ(both.LastSystem, "Modem Rig");
    EXPECT_EQ(both.Modem, "Modem Rig");
}

TEST(MasterSettingsFile, LastModeIsReadFromTheWholeLineAndTrsWins)
{
    EXPECT_EQ(readMasterSettings({"last mode = trs"}).LastMode, "TRS");
    EXPECT_EQ(readMasterSettings({"Last Mode = TDR"}).LastMode, "TDR");
    EXPECT_EQ(readMasterSettings({"Last Mode = TRS or TDR"}).LastMode, "TRS");
    EXPECT_EQ(readMasterSettings({"Last Mode = TDR", "Last Mode = VGS"}).LastMode, "TDR");
    EXPECT_EQ(readMasterSettings({"Last Connection = COM1"}).LastMode, "");
}

TEST(MasterSettingsFile, OnlySystemFolderLinesAskForTheirFolder)
{
    MasterSettings s;
    EXPECT_TRUE(readMasterSettingsLine("system folder = D:\\Data", s).systemFolder);
    EXPECT_EQ(s.SystemFolder, "D:\\Data");
    EXPECT_FALSE(readMasterSettingsLine("Last system = Folder", s).systemFolder);
    EXPECT_EQ(settingValue("  no equals here "), "no equals here");
    EXPECT_EQ(settingValue("Key =   "), "");
}
