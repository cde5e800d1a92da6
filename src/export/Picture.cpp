#include "export/Picture.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

namespace mr3x {

namespace {

constexpr double kScreenDpi = 96, kPointsPerInch = 72;

/// Lettering in pixels: a fiftieth of the sheet's height, within 9 to 60.
double letterSize(const QRectF& area)
{
    return std::clamp(area.height() / 50.0, 9.0, 60.0);
}

QFont font(double pixels, bool bold)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, int(pixels)));
    f.setBold(bold);
    return f;
}

/// One line of text from the top of `area`, elided to its width; returns the height used.
double drawLine(QPainter& painter, const QRectF& area, double y, const QString& text, const QFont& lineFont)
{
    painter.setFont(lineFont);
    const QFontMetricsF metrics(lineFont);
    const QString shown = metrics.elidedText(text, Qt::ElideRight, area.width());
    painter.drawText(QPointF(area.left(), y + metrics.ascent()), shown);
    return metrics.lineSpacing();
}

double drawLegend(QPainter& painter, const QRectF& area, double y, const std::vector<LegendEntry>& legend, double letters)
{
    const QFont legendFont = font(letters, false);
    painter.setFont(legendFont);
    const QFontMetricsF metrics(legendFont);
    double x = area.left();
    const double swatch = metrics.ascent() * 0.8;
    for (const LegendEntry& entry : legend) {
        painter.fillRect(QRectF(x, y + metrics.ascent() - swatch, swatch, swatch), entry.colour);
        painter.setPen(QPen(Qt::black, 0));
        painter.drawRect(QRectF(x, y + metrics.ascent() - swatch, swatch, swatch));
        x += swatch + letters * 0.4;
        painter.drawText(QPointF(x, y + metrics.ascent()), entry.name);
        x += metrics.horizontalAdvance(entry.name) + letters * 1.5;
    }
    return metrics.lineSpacing();
}

void paintOn(QPaintDevice& device, const Picture& picture, QSize size)
{
    QPainter painter(&device);
    paintPicture(painter, QRectF(QPointF(0, 0), QSizeF(size)), picture);
}

} // namespace

void paintPicture(QPainter& painter, const QRectF& area, const Picture& picture)
{
    painter.save();
    painter.fillRect(area, Qt::white);
    const double letters = letterSize(area);
    const double margin = letters;
    const QRectF inner = area.adjusted(margin, margin * 0.6, -margin, -margin);
    painter.setPen(Qt::black);
    double y = inner.top();
    if (!picture.title.isEmpty())
        y += drawLine(painter, inner, y, picture.title, font(letters * 1.2, true));
    for (const QString& line : picture.readouts)
        y += drawLine(painter, inner, y, line, font(letters, false));
    if (!picture.legend.empty())
        y += drawLegend(painter, inner, y, picture.legend, letters);
    const QRectF plotArea(inner.left(), y + letters * 0.4, inner.width(), std::max(1.0, inner.bottom() - y - letters * 0.4));
    paintPlot(painter, plotArea, picture.plot);
    painter.setPen(QPen(Qt::gray, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(plotArea);
    painter.restore();
}

QByteArray pictureBytes(const Picture& picture, exports::ExportFormat format, QSize size)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    switch (format) {
    case exports::ExportFormat::Png: {
        QImage image(size, QImage::Format_RGB32);
        image.fill(Qt::white);
        paintOn(image, picture, size);
        if (!image.save(&buffer, "PNG"))
            return {};
        break;
    }
    case exports::ExportFormat::Svg: {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setResolution(int(kScreenDpi));
        svg.setTitle(picture.title);
        svg.setDescription(picture.readouts.join(QStringLiteral("\n")));
        paintOn(svg, picture, size);
        break;
    }
    case exports::ExportFormat::Pdf: {
        QPdfWriter pdf(&buffer);
        pdf.setTitle(picture.title);
        pdf.setCreator(QStringLiteral("M-R3X Master"));
        pdf.setResolution(int(kScreenDpi));
        pdf.setPageSize(QPageSize(QSizeF(size) * kPointsPerInch / kScreenDpi, QPageSize::Point));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        paintOn(pdf, picture, size);
        break;
    }
    default:
        return {};
    }
    return bytes;
}

std::optional<exports::ExportFormat> pictureFormatOfName(const QString& fileName)
{
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    if (suffix == QStringLiteral("png"))
        return exports::ExportFormat::Png;
    if (suffix == QStringLiteral("svg"))
        return exports::ExportFormat::Svg;
    if (suffix == QStringLiteral("pdf"))
        return exports::ExportFormat::Pdf;
    return std::nullopt;
}

} // namespace mr3x
