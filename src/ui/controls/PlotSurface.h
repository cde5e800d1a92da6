#pragma once
// A drawing surface with a user scale, kept as a display list so that what was drawn can be
// read back (tests) and repainted fast at any size. The viewers draw traces and grids on it with
// points and lines; the lines a user moves (cursors, markers, the measuring point and its box)
// are overlays placed on it, kept apart from the drawing so that clearing it leaves them.
#include "export/PlotDrawing.h"

#include <QColor>
#include <QObject>
#include <QPointF>
#include <QWidget>

#include <vector>

namespace mr3x {

class PlotSurface;

/// A line or a box placed on a plot surface, in the surface's user scale. A line runs from
/// (X1, Y1) to (X2, Y2); a box spans Left to Left + Width over the full height.
class PlotOverlay : public QObject {
    Q_OBJECT
public:
    enum class Shape { Line, Box };

    PlotOverlay(PlotSurface* surface, Shape shape, const QColor& colour);

    Shape shape() const { return shape_; }
    QColor colour() const { return colour_; }
    void setColour(const QColor& colour);

    /// Both ends of a vertical line at x.
    void setX(double x) { setEnds(x, y1_, x, y2_); }
    void setEnds(double x1, double y1, double x2, double y2);
    double X1() const { return x1_; }
    double Y1() const { return y1_; }
    double X2() const { return x2_; }
    double Y2() const { return y2_; }

    void setBox(double left, double width);
    double Left() const { return x1_; }
    double Width() const { return width_; }

    void setVisible(bool visible);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    bool isVisible() const { return visible_; }

private:
    PlotSurface* surface_;
    Shape shape_;
    QColor colour_;
    double x1_ = 0, y1_ = 0, x2_ = 0, y2_ = 0;
    double width_ = 0;
    bool visible_ = true;
};

class PlotSurface : public QWidget {
    Q_OBJECT
public:
    /// A run of connected points in one colour; a point plotted alone is a run of one.
    using Run = PlotRun;

    explicit PlotSurface(QWidget* parent = nullptr);

    /// The user scale: x from `left` at the left edge to `right` at the right edge, y from `top`
    /// at the top edge to `bottom` at the bottom edge.
    void Scale(double left, double top, double right, double bottom);
    /// Moves the visible x range to start at `left`, keeping its width.
    void setScaleLeft(double left);
    /// Makes the visible x range `width` wide from its present left edge.
    void setScaleWidth(double width);
    double ScaleLeft() const { return left_; }
    double ScaleTop() const { return top_; }
    double ScaleRight() const { return right_; }
    double ScaleBottom() const { return bottom_; }
    double ScaleWidth() const { return right_ - left_; }

    void setBackColor(const QColor& colour);
    QColor BackColor() const { return palette().color(QPalette::Window); }

    /// Clears the drawing; the scale and the overlays stay.
    void Cls();
    void setForeColor(const QColor& colour) { foreColor_ = colour; }
    QColor ForeColor() const { return foreColor_; }
    /// The pen width of what is drawn next, in pixels (0: a hairline).
    void setDrawWidth(double width) { drawWidth_ = width; }
    /// Plots a point and makes it the current point; a later line from it continues its run.
    void PSet(double x, double y);
    /// A line between two points; the end becomes the current point.
    void Line(double x1, double y1, double x2, double y2);
    /// A line from the current point to a new point.
    void LineTo(double x, double y);
    /// A whole run of connected points at once (the viewers' traces).
    void drawPolyline(const std::vector<QPointF>& points);

    /// What was drawn since the last Cls, in drawing order.
    const std::vector<Run>& Runs() const { return runs_; }

    /// A line or a box placed on the surface, named for the tests (objectName).
    PlotOverlay* addOverlay(const QString& name, PlotOverlay::Shape shape, const QColor& colour);

    /// What the surface shows: its scale, back colour, runs and the overlays now visible.
    PlotDrawing drawing() const;
    /// Paints what the surface shows into `area` of any painter (a picture of any size, a PDF
    /// page), as sharp as the device allows; no window needs to be on screen.
    void render(QPainter& painter, const QRectF& area) const;

    /// A position in the user scale for a point in widget pixels, and back.
    QPointF toUser(const QPointF& pixel) const;
    QPointF toPixel(const QPointF& user) const;

signals:
    /// A mouse button pressed over the surface, at a point in the user scale.
    void MouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    /// The mouse moved with `buttons` held (none when the surface tracks the mouse).
    void MouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at);
    void KeyDown(int key, Qt::KeyboardModifiers modifiers);
    /// A double click with the left button, after the press it also is.
    void DoubleClick();
    void GotFocus();
    void LostFocus();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    friend class PlotOverlay;

    double left_ = 0, top_ = 0, right_ = 1, bottom_ = 1;
    QColor foreColor_ = Qt::black;
    // One pixel: wider antialiased lines leave Qt's fast path and paint many times slower.
    double drawWidth_ = 1.0;
    QPointF current_;
    bool runOpen_ = false; // the last run ends at the current point and may go on
    std::vector<Run> runs_;
    std::vector<PlotOverlay*> overlays_;
};

} // namespace mr3x
