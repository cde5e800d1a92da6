// "Cable Types.txt", as hand editing may leave it, read into the cable types the program offers,
// and written back with a type kept.
//
// What must hold whatever the file holds:
// - every type offered has a name a type may have and a speed the speed bar holds;
// - every line is a type, a note, blank, or reported by its number: none is dropped unheard;
// - keeping a type changes its own line or adds one at the end, and every other line stays as
//   it was, so the user's broken lines and notes survive;
// - the table written back offers the type kept, at its speed, whatever lines of that name it
//   held before.
#include "FuzzCheck.h"
#include "common/Text.h"
#include "tdr/CableTypeTable.h"
#include "tdr/Distance.h"

#include <algorithm>

using namespace mr3x;
using namespace mr3x::tdr;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input input(data, size);
    const int speed = kSpeedMin + (input.byte() * 256 + input.byte()) % (kSpeedMax - kSpeedMin + 1);
    const std::vector<std::uint8_t> nameBytes = input.bytes(input.byte() % 24);
    const std::vector<std::uint8_t> rest = input.bytes(input.left());
    const std::vector<std::string> lines = fuzz::textLines(rest.data(), rest.size());
    const CableTable table = readCableTable(lines);

    std::size_t blankOrNote = 0;
    for (const std::string& line : lines) {
        const std::string t = trim(line);
        blankOrNote += t.empty() || t.front() == '#';
    }
    FUZZ_CHECK(table.types.size() + table.broken.size() + blankOrNote == lines.size());
    for (const CableType& type : table.types) {
        FUZZ_CHECK(!cableNameProblem(type.name));
        FUZZ_CHECK(type.name == trim(type.name));
        FUZZ_CHECK(type.speed >= kSpeedMin && type.speed <= kSpeedMax);
        FUZZ_CHECK(speedOfPercentText(percentText(type.speed)) == type.speed);
    }
    for (const BrokenCableLine& broken : table.broken) {
        FUZZ_CHECK(broken.number >= 1 && std::size_t(broken.number) <= lines.size());
        FUZZ_CHECK(lines[std::size_t(broken.number) - 1] == broken.text);
        FUZZ_CHECK(!broken.reason.empty());
    }

    const std::string name = trim(std::string(nameBytes.begin(), nameBytes.end()));
    if (cableNameProblem(name))
        return 0;
    const std::vector<std::string> kept = withCableType(lines, {name, speed});
    FUZZ_CHECK(kept.size() == lines.size() || kept.size() == lines.size() + 1);
    std::size_t changed = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        changed += kept[i] != lines[i];
    FUZZ_CHECK(changed <= 1);
    FUZZ_CHECK(changed + (kept.size() - lines.size()) == 1 || kept == lines);
    const CableTable again = readCableTable(kept);
    const bool offered = std::any_of(again.types.begin(), again.types.end(), [&](const CableType& t) {
        return equalsNoCase(t.name, name) && t.speed == speed;
    });
    // The first line of that name (a type's or a broken one) now holds it, so nothing above it
    // hides it.
    FUZZ_CHECK(offered);
    return 0;
}
