#include "app/MasterSettingsFile.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(MasterSettingsFile, WrittenSettingsReadBackTheSame)
{
    MasterSettings s{"C:\\M-R3X Master\\Systems", "COM3", "Hayes", "9", "North Grid", "Feeder 7",
                     "Yard A", "Yard B", "/dev/ttyUSB0", "TRS"};
    EXPECT_EQ(masterSettingsLines(readMasterSettings(masterSettingsLines(s))), masterSettingsLines(s));
    // Without a display mode the file has nine lines and reads back with none.
    s.LastMode.clear();
    const std::vector<std::string> nine = masterSettingsLines(s);
    ASSERT_EQ(nine.size(), 9u);
    EXPECT_EQ(masterSettingsLines(readMasterSettings(nine)), nine);
}

TEST(MasterSettingsFile, HandEditedFilesAreReadFreely)
{
    // Any order, blanks around "=", any case, unknown lines, a value holding "=".
    const MasterSettings s = readMasterSettings({"; edited on site", "last system=Alpha", "", "   LAST JOB   =   Job 4   ",
                                                 "Last Master = a=b", "comm PORT = COM2", "Modem =   ", "Last Slave",
                                                 "Something else = 12"});
    // A line without "=" that names a key gives the whole line, trimmed.
    EXPECT_EQ((std::vector<std::string>{s.LastSystem, s.LastJob, s.LastMaster, s.CommPort, s.Modem, s.LastSlave, s.LastMode}),
              (std::vector<std::string>{"Alpha", "Job 4", "a=b", "COM2", "", "Last Slave", ""}));

    // A key is found anywhere in a line, so one line can set two settings.
    const MasterSettings both = readMasterSettings({"Last system = Modem Rig"});
    EXPECT_EQ(both.LastSystem, "Modem Rig");
    EXPECT_EQ(both.Modem, "Modem Rig");

    // "Last Mode" is read from the whole line, and TRS wins when the line names both.
    const std::pair<std::vector<std::string>, std::string> modes[] = {
        {{"last mode = trs"}, "TRS"}, {{"Last Mode = TRS or TDR"}, "TRS"}, {{"Last Mode = TDR", "Last Mode = VGS"}, "TDR"}};
    for (const auto& [lines, mode] : modes)
        EXPECT_EQ(readMasterSettings(lines).LastMode, mode) << lines.front();
}
