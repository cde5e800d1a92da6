#pragma once
// A unit's outcome as JSON: the line a worker hands its collector, and the entries of the
// report's "units" list ("unit", "port", "result", "message", "new_events", "rearmed",
// "seconds", and "location").
#include "collect/CollectPlan.h"

#include <QByteArray>
#include <QJsonObject>

#include <optional>
#include <vector>

namespace mr3x::collect {

QJsonObject toJson(const UnitOutcome& outcome);
/// Nothing when the object is not an outcome (no unit, or a result that is none of the three).
std::optional<UnitOutcome> outcomeFromJson(const QJsonObject& object);
/// The report: {"system": ..., "started": ..., "units": [...]}, indented.
QByteArray reportJson(const QString& system, const QString& started, const std::vector<UnitOutcome>& outcomes);

} // namespace mr3x::collect
