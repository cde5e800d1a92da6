#pragma once
// A round's plan read from the program folder: the system's "<system>.cfg" and the program
// folder's "Unit Addresses.txt", read afresh for every round so that an edit between rounds counts.
#include "collect/CollectPlan.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace mr3x::collect {

struct SystemPlan {
    std::optional<RoundPlan> plan;  // nothing when the system cannot be read
    QString problem;                // then why, as the user reads it
    QStringList addressProblems;    // lines of "Unit Addresses.txt" that give no address
};

SystemPlan readSystemPlan(const CollectOptions& options);

} // namespace mr3x::collect
