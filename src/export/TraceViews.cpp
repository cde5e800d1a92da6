#include "export/TraceViews.h"

#include "events/EventParameters.h"
#include "export/EventOrigin.h"

namespace mr3x::exports {

namespace {

constexpr int kFirstPulse = 0;

TraceView tdrView(bool longRange)
{
    const tdr::RangeStart start = tdr::rangeStart(longRange);
    TraceView view;
    view.tdrMode = true;
    view.scale = start.scale;
    view.zeroX = start.plotStart;
    view.plotRight = tdr::kTdrPoints;
    return view;
}

TraceView trsView(bool longRange, std::span<const std::uint8_t, 8192> samples)
{
    TraceView view;
    view.tdrMode = false;
    view.scale = tdr::rangeStart(longRange).scale;
    view.zeroX = 1;
    view.plotRight = double(tdr::kTrsSamples);
    view.points = trsTracePoints(samples);
    view.line = tdr::trsTestLine(samples, 0);
    return view;
}

} // namespace

TraceView eventTraceView(const events::EventRecord& record)
{
    const events::RecordTrailer& t = record.trailer;
    // As the viewer tells them: a mode byte below 2 is a TRS trace.
    if (t.isTrs()) {
        TraceView view = trsView(t.longRange(), record.traceArea);
        view.colour = tdr::kMasterTrsColour;
        view.label = "TRS trace";
        return view;
    }
    TraceView view = tdrView(t.longRange());
    // The injection as the slot's label shows it: none from 32768 on.
    const int injection = events::injectionText(t.injection()) ? t.injection() : 0;
    const int phase = tdr::injectionPhase(injection);
    view.points = eventTdrPoints(record.traceArea, kFirstPulse, phase);
    view.line = tdr::eventInterlaced(tdr::interleaveEvent(record.traceArea, kFirstPulse, phase), int(view.zeroX), 0);
    view.colour = tdr::kMasterTdrColour;
    view.label = "TDR trace, pulse " + std::to_string(kFirstPulse + 1);
    return view;
}

std::optional<TraceView> traceFileView(std::string_view path, std::span<const std::uint8_t> bytes)
{
    const std::string name = fileStem(path);
    if (tdr::traceKindOfPath(path) == tdr::TraceKind::Trs) {
        const std::optional<tdr::TrsTrace> trace = tdr::readTrsTrace(bytes);
        if (!trace)
            return std::nullopt;
        TraceView view = trsView(trace->trailer.longRange(), trace->samples);
        view.colour = tdr::kManualTrsColour;
        view.label = name;
        return view;
    }
    const std::optional<tdr::TdrTrace> trace = tdr::readTdrTrace(bytes);
    if (!trace)
        return std::nullopt;
    TraceView view = tdrView(trace->trailer.longRange());
    view.points = manualTracePoints(*trace);
    view.line = tdr::manualTrace(tdr::interleaveManual(trace->samples), int(view.zeroX), 0, true);
    view.colour = tdr::manualTraceColour(name);
    view.label = name;
    return view;
}

} // namespace mr3x::exports
