#include "events/EventListLines.h"

#include "common/Text.h"
#include "events/EventRecord.h"

namespace mr3x::events {

namespace {

enum class LineForm { Triggered, Manual };

std::optional<LineForm> lineFormUnder(std::string_view fileName, EventFilter filter)
{
    const bool triggered = containsNoCase(fileName, ".TRG");
    switch (filter) {
    case EventFilter::Trg:
        return triggered ? std::optional(LineForm::Triggered) : std::nullopt;
    case EventFilter::Vlt:
        return containsNoCase(fileName, ".VLT") ? std::optional(LineForm::Manual) : std::nullopt;
    case EventFilter::All:
        break;
    }
    return triggered ? LineForm::Triggered : LineForm::Manual;
}

std::string bracketed(std::string_view fileName, std::string_view inside)
{
    std::string line(fileName.substr(0, kListStemLength));
    line.append(" (").append(inside).append(")");
    return line;
}

} // namespace

std::optional<std::string> eventListLine(std::string_view fileName, std::uintmax_t fileLength,
                                         const RecordTrailer* trailer, EventFilter filter)
{
    const std::optional<LineForm> form = lineFormUnder(fileName, filter);
    if (!form)
        return std::nullopt;
    if (*form == LineForm::Manual)
        return bracketed(fileName, fileLength == kLongFileBytes ? "MT" : "AC");
    // A file of neither length has no trailer to number it by. It is still listed, so that
    // choosing it can offer to delete it, but with a mark rather than another file's number.
    if (trailer == nullptr || !eventFormOfLength(fileLength))
        return bracketed(fileName, kNoRecordNumber);
    return bracketed(fileName, twoDigits(trailer->recordNumber() + 1));
}

} // namespace mr3x::events
