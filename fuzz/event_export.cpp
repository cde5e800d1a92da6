// A stored event file, whatever it holds, exported as COMTRADE (ASCII and BINARY) and CSV, and
// its trace as CSV, as mr3x-export and the window do with the files they are given.
//
// What must hold whatever the file holds:
// - a COMTRADE record exactly when the head holds a calendar date and time; its .cfg is 13 lines
//   ended by CR LF, of printable ASCII, the station and device fields free of commas; the trigger
//   time is the head's; the ASCII .dat is 800 lines "n,timestamp,v,v,v,v" of the record's own
//   bytes, the BINARY one 800 x 16 bytes;
// - the CSV is 801 lines (more with the parameter block, whose lines all start "# "), and every
//   value turns back into the byte it came from through the channel's scale;
// - the trace CSV has one row per point, each with the point's own level.
#include "FuzzCheck.h"
#include "events/EventRecord.h"
#include "export/ChannelScales.h"
#include "export/Comtrade.h"
#include "export/EventCsv.h"
#include "export/EventOrigin.h"
#include "export/ExportedText.h"
#include "export/TraceCsv.h"
#include "export/TraceViews.h"

#include <algorithm>
#include <cmath>
#include <string>

using namespace mr3x;
using namespace mr3x::exports;
using exports::test::cells;

namespace {

/// The text's CR LF lines; every line must end so.
std::vector<std::string> crlfLines(const std::string& text)
{
    const std::optional<std::vector<std::string>> lines = exports::test::crlfLines(text);
    FUZZ_CHECK(lines.has_value());
    return *lines;
}

double number(const std::string& text)
{
    const std::optional<double> value = exports::test::plainNumber(text);
    FUZZ_CHECK(value.has_value());
    return *value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input input(data, size);
    const std::uint8_t flags = input.byte();
    const std::vector<std::uint8_t> pathBytes = input.bytes(input.byte() % 64);
    const std::vector<std::uint8_t> body = input.bytes(input.left());
    // Short enough inputs are laid into a file of either form, so both are reached.
    std::vector<std::uint8_t> file(flags & 1 ? events::kLongFileBytes : events::kShortFileBytes);
    std::copy_n(body.begin(), std::min(body.size(), file.size()), file.begin());
    const std::optional<events::EventRecord> record = events::readEventRecord(file);
    FUZZ_CHECK(record.has_value());
    const int hz = flags & 2 ? 60 : 50;

    const std::string path(pathBytes.begin(), pathBytes.end());
    const EventOrigin origin = originOfPath(path);
    const ComtradeOptions options{stationName(origin, *record), recordingDevice(origin, *record), hz,
                                  flags & 4 ? DataFileType::Binary : DataFileType::Ascii};
    const std::optional<ComtradeFiles> comtrade = comtradeFiles(*record, options);
    FUZZ_CHECK(comtrade.has_value() == triggerTime(*record).has_value());
    if (comtrade) {
        const std::vector<std::string> cfg = crlfLines(comtrade->cfg);
        FUZZ_CHECK(cfg.size() == 13);
        for (const char c : comtrade->cfg)
            FUZZ_CHECK((c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n');
        FUZZ_CHECK(cells(cfg[0]).size() == 3);
        FUZZ_CHECK(cfg[11] == (options.type == DataFileType::Binary ? "BINARY" : "ASCII"));
        FUZZ_CHECK(cfg[10] == comtradeTime(*triggerTime(*record)));
        if (options.type == DataFileType::Binary) {
            FUZZ_CHECK(comtrade->dat.size() == 800u * 16);
        } else {
            const std::vector<std::string> rows = crlfLines(std::string(comtrade->dat.begin(), comtrade->dat.end()));
            FUZZ_CHECK(rows.size() == 800);
            for (int g = 0; g < 800; ++g) {
                const std::vector<std::string> row = cells(rows[std::size_t(g)]);
                FUZZ_CHECK(row.size() == 6 && row[0] == std::to_string(g + 1));
                for (int c = 0; c < 4; ++c)
                    FUZZ_CHECK(row[std::size_t(c) + 2] == std::to_string(record->sample(g, c)));
            }
        }
    }

    const bool withParameters = flags & 8;
    const std::vector<std::string> csv = crlfLines(eventCsv(*record, {hz, withParameters}));
    std::size_t block = 0;
    while (block < csv.size() && csv[block].rfind("# ", 0) == 0)
        ++block;
    FUZZ_CHECK(withParameters || block == 0);
    FUZZ_CHECK(csv.size() == block + 801);
    const auto scales = channelScales(*record);
    for (int g = 0; g < 800; ++g) {
        const std::vector<std::string> row = cells(csv[block + 1 + std::size_t(g)]);
        FUZZ_CHECK(row.size() == 5);
        for (int c = 0; c < 4; ++c) {
            const ChannelScale& s = scales[std::size_t(c)];
            const double level = (number(row[std::size_t(c) + 1]) - s.b) / s.a;
            FUZZ_CHECK(std::abs(level - record->sample(g, c)) < 1e-6);
        }
    }

    const TraceView view = eventTraceView(*record);
    const std::vector<std::string> trace = crlfLines(traceCsv(view.points, view.distanceAt(300 + flags % 8 * 100)));
    FUZZ_CHECK(trace.size() == view.points.size() + 1);
    for (std::size_t i = 0; i < view.points.size(); ++i) {
        const std::vector<std::string> row = cells(trace[i + 1]);
        FUZZ_CHECK(row.size() == 3 && row[0] == std::to_string(view.points[i].x));
        FUZZ_CHECK(row[2] == std::to_string(view.points[i].level));
    }
    return 0;
}
