#pragma once
// What a plot shows, apart from any window: its user scale, its back colour, the runs of points
// drawn on it and the lines placed over them (cursors, markers, boxes). A plot surface on screen
// hands out its drawing this way, and the exports build one from a file with no window at all;
// either way the same painter draws it, at any size, on a screen, a picture or a PDF page.
#include <QColor>
#include <QPointF>
#include <QRectF>

#include <vector>

class QPainter;

namespace mr3x {

/// A run of connected points in one colour; a point plotted alone is a run of one.
struct PlotRun {
    QColor colour;
    std::vector<QPointF> points;
    double width = 1.0; // the pen in screen pixels; 0 draws the finest line there is (a grid)
};

/// A line from (x1, y1) to (x2, y2), or a box from x1, `width` wide, over the full height.
struct PlotMark {
    enum class Shape { Line, Box } shape = Shape::Line;
    QColor colour;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 0;
};

struct PlotDrawing {
    // x from `left` at the left edge to `right` at the right edge, y from `top` at the top edge
    // to `bottom` at the bottom edge.
    double left = 0, top = 1, right = 1, bottom = 0;
    QColor background = Qt::white;
    std::vector<PlotRun> runs;
    std::vector<PlotMark> marks;  // over the runs

    /// Where a point of the user scale falls in `area`.
    QPointF toArea(const QRectF& area, const QPointF& user) const;
};

/// Paints the drawing into `area`: the back colour, the runs, then the marks. A run longer than
/// the area is wide is drawn as what each pixel column shows (its first, lowest, highest and last
/// point), so the picture is the same and painting stays fast however many points it holds.
void paintPlot(QPainter& painter, const QRectF& area, const PlotDrawing& drawing);

} // namespace mr3x
