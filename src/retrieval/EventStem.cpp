#include "retrieval/EventStem.h"

#include "common/Text.h"

namespace mr3x::retrieval {

std::string fieldText(std::span<const std::uint8_t, 3> fields)
{
    return twoDigits(fields[0]) + "-" + twoDigits(fields[1]) + "-" + twoDigits(fields[2]);
}

std::string eventStem(std::span<const std::uint8_t, 6> dateAndTime)
{
    return fieldText(dateAndTime.first<3>()) + " " + fieldText(dateAndTime.last<3>());
}

} // namespace mr3x::retrieval
