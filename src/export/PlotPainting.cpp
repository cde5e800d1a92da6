#include "export/PlotDrawing.h"

#include <QPainter>
#include <QPolygonF>

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

void paintRun(QPainter& painter, const QRectF& area, const PlotDrawing& drawing, const PlotRun& run)
{
    // A hairline stays a hairline at any size, and crisp; a trace is smoothed.
    const bool hairline = run.width <= 0;
    painter.setRenderHint(QPainter::Antialiasing, !hairline);
    painter.setPen(QPen(run.colour, hairline ? 0.0 : run.width * penScale(area), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (run.points.size() == 1) {
        painter.drawPoint(drawing.toArea(area, run.points.front()));
        return;
    }
    const auto columns = static_cast<std::size_t>(std::max(1.0, area.width()));
    QPolygonF pixels;
    pixels.reserve(static_cast<qsizetype>(std::min(run.points.size(), 4 * columns + 8)));
    if (run.points.size() <= 2 * columns) {
        for (const QPointF& p : run.points)
            pixels << drawing.toArea(area, p);
        painter.drawPolyline(pixels);
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
    painter.drawPolyline(pixels);
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
