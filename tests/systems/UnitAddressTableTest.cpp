// The unit addresses a user writes by hand: which lines give an address, and which are reported.
#include "systems/UnitAddressTable.h"

#include <gtest/gtest.h>

using namespace mr3x;

TEST(UnitAddressTable, GoodLinesGiveAddressesAndEveryOtherLineIsReportedByNumberWithWhy)
{
    const std::vector<std::string> lines = {
        "# office units",
        "MR-0101,rfc2217://10.20.0.5:4001,115",
        "  MR-0102 , /dev/ttyUSB0 , 9.6 ",
        "",
        "MR-0103,socket://[fe80::1]:4001,115,3000",
        "MR-0104,COM3",                      // no speed
        "MR-0105,COM3,19.2",                 // no such speed
        ",COM3,9.6",                         // no serial number
        "MR-0106,,9.6",                      // no port
        "MR-0107,COM4,115,-5",
        "MR-0108,COM4,115,60001",            // beyond any working link
        "MR-0109,COM4,115,3 s",
        "mr-0101,COM9,9.6",                  // the same unit again: the first line counts
        "MR-0110,COM5,115,0060000",
        "MR-0111,COM5,115,0,extra",
    };
    const UnitAddressTable table = readUnitAddressTable(lines);
    EXPECT_EQ(table.addresses, (std::vector<UnitAddress>{
                                   {"MR-0101", "rfc2217://10.20.0.5:4001", 115200, std::nullopt},
                                   {"MR-0102", "/dev/ttyUSB0", 9600, std::nullopt},
                                   {"MR-0103", "socket://[fe80::1]:4001", 115200, 3000},
                                   {"MR-0110", "COM5", 115200, 60000},
                               }));
    const std::pair<int, const char*> numberAndWhy[] = {
        {6, "serial number,port,kbaud"}, {7, "\"19.2\" is not a line speed"}, {8, "no serial number"},
        {9, "no port"}, {10, "cannot be negative"}, {11, "beyond"}, {12, "\"3 s\" is not a link allowance"},
        {13, "earlier line"}, {15, "serial number,port,kbaud"}};
    ASSERT_EQ(table.broken.size(), std::size(numberAndWhy));
    for (std::size_t k = 0; k < table.broken.size(); ++k) {
        EXPECT_EQ(table.broken[k].number, numberAndWhy[k].first) << k;
        EXPECT_EQ(table.broken[k].text, lines[std::size_t(numberAndWhy[k].first - 1)]);
        EXPECT_NE(table.broken[k].reason.find(numberAndWhy[k].second), std::string::npos) << table.broken[k].reason;
    }
}

TEST(UnitAddressTable, UnitsAreFoundInAnyCaseAndPortsAsTheirSystemsNameThem)
{
    const UnitAddressTable table = readUnitAddressTable(
        {"MR-0101,rfc2217://Device-Server:4001,115,2500", "MR-0102,/dev/ttyUSB0,9.6", "MR-0103,/dev/ttyUSB0,115", "MR-0104,COM3,9.6"});
    ASSERT_NE(table.forUnit(" mr-0102"), nullptr);
    EXPECT_EQ(table.forUnit("MR-0102")->port, "/dev/ttyUSB0");
    EXPECT_EQ(table.forUnit("MR-01"), nullptr);

    // Two units on one adapter: the port leads to the first of them.
    EXPECT_EQ(table.forPort("/dev/ttyUSB0")->serialNumber, "MR-0102");
    EXPECT_EQ(table.forPort("/dev/TTYUSB0"), nullptr);
    EXPECT_EQ(table.forPort("com3")->serialNumber, "MR-0104");
    EXPECT_EQ(table.forPort("rfc2217://device-server:4001")->linkAllowanceMs, 2500);
    EXPECT_EQ(table.forPort("COM4"), nullptr);
}

TEST(UnitAddressTable, TheShippedFileGivesNoAddressButItsExamplesReadOnceUncommented)
{
    const std::vector<std::string> shipped = shippedUnitAddressTable();
    const UnitAddressTable table = readUnitAddressTable(shipped);
    EXPECT_TRUE(table.addresses.empty());
    EXPECT_TRUE(table.broken.empty());

    // Every example the notes give is a line the table takes once its "#" is removed.
    std::vector<std::string> examples;
    for (const std::string& line : shipped)
        if (line.find("MR-01") != std::string::npos)
            examples.push_back(line.substr(line.find("MR-01")));
    const UnitAddressTable uncommented = readUnitAddressTable(examples);
    EXPECT_EQ(uncommented.addresses.size() + uncommented.broken.size(), 3u);
    EXPECT_EQ(uncommented.broken.size(), 1u); // the allowance's example and the first example name one unit
    EXPECT_EQ(uncommented.addresses[0].linkAllowanceMs, 3000);
    EXPECT_EQ(uncommented.addresses[1], (UnitAddress{"MR-0102", "/dev/ttyUSB0", 9600, std::nullopt}));
}
