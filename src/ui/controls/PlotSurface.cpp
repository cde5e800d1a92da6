#include "ui/controls/PlotSurface.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace mr3x {

// --- Overlays ----------------------------------------------------------------------------------

PlotOverlay::PlotOverlay(PlotSurface* surface, Shape shape, const QColor& colour)
    : QObject(surface), surface_(surface), shape_(shape), colour_(colour)
{
}

void PlotOverlay::setColour(const QColor& colour)
{
    colour_ = colour;
    surface_->update();
}

void PlotOverlay::setEnds(double x1, double y1, double x2, double y2)
{
    x1_ = x1;
    y1_ = y1;
    x2_ = x2;
    y2_ = y2;
    surface_->update();
}

void PlotOverlay::setBox(double left, double width)
{
    x1_ = left;
    x2_ = left;
    width_ = width;
    surface_->update();
}

void PlotOverlay::setVisible(bool visible)
{
    visible_ = visible;
    surface_->update();
}

// --- The surface ---------------------------------------------------------------------------------

PlotSurface::PlotSurface(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    setBackColor(Qt::white);
    setMinimumSize(120, 80);
    // The viewers take keys (markers, cursors, alignment) and show where the focus is.
    setFocusPolicy(Qt::StrongFocus);
}

void PlotSurface::setBackColor(const QColor& colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, colour);
    setPalette(p);
}

void PlotSurface::Scale(double left, double top, double right, double bottom)
{
    left_ = left;
    top_ = top;
    right_ = right;
    bottom_ = bottom;
    update();
}

void PlotSurface::setScaleLeft(double left)
{
    const double width = right_ - left_;
    left_ = left;
    right_ = left + width;
    update();
}

void PlotSurface::setScaleWidth(double width)
{
    right_ = left_ + width;
    update();
}

void PlotSurface::Cls()
{
    runs_.clear();
    runOpen_ = false;
    update();
}

void PlotSurface::PSet(double x, double y)
{
    current_ = QPointF(x, y);
    runs_.push_back({foreColor_, {current_}, drawWidth_});
    runOpen_ = true;
    update();
}

void PlotSurface::Line(double x1, double y1, double x2, double y2)
{
    const QPointF from(x1, y1);
    const bool continues = runOpen_ && !runs_.empty() && from == current_ && runs_.back().colour == foreColor_
        && runs_.back().width == drawWidth_;
    if (continues)
        runs_.back().points.push_back(QPointF(x2, y2));
    else
        runs_.push_back({foreColor_, {from, QPointF(x2, y2)}, drawWidth_});
    current_ = QPointF(x2, y2);
    runOpen_ = true;
    update();
}

void PlotSurface::LineTo(double x, double y)
{
    Line(current_.x(), current_.y(), x, y);
}

void PlotSurface::drawPolyline(const std::vector<QPointF>& points)
{
    if (points.empty())
        return;
    runs_.push_back({foreColor_, points, drawWidth_});
    current_ = points.back();
    runOpen_ = true;
    update();
}

PlotOverlay* PlotSurface::addOverlay(const QString& name, PlotOverlay::Shape shape, const QColor& colour)
{
    auto* overlay = new PlotOverlay(this, shape, colour);
    overlay->setObjectName(name);
    overlays_.push_back(overlay);
    return overlay;
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

PlotDrawing PlotSurface::drawing() const
{
    PlotDrawing d;
    d.left = left_;
    d.top = top_;
    d.right = right_;
    d.bottom = bottom_;
    d.background = BackColor();
    d.runs = runs_;
    for (const PlotOverlay* overlay : overlays_) {
        if (!overlay->isVisible())
            continue;
        const bool box = overlay->shape() == PlotOverlay::Shape::Box;
        d.marks.push_back({box ? PlotMark::Shape::Box : PlotMark::Shape::Line, overlay->colour(), overlay->X1(),
                           overlay->Y1(), overlay->X2(), overlay->Y2(), overlay->Width()});
    }
    return d;
}

void PlotSurface::render(QPainter& painter, const QRectF& area) const
{
    paintPlot(painter, area, drawing());
}

void PlotSurface::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    render(painter, QRectF(rect()));
}

void PlotSurface::mousePressEvent(QMouseEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    emit MouseDown(event->button(), event->modifiers(), toUser(event->position()));
    event->accept();
}

void PlotSurface::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove(event->buttons(), event->modifiers(), toUser(event->position()));
    event->accept();
}

void PlotSurface::mouseDoubleClickEvent(QMouseEvent* event)
{
    // The second press still moves what a press moves (a cursor, the measuring point).
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        emit DoubleClick();
}

void PlotSurface::keyPressEvent(QKeyEvent* event)
{
    emit KeyDown(event->key(), event->modifiers());
    event->accept();
}

void PlotSurface::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    emit GotFocus();
}

void PlotSurface::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    emit LostFocus();
}

} // namespace mr3x
