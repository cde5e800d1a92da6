#pragma once
// The collector's command: a round (or a round each period) over a system's units, each in a
// worker process of its own, or, with --worker, the one unit's road in this process.
#include <QStringList>

namespace mr3x::collect {

/// `arguments` as the program got them, its own path first; returns the exit status.
int runCollectCommand(const QStringList& arguments);

} // namespace mr3x::collect
