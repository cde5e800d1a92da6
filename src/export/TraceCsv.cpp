#include "export/TraceCsv.h"

#include "export/ExportNumbers.h"
#include "tdr/Distance.h"
#include "tdr/TdrPlot.h"

namespace mr3x::exports {

std::vector<TracePoint> manualTracePoints(const tdr::TdrTrace& trace)
{
    const auto levels = tdr::interleaveManual(trace.samples);
    std::vector<TracePoint> points;
    points.reserve(levels.size());
    for (std::size_t i = 0; i < levels.size(); ++i)
        points.push_back({int(i) + 1, levels[i]});
    return points;
}

std::vector<TracePoint> eventTdrPoints(std::span<const std::uint8_t, 8192> area, int pulse, int phase)
{
    const tdr::Interleaved interleaved = tdr::interleaveEvent(area, pulse, phase);
    std::vector<TracePoint> points;
    points.reserve(interleaved.level.size());
    for (std::size_t i = 0; i < interleaved.level.size(); ++i)
        if (interleaved.present[i])
            points.push_back({int(i) + 1, interleaved.level[i]});
    return points;
}

std::vector<TracePoint> trsTracePoints(std::span<const std::uint8_t, 8192> samples)
{
    std::vector<TracePoint> points;
    points.reserve(samples.size());
    for (std::size_t i = 0; i < samples.size(); ++i)
        points.push_back({int(i) + 1, samples[i]});
    return points;
}

double pointDistance(double x, const DistanceScale& scale)
{
    // The percentage as the speed's caption shows it, so the file agrees with the read-out.
    const double percent = tdr::percentFromCaption(tdr::dielectricCaption(scale.speed));
    return tdr::distanceMetres(scale.scale, x - scale.zeroX, percent, scale.tdrMode);
}

std::string traceCsv(const std::vector<TracePoint>& points, const DistanceScale& scale)
{
    const std::string caption = tdr::dielectricCaption(scale.speed);
    std::string text = "point,distance (m at " + caption.substr(0, caption.find('%') + 1) + "),level\r\n";
    text.reserve(text.size() + points.size() * 20);
    for (const TracePoint& p : points)
        text.append(std::to_string(p.x))
            .append(",")
            .append(fixedText(pointDistance(p.x, scale), 2))
            .append(",")
            .append(std::to_string(p.level))
            .append("\r\n");
    return text;
}

} // namespace mr3x::exports
