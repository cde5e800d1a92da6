#include "export/PlotDrawing.h"

#include <QPainter>
#include <QPolygonF>
#include <QTransform>

#include <algorithm>
#include <cmath>

namespace mr3x {

namespace {

// Pens in pixels of a screen; a bigger picture gets proportionally wider ones. On a screen a trace
// is one pixel wide: anti-aliased lines any wider leave Qt's fast path and paint many times slower.
constexpr double kMarkPen = 1.0, kReferenceWidth = 1600;

double penScale(const QRectF& area)
{
    return std::max(1.0, area.width() / kReferenceWidth);
}

/// Where a trace's points fall on the device's pixels. A line of an odd number of device pixels
/// is centred on a pixel and one of an even number on a pixel edge, so that a level line fills
/// whole rows of its own colour instead of two half-lit ones; a point on the area's edge stays
/// inside it.
class PixelGrid {
public:
    PixelGrid(const QPainter& painter, const QRectF& area, double penWidth)
        : toDevice_(painter.deviceTransform())
        , on_(toDevice_.type() <= QTransform::TxScale)
    {
        if (!on_)
            return;
        fromDevice_ = toDevice_.inverted();
        const long devicePixels = std::max(1L, std::lround(penWidth * std::abs(toDevice_.m22())));
        offset_ = devicePixels % 2 == 1 ? 0.5 : 0.0;
        bounds_ = toDevice_.mapRect(area);
    }

    QPointF snap(const QPointF& p) const
    {
        if (!on_)
            return p;
        const QPointF d = toDevice_.map(p);
        return fromDevice_.map(QPointF(snapped(d.x(), bounds_.left(), bounds_.right()),
                                       snapped(d.y(), bounds_.top(), bounds_.bottom())));
    }

private:
    double snapped(double v, double low, double high) const
    {
        const double s = offset_ != 0 ? std::floor(v) + offset_ : std::round(v);
        return std::max(std::ceil(low) + offset_, std::min(s, std::floor(high) - offset_));
    }

    QTransform toDevice_, fromDevice_;
    bool on_;
    double offset_ = 0.5;
    QRectF bounds_;
};

/// The points on the pixel grid, a straight stretch as one segment: the smoothing paints the
/// pixel where two segments meet twice at half strength, so a level line drawn as many short
/// segments would come out fainter than its own colour.
QPolygonF onGrid(const QPolygonF& points, const PixelGrid& grid)
{
    QPolygonF snapped;
    snapped.reserve(points.size());
    for (const QPointF& p : points) {
        const QPointF s = grid.snap(p);
        const qsizetype n = snapped.size();
        if (n > 0 && snapped[n - 1] == s)
            continue;
        if (n > 1) {
            const QPointF a = snapped[n - 1] - snapped[n - 2], b = s - snapped[n - 1];
            if (a.x() * b.y() == a.y() * b.x() && QPointF::dotProduct(a, b) > 0) {
                snapped[n - 1] = s;
                continue;
            }
        }
        snapped << s;
    }
    return snapped;
}

void paintRun(QPainter& painter, const QRectF& area, const PlotDrawing& drawing, const PlotRun& run)
{
    // A hairline stays a hairline at any size, and crisp; a trace is smoothed.
    const bool hairline = run.width <= 0;
    painter.setRenderHint(QPainter::Antialiasing, !hairline);
    const double penWidth = hairline ? 0.0 : run.width * penScale(area);
    painter.setPen(QPen(run.colour, penWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const PixelGrid grid(painter, area, penWidth);
    if (run.points.size() == 1) {
        painter.drawPoint(grid.snap(drawing.toArea(area, run.points.front())));
        return;
    }
    const auto columns = static_cast<std::size_t>(std::max(1.0, area.width()));
    QPolygonF pixels;
    pixels.reserve(static_cast<qsizetype>(std::min(run.points.size(), 4 * columns + 8)));
    if (run.points.size() <= 2 * columns) {
        for (const QPointF& p : run.points)
            pixels << drawing.toArea(area, p);
        painter.drawPolyline(onGrid(pixels, grid));
        return;
    }
    std::size_t i = 0;
    while (i < run.points.size()) {
        const QPointF first = drawing.toArea(area, run.points[i]);
        const long column = std::lround(std::floor(first.x()));
        QPointF low = first, high = first, last = first;
        std::size_t j = i + 1;
        for (; j < run.points.size(); ++j) {
            const QPointF p = drawing.toArea(area, run.points[j]);
            if (std::lround(std::floor(p.x())) != column)
                break;
            if (p.y() < low.y())
                low = p;
            if (p.y() > high.y())
                high = p;
            last = p;
        }
        pixels << first;
        if (low != first)
            pixels << low;
        if (high != first && high != low)
            pixels << high;
        if (last != first && last != low && last != high)
            pixels << last;
        i = j;
    }
    painter.drawPolyline(onGrid(pixels, grid));
}

void paintMark(QPainter& painter, const QRectF& area, const PlotDrawing& drawing, const PlotMark& mark)
{
    painter.setPen(QPen(mark.colour, kMarkPen * penScale(area)));
    if (mark.shape == PlotMark::Shape::Line) {
        painter.drawLine(drawing.toArea(area, {mark.x1, mark.y1}), drawing.toArea(area, {mark.x2, mark.y2}));
        return;
    }
    const QPointF topLeft = drawing.toArea(area, {mark.x1, drawing.top});
    const QPointF bottomRight = drawing.toArea(area, {mark.x1 + mark.width, drawing.bottom});
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(topLeft, bottomRight).normalized().adjusted(0, 0, -1, -1));
}

} // namespace

QPointF PlotDrawing::toArea(const QRectF& area, const QPointF& user) const
{
    const double sx = right != left ? (user.x() - left) / (right - left) : 0.0;
    const double sy = bottom != top ? (user.y() - top) / (bottom - top) : 0.0;
    return {area.left() + sx * area.width(), area.top() + sy * area.height()};
}

void paintPlot(QPainter& painter, const QRectF& area, const PlotDrawing& drawing)
{
    painter.save();
    painter.setClipRect(area);
    painter.fillRect(area, drawing.background);
    for (const PlotRun& run : drawing.runs)
        paintRun(painter, area, drawing, run);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const PlotMark& mark : drawing.marks)
        paintMark(painter, area, drawing, mark);
    painter.restore();
}

} // namespace mr3x
