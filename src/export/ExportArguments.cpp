#include "export/ExportArguments.h"

#include "common/Text.h"
#include "export/CommandLine.h"

#include <array>

namespace mr3x::exports {

namespace {

struct FormatName {
    std::string_view name;
    ExportFormat format;
};
constexpr std::array<FormatName, 6> kFormats{{{"comtrade", ExportFormat::Comtrade},
                                              {"comtrade-binary", ExportFormat::ComtradeBinary},
                                              {"csv", ExportFormat::Csv},
                                              {"png", ExportFormat::Png},
                                              {"svg", ExportFormat::Svg},
                                              {"pdf", ExportFormat::Pdf}}};

ParsedArguments refused(std::string problem)
{
    return {std::nullopt, std::move(problem)};
}

} // namespace

std::optional<ExportFormat> exportFormatOfName(std::string_view name)
{
    for (const FormatName& f : kFormats)
        if (f.name == name)
            return f.format;
    return std::nullopt;
}

bool isPictureFormat(ExportFormat format)
{
    return format == ExportFormat::Png || format == ExportFormat::Svg || format == ExportFormat::Pdf;
}

std::optional<std::pair<int, int>> pictureSizeOfText(std::string_view text)
{
    const std::string t = trim(text);
    const std::size_t cross = t.find_first_of("xX*");
    if (cross == std::string::npos)
        return std::nullopt;
    const std::optional<int> width = wholeNumber(trim(std::string_view(t).substr(0, cross)));
    const std::optional<int> height = wholeNumber(trim(std::string_view(t).substr(cross + 1)));
    const auto fits = [](std::optional<int> side) { return side && *side >= kPictureSideMin && *side <= kPictureSideMax; };
    if (!fits(width) || !fits(height))
        return std::nullopt;
    return std::pair{*width, *height};
}

ParsedArguments parseExportArguments(const std::vector<std::string>& args)
{
    ExportArguments a;
    CommonArguments common;
    bool formatGiven = false;
    ArgumentCursor cursor(args);
    while (!cursor.done()) {
        const std::string arg = cursor.next();
        std::string problem;
        if (takeCommonArgument(cursor, arg, common, problem)) {
            if (!problem.empty())
                return refused(problem);
        } else if (arg == "--force") {
            a.force = true;
        } else if (arg == "--parameters") {
            a.withParameters = true;
        } else if (ArgumentCursor::isOption(arg, "--format")) {
            const auto value = cursor.valueOf("--format", arg);
            const auto format = value ? exportFormatOfName(*value) : std::nullopt;
            if (!format)
                return refused("--format takes comtrade, comtrade-binary, csv, png, svg or pdf");
            a.format = *format;
            formatGiven = true;
        } else if (ArgumentCursor::isOption(arg, "--output")) {
            const auto value = cursor.valueOf("--output", arg);
            if (!value || value->empty())
                return refused("--output takes a folder");
            a.outputFolder = *value;
        } else if (ArgumentCursor::isOption(arg, "--size")) {
            const auto value = cursor.valueOf("--size", arg);
            const auto size = value ? pictureSizeOfText(*value) : std::nullopt;
            if (!size)
                return refused("--size takes WIDTHxHEIGHT in pixels, each from 200 to 10000");
            a.width = size->first;
            a.height = size->second;
        } else {
            return refused("unknown option " + arg + " (--help lists them)");
        }
    }
    a.help = common.help;
    a.lineFrequency = common.lineFrequency;
    a.speed = common.speed;
    a.files = std::move(common.files);
    if (a.help)
        return {a, ""};
    if (!formatGiven)
        return refused("say which format with --format comtrade|comtrade-binary|csv|png|svg|pdf");
    if (a.files.empty())
        return refused("name at least one event or trace file");
    return {a, ""};
}

std::string exportHelp()
{
    return R"(Usage: mr3x-export --format FORMAT [options] FILE...

Exports M-R3X event files (.trg, .vlt) and TDR trace files (.TDR, and the older
.tst and .ref) to the tools engineers already use. Needs no window and no display.

Formats:
  comtrade         IEEE C37.111-1999 COMTRADE, ASCII: NAME.cfg and NAME.dat (events only)
  comtrade-binary  the same with a BINARY NAME.dat (events only)
  csv              an event: NAME.csv, time in ms and Vr, Vy, Vb in volts, I in amps;
                   a long event also NAME (TDR).csv, its trace.
                   a trace: NAME.csv, point number, distance in metres and level
  png, svg, pdf    a picture of the event's waveform (NAME.png ...) and, for a long event,
                   of its TDR or TRS trace (NAME (TDR).png); a trace: its plot

Options:
  --format FORMAT        one of the formats above (required)
  --frequency 50|60      line frequency in Hz; the unit samples 80 times a cycle (default 50)
  --output DIR           where the files go (default: the current folder; made if missing)
  --force                replace files that exist (without it an existing file is never
                         touched and that input is reported and skipped)
  --parameters           csv: start the file with the event's parameters as "# " lines
  --speed PERCENT        propagation speed for distances, 30.0 to 100.0 (default 54.0)
  --size WIDTHxHEIGHT    picture size in pixels, 200 to 10000 each (default 1600x900)
  -h, --help             this text

NAME is the input's name without its extension. Every input gets its own set of files;
a file that cannot be read or exported is named on stderr and the others are still
exported. Exit status: 0 all exported, 1 some input was not, 2 the command line was wrong.
)";
}

} // namespace mr3x::exports
