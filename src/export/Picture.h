#pragma once
// A plot saved as a picture: a white sheet with the read-out lines on top (a bold title, then the
// details, then a legend of coloured names) and the plot under them, framed. The same sheet is
// painted into a PNG, an SVG or a PDF of any size, and onto a fault report's page.
#include "export/ExportArguments.h"
#include "export/PlotDrawing.h"

#include <QByteArray>
#include <QSize>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace mr3x {

struct LegendEntry {
    QString name;
    QColor colour;
};

struct Picture {
    QString title;
    QStringList readouts;
    std::vector<LegendEntry> legend;
    PlotDrawing plot;
};

/// Paints the sheet into `area`. Its lettering grows with the area, so a large picture stays
/// readable and a small one keeps room for the plot.
void paintPicture(QPainter& painter, const QRectF& area, const Picture& picture);

/// The picture as the bytes of a PNG, SVG or PDF file of `size` pixels (a PDF page of that size
/// at 96 pixels an inch); empty when it could not be made.
QByteArray pictureBytes(const Picture& picture, exports::ExportFormat format, QSize size);

/// The picture format a file name asks for by its extension (.png, .svg, .pdf in any case).
std::optional<exports::ExportFormat> pictureFormatOfName(const QString& fileName);

} // namespace mr3x
