#pragma once
// Where each unit is reached: a text file in the program folder that the user edits, one unit a
// line, its serial number, the port and the line speed in kbaud, with an optional fourth field,
// the link allowance in milliseconds for a remote link whose reply delay the program is not to
// measure itself:
//
//   MR-0101,rfc2217://10.20.0.5:4001,115,3000
//   MR-0102,/dev/ttyUSB0,9.6
//
// Lines that start with "#" are notes; blank lines are skipped. A line the program cannot use is
// reported by number and text and left in the file as it is; of two lines for one serial number
// the first counts. Serial numbers are told apart without regard to case, as the unit table does.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x {

inline constexpr const char* kUnitAddressFileName = "Unit Addresses.txt";
/// A link that needs more than a minute on top of every wait is no working link.
inline constexpr int kLinkAllowanceMaxMs = 60'000;

struct UnitAddress {
    std::string serialNumber;
    std::string port;                     // as typed into the port list
    int baud = 9600;                      // 9600 ("9.6") or 115200 ("115")
    std::optional<int> linkAllowanceMs;   // nothing: the program finds the link's delay itself
    friend bool operator==(const UnitAddress&, const UnitAddress&) = default;
};

struct BrokenAddressLine {
    int number = 0;  // from 1
    std::string text;
    std::string reason;
    friend bool operator==(const BrokenAddressLine&, const BrokenAddressLine&) = default;
};

struct UnitAddressTable {
    std::vector<UnitAddress> addresses;     // in file order, one per serial number
    std::vector<BrokenAddressLine> broken;  // lines that give no address, with why

    /// The address of the unit with this serial number (in any case); nothing when it has none.
    const UnitAddress* forUnit(std::string_view serialNumber) const;
    /// The first address that names this port (samePort).
    const UnitAddress* forPort(std::string_view port) const;
};

UnitAddressTable readUnitAddressTable(const std::vector<std::string>& lines);

/// The file the program writes when the program folder holds none: notes that explain the form
/// and give examples, and no address.
std::vector<std::string> shippedUnitAddressTable();

/// Whether two port texts name one port: a device path ("/dev/ttyUSB0") only when they are the
/// same, COM names and network ports in any case, as their systems read them.
bool samePort(std::string_view a, std::string_view b);
/// The text two names of one port share (samePort): a device path as it is, any other name in
/// lower case; trimmed either way.
std::string portKey(std::string_view port);

/// The line speed of a kbaud text: 9600 for "9.6", 115200 for "115"; nothing for any other text.
std::optional<int> baudOfKbaudText(std::string_view text);

} // namespace mr3x
