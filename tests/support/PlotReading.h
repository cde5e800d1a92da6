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

} // namespace mr3x::test
