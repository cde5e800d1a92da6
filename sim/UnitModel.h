#pragma once
// What differs between the unit models the simulator plays.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mr3x::sim {

enum class Model { MR32, MS32 };

struct ModelInfo {
    const char* name;          // "M-R32"
    const char* marker;        // version marker in the settings text: "R2", "E1"
    int firmwareVersion;       // low four bits of the records' model byte
    std::uint8_t modelByte;    // the records' model and version byte
    int indexSlots;            // records in the index file
    const char* firmware;      // the firmware release the version command names
    const char* serialNumber;  // the serial number a unit of the model has unless told otherwise
};

const ModelInfo& modelInfo(Model model);
/// "M-R32" or "M-S32" (case-blind); nothing for any other text.
std::optional<Model> modelFromName(std::string_view name);
/// The version command's answer: "M-R3X M-R32 firmware 2.4 serial MR-0101".
std::string versionText(Model model, std::string_view serialNumber);

} // namespace mr3x::sim
