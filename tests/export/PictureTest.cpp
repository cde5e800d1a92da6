// Plots saved as pictures and the fault report: the size asked for, something drawn, one page.
#include "export/FaultReport.h"
#include "export/Picture.h"
#include "ui/controls/PlotSurface.h"

#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QSvgRenderer>

#include <gtest/gtest.h>

using namespace mr3x;
using exports::ExportFormat;

namespace {

const QColor kTrace(255, 0, 0), kCursor(0, 160, 0);

/// A red trace across the middle of a white plot, a green cursor halfway, and read-outs above.
Picture samplePicture()
{
    Picture p;
    p.title = QStringLiteral("26-12-06 12-00-00.trg, TDR trace");
    p.readouts << QStringLiteral("Zero cursor 25, moving cursor 125, difference 100: 81 m")
               << QStringLiteral("Speed 54.0% (v/2=81.0m/us), cable type XLPE");
    p.legend.push_back({QStringLiteral("Master event, pulse 1"), kTrace});
    p.plot.left = 1;
    p.plot.right = 512;
    p.plot.top = 256;
    p.plot.bottom = -1;
    p.plot.runs.push_back({kTrace, {QPointF(1, 128), QPointF(512, 128)}});
    p.plot.marks.push_back({PlotMark::Shape::Line, kCursor, 256, 256, 256, -1, 0});
    return p;
}

/// The trace's red, the cursor's green (also where a line's edge is blended into the back
/// colour) and the lettering's dark grey.
bool isTrace(QRgb p) { return qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60; }
bool isCursor(QRgb p) { return qGreen(p) > qRed(p) + 50 && qGreen(p) > qBlue(p) + 50; }
bool isDark(QRgb p) { return qGray(p) < 80; }

int countOf(const QImage& image, bool (*is)(QRgb), int toRow = -1)
{
    int n = 0;
    for (int y = 0; y < (toRow < 0 ? image.height() : toRow); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += is(image.pixel(x, y));
    return n;
}

int pageCount(const QByteArray& pdf)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("/Count (\\d+)")).match(QString::fromLatin1(pdf));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

TEST(Picture, APngSvgOrPdfHasTheSizeAskedForWithThePlotAndReadOutsDrawnInAndTheFaultReportIsOnePage)
{
    for (const QSize size : {QSize(640, 400), QSize(1920, 1080)}) {
        QImage image;
        ASSERT_TRUE(image.loadFromData(pictureBytes(samplePicture(), ExportFormat::Png, size), "PNG"));
        EXPECT_EQ(image.size(), size);
        EXPECT_GT(countOf(image, isTrace), size.width() * 3 / 4) << "the trace runs across the plot";
        EXPECT_GT(countOf(image, isCursor), size.height() / 2) << "the cursor runs down the plot";
        EXPECT_GT(countOf(image, isDark, size.height() / 5), 200) << "the read-outs in the top fifth";
        // The trace lies at mid-height of the plot, under the read-outs.
        int row = 0;
        while (row < size.height() && !isTrace(image.pixel(size.width() / 4, row)))
            ++row;
        EXPECT_GT(row, size.height() / 3);
        EXPECT_LT(row, size.height() * 4 / 5);
    }

    // SVG and PDF are whole files of the size asked for.
    const QSize size(800, 500);
    QSvgRenderer renderer(pictureBytes(samplePicture(), ExportFormat::Svg, size));
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), size));
    QImage drawn(size, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    EXPECT_GT(countOf(drawn, isTrace), 600);

    const QByteArray pdf = pictureBytes(samplePicture(), ExportFormat::Pdf, size);
    EXPECT_TRUE(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(pageCount(pdf), 1);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 600.000000 375.000000]")) << "800 x 500 pixels at 96 an inch, in points";

    EXPECT_EQ(pictureFormatOfName(QStringLiteral("a/b.SVG")), ExportFormat::Svg);

    // The fault report is one A4 page whatever memo it carries.
    FaultReport report;
    report.system = QStringLiteral("Substation");
    report.eventName = QStringLiteral("26-12-06 12-00-00.trg");
    report.parameters = {{QStringLiteral("Unit"), QStringLiteral("M-R32")}, {QStringLiteral("FSD"), QStringLiteral("1000A")}};
    report.waveform = report.traces = samplePicture();
    report.distance = QStringLiteral("81 m");
    report.speed = QStringLiteral("54.0% (v/2=81.0m/us)");
    for (const QString& memo : {QString(), QStringLiteral("Fault near joint 4.\nCable dug up on Tuesday."),
                                QStringLiteral("A long memo line that goes on and on. ").repeated(400)}) {
        report.memo = memo;
        const QByteArray pdf = faultReportPdf(report);
        EXPECT_TRUE(pdf.startsWith("%PDF-"));
        EXPECT_EQ(pageCount(pdf), 1) << memo.size();
        EXPECT_TRUE(pdf.contains("/MediaBox [0 0 595")) << "A4";
    }
}

TEST(Picture, APlotSurfacePaintsWhatItShowsAtAnySizeOffScreenAndAOnePixelTraceLiesOnPixelCentres)
{
    PlotSurface surface;
    surface.Scale(0, 10, 100, 0);
    surface.setBackColor(Qt::black);
    surface.setForeColor(kTrace);
    surface.Line(0, 5, 100, 5);
    surface.addOverlay(QStringLiteral("shown"), PlotOverlay::Shape::Line, kCursor)->setEnds(50, 10, 50, 0);
    surface.addOverlay(QStringLiteral("hidden"), PlotOverlay::Shape::Line, Qt::blue)->hide();
    for (const QSize size : {QSize(200, 100), QSize(2000, 1000)}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        surface.render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::black)) << "its back colour";
        const int middle = size.height() / 2, fifth = size.height() / 5;
        for (int x = 1; x < size.width() - 1; x += 5)
            ASSERT_TRUE(isTrace(image.pixel(x, middle)) || isTrace(image.pixel(x, middle - 1))) << "the trace at mid-height, x " << x;
        EXPECT_TRUE(isCursor(image.pixel(size.width() / 2, fifth)) || isCursor(image.pixel(size.width() / 2 - 1, fifth)));
        for (int x = 0; x < size.width(); x += 7)
            ASSERT_NE(image.pixelColor(x, fifth), QColor(Qt::blue)) << "the hidden overlay at x " << x;
    }

    // A level line and an upright one on pixel edges of a 100 x 50 area, short and long runs
    // alike (a run longer than the area is wide is drawn column by column).
    for (const int points : {2, 1000}) {
        PlotDrawing d;   // from 0 at the left and the bottom
        d.right = 100;
        d.top = 50;
        std::vector<QPointF> level, upright;
        for (int k = 0; k < points; ++k) {
            level.emplace_back(100.0 * k / (points - 1), 25);
            upright.emplace_back(60, 50.0 * k / (points - 1));
        }
        d.runs.push_back({kTrace, level, 1.0});
        d.runs.push_back({kCursor, upright, 1.0});
        QImage image(100, 50, QImage::Format_RGB32);
        QPainter painter(&image);
        paintPlot(painter, QRectF(0, 0, 100, 50), d);
        painter.end();
        QList<int> rows, columns;
        for (int y = 0; y < 50; ++y)
            if (image.pixel(20, y) != qRgb(255, 255, 255))
                rows << y;
        for (int x = 0; x < 100; ++x)
            if (image.pixel(x, 10) != qRgb(255, 255, 255))
                columns << x;
        ASSERT_EQ(rows.size(), 1) << points;
        ASSERT_EQ(columns.size(), 1) << points;
        EXPECT_EQ(image.pixel(20, rows[0]), kTrace.rgb()) << points;
        EXPECT_EQ(image.pixel(columns[0], 10), kCursor.rgb()) << points;
    }
}
