#pragma once
// What a viewer drew, read back from its plot surface's display list.
#include "ui/controls/PlotSurface.h"

#include <vector>

namespace mr3x::test {

/// The runs drawn in one colour, in drawing order.
inline std::vector<PlotSurface::Run> runsIn(const PlotSurface* plot, const QColor& colour)
{
    std::vector<PlotSurface::Run> found;
    for (const PlotSurface::Run& run : plot->Runs())
        if (run.colour == colour)
            found.push_back(run);
    return found;
}

/// The points drawn in one colour as a trace: the y at x (from 1 to `width`) at index x - 1, and
/// `fill` where nothing was drawn.
inline std::vector<double> traceIn(const PlotSurface* plot, const QColor& colour, int width, double fill = 128)
{
    std::vector<double> trace(static_cast<std::size_t>(width), fill);
    for (const PlotSurface::Run& run : runsIn(plot, colour))
        for (const QPointF& p : run.points)
            if (p.x() >= 1 && p.x() <= width)
                trace[static_cast<std::size_t>(p.x()) - 1] = p.y();
    return trace;
}

} // namespace mr3x::test
