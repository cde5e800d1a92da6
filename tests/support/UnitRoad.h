#pragma once
// The road of one event through the unit layer, as the engineer takes it on a unit of the
// standalone simulated unit's defaults (an "M-R32", MR-0101): log on, capture and check the
// settings, fetch the index, download two events (a long record and a short one), run a TEST and
// receive its trace, then send the settings without file transfer and let the unit arm. One port
// (any name the program's opener takes), one clock; the road ends at the first step that fails,
// letting the unit arm when the port is still open, as the collector does.
#include "common/Clock.h"
#include "link/Transport.h"
#include "unit/UnitObserver.h"

#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

namespace mr3x::test {

enum class RoadStep { LogOn, Settings, Index, FirstEvent, SecondEvent, Test, Arm };
QString stepName(RoadStep step);

struct RoadPlan {
    QString port;
    QString folder;  // the unit folder, made already
    std::vector<RoadStep> steps = {RoadStep::LogOn, RoadStep::Settings,    RoadStep::Index, RoadStep::FirstEvent,
                                   RoadStep::SecondEvent, RoadStep::Test, RoadStep::Arm};
    /// The records downloaded, as the user counts them: slot 0, a long record, and slot 3, short.
    QString firstEvent = QStringLiteral("01");
    QString secondEvent = QStringLiteral("04");
    /// Called before each step (a test arms a fault there).
    std::function<void(RoadStep)> beforeStep;
};

inline const QString kRoadUnit = QStringLiteral("MR-0101");
inline const QString kRoadTrace = QStringLiteral("Road test.TDR");

struct RoadOutcome {
    std::optional<RoadStep> failedAt;  // nothing: every step was done
    QString portStatus;                // the port's status when the road ended, before closing
    QStringList statuses;              // every status text, in order
    QStringList messages;              // every message box's text (a good road shows none)
    std::vector<StoredFile> stored;
    std::vector<std::int64_t> stepMs;  // how long each step taken took, in the plan's order
    std::int64_t elapsedMs = 0;

    QString lastStatus() const { return statuses.isEmpty() ? QString() : statuses.last(); }
};

RoadOutcome runRoad(Clock& clock, const TransportOpener& opener, const RoadPlan& plan);

} // namespace mr3x::test
