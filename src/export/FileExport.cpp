#include "export/FileExport.h"

#include "events/EventRecord.h"
#include "export/Comtrade.h"
#include "export/EventCsv.h"
#include "export/EventOrigin.h"
#include "export/ExportPictures.h"
#include "export/Readouts.h"
#include "export/TraceCsv.h"
#include "export/TraceViews.h"
#include "tdr/Distance.h"

#include <QFile>
#include <QFileInfo>

#include <span>

namespace mr3x {

namespace {

using exports::ExportFormat;


QByteArray bytesOf(const std::string& text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

QString suffixOf(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Png: return QStringLiteral(".png");
    case ExportFormat::Svg: return QStringLiteral(".svg");
    case ExportFormat::Pdf: return QStringLiteral(".pdf");
    default: return QStringLiteral(".csv");
    }
}

QString speedLine(int speed)
{
    return QString::fromStdString(exports::speedReadout(tdr::dielectricCaption(speed), ""));
}

QString cursorLine(const exports::TraceView& view, int speed)
{
    const long long zero = tdr::cursorPosition(view.zeroX);
    const std::string difference = tdr::cursorText(0);
    const std::string distance = tdr::distanceText(exports::pointDistance(view.zeroX, view.distanceAt(speed)));
    return QString::fromStdString(
        exports::cursorReadout(tdr::cursorText(zero), tdr::cursorText(zero), difference, distance));
}

Picture picturedTrace(const exports::TraceView& view, const QString& title, int speed)
{
    return tracePicture(traceDrawing(view), title, cursorLine(view, speed), speedLine(speed),
                        {{QString::fromStdString(view.label), colourOf(view.colour)}});
}

FileExport pictureSet(std::vector<std::pair<QString, Picture>> pictures, const exports::ExportArguments& a)
{
    FileExport out;
    for (auto& [name, picture] : pictures) {
        QByteArray bytes = pictureBytes(picture, a.format, QSize(a.width, a.height));
        if (bytes.isEmpty()) {
            out.problem = QStringLiteral("its picture could not be made");
            out.files.clear();
            return out;
        }
        out.files.push_back({name + suffixOf(a.format), std::move(bytes)});
    }
    return out;
}

FileExport exportEvent(const QString& path, const QString& stem, const events::EventRecord& record, bool longForm,
                       const exports::ExportArguments& a)
{
    const std::string where = path.toStdString();
    const exports::EventOrigin origin = exports::originOfPath(where);
    FileExport out;
    switch (a.format) {
    case ExportFormat::Comtrade:
    case ExportFormat::ComtradeBinary: {
        exports::ComtradeOptions options;
        options.stationName = exports::stationName(origin, record);
        options.deviceId = exports::recordingDevice(origin, record);
        options.lineFrequency = a.lineFrequency;
        options.type = a.format == ExportFormat::ComtradeBinary ? exports::DataFileType::Binary : exports::DataFileType::Ascii;
        const std::optional<exports::ComtradeFiles> files = exports::comtradeFiles(record, options);
        if (!files) {
            out.problem = QStringLiteral("its date and time are no calendar date, which COMTRADE needs");
            return out;
        }
        out.files = eventComtradeFiles(stem, *files);
        return out;
    }
    case ExportFormat::Csv: {
        out.files.push_back({stem + QStringLiteral(".csv"),
                             bytesOf(exports::eventCsv(record, {a.lineFrequency, a.withParameters}))});
        if (longForm) {
            const exports::TraceView view = exports::eventTraceView(record);
            out.files.push_back({stem + QStringLiteral(" (TDR).csv"), bytesOf(exports::traceCsv(view.points, view.distanceAt(a.speed)))});
        }
        return out;
    }
    default: break;
    }
    const QString fileName = QFileInfo(path).fileName();
    std::vector<std::pair<QString, Picture>> pictures;
    pictures.emplace_back(stem, eventPicture(waveformDrawing(record), record, fileName,
                                             QString::fromStdString(origin.unit), speedLine(a.speed)));
    if (longForm) {
        const exports::TraceView view = exports::eventTraceView(record);
        const QString title = fileName + (view.tdrMode ? QStringLiteral(", TDR trace") : QStringLiteral(", TRS trace"));
        pictures.emplace_back(stem + QStringLiteral(" (TDR)"), picturedTrace(view, title, a.speed));
    }
    return pictureSet(std::move(pictures), a);
}

FileExport exportTrace(const QString& path, const QString& stem, const exports::TraceView& view,
                       const exports::ExportArguments& a)
{
    FileExport out;
    switch (a.format) {
    case ExportFormat::Comtrade:
    case ExportFormat::ComtradeBinary:
        out.problem = QStringLiteral("it is a TDR trace; COMTRADE holds events (.trg, .vlt) only");
        return out;
    case ExportFormat::Csv:
        out.files.push_back({stem + QStringLiteral(".csv"), bytesOf(exports::traceCsv(view.points, view.distanceAt(a.speed)))});
        return out;
    default:
        return pictureSet({{stem, picturedTrace(view, QFileInfo(path).fileName(), a.speed)}}, a);
    }
}

} // namespace

std::vector<OutputFile> eventComtradeFiles(const QString& stem, const exports::ComtradeFiles& files)
{
    return {{stem + QStringLiteral(".cfg"), bytesOf(files.cfg)},
            {stem + QStringLiteral(".dat"), QByteArray(reinterpret_cast<const char*>(files.dat.data()), qsizetype(files.dat.size()))},
            {stem + QStringLiteral(".hdr"), bytesOf(files.hdr)}};
}

FileExport exportStoredFile(const QString& path, const exports::ExportArguments& a)
{
    FileExport out;
    const exports::StoredKind kind = exports::storedKindOfPath(path.toStdString());
    if (kind == exports::StoredKind::Other) {
        out.problem = QStringLiteral("not an event file (.trg, .vlt) or a TDR trace file (.TDR, .tst, .ref)");
        return out;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.problem = QStringLiteral("cannot be read: ") + file.errorString();
        return out;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        out.problem = QStringLiteral("cannot be read: ") + file.errorString();
        return out;
    }
    const auto data = std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size()));
    const QString stem = QFileInfo(path).completeBaseName();
    if (kind == exports::StoredKind::Event) {
        const std::optional<events::EventRecord> record = events::readEventRecord(data);
        if (!record) {
            out.problem = QStringLiteral("holds %1 bytes, where an event file holds %2 or %3")
                              .arg(bytes.size())
                              .arg(events::kShortFileBytes)
                              .arg(events::kLongFileBytes);
            return out;
        }
        return exportEvent(path, stem, *record, bytes.size() == qsizetype(events::kLongFileBytes), a);
    }
    const std::optional<exports::TraceView> view = exports::traceFileView(path.toStdString(), data);
    if (!view) {
        out.problem = QStringLiteral("holds %1 bytes, too few for a whole %2 trace")
                          .arg(bytes.size())
                          .arg(tdr::traceKindOfPath(path.toStdString()) == tdr::TraceKind::Trs ? QStringLiteral("TRS")
                                                                                                : QStringLiteral("TDR"));
        return out;
    }
    return exportTrace(path, stem, *view, a);
}

} // namespace mr3x
