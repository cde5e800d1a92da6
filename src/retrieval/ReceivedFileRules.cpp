#include "retrieval/ReceivedFileRules.h"

#include "retrieval/EventStem.h"

namespace mr3x::retrieval {

std::optional<ReceivedKind> receivedKind(std::string_view name)
{
    if (name.find("EVT") != std::string_view::npos)
        return ReceivedKind::EventRecord;
    if (name.find("ACT") != std::string_view::npos)
        return ReceivedKind::ManualRecording;
    return std::nullopt;
}

std::string_view storedExtension(ReceivedKind kind)
{
    return kind == ReceivedKind::EventRecord ? ".trg" : ".vlt";
}

std::optional<std::string> storedName(std::span<const std::uint8_t> head, ReceivedKind kind)
{
    if (head.size() < receivedHeadLength)
        return std::nullopt;
    std::string stem = eventStem(head.first<6>());
    if (stem.starts_with("00"))
        return std::nullopt;
    return stem.append(storedExtension(kind));
}

} // namespace mr3x::retrieval
