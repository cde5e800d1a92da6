#pragma once
// The one-page fault report, a PDF to hand on or file: where (system, job, location, unit) and
// when the event was recorded, its parameters and dips, its waveform and the TDR or TRS view with the
// cursors, the distance located and the propagation speed and cable type it was worked out with,
// and the memo the engineer wrote.
#include "export/Picture.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace mr3x {

struct FaultReport {
    QString system, job, location, unit;
    QString eventName;   // the event file's name
    QString eventTime;   // "2026-12-06 12:00:00"
    std::vector<std::pair<QString, QString>> parameters;
    QStringList dips;    // the reference voltage, then a line a dip, swell or interruption
    Picture waveform;
    Picture traces;      // the TDR or TRS view
    QString distance;    // "81 m"
    QString speed;       // "54.0% (v/2=81.0m/us)"
    QString cableType;   // empty when none is chosen
    QString memo;
};

/// The report as the bytes of a one-page A4 PDF. A memo longer than the page has room for is cut
/// at the last line that fits, and says so.
QByteArray faultReportPdf(const FaultReport& report);

} // namespace mr3x
