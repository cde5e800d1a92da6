#pragma once
// The command line of mr3x-export:
//   mr3x-export --format comtrade|comtrade-binary|csv|png|svg|pdf [--frequency 50|60]
//               [--output DIR] [--force] [--parameters] [--speed PERCENT] [--size WIDTHxHEIGHT]
//               FILE...
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mr3x::exports {

enum class ExportFormat { Comtrade, ComtradeBinary, Csv, Png, Svg, Pdf };

inline constexpr int kPictureSideMin = 200, kPictureSideMax = 10000;

struct ExportArguments {
    bool help = false;
    ExportFormat format = ExportFormat::Comtrade;
    int lineFrequency = 50;
    std::string outputFolder;        // empty: the current folder
    bool force = false;              // replace files that exist
    bool withParameters = false;     // CSV: the block of the event's parameters
    int speed = 540;                 // tenths of a percent, for distances
    int width = 1600, height = 900;  // pictures, in pixels
    std::vector<std::string> files;
};

/// The arguments, or why they cannot be used (nothing is exported then).
struct ParsedArguments {
    std::optional<ExportArguments> arguments;
    std::string problem;
};
ParsedArguments parseExportArguments(const std::vector<std::string>& args);

/// What --help prints.
std::string exportHelp();

/// "comtrade", "comtrade-binary", "csv", "png", "svg", "pdf"; nothing for any other name.
std::optional<ExportFormat> exportFormatOfName(std::string_view name);
bool isPictureFormat(ExportFormat format);

/// A picture size from "1600x900" (an "X" or "*" does as well), each side 200 to 10000 pixels.
std::optional<std::pair<int, int>> pictureSizeOfText(std::string_view text);

} // namespace mr3x::exports
