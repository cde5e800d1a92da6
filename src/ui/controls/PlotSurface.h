#pragma once
// A drawing surface with a user scale, kept as a display list so that what was drawn can be
// read back (tests) and repainted fast. The viewers draw traces, grids and cursor lines on it.
#include <QColor>
#include <QPointF>
#include <QWidget>

#include <vector>

namespace mr3x {

class PlotSurface : public QWidget {
    Q_OBJECT
public:
    struct Segment {
        QPointF from;
        QPointF to;
        QColor colour;
    };

    explicit PlotSurface(QWidget* parent = nullptr);

    /// The user scale: x from `left` at the left edge to `right` at the right edge, y from `top`
    /// at the top edge to `bottom` at the bottom edge.
    void Scale(double left, double top, double right, double bottom);
    double ScaleLeft() const { return left_; }
    double ScaleTop() const { return top_; }
    double ScaleRight() const { return right_; }
    double ScaleBottom() const { return bottom_; }

    /// Clears the drawing (the scale stays).
    void Cls();
    void setForeColor(const QColor& colour) { foreColor_ = colour; }
    QColor ForeColor() const { return foreColor_; }
    /// Plots a point and makes it the current point.
    void PSet(double x, double y);
    /// A line between two points; the end becomes the current point.
    void Line(double x1, double y1, double x2, double y2);
    /// A line from the current point to a new point.
    void LineTo(double x, double y);

    const std::vector<Segment>& Segments() const { return segments_; }
    const std::vector<QPointF>& Points() const { return points_; }

    /// A position in the user scale for a point in widget pixels.
    QPointF toUser(const QPointF& pixel) const;
    QPointF toPixel(const QPointF& user) const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double left_ = 0, top_ = 0, right_ = 1, bottom_ = 1;
    QColor foreColor_ = Qt::black;
    QPointF current_;
    std::vector<Segment> segments_;
    std::vector<QPointF> points_;
    std::vector<QColor> pointColours_;
};

} // namespace mr3x
