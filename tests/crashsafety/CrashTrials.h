#pragma once
// Crash safety: the program killed (SIGKILL, as kill -9) at a random moment while it saves the
// master settings file, a system configuration file or a received event. Afterwards every file
// must be the old version or the new one, never torn, and the next start must work: the program
// comes up on the folder, opens the system, and a received event can be fetched again.
#include "crashsafety/CrashScene.h"

#include <QStringList>

#include <array>
#include <cstdint>

namespace mr3x::crash {

struct CrashCounts {
    int trials = 0;
    int old = 0;           // the file as it was before the save
    int newer = 0;         // the file as the save makes it
    int torn = 0;          // anything else: must stay 0
    int leftOver = 0;      // trials that left a temporary file beside it
    int receivedOnly = 0;  // events: received whole under their received name, not yet stored
    int startsWorked = 0;  // the next start came up and worked
};

struct CrashReport {
    std::array<CrashCounts, 3> byKind{};
    /// Every broken rule, one line each; empty when every file survived.
    QStringList problems;

    const CrashCounts& counts(SaveKind kind) const { return byKind[static_cast<std::size_t>(kind)]; }
};

struct CrashOptions {
    int trials = 200;           // for each kind of save
    std::uint64_t seed = 1;
    QString childProgram;       // crash_child
    int longestDelayUs = 40'000; // the kill comes this long at most after the saving began
};

CrashReport runCrashTrials(const CrashOptions& options);

QString formatReport(const CrashReport& report);

} // namespace mr3x::crash
