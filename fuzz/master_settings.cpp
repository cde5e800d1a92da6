// The master settings file "M-R3X Master.ini", as hand editing may leave it, read the way the
// program reads it at start-up, then written back and read again.
//
// What must hold whatever the file holds:
// - reading the whole file is reading its lines one by one, and a line read twice changes
//   nothing more;
// - every value read is trimmed, comes from a line of the file and names no line end;
// - the display mode is "TDR", "TRS" or none;
// - a line says it named the system folder exactly when it did;
// - the settings written back read as the same settings, whenever no value names another key
//   (a line that names two keys sets both, so such a value cannot survive the trip).
#include "FuzzCheck.h"
#include "app/MasterSettingsFile.h"
#include "common/Text.h"

#include <array>
#include <string>

using namespace mr3x;

namespace {

using Field = std::string MasterSettings::*;
constexpr std::array<Field, 10> allFields{
    &MasterSettings::SystemFolder, &MasterSettings::CommPort,   &MasterSettings::Modem,
    &MasterSettings::DialPrefix,   &MasterSettings::LastSystem, &MasterSettings::LastJob,
    &MasterSettings::LastMaster,   &MasterSettings::LastSlave,  &MasterSettings::LastConnection,
    &MasterSettings::LastMode,
};
constexpr std::string_view keyWords[] = {"SYSTEM FOLDER", "COMM PORT", "MODEM",    "DIAL PREFIX",
                                         "LAST SYSTEM",   "LAST JOB",  "LAST MASTER", "LAST SLAVE",
                                         "LAST CONNECTION", "LAST MODE"};

bool same(const MasterSettings& a, const MasterSettings& b)
{
    for (const Field f : allFields)
        if (a.*f != b.*f)
            return false;
    return true;
}

bool namesAKey(const std::string& value)
{
    const std::string upper = toUpper(value);
    for (const std::string_view key : keyWords)
        if (upper.find(key) != std::string::npos)
            return true;
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = fuzz::textLines(data, size);
    const MasterSettings read = readMasterSettings(lines);

    MasterSettings oneByOne;
    for (const std::string& line : lines) {
        const MasterSettings before = oneByOne;
        const LineEffect effect = readMasterSettingsLine(line, oneByOne);
        FUZZ_CHECK(effect.systemFolder == (toUpper(line).find("SYSTEM FOLDER") != std::string::npos));
        MasterSettings again = oneByOne;
        readMasterSettingsLine(line, again);
        FUZZ_CHECK(same(again, oneByOne));
        // A value that changed came from this line.
        for (const Field f : allFields)
            if (oneByOne.*f != before.*f && f != &MasterSettings::LastMode)
                FUZZ_CHECK(oneByOne.*f == settingValue(line) && line.find(oneByOne.*f) != std::string::npos);
    }
    FUZZ_CHECK(same(read, oneByOne));

    FUZZ_CHECK(read.LastMode.empty() || read.LastMode == "TDR" || read.LastMode == "TRS");
    for (const Field f : allFields) {
        const std::string& value = read.*f;
        FUZZ_CHECK(value == trim(value));
        FUZZ_CHECK(value.find('\n') == std::string::npos);
    }

    // Written back and read again.
    bool keysInValues = false;
    for (const Field f : allFields)
        keysInValues = keysInValues || namesAKey(read.*f);
    if (!keysInValues) {
        const std::vector<std::string> written = masterSettingsLines(read);
        FUZZ_CHECK(written.size() == (read.LastMode.empty() ? 9u : 10u));
        FUZZ_CHECK(same(readMasterSettings(written), read));
    }
    return 0;
}
