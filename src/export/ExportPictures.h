#pragma once
// The pictures the exports make of an event's waveform and of a trace: the plot (from a plot
// surface on screen, or built here from the file alone, as the viewers draw it) with the
// read-outs that say what it shows.
#include "events/EventRecord.h"
#include "export/Picture.h"
#include "export/TraceViews.h"

#include <array>

namespace mr3x {

/// A waveform picture's plot as a slot draws a freshly loaded event: the channels shown, on
/// black, over the white grid of the 64 pulse positions (none for an "M-S32" or a TRS event).
PlotDrawing waveformDrawing(const events::EventRecord& record, std::array<bool, 4> channelsShown = {true, true, true, true});

/// A trace view's plot, with the zero and the moving cursor both on the zero point.
PlotDrawing traceDrawing(const exports::TraceView& view);

/// The waveform sheet: the file and unit as its title, when and how it triggered, the speed in
/// use, and a legend of the channels shown.
Picture eventPicture(PlotDrawing plot, const events::EventRecord& record, const QString& fileName, const QString& unit,
                     const QString& speedLine, std::array<bool, 4> channelsShown = {true, true, true, true});

/// The trace sheet: the view's name as its title, the cursors and distance, the speed in use,
/// and a legend of the traces shown.
Picture tracePicture(PlotDrawing plot, const QString& title, const QString& cursorLine, const QString& speedLine,
                     std::vector<LegendEntry> traces);

QColor colourOf(const tdr::Rgb& rgb);

} // namespace mr3x
