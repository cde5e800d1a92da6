// A system configuration file ("<system>.cfg"), as hand editing may leave it, read into the unit
// table the way the program reads it when a system is opened.
//
// What must hold whatever the file holds:
// - the serial number, job and location of every unit taken are safe folder names (the program
//   makes Jobs/<job>/<location>/<serial number> from them at once);
// - every field is trimmed and holds no comma, so the six fields written back one line per unit
//   read as the same table;
// - units come in file order, one per line that is not blank, and a refused file names its first
//   bad line, every line before it being blank or a unit.
#include "FuzzCheck.h"
#include "common/Text.h"
#include "systems/SystemConfigFile.h"

#include <string>

using namespace mr3x;

namespace {

bool same(const UnitEntry& a, const UnitEntry& b)
{
    return unitFields(a) == unitFields(b);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = fuzz::textLines(data, size);
    const ConfigReadResult result = parseSystemConfig(lines);

    const std::size_t readUpTo = result.error ? result.error->lineNumber - 1 : lines.size();
    FUZZ_CHECK(readUpTo <= lines.size());
    if (result.error) {
        FUZZ_CHECK(result.error->lineNumber >= 1);
        FUZZ_CHECK(!trim(lines[readUpTo]).empty());
        FUZZ_CHECK(!parseUnitLine(lines[readUpTo]).has_value());
    }

    std::size_t next = 0;
    for (std::size_t i = 0; i < readUpTo; ++i) {
        if (trim(lines[i]).empty())
            continue;
        FUZZ_CHECK(next < result.units.size());
        const std::optional<UnitEntry> unit = parseUnitLine(lines[i]);
        FUZZ_CHECK(unit.has_value() && same(*unit, result.units[next]));
        ++next;
    }
    FUZZ_CHECK(next == result.units.size());

    std::vector<std::string> written;
    for (const UnitEntry& unit : result.units) {
        FUZZ_CHECK(isSafeName(unit.SerialNo));
        FUZZ_CHECK(isSafeName(unit.Job));
        FUZZ_CHECK(isSafeName(unit.Location));
        const std::array<std::string, 6> fields = unitFields(unit);
        std::string line;
        for (std::size_t f = 0; f < fields.size(); ++f) {
            FUZZ_CHECK(fields[f] == trim(fields[f]));
            FUZZ_CHECK(fields[f].find(',') == std::string::npos);
            line += (f == 0 ? "" : ",") + fields[f];
        }
        written.push_back(line);
    }
    const ConfigReadResult again = parseSystemConfig(written);
    FUZZ_CHECK(!again.error);
    FUZZ_CHECK(again.units.size() == result.units.size());
    for (std::size_t i = 0; i < again.units.size(); ++i)
        FUZZ_CHECK(same(again.units[i], result.units[i]));
    return 0;
}
