#pragma once
// A trace as the exports show it without the viewer: which points it has, how they are drawn,
// where the zero cursor stands and how point numbers become metres. For an event's TDR part
// that is the view of its first pulse block, all four sweeps interleaved by the event's injection
// phase; for a TRS event or a TRS test the whole 8192-sample trace; for a manual TDR test its 512
// interleaved points. The zero cursor stands where the viewer puts it, on the first plotted point
// (25 on the 400 m range, 21 on the 800 m range) in TDR mode, and at the first sample in TRS mode.
#include "events/EventRecord.h"
#include "export/TraceCsv.h"
#include "tdr/TdrPlot.h"
#include "tdr/TraceColours.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mr3x::exports {

struct TraceView {
    bool tdrMode = true;
    int scale = 1;                   // 1 for the 400 m range, 2 for 800 m
    double zeroX = 25;               // where the zero cursor stands
    double plotRight = tdr::kTdrPoints;  // the plot's right edge (512, or 8192 in TRS mode)
    std::vector<TracePoint> points;  // every point, for a CSV file
    tdr::Polyline line;              // as the viewer draws it
    tdr::Rgb colour;
    std::string label;               // "Master event, pulse 1", "Test 26-12-05 ... (R-N=Y-N)", ...

    DistanceScale distanceAt(int speed) const { return {double(scale), speed, tdrMode, zeroX}; }
};

/// The TDR or TRS view of an event's trace area (a short event's is all zeros).
TraceView eventTraceView(const events::EventRecord& record);

/// The view of a trace file's bytes, read as a TRS trace when its path says so; nothing when
/// the file is too short to hold a whole trace.
std::optional<TraceView> traceFileView(std::string_view path, std::span<const std::uint8_t> bytes);

} // namespace mr3x::exports
