#include "sim/UnitSettings.h"

#include <vector>

namespace mr3x::sim {

std::string idDateText(const std::string& yymmdd)
{
    if (yymmdd.size() != 6)
        return yymmdd;
    return yymmdd.substr(4, 2) + "/" + yymmdd.substr(2, 2) + "/" + yymmdd.substr(0, 2);
}

std::string settingsText(Model model, const UnitSettings& s, int storedEvents)
{
    const ModelInfo& info = modelInfo(model);
    const std::vector<std::string> fields{
        std::to_string(s.baud),        std::to_string(s.threshold), std::to_string(s.duration),
        std::to_string(storedEvents),
        std::to_string(s.fsdCode),     std::to_string(s.phase),     std::to_string(s.mode),
        std::to_string(s.hardware),    std::to_string(s.gain),      std::to_string(s.balance),
        std::to_string(s.balanceMode), info.marker,                 idDateText(s.idDate),
        s.job,                         s.location,                  s.spare,
        "",                            s.simNumber};
    std::string text = std::string("M-R3X Local Unit ") + info.name + "\r\nParameters:";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0)
            text += ',';
        text += fields[i];
    }
    return text;
}

} // namespace mr3x::sim
