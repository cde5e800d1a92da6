#include "systems/UnitAddressTable.h"

#include "common/Text.h"

#include <algorithm>
#include <cctype>

namespace mr3x {

namespace {

bool allDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

bool hasControlCharacter(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; });
}

/// The allowance of a fourth field, or why there is none.
std::optional<int> allowanceOf(std::string_view text, std::string& reason)
{
    std::string_view digits = text;
    const bool negative = !digits.empty() && digits.front() == '-';
    if (negative)
        digits.remove_prefix(1);
    if (!allDigits(digits)) {
        reason = "\"" + std::string(text) + "\" is not a link allowance in milliseconds";
        return std::nullopt;
    }
    if (negative) {
        reason = "a link allowance cannot be negative";
        return std::nullopt;
    }
    // Leading zeros aside, more than five digits is past the limit before any arithmetic.
    const std::string_view significant = digits.substr(std::min(digits.find_first_not_of('0'), digits.size()));
    const int ms = significant.size() > 5 ? kLinkAllowanceMaxMs + 1
                 : significant.empty()    ? 0
                                          : std::stoi(std::string(significant));
    if (ms > kLinkAllowanceMaxMs) {
        reason = "a link allowance of " + std::string(text) + " ms is beyond the " + std::to_string(kLinkAllowanceMaxMs)
               + " ms any working link needs";
        return std::nullopt;
    }
    return ms;
}

std::optional<UnitAddress> addressOfLine(std::string_view line, std::string& reason)
{
    const std::vector<std::string> fields = splitTrimmedFields(line);
    if (fields.size() < 3 || fields.size() > 4) {
        reason = "a unit's line is \"serial number,port,kbaud\", with the link allowance in ms as an optional fourth field";
        return std::nullopt;
    }
    UnitAddress address;
    address.serialNumber = fields[0];
    address.port = fields[1];
    if (address.serialNumber.empty() || hasControlCharacter(address.serialNumber)) {
        reason = "it names no serial number";
        return std::nullopt;
    }
    if (address.port.empty() || hasControlCharacter(address.port)) {
        reason = "it names no port";
        return std::nullopt;
    }
    const std::optional<int> baud = baudOfKbaudText(fields[2]);
    if (!baud) {
        reason = "\"" + fields[2] + "\" is not a line speed: kbaud is 9.6 or 115";
        return std::nullopt;
    }
    address.baud = *baud;
    if (fields.size() == 4) {
        address.linkAllowanceMs = allowanceOf(fields[3], reason);
        if (!address.linkAllowanceMs)
            return std::nullopt;
    }
    return address;
}

} // namespace

std::string portKey(std::string_view port)
{
    std::string key = trim(port);
    const bool devicePath = !key.empty() && key.front() == '/';
    if (!devicePath)
        std::transform(key.begin(), key.end(), key.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return key;
}

bool samePort(std::string_view a, std::string_view b)
{
    return portKey(a) == portKey(b);
}

std::optional<int> baudOfKbaudText(std::string_view text)
{
    const std::string kbaud = trim(text);
    if (kbaud == "9.6")
        return 9600;
    if (kbaud == "115")
        return 115200;
    return std::nullopt;
}

const UnitAddress* UnitAddressTable::forUnit(std::string_view serialNumber) const
{
    const std::string wanted = trim(serialNumber);
    const auto found = std::find_if(addresses.begin(), addresses.end(),
                                    [&](const UnitAddress& a) { return equalsNoCase(a.serialNumber, wanted); });
    return found == addresses.end() ? nullptr : &*found;
}

const UnitAddress* UnitAddressTable::forPort(std::string_view port) const
{
    const auto found = std::find_if(addresses.begin(), addresses.end(), [&](const UnitAddress& a) { return samePort(a.port, port); });
    return found == addresses.end() ? nullptr : &*found;
}

UnitAddressTable readUnitAddressTable(const std::vector<std::string>& lines)
{
    UnitAddressTable table;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string trimmed = trim(lines[i]);
        if (trimmed.empty() || trimmed.front() == '#')
            continue;
        std::string reason;
        std::optional<UnitAddress> address = addressOfLine(trimmed, reason);
        if (address && table.forUnit(address->serialNumber) != nullptr) {
            reason = "\"" + address->serialNumber + "\" has its address on an earlier line, which counts";
            address.reset();
        }
        if (address)
            table.addresses.push_back(std::move(*address));
        else
            table.broken.push_back({int(i) + 1, lines[i], reason});
    }
    return table;
}

std::vector<std::string> shippedUnitAddressTable()
{
    return {
        "# Unit addresses: where each unit is reached. One unit a line:",
        "#   serial number,port,kbaud",
        "# The port is a serial port (COM3, /dev/ttyUSB0), \"socket://HOST:PORT\" for a unit behind a",
        "# raw TCP device server or \"rfc2217://HOST:PORT\" for one behind an RFC 2217 (telnet) server.",
        "# kbaud is 9.6 or 115. Choosing the unit in the Master chain selects its port and speed.",
        "# A fourth field, the link allowance in milliseconds, is added to every wait on a remote",
        "# link whose delay the program is not to measure itself (up to 60000):",
        "#   MR-0101,rfc2217://10.20.0.5:4001,115,3000",
        "# Lines starting with # are notes. Remove the # in front of a line to use it, for example:",
        "# MR-0101,rfc2217://10.20.0.5:4001,115",
        "# MR-0102,/dev/ttyUSB0,9.6",
    };
}

} // namespace mr3x
