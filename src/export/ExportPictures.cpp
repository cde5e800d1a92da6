#include "export/ExportPictures.h"

#include "events/EventParameters.h"
#include "events/WaveformGeometry.h"
#include "export/Readouts.h"

namespace mr3x {

namespace {

constexpr double kWaveTop = 266, kWaveBottom = -10;
constexpr double kTraceTop = 256, kTraceBottom = -1;
const QColor kZeroCursor(0, 128, 0), kMovingCursor(200, 0, 0);
const char* const kChannelNames[events::kChannels] = {"Vr", "Vy", "Vb", "I"};

QColor channelColour(int channel)
{
    const std::uint32_t bgr = events::channelColourBgr(channel);
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

bool drawsGrid(const events::EventRecord& record)
{
    const events::EventParameters p = events::describeEvent(record);
    return p.unit != std::optional<std::string>("M-S32") && p.mode != std::optional<std::string>("TRS");
}

PlotMark cursor(double x, const QColor& colour)
{
    return {PlotMark::Shape::Line, colour, x, kTraceTop, x, kTraceBottom, 0};
}

} // namespace

QColor colourOf(const tdr::Rgb& rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

PlotDrawing waveformDrawing(const events::EventRecord& record, std::array<bool, 4> channelsShown)
{
    PlotDrawing d;
    d.left = 0;
    d.right = events::kFullWidth;
    d.top = kWaveTop;
    d.bottom = kWaveBottom;
    d.background = Qt::black;
    if (drawsGrid(record)) {
        const int origin = events::markerOrigin(events::modelOfByte(record.trailer.modelByte()).version);
        for (int j = 0; j < events::kGridPositions; ++j) {
            const double x = events::gridX(j, origin);
            d.runs.push_back({Qt::white, {QPointF(x, kWaveTop), QPointF(x, kWaveBottom)}});
        }
    }
    for (int c = 0; c < events::kChannels; ++c) {
        if (!channelsShown[std::size_t(c)])
            continue;
        PlotRun run{channelColour(c), {}};
        for (const events::WavePoint& p : events::channelTrace(record, c))
            run.points.emplace_back(p.x, p.y);
        d.runs.push_back(std::move(run));
    }
    return d;
}

PlotDrawing traceDrawing(const exports::TraceView& view)
{
    PlotDrawing d;
    d.left = 1;
    d.right = view.plotRight;
    d.top = kTraceTop;
    d.bottom = kTraceBottom;
    d.background = Qt::white;
    PlotRun run{colourOf(view.colour), {}};
    for (const tdr::PlotPoint& p : view.line)
        run.points.emplace_back(p.x, p.y);
    if (!run.points.empty())
        d.runs.push_back(std::move(run));
    d.marks.push_back(cursor(view.zeroX, kZeroCursor));
    d.marks.push_back(cursor(view.zeroX, kMovingCursor));
    return d;
}

Picture eventPicture(PlotDrawing plot, const events::EventRecord& record, const QString& fileName, const QString& unit,
                     const QString& speedLine, std::array<bool, 4> channelsShown)
{
    Picture picture;
    picture.title = QString::fromStdString(exports::eventReadout(fileName.toStdString(), unit.toStdString(), record));
    picture.readouts << QString::fromStdString(exports::eventDetailsReadout(record)) << speedLine;
    for (int c = 0; c < events::kChannels; ++c)
        if (channelsShown[std::size_t(c)])
            picture.legend.push_back({QString::fromLatin1(kChannelNames[c]), channelColour(c)});
    picture.plot = std::move(plot);
    return picture;
}

Picture tracePicture(PlotDrawing plot, const QString& title, const QString& cursorLine, const QString& speedLine,
                     std::vector<LegendEntry> traces)
{
    Picture picture;
    picture.title = title;
    picture.readouts << cursorLine << speedLine;
    picture.legend = std::move(traces);
    picture.plot = std::move(plot);
    return picture;
}

} // namespace mr3x
