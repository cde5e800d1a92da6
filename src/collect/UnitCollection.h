#pragma once
// One unit's road without the window: take its locks, open its port, log on, make sure it is the
// unit expected, capture and check its settings, fetch the index, download every event its
// folder lacks, leave it recording with its own settings ("e") and close. After any failure past
// the opening it sends "e" once more, so a unit the collector can reach is never left stopped.
#include "collect/CollectPlan.h"
#include "common/Clock.h"
#include "link/Transport.h"

#include <QString>

namespace mr3x::collect {

using LogLine = std::function<void(const QString& text)>;

class UnitCollection {
public:
    UnitCollection(QString programFolder, QString system, Clock& clock, TransportOpener opener, LogLine log);

    /// Works the unit; every wait is bounded, and a stop (the clock's waits ended) ends it with
    /// the unit re-armed and no partial file.
    UnitOutcome collect(const UnitJob& job);

private:
    QString programFolder_;
    QString system_;
    Clock& clock_;
    TransportOpener opener_;
    LogLine log_;
};

} // namespace mr3x::collect
