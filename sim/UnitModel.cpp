#include "sim/UnitModel.h"

#include "common/Text.h"

namespace mr3x::sim {

namespace {

// The record's model byte is the model's base (208 for the R family, 224 for the S family) plus
// the firmware version, which the settings marker repeats.
constexpr ModelInfo kMR32{"M-R32", "R2", 2, 208 + 2, 20, "2.4", "MR-0101"};
constexpr ModelInfo kMS32{"M-S32", "E1", 1, 224 + 1, 40, "1.7", "MS-0207"};

} // namespace

const ModelInfo& modelInfo(Model model)
{
    return model == Model::MS32 ? kMS32 : kMR32;
}

std::optional<Model> modelFromName(std::string_view name)
{
    if (equalsNoCase(name, kMR32.name))
        return Model::MR32;
    if (equalsNoCase(name, kMS32.name))
        return Model::MS32;
    return std::nullopt;
}

std::string versionText(Model model, std::string_view serialNumber)
{
    const ModelInfo& info = modelInfo(model);
    return std::string("M-R3X ") + info.name + " firmware " + info.firmware + " serial " + std::string(serialNumber);
}

} // namespace mr3x::sim
