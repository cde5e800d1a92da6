#include "export/EventOrigin.h"

#include "common/Text.h"
#include "events/EventParameters.h"

#include <vector>

namespace mr3x::exports {

namespace {

std::vector<std::string> foldersOf(std::string_view path)
{
    std::vector<std::string> parts;
    std::string part;
    for (const char c : path) {
        if (c == '/' || c == '\\') {
            if (!part.empty())
                parts.push_back(std::move(part));
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    if (!part.empty())
        parts.push_back(std::move(part));
    return parts;
}

std::string fileName(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

/// A trailer text as a name: control characters read as blanks, blanks trimmed.
std::string trailerName(std::string text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    return trim(text);
}

} // namespace

EventOrigin originOfPath(std::string_view path)
{
    const std::vector<std::string> parts = foldersOf(path);
    // ... Jobs / job / location / unit / file
    const std::size_t n = parts.size();
    if (n < 5 || parts[n - 5] != "Jobs")
        return {};
    EventOrigin origin{"", parts[n - 4], parts[n - 3], parts[n - 2]};
    if (n >= 7 && parts[n - 7] == "Systems")
        origin.system = parts[n - 6];
    return origin;
}

StoredKind storedKindOfPath(std::string_view path)
{
    const std::size_t dot = path.rfind('.');
    const std::size_t folder = path.find_last_of("/\\");
    if (dot == std::string_view::npos || (folder != std::string_view::npos && dot < folder))
        return StoredKind::Other;
    const std::string suffix = toUpper(path.substr(dot + 1));
    if (suffix == "TRG" || suffix == "VLT")
        return StoredKind::Event;
    if (suffix == "TDR" || suffix == "TST" || suffix == "REF")
        return StoredKind::Trace;
    return StoredKind::Other;
}

std::string fileStem(std::string_view path)
{
    const std::string name = fileName(path);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string stationName(const EventOrigin& origin, const events::EventRecord& record)
{
    return origin.location.empty() ? trailerName(record.trailer.location()) : origin.location;
}

std::string recordingDevice(const EventOrigin& origin, const events::EventRecord& record)
{
    const std::string model = events::modelOfByte(record.trailer.modelByte()).unit;
    return origin.unit.empty() ? model : origin.unit + " " + model;
}

} // namespace mr3x::exports
