#include "ui/controls/PlotSurface.h"

#include <QPainter>

namespace mr3x {

PlotSurface::PlotSurface(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMinimumSize(120, 80);
}

void PlotSurface::Scale(double left, double top, double right, double bottom)
{
    left_ = left;
    top_ = top;
    right_ = right;
    bottom_ = bottom;
    update();
}

void PlotSurface::Cls()
{
    segments_.clear();
    points_.clear();
    pointColours_.clear();
    update();
}

void PlotSurface::PSet(double x, double y)
{
    current_ = QPointF(x, y);
    points_.push_back(current_);
    pointColours_.push_back(foreColor_);
    update();
}

void PlotSurface::Line(double x1, double y1, double x2, double y2)
{
    segments_.push_back({QPointF(x1, y1), QPointF(x2, y2), foreColor_});
    current_ = QPointF(x2, y2);
    update();
}

void PlotSurface::LineTo(double x, double y)
{
    Line(current_.x(), current_.y(), x, y);
}

QPointF PlotSurface::toUser(const QPointF& pixel) const
{
    const double w = std::max(1, width());
    const double h = std::max(1, height());
    return {left_ + pixel.x() / w * (right_ - left_), top_ + pixel.y() / h * (bottom_ - top_)};
}

QPointF PlotSurface::toPixel(const QPointF& user) const
{
    const double sx = right_ != left_ ? (user.x() - left_) / (right_ - left_) : 0.0;
    const double sy = bottom_ != top_ ? (user.y() - top_) / (bottom_ - top_) : 0.0;
    return {sx * width(), sy * height()};
}

void PlotSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Segment& s : segments_) {
        painter.setPen(s.colour);
        painter.drawLine(toPixel(s.from), toPixel(s.to));
    }
    for (std::size_t i = 0; i < points_.size(); ++i) {
        painter.setPen(pointColours_[i]);
        painter.drawPoint(toPixel(points_[i]));
    }
}

} // namespace mr3x
