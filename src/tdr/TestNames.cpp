#include "tdr/TestNames.h"

#include "common/Text.h"
#include "tdr/TraceRecord.h"

#include <algorithm>

namespace mr3x::tdr {

namespace {

/// Three fields as two digits each, joined by "-".
std::string threeGroups(long long first, long long second, long long third)
{
    return twoDigits(first) + "-" + twoDigits(second) + "-" + twoDigits(third);
}

std::string testName(std::string_view date, std::string_view time, std::string_view inBrackets)
{
    std::string name;
    name.append(date).append(" ").append(time).append(" (").append(inBrackets).append(")");
    return name;
}

/// The name with every character no file name may hold (a separator or drive colon that could
/// lead out of the folder, the NUL that would cut the name short, what Windows refuses) replaced
/// by "_".
std::string withinFolder(std::string_view name)
{
    std::string safe(name);
    std::replace_if(safe.begin(), safe.end(), [](char c) { return !isNameCharacter(c); }, '_');
    return safe;
}

} // namespace

std::string testDateText(int year, int month, int day)
{
    return threeGroups(year, month, day);
}

std::string testTimeText(int hour, int minute, int second)
{
    return threeGroups(hour, minute, second);
}

std::string tdrTestName(std::string_view date, std::string_view time, std::string_view phase,
                        bool cross, std::string_view reference)
{
    std::string pair(phase);
    pair.append(cross ? "x" : "=").append(reference);
    return testName(date, time, pair);
}

std::string trsTestName(std::string_view date, std::string_view time, std::string_view phase)
{
    return testName(date, time, std::string(phase) + "=TRS");
}

std::string legacyTraceName(std::string_view legacyFileName, const events::RecordTrailer& trailer)
{
    const std::string date = threeGroups(trailer[0], trailer[1], trailer[2]);
    const std::string time = threeGroups(trailer[3], trailer[4], trailer[5]);
    return testName(date, time, withinFolder(legacyBaseName(legacyFileName))) + ".TDR";
}

} // namespace mr3x::tdr
