#include "export/Exports.h"

#include "common/Files.h"
#include "common/Text.h"
#include "events/DipClasses.h"
#include "events/EventViewer.h"
#include "export/EventCsv.h"
#include "export/EventOrigin.h"
#include "export/EventSummary.h"
#include "export/EventTiming.h"
#include "export/ExportPictures.h"
#include "export/FaultReport.h"
#include "export/FileExport.h"
#include "export/Readouts.h"
#include "export/TraceCsv.h"
#include "tdr/CableTypes.h"
#include "tdr/TdrPlot.h"
#include "tdr/TdrTests.h"
#include "tdr/TdrViewer.h"
#include "tdr/TraceColours.h"
#include "ui/frmMaster.h"

#include <QFileInfo>
#include <QMenu>

namespace mr3x {

namespace {

const QString kPictureFilters =
    QStringLiteral("PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)");

std::string text(const QLabel* label)
{
    return label->text().toStdString();
}

QByteArray bytesOf(const std::string& s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

QString fileNames(const QStringList& paths)
{
    QStringList names;
    for (const QString& path : paths)
        names << QFileInfo(path).fileName();
    return names.join(QStringLiteral("\r\n"));
}

QString orElse(const std::string& first, const QString& second)
{
    return first.empty() ? second : QString::fromStdString(first);
}

} // namespace

// --- Menus ---------------------------------------------------------------------------------------

void Exports::cmdExport_Click(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    v.mnuEventExport->popup(v.cmdExport->mapToGlobal(QPoint(0, v.cmdExport->height())));
}

void Exports::cmdTdrExport_Click()
{
    const TdrViewerView& v = w.tdrView;
    v.mnuTdrExport->popup(v.cmdTdrExport->mapToGlobal(QPoint(0, v.cmdTdrExport->height())));
}

void Exports::enableSlotEntries(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    const bool held = slotHoldsEvent(i);
    for (QAction* entry : {v.mnuComtrade, v.mnuComtradeBinary, v.mnuCsv, v.mnuCsvParameters, v.mnuPicture, v.mnuFaultReport})
        entry->setEnabled(held);
    v.mnuTraceCsv->setEnabled(traceHeld(i));
}

void Exports::enableTdrEntries()
{
    for (int trace = 0; trace < 5; ++trace)
        w.tdrView.mnuTdrTraceCsv[trace]->setEnabled(traceHeld(trace));
    w.tdrView.mnuTdrPicture->setEnabled(!w.tdrView.picTDR->Runs().empty());
}

bool Exports::slotHoldsEvent(int i) const
{
    return w.eventViewer->holdsEvent(i);
}

bool Exports::refuseEmptySlot(int i)
{
    if (slotHoldsEvent(i))
        return false;
    w.dialogs.message(QStringLiteral("Choose an event in the list first: this slot holds none to export"), MsgButtons::Ok,
                      MsgIcon::Exclamation);
    return true;
}

bool Exports::traceHeld(int trace) const
{
    if (trace >= 2)
        return w.tdrTests->holdsTrace(trace);
    // Only the long form of an event file carries a trace area.
    return slotHoldsEvent(trace)
           && events::eventFormOfLength(QFileInfo(w.eventViewer->filePath(trace)).size()) == events::EventForm::Long;
}

int Exports::lineFrequency() const
{
    return w.mnuLine60Hz->isChecked() ? 60 : 50;
}

// --- Events --------------------------------------------------------------------------------------

void Exports::EXPORT_COMTRADE(int i, exports::DataFileType type)
{
    if (refuseEmptySlot(i))
        return;
    const events::EventRecord& record = w.eventViewer->record(i);
    const QString path = w.eventViewer->filePath(i);
    const exports::EventOrigin origin = exports::originOfPath(path.toStdString());
    exports::ComtradeOptions options;
    options.stationName = exports::stationName(origin, record);
    options.deviceId = exports::recordingDevice(origin, record);
    options.lineFrequency = lineFrequency();
    options.type = type;
    const std::optional<exports::ComtradeFiles> files = exports::comtradeFiles(record, options);
    const QString stem = QFileInfo(path).completeBaseName();
    if (!files) {
        w.dialogs.message(QStringLiteral("The date and time of %1 are no calendar date, and a COMTRADE file cannot do "
                                         "without one")
                              .arg(QFileInfo(path).fileName()),
                          MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const std::optional<QString> chosen = choosePath(QStringLiteral("Export COMTRADE"), stem + QStringLiteral(".cfg"),
                                                     QStringLiteral("COMTRADE configuration (*.cfg)"), QStringLiteral(".cfg"));
    if (!chosen)
        return;
    const QFileInfo info(*chosen);
    const QString suffix = info.suffix().toLower();
    const bool setSuffix = suffix == QStringLiteral("cfg") || suffix == QStringLiteral("dat") || suffix == QStringLiteral("hdr");
    const QString name = setSuffix ? info.completeBaseName() : info.fileName();
    save(info.absolutePath(), eventComtradeFiles(name, *files));
}

void Exports::EXPORT_EVENT_CSV(int i, bool withParameters)
{
    if (refuseEmptySlot(i))
        return;
    const QString stem = QFileInfo(w.eventViewer->filePath(i)).completeBaseName();
    const std::optional<QString> chosen =
        choosePath(QStringLiteral("Export CSV"), stem + QStringLiteral(".csv"), QStringLiteral("CSV file (*.csv)"), QStringLiteral(".csv"));
    if (!chosen)
        return;
    const std::string csv = exports::eventCsv(w.eventViewer->record(i), {lineFrequency(), withParameters});
    save(QFileInfo(*chosen).absolutePath(), {{QFileInfo(*chosen).fileName(), bytesOf(csv)}});
}

void Exports::EXPORT_TRACE_CSV(int trace)
{
    if (!traceHeld(trace)) {
        w.dialogs.message(QStringLiteral("This trace holds nothing to export: choose an event or a test for it first"),
                          MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const TdrViewerView& v = w.tdrView;
    std::vector<exports::TracePoint> points;
    bool trs = false;
    bool longRange = false;
    QString name;
    if (trace < 2) {
        const events::EventRecord& record = w.eventViewer->record(trace);
        trs = record.trailer.isTrs();
        longRange = record.trailer.longRange();
        const QString stem = QFileInfo(w.eventViewer->filePath(trace)).completeBaseName();
        if (trs) {
            points = exports::trsTracePoints(record.traceArea);
            // The Slave is drawn shifted by the locator's offset; its points keep their place.
            if (trace == 1)
                for (exports::TracePoint& p : points)
                    p.x -= w.program.SlaveOffset;
            name = stem + QStringLiteral(" (TRS)");
        } else {
            const int pulse = w.program.CurrentPulse[trace];
            points = exports::eventTdrPoints(record.traceArea, pulse, w.tdrViewer->injectionPhase(trace));
            name = stem + QStringLiteral(" (TDR pulse %1)").arg(pulse + 1);
        }
    } else {
        name = v.cboTest[trace]->currentText();
        trs = name.contains(QStringLiteral("TRS"));
        if (trs) {
            points = exports::trsTracePoints(w.tdrTests->trsTrace(trace).samples);
            longRange = w.tdrTests->trsTrace(trace).trailer.longRange();
        } else {
            points = exports::manualTracePoints(w.tdrTests->tdrTrace(trace));
            longRange = w.tdrTests->tdrTrace(trace).trailer.longRange();
        }
    }
    // Distances from the zero cursor when the view shows the trace's kind; from where the viewer
    // would put the cursor otherwise.
    const bool viewShowsKind = w.optDisplayMode[trs ? 1 : 0]->isChecked();
    const double zero = viewShowsKind ? v.ZeroCursor->X1() : (trs ? 1.0 : tdr::rangeStart(longRange).plotStart);
    const exports::DistanceScale scale{double(tdr::rangeStart(longRange).scale), v.scrVF->value(), !trs, zero};
    const std::optional<QString> chosen =
        choosePath(QStringLiteral("Export trace as CSV"), name + QStringLiteral(".csv"), QStringLiteral("CSV file (*.csv)"), QStringLiteral(".csv"));
    if (!chosen)
        return;
    save(QFileInfo(*chosen).absolutePath(), {{QFileInfo(*chosen).fileName(), bytesOf(exports::traceCsv(points, scale))}});
}

// --- Pictures and the report ---------------------------------------------------------------------

QString Exports::speedLine() const
{
    return QString::fromStdString(
        exports::speedReadout(text(w.tdrView.lblDielectric), w.cableTypes->cableTypeInUse().toStdString()));
}

Picture Exports::waveformPicture(int i) const
{
    const EventSlotView& v = w.eventSlot[i];
    const QString path = w.eventViewer->filePath(i);
    const exports::EventOrigin origin = exports::originOfPath(path.toStdString());
    std::array<bool, 4> shown{};
    for (int c = 0; c < 4; ++c)
        shown[std::size_t(c)] = v.chkAC[c]->isChecked();
    return eventPicture(v.picvolts->drawing(), w.eventViewer->record(i), QFileInfo(path).fileName(),
                        orElse(origin.unit, w.cboUnits[i]->currentText()), speedLine(), shown);
}

Picture Exports::tdrPicture() const
{
    const TdrViewerView& v = w.tdrView;
    const bool trsMode = w.optDisplayMode[1]->isChecked();
    std::vector<LegendEntry> legend;
    for (int e = 0; e < 2; ++e) {
        if (!v.chkTrace[e]->isChecked() || !w.eventViewer->holdsEvent(e))
            continue;
        const QString which = e == 0 ? QStringLiteral("Master event") : QStringLiteral("Slave event");
        const tdr::Rgb colour = e == 0 ? tdr::kMasterTdrColour : (trsMode ? tdr::kSlaveTrsColour : tdr::kSlaveTdrColour);
        legend.push_back({trsMode ? which : which + QStringLiteral(", ") + v.chkTrace[e]->text().toLower(), colourOf(colour)});
    }
    for (int s = 2; s <= 4; ++s) {
        if (!v.chkTrace[s]->isChecked() || !w.tdrTests->holdsTrace(s))
            continue;
        const QString name = v.cboTest[s]->currentText();
        legend.push_back({name, colourOf(trsMode ? tdr::kManualTrsColour : tdr::manualTraceColour(name.toStdString()))});
    }
    const QString cursors = QString::fromStdString(
        exports::cursorReadout(text(v.lblZero), text(v.lblMoving), text(v.lblDifference), text(v.lblResult)));
    return tracePicture(v.picTDR->drawing(), v.fraTransientViewer->title(), cursors, speedLine(), std::move(legend));
}

std::optional<QSize> Exports::askPictureSize()
{
    const std::optional<QString> answer = w.dialogs.promptOrCancel(QStringLiteral("Picture size in pixels, width x height:"),
                                                                   QStringLiteral("Export picture"), lastPictureSize_);
    if (!answer || answer->trimmed().isEmpty())
        return std::nullopt;
    const auto size = exports::pictureSizeOfText(answer->toStdString());
    if (!size) {
        w.dialogs.message(QStringLiteral("\"%1\" is not a picture size: give the width and the height in pixels, such as "
                                         "1600x900, each from 200 to 10000")
                              .arg(*answer),
                          MsgButtons::Ok, MsgIcon::Exclamation);
        return std::nullopt;
    }
    lastPictureSize_ = answer->trimmed();
    return QSize(size->first, size->second);
}

void Exports::EXPORT_WAVEFORM_PICTURE(int i)
{
    if (refuseEmptySlot(i))
        return;
    const QString stem = QFileInfo(w.eventViewer->filePath(i)).completeBaseName();
    const std::optional<QString> chosen =
        choosePath(QStringLiteral("Export picture"), stem + QStringLiteral(".png"), kPictureFilters, QStringLiteral(".png"));
    if (!chosen)
        return;
    savePicture(*chosen, waveformPicture(i));
}

void Exports::EXPORT_TDR_PICTURE()
{
    const TdrViewerView& v = w.tdrView;
    if (v.picTDR->Runs().empty()) {
        w.dialogs.message(QStringLiteral("The viewer shows no trace to save: tick a trace first"), MsgButtons::Ok,
                          MsgIcon::Exclamation);
        return;
    }
    QString name = v.fraTransientViewer->title();
    if (slotHoldsEvent(0))
        name = QFileInfo(w.eventViewer->filePath(0)).completeBaseName() + QStringLiteral(" (") + name + QStringLiteral(")");
    const std::optional<QString> chosen =
        choosePath(QStringLiteral("Export picture"), name + QStringLiteral(".png"), kPictureFilters, QStringLiteral(".png"));
    if (!chosen)
        return;
    savePicture(*chosen, tdrPicture());
}

void Exports::savePicture(const QString& path, const Picture& picture)
{
    const std::optional<exports::ExportFormat> format = pictureFormatOfName(path);
    if (!format) {
        w.dialogs.message(QStringLiteral("Pictures are saved as .png, .svg or .pdf files: %1 is none of these")
                              .arg(QFileInfo(path).fileName()),
                          MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const std::optional<QSize> size = askPictureSize();
    if (!size)
        return;
    QByteArray bytes = pictureBytes(picture, *format, *size);
    if (bytes.isEmpty()) {
        w.dialogs.message(QStringLiteral("The picture could not be made"), MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    save(QFileInfo(path).absolutePath(), {{QFileInfo(path).fileName(), std::move(bytes)}});
}

void Exports::EXPORT_FAULT_REPORT(int i)
{
    if (refuseEmptySlot(i))
        return;
    const events::EventRecord& record = w.eventViewer->record(i);
    const QString path = w.eventViewer->filePath(i);
    const QString stem = QFileInfo(path).completeBaseName();
    const std::optional<QString> chosen = choosePath(QStringLiteral("Fault report"), stem + QStringLiteral(" report.pdf"),
                                                     QStringLiteral("PDF document (*.pdf)"), QStringLiteral(".pdf"));
    if (!chosen)
        return;
    const exports::EventOrigin origin = exports::originOfPath(path.toStdString());
    FaultReport report;
    report.system = orElse(origin.system, w.program.LastSystem);
    report.job = orElse(origin.job, w.cboJobs[i]->currentText());
    report.location = orElse(origin.location, w.cboLocations[i]->currentText());
    report.unit = orElse(origin.unit, w.cboUnits[i]->currentText());
    report.eventName = QFileInfo(path).fileName();
    const std::optional<exports::CivilTime> when = exports::triggerTime(record);
    report.eventTime = when ? QString::fromStdString(exports::isoText(*when)) : stem;
    for (const exports::ParameterRow& row : exports::eventParameterRows(record))
        report.parameters.emplace_back(QString::fromStdString(row.label), QString::fromStdString(row.value));
    for (const std::string& line : events::dipLines(events::measureDips(record), lineFrequency()))
        report.dips << QString::fromStdString(line);
    report.waveform = waveformPicture(i);
    report.traces = tdrPicture();
    report.distance = w.tdrView.lblResult->text();
    report.speed = w.tdrView.lblDielectric->text();
    report.cableType = w.cableTypes->cableTypeInUse();
    report.memo = w.txtMemo->toPlainText();
    save(QFileInfo(*chosen).absolutePath(), {{QFileInfo(*chosen).fileName(), faultReportPdf(report)}});
}

// --- Saving --------------------------------------------------------------------------------------

QString Exports::suggestedFolder() const
{
    if (!lastFolder_.isEmpty() && isFolder(lastFolder_))
        return lastFolder_;
    for (int i = 0; i < 2; ++i)
        if (!w.eventViewer->filePath(i).isEmpty())
            return QFileInfo(w.eventViewer->filePath(i)).absolutePath();
    return w.program.AppFolder;
}

std::optional<QString> Exports::choosePath(const QString& title, const QString& suggestedName, const QString& filters,
                                           const QString& suffix)
{
    const std::optional<QString> chosen = w.dialogs.saveFileName(title, joinPath(suggestedFolder(), suggestedName), filters);
    if (!chosen || chosen->trimmed().isEmpty())
        return std::nullopt;
    QString path = *chosen;
    if (QFileInfo(path).suffix().isEmpty())
        path += suffix;
    lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void Exports::save(const QString& folder, const std::vector<OutputFile>& files)
{
    QStringList existing;
    for (const QString& path : outputPaths(folder, files))
        if (pathExists(path))
            existing << path;
    if (!existing.isEmpty()) {
        const QString question = QStringLiteral("These files are there already:\r\n%1\r\nDo you want to replace them?")
                                     .arg(fileNames(existing));
        if (w.dialogs.message(question, MsgButtons::YesNo, MsgIcon::Exclamation) != MsgAnswer::Yes)
            return;
    }
    const OutputOutcome outcome = writeOutputSet(folder, files, true);
    if (!outcome.failure.isEmpty()) {
        w.dialogs.message(QStringLiteral("%1 could not be written: is the folder writable and the disk not full?")
                              .arg(nativePath(outcome.failure)),
                          MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    w.dialogs.message(QStringLiteral("Saved in %1:\r\n%2").arg(nativePath(folder), fileNames(outcome.written)), MsgButtons::Ok,
                      MsgIcon::Information);
}

} // namespace mr3x
