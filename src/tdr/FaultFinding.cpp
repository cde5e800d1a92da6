#include "tdr/FaultFinding.h"

#include "common/Files.h"
#include "common/Text.h"
#include "common/TextLines.h"
#include "events/EventViewer.h"
#include "tdr/CableLengthTable.h"
#include "tdr/TdrPlot.h"
#include "tdr/TdrTests.h"
#include "tdr/TdrViewer.h"
#include "tdr/TraceOnPlot.h"
#include "ui/frmMaster.h"

namespace mr3x {

namespace {

// A mark is a tick down from the top of the plot, a tenth of its height.
constexpr double kMarkLength = 26;

bool isTrsSlot(const frmMaster& w, int slot)
{
    return w.tdrView.cboTest[slot]->currentText().contains(QStringLiteral("TRS"));
}

} // namespace

// --- What Find reads -----------------------------------------------------------------------------

QString FaultFinding::identity(int trace) const
{
    if (trace < 0)
        return QStringLiteral("-");
    if (trace < 2)
        return QStringLiteral("E%1 %2 #%3").arg(trace).arg(w.eventViewer->filePath(trace)).arg(w.program.CurrentPulse[trace]);
    return QStringLiteral("S%1 %2").arg(trace).arg(w.tdrView.cboTest[trace]->currentText());
}

FaultFinding::Subject FaultFinding::currentSubject() const
{
    const TdrViewerView& v = w.tdrView;
    Subject s;
    const bool tdrMode = w.optDisplayMode[0]->isChecked();
    s.trs = w.optDisplayMode[1]->isChecked();
    // A trace Find can read: ticked, held whole, and of the kind the view shows.
    const auto readable = [&](int trace) {
        if (!v.chkTrace[trace]->isChecked())
            return false;
        if (trace < 2)
            return w.eventViewer->holdsEvent(trace) && w.eventViewer->record(trace).trailer.isTrs() == s.trs;
        return w.tdrTests->holdsTrace(trace) && isTrsSlot(w, trace) == s.trs;
    };
    if (tdrMode || s.trs) {
        s.pair = s.trs && readable(0) && readable(1);
        for (const int trace : {2, 0, 1})
            if (s.pair ? trace == 0 : readable(trace)) {
                s.trace = trace;
                break;
            }
        if (tdrMode && s.trace >= 0)
            for (const int reference : {3, 4})
                if (readable(reference)) {
                    s.reference = reference;
                    break;
                }
    }
    s.key = QStringLiteral("%1|%2|%3|%4")
                .arg(tdrMode ? QStringLiteral("TDR") : s.trs ? QStringLiteral("TRS") : QStringLiteral("VGS"), identity(s.trace),
                     identity(s.reference), s.pair ? identity(1) : QString());
    return s;
}

std::optional<tdr::TraceReading> FaultFinding::readingOf(int trace) const
{
    const int speed = w.tdrView.scrVF->value();
    if (trace >= 2)
        return isTrsSlot(w, trace) ? tdr::readingOf(w.tdrTests->trsTrace(trace), speed)
                                   : tdr::readingOf(w.tdrTests->tdrTrace(trace), speed);
    const events::EventRecord& record = w.eventViewer->record(trace);
    const int scale = tdr::rangeStart(record.trailer.longRange()).scale;
    if (record.trailer.isTrs())
        return tdr::TraceReading{tdr::trsLevels(record.traceArea),
                                 {false, scale, speed, tdr::trsWindowStart(tdr::shownInjection(record.trailer))}};
    // The pulse blocks the viewer shows, in the places the event's injection gives them.
    const double injection = leadingNumber(w.eventSlot[trace].lblInjection->text().toLatin1().toStdString());
    const std::optional<tdr::TraceLevels> levels =
        tdr::eventPulseLevels(record.traceArea, w.program.CurrentPulse[trace], tdr::injectionPhase(injection));
    if (!levels)
        return std::nullopt;
    return tdr::TraceReading{*levels, {true, scale, speed, 0}};
}

// --- Find ----------------------------------------------------------------------------------------

void FaultFinding::cmdFind_Click()
{
    const Subject subject = currentSubject();
    pair_.reset();
    setMarks({}, {}, {});
    foundOn_ = subject.key;
    if (subject.trace < 0) {
        say(subject.trs ? QStringLiteral("Tick the Master's and the Slave's event, or a TRS test, to find the fault on")
                        : QStringLiteral("Tick a trace to find the fault on"));
        return;
    }
    if (subject.pair)
        findTrsPair();
    else if (subject.trs)
        findOnTrs(subject);
    else
        findOnTdr(subject);
}

void FaultFinding::findOnTdr(const Subject& subject)
{
    std::optional<tdr::TraceReading> reading = readingOf(subject.trace);
    if (!reading) {
        say(QStringLiteral("Pick one of the event's 64 pulses first"));
        return;
    }
    // Distances from the zero cursor where it stands, as the Result frame reads them.
    reading->setup.zeroX = w.tdrView.ZeroCursor->X1();
    tdr::TraceFinding finding;
    QString referenceName;
    if (subject.reference >= 0) {
        const tdr::TraceReading reference = *readingOf(subject.reference);
        referenceName = w.tdrView.cboTest[subject.reference]->currentText();
        finding = tdr::findFault(reading->levels, tdr::ReferenceTrace{reference.levels, reference.setup.scale, true}, reading->setup);
    } else {
        finding = tdr::findFault(reading->levels, reading->setup);
    }
    if (finding.fault)
        placeCursors(std::nullopt, finding.fault->point);
    const auto at = [](const std::optional<tdr::FoundPoint>& p) { return p ? std::optional(p->point) : std::nullopt; };
    setMarks({at(finding.fault)}, {at(finding.farEnd)}, {});
    say(QString::fromStdString(tdr::findingText(finding, referenceName.toStdString())));
}

void FaultFinding::findOnTrs(const Subject& subject)
{
    const tdr::TraceReading reading = *readingOf(subject.trace);
    const tdr::TraceFinding finding = tdr::findFault(reading.levels, reading.setup);
    if (!finding.launchFound) {
        say(subject.trace == 1 ? QStringLiteral("No arrival found on the Slave's trace") : QStringLiteral("No launch found on the trace"));
        return;
    }
    if (finding.fault)
        placeCursors(drawnX(subject.trace, finding.zeroPoint), drawnX(subject.trace, finding.fault->point));
    const bool onSlave = subject.trace == 1;
    const auto at = [](const std::optional<tdr::FoundPoint>& p) { return p ? std::optional(p->point) : std::nullopt; };
    setMarks({at(finding.fault), onSlave}, {at(finding.farEnd), onSlave}, {});
    say(QString::fromStdString(tdr::findingText(finding)));
}

void FaultFinding::findTrsPair()
{
    const tdr::TraceReading master = *readingOf(0);
    const tdr::TraceReading slave = *readingOf(1);
    const auto injection = [this](int e) { return tdr::shownInjection(w.eventViewer->record(e).trailer); };
    pair_ = tdr::findTrsPair(master.levels, injection(0), slave.levels, injection(1), master.setup.scale, master.setup.speed);
    const tdr::TrsPairFinding& pair = *pair_;
    if (w.program.TracesLocked && pair.master.launchFound && pair.master.fault)
        placeCursors(pair.master.zeroPoint, pair.master.fault->point);
    else if (!w.program.TracesLocked && pair.lockable)
        placeCursors(pair.master.zeroPoint, drawnX(1, pair.slave.zeroPoint));
    const auto at = [](const std::optional<tdr::FoundPoint>& p) { return p ? std::optional(p->point) : std::nullopt; };
    setMarks({at(pair.master.fault)}, {}, {at(pair.slave.fault), true});
    QStringList lines;
    for (const std::string& line : tdr::trsPairLines(pair, cableLength()))
        lines << QString::fromStdString(line);
    say(lines.join(QLatin1Char('\n')));
}

long long FaultFinding::drawnX(int trace, long long sample) const
{
    return trace == 1 ? sample - w.program.SlaveOffset : sample;
}

void FaultFinding::placeCursors(std::optional<long long> zero, long long moving)
{
    // As the engineer would: a left click where the zero cursor goes and a right click to bring
    // it there, then a left click on the moving cursor's place.
    if (zero) {
        w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, double(*zero));
        w.tdrViewer->picTDR_MouseDown(Qt::RightButton, double(*zero));
    }
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, double(moving));
}

// --- Marks and the line under the result ---------------------------------------------------------

void FaultFinding::setMarks(Mark edge, Mark farEnd, Mark slaveEcho)
{
    marks_ = {edge, farEnd, slaveEcho};
    drawMarks();
}

void FaultFinding::drawMarks()
{
    const TdrViewerView& v = w.tdrView;
    const std::array<PlotOverlay*, 3> overlays{v.FoundEdge, v.FoundFarEnd, v.FoundSlaveEcho};
    for (std::size_t k = 0; k < overlays.size(); ++k) {
        const Mark& m = marks_[k];
        if (!m.at) {
            overlays[k]->hide();
            continue;
        }
        const double x = double(drawnX(m.onSlave ? 1 : 0, *m.at));
        overlays[k]->setEnds(x, kTdrPlotTop, x, kTdrPlotTop - kMarkLength);
        overlays[k]->show();
    }
}

void FaultFinding::say(const QString& text)
{
    w.tdrView.lblFinding->setText(text);
    w.tdrView.lblFinding->setVisible(!text.isEmpty());
}

void FaultFinding::refreshMarks()
{
    w.tdrView.fraCableLength->setVisible(w.optDisplayMode[1]->isChecked());
    showPairLength();
    if (foundOn_.isEmpty())
        return;
    if (currentSubject().key != foundOn_) {
        // The view shows something else now: what was found on the other is not shown on it.
        foundOn_.clear();
        pair_.reset();
        setMarks({}, {}, {});
        say(QString());
        return;
    }
    drawMarks();
}

// --- The cable length of the unit pair -----------------------------------------------------------

QString FaultFinding::unitPair(QString* unit, QString* otherUnit) const
{
    const QString a = w.cboUnits[0]->currentText().trimmed(), b = w.cboUnits[1]->currentText().trimmed();
    if (a.isEmpty() || b.isEmpty() || a.compare(b, Qt::CaseInsensitive) == 0)
        return QString();
    if (unit != nullptr)
        *unit = a;
    if (otherUnit != nullptr)
        *otherUnit = b;
    return a + QLatin1Char('|') + b;
}

QString FaultFinding::lengthsPath() const
{
    return joinPath(w.program.AppFolder, QString::fromLatin1(tdr::kCableLengthsName));
}

std::optional<double> FaultFinding::cableLength() const
{
    return tdr::cableLengthOfText(w.tdrView.txtCableLength->text().toStdString());
}

void FaultFinding::showPairLength()
{
    QString unit, otherUnit;
    const QString pair = unitPair(&unit, &otherUnit);
    if (pair == pairShown_)
        return;
    pairShown_ = pair;
    QLineEdit* field = w.tdrView.txtCableLength;
    field->setEnabled(!pair.isEmpty());
    std::optional<double> metres;
    if (!pair.isEmpty())
        if (const std::optional<QStringList> lines = readTextLines(lengthsPath()))
            metres = tdr::cableLengthOf(toStdLines(*lines), unit.toStdString(), otherUnit.toStdString());
    field->setText(metres ? QString::fromStdString(tdr::cableLengthText(*metres)) : QString());
}

void FaultFinding::txtCableLength_Change()
{
    QString unit, otherUnit;
    if (unitPair(&unit, &otherUnit).isEmpty())
        return;
    QLineEdit* field = w.tdrView.txtCableLength;
    const QString typed = field->text().trimmed();
    const std::optional<double> metres = cableLength();
    const QString path = lengthsPath();
    std::vector<std::string> lines;
    if (pathExists(path)) {
        const std::optional<QStringList> read = readTextLines(path);
        if (!read) {
            w.dialogs.message(QStringLiteral("%1 cannot be read: the cable length is not kept").arg(nativePath(path)), MsgButtons::Ok,
                              MsgIcon::Exclamation);
            return;
        }
        lines = toStdLines(*read);
    }
    const std::optional<double> kept = tdr::cableLengthOf(lines, unit.toStdString(), otherUnit.toStdString());
    if (!typed.isEmpty() && !metres) {
        w.dialogs.message(QStringLiteral("\"%1\" is not a cable length: give the metres, from 1 to 100000").arg(typed), MsgButtons::Ok,
                          MsgIcon::Exclamation);
        field->setText(kept ? QString::fromStdString(tdr::cableLengthText(*kept)) : QString());
        return;
    }
    const std::vector<std::string> changed = tdr::withCableLength(lines, unit.toStdString(), otherUnit.toStdString(), metres);
    if (changed != lines && !writeTextFile(path, toQLines(changed)))
        w.dialogs.message(QStringLiteral("The cable length could not be written to %1").arg(nativePath(path)), MsgButtons::Ok,
                          MsgIcon::Exclamation);
    if (pair_ && foundOn_ == currentSubject().key) {
        QStringList shown;
        for (const std::string& line : tdr::trsPairLines(*pair_, metres))
            shown << QString::fromStdString(line);
        say(shown.join(QLatin1Char('\n')));
    }
}

} // namespace mr3x
