#pragma once
// The unit table of a system and the lines of its configuration file.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x {

struct UnitEntry {
    std::string SerialNo;  // the unit's name: also its folder and its entry in the unit list
    std::string BtId;
    std::string Version;   // model string, such as "M-R32"
    std::string Job;
    std::string Location;
    std::string SimNo;
};

using UnitTable = std::vector<UnitEntry>;

} // namespace mr3x
