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

/// The trace's red and the cursor's green, also where the line's edge is blended into the
/// back colour.
bool isTrace(QRgb p)
{
    return qRed(p) > qGreen(p) + 60 && qRed(p) > qBlue(p) + 60;
}

bool isCursor(QRgb p)
{
    return qGreen(p) > qRed(p) + 50 && qGreen(p) > qBlue(p) + 50;
}

struct Counts {
    int trace = 0, cursor = 0, dark = 0;
};

Counts count(const QImage& image, int fromRow = 0, int toRow = -1)
{
    Counts c;
    const int last = toRow < 0 ? image.height() : toRow;
    for (int y = fromRow; y < last; ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            c.trace += isTrace(p);
            c.cursor += isCursor(p);
            c.dark += qGray(p) < 80;
        }
    return c;
}

int pageCount(const QByteArray& pdf)
{
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("/Count (\\d+)")).match(QString::fromLatin1(pdf));
    return m.hasMatch() ? m.captured(1).toInt() : 0;
}

} // namespace

TEST(Picture, APngHasTheSizeAskedForWithThePlotAndTheReadOutsDrawnIn)
{
    for (const QSize size : {QSize(640, 400), QSize(1920, 1080)}) {
        QImage image;
        ASSERT_TRUE(image.loadFromData(pictureBytes(samplePicture(), ExportFormat::Png, size), "PNG"));
        EXPECT_EQ(image.size(), size);
        const Counts all = count(image);
        EXPECT_GT(all.trace, size.width() * 3 / 4) << "the trace runs across the plot";
        EXPECT_GT(all.cursor, size.height() / 2) << "the cursor runs down the plot";
        // Lettering in the top fifth: the read-outs.
        EXPECT_GT(count(image, 0, size.height() / 5).dark, 200);
        // The trace lies at mid-height of the plot, under the read-outs.
        int row = -1;
        for (int y = 0; y < size.height() && row < 0; ++y)
            if (isTrace(image.pixel(size.width() / 4, y)))
                row = y;
        EXPECT_GT(row, size.height() / 3);
        EXPECT_LT(row, size.height() * 4 / 5);
    }
}

TEST(Picture, SvgAndPdfAreWholeFilesOfTheSizeAskedFor)
{
    const QSize size(800, 500);
    const QByteArray svg = pictureBytes(samplePicture(), ExportFormat::Svg, size);
    QSvgRenderer renderer(svg);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), size));
    QImage drawn(size, QImage::Format_RGB32);
    drawn.fill(Qt::white);
    QPainter painter(&drawn);
    renderer.render(&painter);
    painter.end();
    EXPECT_GT(count(drawn).trace, 600);

    const QByteArray pdf = pictureBytes(samplePicture(), ExportFormat::Pdf, size);
    EXPECT_TRUE(pdf.startsWith("%PDF-"));
    EXPECT_TRUE(pdf.trimmed().endsWith("%%EOF"));
    EXPECT_EQ(pageCount(pdf), 1);
    EXPECT_TRUE(pdf.contains("/MediaBox [0 0 600.000000 375.000000]")) << "800 x 500 pixels at 96 an inch, in points";

    EXPECT_EQ(pictureFormatOfName(QStringLiteral("a/b.SVG")), ExportFormat::Svg);
    EXPECT_FALSE(pictureFormatOfName(QStringLiteral("b.bmp")));
}

TEST(Picture, APlotSurfacePaintsWhatItShowsAtAnySizeWithoutBeingOnScreen)
{
    PlotSurface surface;
    surface.Scale(0, 10, 100, 0);
    surface.setBackColor(Qt::black);
    surface.setForeColor(kTrace);
    surface.Line(0, 5, 100, 5);
    surface.addOverlay(QStringLiteral("shown"), PlotOverlay::Shape::Line, kCursor)->setEnds(50, 10, 50, 0);
    surface.addOverlay(QStringLiteral("hidden"), PlotOverlay::Shape::Line, Qt::blue)->hide();
    ASSERT_FALSE(surface.isVisible());

    const PlotDrawing drawing = surface.drawing();
    EXPECT_EQ(drawing.runs.size(), 1u);
    EXPECT_EQ(drawing.marks.size(), 1u) << "hidden overlays are not drawn";
    for (const QSize size : {QSize(200, 100), QSize(2000, 1000)}) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        surface.render(painter, QRectF(QPointF(0, 0), QSizeF(size)));
        painter.end();
        EXPECT_EQ(image.pixelColor(3, 3), QColor(Qt::black)) << "its back colour";
        bool traceAcross = true;
        for (int x = 1; x < size.width() - 1; x += 5)
            traceAcross = traceAcross && (isTrace(image.pixel(x, size.height() / 2)) || isTrace(image.pixel(x, size.height() / 2 - 1)));
        EXPECT_TRUE(traceAcross) << "the trace at mid-height";
        EXPECT_TRUE(isCursor(image.pixel(size.width() / 2, size.height() / 5)) || isCursor(image.pixel(size.width() / 2 - 1, size.height() / 5)));
        bool blue = false;
        for (int x = 0; x < size.width(); x += 7)
            blue = blue || image.pixelColor(x, size.height() / 5) == QColor(Qt::blue);
        EXPECT_FALSE(blue);
    }
}

TEST(FaultReport, IsOnePageWithWhateverMemoItCarries)
{
    FaultReport report;
    report.system = QStringLiteral("Substation");
    report.eventName = QStringLiteral("26-12-06 12-00-00.trg");
    report.parameters = {{QStringLiteral("Unit"), QStringLiteral("M-R32")}, {QStringLiteral("FSD"), QStringLiteral("1000A")}};
    report.waveform = samplePicture();
    report.traces = samplePicture();
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
