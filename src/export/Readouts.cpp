#include "export/Readouts.h"

#include "common/Text.h"
#include "events/EventParameters.h"
#include "export/EventTiming.h"

namespace mr3x::exports {

std::string speedReadout(std::string_view dielectricCaption, std::string_view cableType)
{
    const std::string type = trim(cableType);
    return "Speed " + trim(dielectricCaption) + (type.empty() ? ", no cable type chosen" : ", cable type " + type);
}

std::string cursorReadout(std::string_view zero, std::string_view moving, std::string_view difference,
                          std::string_view distance)
{
    return "Zero cursor " + trim(zero) + ", moving cursor " + trim(moving) + ", difference " + trim(difference) + ": "
           + trim(distance);
}

std::string eventReadout(std::string_view fileName, std::string_view unit, const events::EventRecord& record)
{
    const events::ModelVersion model = events::modelOfByte(record.trailer.modelByte());
    std::string text = std::string(fileName) + ", unit ";
    if (!unit.empty())
        text += std::string(unit) + " (" + model.unit;
    else
        text += "(" + model.unit;
    if (!model.version.empty())
        text += " version " + model.version;
    return text + ")";
}

std::string eventDetailsReadout(const events::EventRecord& record)
{
    const events::EventParameters p = events::describeEvent(record);
    const std::optional<CivilTime> when = triggerTime(record);
    return "Triggered " + (when ? isoText(*when) : std::string("(no calendar date)")) + " by "
           + p.trigChannel.value_or("---") + ", FSD " + p.fsd.value_or("---") + ", pre/post " + p.preTrigger.value_or("---");
}

} // namespace mr3x::exports
