#pragma once
// What the TDR and TRS drawings share on the plot surface: a trace's points as the surface takes
// them, and a cursor standing over the plot's full height.
#include "tdr/TdrPlot.h"
#include "ui/controls/PlotSurface.h"

#include <vector>

namespace mr3x {

inline constexpr double kTdrPlotTop = 256;
inline constexpr double kTdrPlotBottom = -1;

inline std::vector<QPointF> pointsOf(const tdr::Polyline& line)
{
    std::vector<QPointF> points;
    points.reserve(line.size());
    for (const tdr::PlotPoint& p : line)
        points.emplace_back(p.x, p.y);
    return points;
}

/// Both ends of a cursor at x, from the plot's top to its bottom.
inline void placeCursor(PlotOverlay* cursor, double x)
{
    cursor->setEnds(x, kTdrPlotTop, x, kTdrPlotBottom);
}

} // namespace mr3x
