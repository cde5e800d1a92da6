#include "export/FaultReport.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTextLayout>

#include <algorithm>

namespace mr3x {

namespace {

// The page is laid out in points (1/72 inch) on A4, 595 x 842.
constexpr int kResolution = 72;
constexpr double kMargin = 40, kBody = 9.5, kTitle = 16, kGap = 8;
constexpr int kParameterColumns = 4;

QFont font(double points, bool bold = false)
{
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, int(points)));
    f.setBold(bold);
    return f;
}

class Page {
public:
    Page(QPainter& painter, QRectF area) : p(painter), area_(area), y_(area.top()) {}

    double remaining() const { return area_.bottom() - y_; }
    double y() const { return y_; }
    void skip(double height) { y_ += height; }

    void line(const QString& text, const QFont& f)
    {
        p.setFont(f);
        const QFontMetricsF m(f);
        p.drawText(QPointF(area_.left(), y_ + m.ascent()), m.elidedText(text, Qt::ElideRight, area_.width()));
        y_ += m.lineSpacing();
    }

    /// Label and value pairs side by side, `columns` a row.
    void table(const std::vector<std::pair<QString, QString>>& rows, int columns)
    {
        const QFont labelFont = font(kBody, true), valueFont = font(kBody);
        const QFontMetricsF m(valueFont);
        const double column = area_.width() / columns;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const double x = area_.left() + column * double(i % std::size_t(columns));
            p.setFont(labelFont);
            const QString label = rows[i].first + QStringLiteral(": ");
            p.drawText(QPointF(x, y_ + m.ascent()), label);
            const double labelWidth = QFontMetricsF(labelFont).horizontalAdvance(label);
            p.setFont(valueFont);
            p.drawText(QPointF(x + labelWidth, y_ + m.ascent()),
                       m.elidedText(rows[i].second, Qt::ElideRight, column - labelWidth - 4));
            if (i % std::size_t(columns) == std::size_t(columns) - 1 || i + 1 == rows.size())
                y_ += m.lineSpacing();
        }
    }

    void picture(const Picture& picture, double height)
    {
        paintPicture(p, QRectF(area_.left(), y_, area_.width(), height), picture);
        y_ += height;
    }

    /// The text wrapped to the page's width, as many lines as fit; true when all of it did.
    bool wrapped(const QString& text, const QFont& f)
    {
        p.setFont(f);
        const QFontMetricsF m(f);
        const QStringList paragraphs = text.split(QLatin1Char('\n'));
        for (const QString& paragraph : paragraphs) {
            QTextLayout layout(paragraph, f);
            layout.beginLayout();
            for (QTextLine l = layout.createLine(); l.isValid(); l = layout.createLine()) {
                l.setLineWidth(area_.width());
                if (remaining() < 2 * m.lineSpacing()) {
                    layout.endLayout();
                    return false;
                }
                p.drawText(QPointF(area_.left(), y_ + m.ascent()), paragraph.mid(l.textStart(), l.textLength()));
                y_ += m.lineSpacing();
            }
            layout.endLayout();
        }
        return true;
    }

private:
    QPainter& p;
    QRectF area_;
    double y_;
};

QString orDash(const QString& text)
{
    return text.trimmed().isEmpty() ? QStringLiteral("---") : text.trimmed();
}

} // namespace

QByteArray faultReportPdf(const FaultReport& r)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter pdf(&buffer);
    pdf.setTitle(QStringLiteral("Fault report ") + r.eventName);
    pdf.setCreator(QStringLiteral("M-R3X Master"));
    pdf.setResolution(kResolution);
    pdf.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    QPainter painter(&pdf);
    const QRectF sheet(QPointF(0, 0), QSizeF(pdf.width(), pdf.height()));
    painter.fillRect(sheet, Qt::white);
    painter.setPen(Qt::black);
    Page page(painter, sheet.adjusted(kMargin, kMargin, -kMargin, -kMargin));

    page.line(QStringLiteral("Fault report: ") + r.eventName, font(kTitle, true));
    page.skip(kGap / 2);
    page.table({{QStringLiteral("System"), orDash(r.system)},
                {QStringLiteral("Job"), orDash(r.job)},
                {QStringLiteral("Location"), orDash(r.location)},
                {QStringLiteral("Unit"), orDash(r.unit)}},
               2);
    page.table({{QStringLiteral("Event"), orDash(r.eventTime)}}, 1);
    page.skip(kGap);
    page.line(QStringLiteral("Event parameters"), font(kBody + 1, true));
    page.table(r.parameters, kParameterColumns);
    page.skip(kGap);
    if (!r.dips.isEmpty()) {
        page.line(QStringLiteral("Dips, swells and interruptions"), font(kBody + 1, true));
        for (const QString& dip : r.dips)
            page.line(dip, font(kBody));
        page.skip(kGap);
    }

    const double pictureHeight = (page.remaining() - 170) / 2;
    page.picture(r.waveform, pictureHeight);
    page.skip(kGap);
    page.picture(r.traces, pictureHeight);
    page.skip(kGap);

    page.line(QStringLiteral("Distance located: ") + orDash(r.distance), font(kBody + 2, true));
    page.line(QStringLiteral("Propagation speed: ") + orDash(r.speed) + QStringLiteral(", cable type ")
                  + (r.cableType.trimmed().isEmpty() ? QStringLiteral("not chosen") : r.cableType.trimmed()),
              font(kBody));
    page.skip(kGap);
    page.line(QStringLiteral("Memo"), font(kBody + 1, true));
    if (!page.wrapped(r.memo.trimmed().isEmpty() ? QStringLiteral("(none)") : r.memo, font(kBody)))
        page.line(QStringLiteral("(the memo goes on in the program)"), font(kBody));
    painter.end();
    return bytes;
}

} // namespace mr3x
